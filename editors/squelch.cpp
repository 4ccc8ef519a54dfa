#include "squelch.h"

#include <algorithm>

#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

SquelchValues LoadSquelch(const EEPROM& image, const TradioInfo& info, uint32_t productId) {
  SquelchValues v;
  v.levelShown = !TradioInfo::HasFixedSquelch(productId);
  if (v.levelShown) {
    const int level = image.GetParamByte(info, "Sql Level");
    v.level = level <= 0 ? kSqlLevelMin : std::min(level, kSqlLevelMax);
  }
  // An absent parameter reads -1; the controls then start at 0.
  v.muteDebounceMs = std::max(0, image.GetParamByte(info, "Sql Open Debounce"));
  v.muteOpenMs = std::max(0, image.GetParamByte(info, "Sql Min Open")) * kMuteOpenStepMs;
  return v;
}

void StoreSquelch(const SquelchValues& v, EEPROM& image, const TradioInfo& info) {
  if (v.levelShown)
    image.SetParamByte(info, "Sql Level", std::clamp(v.level, kSqlLevelMin, kSqlLevelMax));
  image.SetParamByte(info, "Sql Open Debounce", std::clamp(v.muteDebounceMs, 0, kMuteDebounceMax));
  image.SetParamByte(info, "Sql Min Open",
           std::clamp(v.muteOpenMs, 0, kMuteOpenMaxMs) / kMuteOpenStepMs);
}
