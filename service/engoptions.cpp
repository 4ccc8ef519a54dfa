#include "engoptions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "bits.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

constexpr Param kSqlParams[kSquelchThresholds] = {"Sql-0", "Sql-1", "Sql-2", "Sql-3", "Sql-4",
                                                   "Sql-5", "Sql-6", "Sql-7", "Sql-8", "Sql-9"};

// Checked means the bit is clear.
bool Cleared(int byte, uint8_t bit) { return byte >= 0 && (byte & bit) == 0; }

// The stored byte unless the user moved the up-down away from what it
// could show of it.
int Kept(int loaded, int shown, int high) {
  return shown == ShownInRange(loaded, high) ? loaded : shown;
}

}  // namespace

int DeviationHz(int steps) { return static_cast<int>(std::trunc(steps * 1050.0 / 256.0 + 0.5)); }

int DeviationSteps(const std::string& hertzText) {
  const char* begin = hertzText.c_str();
  char* end = nullptr;
  double hz = std::strtod(begin, &end);
  while (end && *end == ' ') ++end;
  if (end == begin || *end != '\0' || !std::isfinite(hz)) hz = 0;
  const double steps = std::trunc(hz * 256.0 / 1050.0 + 0.5);
  return static_cast<int>(std::clamp(steps, 0.0, static_cast<double>(kDeviationMaxSteps)));
}

EngOptionsFeatures EngOptionsFeatures::For(uint32_t productId, bool engineering,
                                           int majorVersion) {
  EngOptionsFeatures f;
  f.txOnRxOnly = engineering;
  f.ctcss38Ext = !TradioInfo::HasExtendedCtcss(productId, majorVersion);
  f.thresholds = !TradioInfo::HasFixedSquelch(productId);
  return f;
}

EngOptionsValues LoadEngOptions(const EEPROM& image, const TradioInfo& info,
                                const EngOptionsFeatures& f) {
  EngOptionsValues v;
  v.options = OptionBytes::Read(image, info, kEngOptionBytes);
  v.enableTxOnRxOnly = Cleared(v.options.Byte(2), kTxOnRxOnlyBit);
  v.ctcss535 = Cleared(v.options.Byte(5), kCtcss535Bit);
  v.ctcss38Ext = Cleared(v.options.Byte(5), kCtcss38ExtBit);
  v.loadedRpkDelay = image.GetParamByte(info, "Rpk Delay");
  v.loadedSilentTail = image.GetParamByte(info, "Rpk Carrier Delay");
  v.rpkDelay = ShownInRange(v.loadedRpkDelay, kRpkDelayMax);
  v.silentTail = ShownInRange(v.loadedSilentTail, kSilentTailMax);
  v.ctcssDev = std::max(0, image.GetParamByte(info, "CTCSS Dev"));
  v.dcsDev = std::max(0, image.GetParamByte(info, "DCS Dev"));
  if (f.thresholds)
    for (int i = 0; i < kSquelchThresholds; ++i)
      v.sql[static_cast<size_t>(i)] = std::max(0, image.GetParamByte(info, kSqlParams[i]));
  return v;
}

void StoreEngOptions(const EngOptionsValues& v, EEPROM& image, const TradioInfo& info,
                     const EngOptionsFeatures& f) {
  OptionBytes options = v.options;
  if (f.txOnRxOnly) options.SetBits(2, kTxOnRxOnlyBit, !v.enableTxOnRxOnly);
  options.SetBits(5, kCtcss535Bit, !v.ctcss535);
  // Written even while hidden: the box then keeps what was loaded.
  options.SetBits(5, kCtcss38ExtBit, !v.ctcss38Ext);
  image.SetParamByte(info, "Rpk Delay", Kept(v.loadedRpkDelay, v.rpkDelay, kRpkDelayMax));
  image.SetParamByte(info, "Rpk Carrier Delay",
           Kept(v.loadedSilentTail, v.silentTail, kSilentTailMax));
  image.SetParamByte(info, "CTCSS Dev", std::clamp(v.ctcssDev, 0, kDeviationMaxSteps));
  image.SetParamByte(info, "DCS Dev", std::clamp(v.dcsDev, 0, kDeviationMaxSteps));
  if (f.thresholds)
    for (int i = 0; i < kSquelchThresholds; ++i)
      image.SetParamByte(info, kSqlParams[i], std::clamp(v.sql[static_cast<size_t>(i)], 0, 255));
  options.Write(image, info);
}
