#pragma once
// A configuration as YAML text: every bit of the memory image under the
// group that owns it, each parameter by name in the units the windows use,
// the receive-only channels as rows, and whatever no parameter describes as
// hexadecimal bytes, so any image comes back byte for byte. The same image
// always gives the same text, one setting a line.

#include <string>

#include "eeprom.h"

// Where and why a text was refused. Line and column count from 1; 0 when
// the fault has no place in the text (an empty file).
struct ConfigTextError {
  int line = 0;
  int column = 0;
  std::string path;     // "squelch.Sql Level", "channels.rows[3].MHz"; empty for the whole file
  std::string message;  // what is wrong and what is allowed
  // "FILE:LINE:COLUMN: PATH: MESSAGE".
  std::string Text(const std::string& file) const;
};

// The text of `image`. Its model is the one its product ID names; an ID
// no model has gives the bytes alone.
std::string ExportConfigText(const EEPROM& image);

// Reads `text` into `out`. Without a base every bit must be given (a whole
// exported file); with `base` the result starts as the base and only what
// the text names changes, and the text must be of the base's model. On
// failure `out` is untouched and `error` says where and why.
bool ImportConfigText(const std::string& text, const EEPROM* base, EEPROM& out,
                      ConfigTextError& error);

// ImportConfigText on the file at `path`; a file that cannot be read is
// refused with the system's reason.
bool ImportConfigTextFile(const std::string& path, const EEPROM* base, EEPROM& out,
                          ConfigTextError& error);

// Whether a file name is that of a configuration text (.yaml or .yml).
bool IsConfigTextName(const std::string& path);
