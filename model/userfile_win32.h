#pragma once
// What the Windows file calls share: the system's reasons told as errno
// (the messages the programs show are errno's words on every system), and
// the names that are devices whatever folder they are in.

#include <string>

#include <windows.h>

int ErrnoOfWin32(DWORD error);
bool NoSuchFile(DWORD error);
// CON, NUL, COM1, LPT2.txt, \\.\COM5, \\.\pipe\name: opening one is
// opening a device or a pipe, never a file.
bool IsDeviceName(const std::string& path);
