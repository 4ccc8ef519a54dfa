#pragma once
// The serial ports a technician can choose from: every COM number whose
// device exists, lowest first, with what identifies the lead. The port
// dialog, auto-detect and vornprog all list ports through here.

#include <array>
#include <string>
#include <vector>

#include "portmap.h"

// Rates the port may run at; the first is the line's normal rate and the
// last the highest transfer rate a user may choose.
inline constexpr std::array<int, 4> kBaudRates = {9600, 19200, 38400, 57600};

struct PortEntry {
  int number = 0;
  std::string device;       // e.g. "/dev/ttyUSB0"
  std::string description;  // a USB adapter's maker and product, else empty
};

// COM1..COM256 that exist, in ascending order.
std::vector<int> ExistingPorts(const PortMap& map);
std::vector<PortEntry> ListPorts(const PortMap& map);
// "COM33  /dev/ttyUSB0  FTDI FT232R USB UART" (no description: no tail).
std::string PortEntryText(const PortEntry& entry);
