#pragma once
// The radio models this program knows, their feature bits, and the record
// of which model the program is currently working with.

#include <cstdint>
#include <string>

#include "params.h"

inline constexpr int kModelCount = 8;
inline constexpr uint32_t kNoProductId = 0xffff;

// Product IDs as stored in the radio's memory image.
inline constexpr uint32_t kProductMerlo = 0x5A01;
inline constexpr uint32_t kProductKestal = 0x5A02;
inline constexpr uint32_t kProductPinto = 0x5A03;
inline constexpr uint32_t kProductDravo = 0x5A04;
inline constexpr uint32_t kProductSorel = 0x5A05;
inline constexpr uint32_t kProductTamso = 0x5A06;
inline constexpr uint32_t kProductKestalBT = 0x5A07;

// Model flags: a build accepts a radio whose flag shares a bit with its own.
inline constexpr uint32_t kAllModelsFlag = 127;

// Feature bit numbers; the bit value is 1 << number.
enum FeatureBit : int {
  kFeatSelcall = 0,
  kFeatRxBanks = 1,
  kFeatRearMic = 2,
  kFeatFixedSquelch = 3,
  kFeatScrambler = 4,
  kFeatWirelessRemote = 5,
  kFeatAlphaDisplay = 6,
  kFeatPintoReserved = 7,  // set on the Pinto, tested by nothing
  kFeatTempCompAlign = 8,
  kFeatIntExtMic = 9,
  kFeatExtendedCtcss = 10,
  kFeatNotchAlign = 11,
  kFeatMicSelect = 12,
  kFeatBaudRateSwitch = 13,
  kFeatNetScan = 14,
  kFeatScanSkipTime = 15,
  kFeatLcdContrast = 16,
  kFeatReplyErrorFlag = 17,
  kFeatArrayTransfer = 18,
  kFeatUserScanOptions = 19,
  kFeatRxOnlyChannels = 20,
  kFeatReceiverAlign = 21,
  kFeatZeroMinVolume = 22,
  kFeatScanMemorySelect = 23,
  kFeatLowPowerAlign = 24,
};

struct ModelRow {
  uint32_t productId;
  uint32_t modelFlag;
  char name[12];
  char description[100];
  uint32_t featureMask;
  const int16_t* paramAddresses;  // kParamCount entries, -1 = absent
};

// The constant model table, rows 0..7 (row 0 is the unknown model).
const ModelRow& ModelTableRow(int row);

// Searches rows 0..7 in order. Outputs are untouched when not found.
bool FindModel(uint32_t productId, int& rowIndex, uint32_t& modelFlag, std::string& name);

// A product ID is accepted by a build when it is in the table and its
// model flag shares a bit with the build's flag. Row 0 never is.
bool IsModelAccepted(uint32_t productId, uint32_t buildModelFlag);

class TradioInfo {
 public:
  TradioInfo() { ResetModel(); }

  void SelectModel(uint32_t productId);
  void SetModel(uint32_t productId, int rowIndex);
  void ResetModel();

  uint16_t modelIndex = 0;
  uint32_t productId = kNoProductId;

  // Address of the parameter in the current model's table; -1 when the
  // model lacks it.
  int GetParamAddress(Param param) const { return GetParamAddress(param.Index()); }
  // The same by index, for walking the whole table; -1 also when the index
  // is out of range.
  int GetParamAddress(int index) const;

  const char* ModelName() const;         // by modelIndex
  const char* ModelDescription() const;  // by modelIndex

  static bool HasFeature(uint32_t productId, FeatureBit bit);

  static bool HasSelcall(uint32_t id) { return HasFeature(id, kFeatSelcall); }
  static bool HasRxBanks(uint32_t id) { return HasFeature(id, kFeatRxBanks); }
  static bool HasRearMic(uint32_t id) { return HasFeature(id, kFeatRearMic); }
  static bool HasFixedSquelch(uint32_t id) { return HasFeature(id, kFeatFixedSquelch); }
  static bool HasScrambler(uint32_t id) { return HasFeature(id, kFeatScrambler); }
  static bool HasWirelessRemote(uint32_t id) { return HasFeature(id, kFeatWirelessRemote); }
  static bool HasAlphaDisplay(uint32_t id) { return HasFeature(id, kFeatAlphaDisplay); }
  static bool HasTempCompAlign(uint32_t id) { return HasFeature(id, kFeatTempCompAlign); }
  static bool HasIntExtMic(uint32_t id) { return HasFeature(id, kFeatIntExtMic); }
  // Versioned: Dravo firmware 1.x and older lacks these whatever the table says.
  static bool HasExtendedCtcss(uint32_t id, int majorVersion);
  static bool HasNotchAlign(uint32_t id) { return HasFeature(id, kFeatNotchAlign); }
  static bool HasMicSelect(uint32_t id) { return HasFeature(id, kFeatMicSelect); }
  static bool HasBaudRateSwitch(uint32_t id) { return HasFeature(id, kFeatBaudRateSwitch); }
  static bool HasNetScan(uint32_t id, int majorVersion);
  static bool HasScanSkipTime(uint32_t id) { return HasFeature(id, kFeatScanSkipTime); }
  static bool HasLcdContrast(uint32_t id) { return HasFeature(id, kFeatLcdContrast); }
  static bool HasReplyErrorFlag(uint32_t id) { return HasFeature(id, kFeatReplyErrorFlag); }
  static bool HasArrayTransfer(uint32_t id) { return HasFeature(id, kFeatArrayTransfer); }
  static bool HasUserScanOptions(uint32_t id) { return HasFeature(id, kFeatUserScanOptions); }
  static bool HasRxOnlyChannels(uint32_t id) { return HasFeature(id, kFeatRxOnlyChannels); }
  static bool HasReceiverAlign(uint32_t id) { return HasFeature(id, kFeatReceiverAlign); }
  static bool HasZeroMinVolume(uint32_t id) { return HasFeature(id, kFeatZeroMinVolume); }
  static bool HasScanMemorySelect(uint32_t id) { return HasFeature(id, kFeatScanMemorySelect); }
  static bool HasLowPowerAlign(uint32_t id) { return HasFeature(id, kFeatLowPowerAlign); }
};
