#pragma once
// What the main window works with, created once at start-up and handed
// over explicitly: the build, the settings stores, the shared radio
// objects and the way the user picks files.

#include <string>
#include <vector>

#include "buildconfig.h"
#include "settings.h"
#include "sharedobjects.h"

class FileChooser;

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
  // "--floating-display": the hidden "Floating Display" menu item is shown.
  bool showFloatingDisplay = false;
  // A mem-file named on the command line, loaded in place of the default.
  std::string openAtStart;
  // The serial trace being kept ("--trace"), "" for none.
  std::string tracePath;
};
