#pragma once
// What the panel's LCD shows, worked out from the radio's display snapshot
// so the window only copies it onto its labels.

#include <array>
#include <string>
#include <vector>

#include "radio.h"

struct PanelModel;

// One icon label of the LCD and the snapshot bit that lights it.
struct LcdIcon {
  const char* label;    // object name
  const char* caption;  // its text on the LCD
  bool (DisplaySnapshot::*lit)() const;
  bool kestal;      // on the Kestal panel
  bool merloDravo;  // on the Merlo and Dravo panels
};
const std::vector<LcdIcon>& LcdIcons();

// The icons and alpha labels a panel has.
std::vector<const LcdIcon*> IconsOf(const PanelModel& model);

// Names of the Kestal panel's dark segments: "LCDPri", then the sixteen
// signal bars, LCDSigStrength1..8 and LCDSigStrength01..08.
const std::vector<std::string>& DarkSegmentNames();

struct LcdView {
  std::array<std::string, 2> digits;  // D0, D1
  std::array<std::string, 5> alpha;   // D2..D6 (alpha panels only)
  std::array<bool, 2> digitFlashing{};
  std::array<bool, 5> alphaFlashing{};
  std::vector<bool> iconLit;  // in IconsOf(model) order
};

// The snapshot the radio object holds now, as `model`'s LCD shows it.
// Characters the LCD cannot draw (control codes, bytes above 0x7E) show
// as a blank.
LcdView ViewOf(const TRadio& radio, const PanelModel& model);
LcdView ViewOf(const DisplaySnapshot& display, const PanelModel& model);

struct LcdColour {
  int red = 0, green = 0, blue = 0;
  bool operator==(const LcdColour&) const = default;
};
inline constexpr LcdColour kLcdGrey{0x80, 0x80, 0x80};  // backlight off, radio lost
inline constexpr LcdColour kLcdLime{0x00, 0xFF, 0x00};  // backlight on

LcdColour BacklightOnOffColour(int backlight);
// The radio's 16-bit colour values: bits 2..9 of each.
LcdColour BacklightColourOf(const BacklightColour& colour);
