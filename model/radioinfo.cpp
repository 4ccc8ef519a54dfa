#include "radioinfo.h"

#include "params.h"

namespace {

// Which models have each feature. Columns are the table rows 1..7 in order:
// Merlo, Kestal, Pinto, Dravo, Sorel, Tamso, Kestal-BT. Row 0 has none.
struct FeatureRows {
  FeatureBit bit;
  const char* rows;  // 'x' = the model has the feature
};

constexpr FeatureRows kFeatureRows[] = {
    {kFeatSelcall,          "x.xx..."},
    {kFeatRxBanks,          "x.xx..."},
    {kFeatRearMic,          "xx.x..x"},
    {kFeatFixedSquelch,     "...x..."},
    {kFeatScrambler,        "x..x..."},
    {kFeatWirelessRemote,   "xx.x..x"},
    {kFeatAlphaDisplay,     "x.xx.x."},
    {kFeatPintoReserved,    "..x...."},
    {kFeatTempCompAlign,    "xx.xx.x"},
    {kFeatIntExtMic,        "..x...."},
    {kFeatExtendedCtcss,    "..xx.x."},
    {kFeatNotchAlign,       "..x...."},
    {kFeatMicSelect,        "..x...."},
    {kFeatBaudRateSwitch,   "..x...."},
    {kFeatNetScan,          "xxxx.xx"},
    {kFeatScanSkipTime,     "xxxx.xx"},
    {kFeatLcdContrast,      "..xx..."},
    {kFeatReplyErrorFlag,   ".....xx"},
    {kFeatArrayTransfer,    "..x..x."},
    {kFeatUserScanOptions,  "x.x..x."},
    {kFeatRxOnlyChannels,   "xxxxx.x"},
    {kFeatReceiverAlign,    "xxxxx.x"},
    {kFeatZeroMinVolume,    ".....x."},
    {kFeatScanMemorySelect, ".....x."},
    {kFeatLowPowerAlign,    "..x...."},
};

constexpr uint32_t FeatureMaskOf(int row) {
  uint32_t mask = 0;
  if (row < 1) return mask;
  for (const FeatureRows& f : kFeatureRows) {
    if (f.rows[row - 1] == 'x') mask |= 1u << f.bit;
  }
  return mask;
}

constexpr ModelRow kModels[kModelCount] = {
    {kNoProductId, 0, "", "-", FeatureMaskOf(0), kUnknownParamAddresses},
    {kProductMerlo, 2, "Merlo", "80 channel CB land-based transceiver with selcall, compact, 5W",
     FeatureMaskOf(1), kMerloParamAddresses},
    {kProductKestal, 1, "Kestal", "80 channel CB land-based transceiver, compact, 5W",
     FeatureMaskOf(2), kKestalParamAddresses},
    {kProductPinto, 8, "Pinto", "80 channel CB handheld transceiver", FeatureMaskOf(3),
     kPintoParamAddresses},
    {kProductDravo, 4, "Dravo", "80 channel CB land-based transceiver, DIN-sized, 5W",
     FeatureMaskOf(4), kDravoParamAddresses},
    {kProductSorel, 16, "Sorel", "80 channel CB land-based transceiver, compact & simple, 5W",
     FeatureMaskOf(5), kKestalParamAddresses},
    {kProductTamso, 32, "Tamso", "80 channel CB land-based transceiver, compact & simple, 5W",
     FeatureMaskOf(6), kTamsoParamAddresses},
    {kProductKestalBT, 64, "Kestal-BT",
     "80 channel CB land-based transceiver, compact, 5W, blue-tooth", FeatureMaskOf(7),
     kKestalBTParamAddresses},
};

int RowOf(uint32_t productId) {
  for (int row = 0; row < kModelCount; ++row) {
    if (kModels[row].productId == productId) return row;
  }
  return -1;
}

// A current row outside the table (only possible through SetModel) falls
// back to the unknown model rather than reading past the table.
const ModelRow& CurrentRow(uint16_t modelIndex) { return ModelTableRow(modelIndex); }

}  // namespace

const ModelRow& ModelTableRow(int row) {
  return (row >= 0 && row < kModelCount) ? kModels[row] : kModels[0];
}

bool FindModel(uint32_t productId, int& rowIndex, uint32_t& modelFlag, std::string& name) {
  const int row = RowOf(productId);
  if (row < 0) return false;
  rowIndex = row;
  modelFlag = kModels[row].modelFlag;
  name = kModels[row].name;
  return true;
}

bool IsModelAccepted(uint32_t productId, uint32_t buildModelFlag) {
  const int row = RowOf(productId);
  return row >= 0 && (kModels[row].modelFlag & buildModelFlag) != 0;
}

void TradioInfo::SelectModel(uint32_t id) {
  const int row = RowOf(id);
  modelIndex = static_cast<uint16_t>(row < 0 ? 0 : row);
}

void TradioInfo::SetModel(uint32_t id, int rowIndex) {
  productId = id;
  modelIndex = static_cast<uint16_t>(rowIndex);
}

void TradioInfo::ResetModel() {
  productId = kNoProductId;
  modelIndex = 0;
}

int TradioInfo::GetParamAddress(int index) const {
  if (index < 0 || index >= kParamCount) return -1;
  return CurrentRow(modelIndex).paramAddresses[index];
}

const char* TradioInfo::ModelName() const { return CurrentRow(modelIndex).name; }

const char* TradioInfo::ModelDescription() const { return CurrentRow(modelIndex).description; }

bool TradioInfo::HasFeature(uint32_t id, FeatureBit bit) {
  const int row = RowOf(id);
  return row >= 0 && (kModels[row].featureMask >> bit) & 1u;
}

namespace {
// Dravo firmware up to 1.x predates these features; no version read (-1)
// counts as old firmware.
bool VersionAllows(uint32_t id, int majorVersion) {
  return !(id == kProductDravo && majorVersion <= 1);
}
}  // namespace

bool TradioInfo::HasExtendedCtcss(uint32_t id, int majorVersion) {
  return HasFeature(id, kFeatExtendedCtcss) && VersionAllows(id, majorVersion);
}

bool TradioInfo::HasNetScan(uint32_t id, int majorVersion) {
  return HasFeature(id, kFeatNetScan) && VersionAllows(id, majorVersion);
}
