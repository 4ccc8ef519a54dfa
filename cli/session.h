#pragma once
// One run of vornprog is one session of the programmer: the shared
// objects the main window would create (serial port, memory image,
// TRadio, the current model, the cancel event) and the same read and
// write commands, with the terminal as their host.

#include <cstdio>
#include <string>

#include "buildconfig.h"
#include "bytetrace.h"
#include "eeprom.h"
#include "messagequeue.h"
#include "platform.h"
#include "radio.h"
#include "transferflows.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "terminalhost.h"
#include "transferhost.h"

class Session : public SharedObjects {
 public:
  explicit Session(const BuildConfig& build, std::FILE* messages = stderr);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // PORT is "COM" + number or a device path; the commands then use it.
  // False (and error set) when it is neither.
  bool UsePort(const std::string& portText, std::string& error);
  // The port check of every radio command; on failure also says which
  // device the port name stood for and why it would not open.
  bool PortCheck();

  BuildConfig build;
  // Every complete read is kept here too, as in the window.
  ReadArchive archive;
  TransferState state;
  MessageQueue window;  // where the transfer worker posts
  TerminalHost host;
  TransferFlows flows;
};

// Said as "vornprog: text" on standard error.
void Say(const std::string& text);
// What went well ("read 2048 bytes into radio.mem"), said as Say does
// unless the run is quiet.
void Tell(const std::string& text);
// vornprog --quiet: errors only, for scripts. Sessions made afterwards
// follow it.
void SetQuiet(bool quiet);

// The trace every session of this run appends its serial traffic to
// (vornprog --trace FILE); nullptr for none. It outlives the sessions.
void UseTrace(ByteTrace* trace);

// Finds out before the radio is touched whether a file could be saved at
// path at all (its folder is there and writable, and it names nothing or a
// regular file), so a typo or a FIFO does not cost a whole transfer; why
// says "Unable to write file " + path + ": " and why not.
bool OutputWritable(const std::string& path, std::string& why);

// Ends a transfer command: lets the worker finish, runs the closing steps
// and tells whether the whole image went across.
bool TransferCompleted(Session& s, bool started);

// Loads the whole mem-file to be written into s.image as the window would
// (a short file is refused), or says why not.
bool LoadWholeFile(Session& s, const std::string& file);
// A mem-file of any model, for the commands that show or convert one; a
// file not of the image's length is said. False, with the reason said,
// when it cannot be read.
bool LoadAnyModelImage(const std::string& path, EEPROM& image);

// "vornprog COMMAND: error" and the hint to --help; the usage exit status.
int UsageError(const char* command, const std::string& error);
