#pragma once
// The commands of the main window that open windows of their own. Each
// window registers its opener here when it exists; an empty opener means
// the window is not part of the program yet and its command does nothing.

#include <functional>

struct WindowOpeners {
  // Editors, each shown modally.
  std::function<void()> scan, ctcss, selcall, channelData, squelch, options, engOptions;
  std::function<void()> eeprom, development;  // after the port check
  std::function<void(bool offline)> align;    // after the calibration read
  // Port setup: commPort shows the port dialog with the current values and
  // returns true when it closed with OK, leaving the chosen ones behind.
  std::function<bool(int& portNumber, int& maxBdRate)> commPort;
  // The found port number, 0 when none.
  std::function<int()> autoDetect;
  // "Check Lead...": the port is closed for the check and reopened after.
  std::function<void()> checkLead;
  std::function<void()> print;
  std::function<void()> batchWrite;  // the loaded configuration into many radios
  std::function<void()> byteMonitor, vornIMonitor, vornIIMonitor;
  // The floating display window of a product ID (nothing for an ID without
  // one): shown modelessly, closed, told the radio stopped answering, asked
  // to fetch the radio's display again.
  std::function<void(int productId)> floatingShow, floatingClose, floatingRadioLost,
      floatingDisplayRequest;
};
