#pragma once
// A radio's own calibration: bytes 0 to 31, its identity and its
// alignment, set at the factory for that one radio. Writing a dealer's
// configuration into many radios keeps each radio's own.

#include <cstdint>

class EEPROM;
class TRadio;
class TradioInfo;

inline constexpr int kCalibrationBytes = 32;

// The radio's bytes 0 to 31, read block by block; false when a block
// could not be read.
bool ReadRadioCalibration(TRadio& radio, uint8_t* bytes);

// Puts the radio's calibration bytes into the image to be written. The
// "Product ID" word stays the image's, so the write's model check still
// refuses a configuration made for another model.
void KeepCalibration(EEPROM& image, const uint8_t* radioBytes, const TradioInfo& info);
