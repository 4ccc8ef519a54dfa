#pragma once
// What the main window works with, created once at start-up and handed
// over explicitly: the build, the settings stores, the shared radio
// objects and the way the user picks files.

#include <string>
#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "platform.h"
#include "radio.h"
#include "radioinfo.h"
#include "serialport.h"
#include "settings.h"

class FileChooser;

// The objects every window shares, in the order the program creates them:
// the serial port, the memory image, the model record (which the radio
// layer reads), the radio command layer and the transfers' cancel event.
struct SharedObjects {
  explicit SharedObjects(const BuildConfig& build) : radio(port, image, info, build.productId) {}

  SerialPort port;
  EEPROM image{kImageSize};
  TradioInfo info;
  TRadio radio;
  Event cancel;
};

struct AppContext {
  BuildConfig build;
  Settings settings;
  SharedObjects& shared;
  FileChooser& chooser;
  // The command line after the program name; only the first is examined.
  std::vector<std::string> arguments;
  // A port used for this run only (the simulated radio's); 0 when none.
  // The stored port is kept for the next run.
  int sessionPort = 0;
};
