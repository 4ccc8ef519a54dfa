#pragma once
// The receive-only bank the radio shows, as several windows need it.

class EEPROM;
class TradioInfo;
struct BuildConfig;

// 0..4: the "Rx Bank" byte when the build's model has banks and the byte
// is below 5, else 0. Reads the image only.
int CurrentRxBank(const EEPROM& image, const TradioInfo& info, const BuildConfig& build);
