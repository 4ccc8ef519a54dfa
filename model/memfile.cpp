#include "memfile.h"

#include <cstdio>

#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

std::string HexId(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
  return text;
}

MemFileResult CheckedLoadMemFile(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                                 const std::string& path) {
  MemFileResult result;
  result.bytesRead = image.LoadFromFile(path.c_str());
  if (result.bytesRead < 0) {
    result.status = MemFileStatus::OpenFailed;
    result.message = "Unable to open file " + path;
    result.caption = "File Open Error";
    return result;
  }
  // The bytes stay in the image whatever the check below decides.
  const int word = image.GetWord(info.GetParamAddress(kParamProductId));
  result.productId = word < 0 ? kNoProductId : static_cast<uint32_t>(word);
  if (IsModelAccepted(result.productId, buildModelFlag)) {
    result.status = MemFileStatus::Loaded;
    return result;
  }
  result.status = MemFileStatus::WrongRadioType;
  result.message = "Incorrect radio type (" + HexId(result.productId) + ")";
  result.caption = "Reading Mem-file";
  return result;
}
