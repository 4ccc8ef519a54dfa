#pragma once
// The names udev gives a serial device that stay the same from one
// plugging to the next: /dev/serial/by-id (the adapter's maker, product
// and serial number) and /dev/serial/by-path (the USB socket it is in).

#include <string>
#include <vector>

// The links in devRoot/serial/<kind> ("by-id" or "by-path") that lead to
// device (a path under devRoot, e.g. devRoot + "/ttyUSB0"), sorted; empty
// when there are none or the folder is missing.
std::vector<std::string> StableLeadNames(const std::string& devRoot, const std::string& kind,
                                         const std::string& device);
