#pragma once
// The text shown when the serial port will not open: the program's own
// line, the system's reason, and for a missing permission the usual remedy
// on Linux. The windows and vornprog say the same.

#include <string>

// The usual remedy for a port the user may not open (EACCES, EPERM) on
// Linux; empty for any other error.
std::string PortPermissionRemedy(int errorNumber);

std::string OpenPortFailureText(const std::string& portName, const std::string& reason,
                                int errorNumber);
