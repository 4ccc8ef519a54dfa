#pragma once
// Named parameters of the memory image: their names and, per model, their
// byte addresses.

#include <cstdint>

// Parameter indices used by code outside the editors.
enum ParamIndex : int {
  kParamProductId = 0,
  kParamPcbRev = 27,
  kParamStatus = 28,
  kParamOptions1 = 32,  // the option bytes run on from here
  kParamLcdContrast = 100,
  kParamRxOnlyChannels = 93,
  kParamScanMem0 = 89,
  kParamScanMem1 = 90,
  kParamQuietMem = 91,
  kParamSilentMem = 92,
  kParamScanMem2 = 104,
};

// Name of parameter `index` (0..106), nullptr when out of range.
const char* ParamName(int index);
// Index of the parameter with this exact name, -1 when none.
int ParamIndexOf(const char* name);

// Each model's address table, kParamCount entries, -1 = absent.
extern const int16_t kUnknownParamAddresses[];
extern const int16_t kMerloParamAddresses[];
extern const int16_t kKestalParamAddresses[];  // also the Sorel's
extern const int16_t kPintoParamAddresses[];
extern const int16_t kDravoParamAddresses[];
extern const int16_t kTamsoParamAddresses[];
extern const int16_t kKestalBTParamAddresses[];
