#pragma once
// What every secondary window is built with (editors, service windows,
// the floating display, the EEPROM and batch windows): the build it
// belongs to, the session's shared objects (the image, the current model,
// and for the commands that talk to the radio the radio itself), whether
// the program runs in advanced mode, and the main window's port check and
// worker lane.

#include <functional>

#include "buildconfig.h"
#include "sharedobjects.h"

struct WindowContext {
  const BuildConfig& build;
  SharedObjects& shared;
  bool advanced = false;
  // Lets a finishing transfer end and opens the port when it is closed;
  // true when the port is open afterwards. Every radio command from a
  // window goes through it first.
  std::function<bool()> portCheck;
  // Whether a whole-memory worker holds the radio, a finishing one
  // included. A timer tick that finds it so passes (the next tick tries
  // again): waiting for the worker on the user-interface thread would
  // freeze every window, the progress dialog's Cancel too.
  std::function<bool()> linkBusy;
  bool LinkBusy() const { return linkBusy && linkBusy(); }
};
