#pragma once
// The command line of vorn-radio-sim.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simfaults.h"
#include "simmodels.h"

class SimulatedRadio;

struct SimOptions {
  uint32_t productId = 0x5A02;  // Kestal
  std::string image;            // mem-file; empty: the default image
  bool hasVersion = false;
  SimVersion version;
  bool hasFirmwareText = false;
  std::string firmwareText;
  uint32_t baud = 0;  // pace the line at this rate; 0: unpaced
  int pcbRevision = -1;
  bool hasRadioId = false;
  std::array<uint8_t, 8> radioId{};
  int channel = 0;
  bool signal = false;
  int announceMs = 0;
  bool checkRate = false;
  SimFaults faults;
  std::string link;  // a symbolic link to the device, for a stable name
  bool verbose = false;
  bool help = false;
  bool showVersion = false;  // --version with no firmware version after it
};

// args excludes the program name. On failure error says why.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);
std::string SimUsage();
// Sets the radio up as the options say (before Start()).
bool ApplySimOptions(const SimOptions& options, SimulatedRadio& radio, std::string& error);
