#pragma once
// A plausible factory configuration for a simulated radio that was given
// no mem-file: calibrated, a handful of named receive-only channels, scan
// memories and subtones filled in.

#include <cstdint>

class EEPROM;

inline constexpr int kSimDefaultPcbRevision = 3;

// Fills the 2048-byte image for the model of productId (any product ID;
// parameters the model lacks are left erased).
void MakeDefaultImage(uint32_t productId, EEPROM& image);
