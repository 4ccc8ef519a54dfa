#pragma once
// Is there a radio of this build's model on a port? Auto-detect asks it
// of one port per timer tick; vornprog detect of every port in turn.

#include <cstdint>
#include <string>
#include <vector>

#include "buildconfig.h"

class SerialPort;
class TRadio;

enum class ProbeVerdict {
  kNoRadio,     // the port would not open, or nothing answered
  kOtherModel,  // a radio answered but it is not one this build programs
  kFound,
};

struct ProbeResult {
  ProbeVerdict verdict = ProbeVerdict::kNoRadio;
  bool firmwareRead = false;
  std::string firmwareText;
  bool hasVersion = false;
  std::string versionText;  // "v1.05"
  bool productIdRead = false;
  int productId = 0;
};

// Closes the port, opens COM`number` at 9600 baud and asks for the radio's
// version; when a radio answers, also its firmware text and product ID.
// The port is left open on `number` whatever the outcome.
ProbeResult ProbePort(SerialPort& port, TRadio& radio, int number, const BuildConfig& build);
// The same for a port by name ("COM" + number or a device path) at a rate.
ProbeResult ProbeDevice(SerialPort& port, TRadio& radio, const std::string& name, uint32_t baud,
                        const BuildConfig& build);

// The radio's firmware text starts with the model's name (its first six
// characters; all of a shorter name).
bool FirmwareNamesModel(const std::string& firmware, const std::string& modelName);

// What a technician is told about a radio that answered on COM`number`:
// "Radio found on COMn", the firmware text ("-" when unread) and
// "Firmware: " with the version ("n/a" when there is none).
std::vector<std::string> AnsweredRadioLines(int number, const ProbeResult& result);

// What a technician is told when no port held a radio of this build but
// one of another model answered on COM`number`: which radio answered
// where, and that this build programs another model. (Telling them the
// radio was not found would send them checking a radio that is on.)
std::vector<std::string> OtherModelLines(int number, const ProbeResult& result, const BuildConfig& build);
