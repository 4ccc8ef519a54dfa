#pragma once
// The text shown when the serial port will not open: the program's own
// line, the system's reason, and for a missing permission the usual remedy
// on Linux.

#include <string>

std::string OpenPortFailureText(const std::string& portName, const std::string& reason,
                                int errorNumber);
