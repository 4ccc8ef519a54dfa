#pragma once
// The line half of the lead check: does the lead open, does it echo what
// it sends, and which radio answers, at which of the build's rates.

#include <cstdint>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "leaddoctor.h"

class SerialPort;
class TRadio;

enum class EchoVerdict { kWillNotOpen, kNoEcho, kEchoes };

// Opens the device at 9600 baud, sends a few bytes no radio takes for a
// frame and says whether they come back. errorNumber is the system's
// reason when it would not open.
EchoVerdict CheckEcho(const std::string& device, int& errorNumber);

// The rates the build's transfers may run at, 9600 first: a radio left at
// a higher rate by a cut-short transfer answers only there.
std::vector<uint32_t> BuildBaudRates(const BuildConfig& build);

struct LineDiagnosis {
  std::vector<Finding> findings;
  bool radioFound = false;  // a radio of the build's model answered
};

// Leaves the port closed.
LineDiagnosis DiagnoseLine(SerialPort& port, TRadio& radio, const std::string& device,
                           const BuildConfig& build);
