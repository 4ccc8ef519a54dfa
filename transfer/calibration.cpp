#include "calibration.h"

#include "eeprom.h"
#include "params.h"
#include "radio.h"
#include "radioinfo.h"

namespace {
constexpr int kBlock = 16;
}  // namespace

bool ReadRadioCalibration(TRadio& radio, uint8_t* bytes) {
  for (int a = 0; a < kCalibrationBytes; a += kBlock)
    if (!radio.ReadMemoryBlock(a, bytes + a)) return false;
  return true;
}

void KeepCalibration(EEPROM& image, const uint8_t* radioBytes, const TradioInfo& info) {
  const int idAddress = info.GetParamAddress(kParamProductId);
  const int fileId = image.GetWord(idAddress);
  image.WriteBlock(0, radioBytes, kCalibrationBytes);
  if (idAddress >= 0 && fileId >= 0) image.SetWord(idAddress, fileId);
}
