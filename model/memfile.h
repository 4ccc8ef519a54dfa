#pragma once
// Loading a mem-file into the image and checking that it belongs to a
// radio this build accepts. The caller shows the messages.

#include <cstdint>
#include <string>

class EEPROM;
class TradioInfo;

enum class MemFileStatus {
  Loaded,         // bytes loaded, radio type accepted
  OpenFailed,     // nothing changed: "Unable to open file " + path
  WrongRadioType  // bytes loaded anyway: "Incorrect radio type (" + hex + ")"
};

struct MemFileResult {
  MemFileStatus status = MemFileStatus::OpenFailed;
  uint32_t productId = 0;  // the word at "Product ID" after loading
  int bytesRead = -1;
  std::string message;  // the user-facing text, empty when Loaded
  std::string caption;  // "File Open Error" or "Reading Mem-file"
};

MemFileResult CheckedLoadMemFile(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                                 const std::string& path);

// "5A01", "FFFF": upper-case hexadecimal with at least two digits.
std::string HexId(uint32_t value);
