#pragma once
// What the firmware window shows: the radio's firmware text, product ID,
// PCB revision and firmware version, asked from the radio without putting
// it into programming mode. Shared by the window and the command-line tool.

#include <string>

class TRadio;
class TradioInfo;
struct BuildConfig;

struct FirmwareInfo {
  bool ok = false;        // false: the firmware text could not be read
  std::string radioType;  // the firmware text
  std::string productId;  // upper-case hexadecimal, empty when unread
  std::string pcbRev;     // upper-case hexadecimal, empty when unread
  std::string firmware;   // version text, "n/a" when the version is unknown
};

inline constexpr const char* kFirmwareFailText = "Unable to read from radio";
inline constexpr const char* kFirmwareFailCaption = "Read Error";

// In a build for all models a product ID read makes the radio's model the
// current one, so the PCB revision is read at that model's address.
FirmwareInfo ReadFirmwareInfo(TRadio& radio, TradioInfo& info, const BuildConfig& build);
