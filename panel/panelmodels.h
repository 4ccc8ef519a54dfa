#pragma once
// The four front panels and what sets them apart: caption, picture, size,
// the display poll argument and which parts of the LCD and keypad exist.

#include <cstdint>

struct PanelModel {
  uint32_t productId;
  const char* className;    // the window's object name
  const char* caption;      // window title
  const char* pictureName;  // the picture control's object name
  int width, height;        // client area
  int pollArgument;         // PollDisplay's argument; -1: never polled
  bool alpha;               // alpha labels, "To", "From", "Q", quiet "Q"
  bool priAndBars;          // "PRI" and the signal bars (always dark)
  bool dravoKeys;           // F5 and the squelch keys
  bool live;                // LCD, keys, timers; false: picture only
};

// The panel of a product ID; null for models without one.
const PanelModel* FindPanelModel(uint32_t productId);

// All four, Kestal, Merlo, Dravo, Pinto.
const PanelModel* PanelModels(int& count);
