#include "rxbank.h"

#include "buildconfig.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

int CurrentRxBank(const EEPROM& image, const TradioInfo& info, const BuildConfig& build) {
  if (!TradioInfo::HasRxBanks(build.productId)) return 0;
  const int bank = image.GetParamByte(info, "Rx Bank");
  return bank >= 0 && bank < 5 ? bank : 0;
}
