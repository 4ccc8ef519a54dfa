#include "simimage.h"

#include "array.h"
#include "eeprom.h"
#include "params.h"
#include "radioinfo.h"

namespace {

struct ByteDefault {
  Param param;
  int value;
};

// Calibration and option bytes of a radio fresh from alignment. Signed
// parameters ("Sql K", "Mic Gain", ...) are stored in two's complement.
constexpr ByteDefault kByteDefaults[] = {
    {"T1-F1", 0x62}, {"T2-F1", 0x8A}, {"T3-F1", 0x75}, {"T4-F1", 0x40},
    {"T1-F2", 0x69}, {"T2-F2", 0x91}, {"T3-F2", 0x7C}, {"T4-F2", 0x47},
    {"T1-F3", 0x70}, {"T2-F3", 0x98}, {"T3-F3", 0x83}, {"T4-F3", 0x4E},
    {"Mod", 12}, {"Sql K", 10}, {"Bal", 12}, {"AFC Limit", 0x20},
    {"RF Power Hi", 0xC8}, {"RF Power Lo", 0x48}, {"PLL FRef", 0x80},
    {"Xtl Temp Co", 0x80}, {"S1 Cal", 0x28}, {"S10 Cal", 0xA8}, {"Xtl Temp Co2", 0x80},
    {"Config", 0x00}, {"Power", 0x01}, {"Rx ADC Offset", 0x00},
    {"Status", 0x00}, {"Last Channel", 11},
    {"Sql Level", 3}, {"Tx Timeout", 3},
    {"Options-1", 0}, {"Options-2", 0}, {"Options-3", 0}, {"Options-4", 0},
    {"Options-5", 0x01}, {"Options-6", 0}, {"Options-7", 0}, {"Options-8", 0},
    {"Options-9", 0}, {"Options-10", 0},
    {"Sql Open Debounce", 2}, {"Sql Min Open", 5}, {"Pri Chk Rate", 4}, {"Pri Channel", 11},
    {"Duplex", 0x01}, {"LCD Level", 5}, {"CB Disp Options", 0}, {"Rx-only Disp Options", 0},
    {"Tx CTCSS Tone", 12}, {"Rx CTCSS Tone", 12}, {"Duplex-80", 0},
    {"Lead Tone Length", 5}, {"Menu Enable", 0xFF}, {"Menu Enable 1", 0xFF},
    {"ADC Vol Min", 4}, {"Selcall Alert Time", 10}, {"Beep Vol", 6}, {"Ident Length", 5},
    {"ANI Length", 5}, {"N Predictive", 2}, {"Tone Length", 7}, {"Pause pred/non-pred", 3},
    {"Last Volume", 8}, {"Disp Hue", 85}, {"Disp Sat", 255}, {"Disp Lum", 128},
    {"CB Unlock Count", 0}, {"Rpk Delay", 2}, {"Rpk Carrier Delay", 3}, {"Rx Bank", 0},
    {"Sql-0", 20}, {"Sql-1", 32}, {"Sql-2", 44}, {"Sql-3", 56}, {"Sql-4", 68},
    {"Sql-5", 80}, {"Sql-6", 92}, {"Sql-7", 104}, {"Sql-8", 116}, {"Sql-9", 128},
    {"Wireless Mic Gain", 8}, {"CTCSS Dev", 0x30}, {"DCS Dev", 0x30},
    {"Mic Gain", 6}, {"Mic Gain Rear", 6},
    {"Wireless PTT Mic Sel", 0}, {"Wireless Remote Key Func1", 1}, {"Wireless Remote Key Func2", 2},
    {"LCD Contrast", 4}, {"Netscan Ctcss Tone", 23}, {"Scan Skip Time", 5}, {"Device Id", 1},
    {"Radio Power State", 1}, {"Scan Memory", 0},
};

struct WordDefault {
  Param param;
  int value;
};

constexpr WordDefault kWordDefaults[] = {
    {"PLL R", 0x0320},
    {"IF offset", 0x0E30},
    {"PCB Rev", kSimDefaultPcbRevision},
};

struct RxChannelDefault {
  int steps;  // frequency / 12 500 Hz
  const char* name;
};

constexpr RxChannelDefault kRxChannels[] = {
    {37482, "FIRE"}, {37524, "SES"}, {37627, "FARM"},
    {37745, "MINE"}, {37856, "CAMP"}, {37972, "TOWN"},
};
constexpr int kNamedRxChannels = sizeof kRxChannels / sizeof kRxChannels[0];

struct BitArrayDefault {
  Param param;
  int first;  // bit numbers first..last set (CB channel c is bit c - 1)
  int last;
};

constexpr BitArrayDefault kBitArrays[] = {
    {"Scan Mem 0", 0, 39},   {"Scan Mem 0", 80, 83},  // channels 1-40, rx-only 0-3
    {"Scan Mem 1", 40, 79},                           // channels 41-80
    {"Quiet Mem", 4, 4},     {"Quiet Mem", 34, 34},    // the emergency channels 5 and 35
    {"Silent Mem", 8, 9},    {"Silent Mem", 11, 11},   // channels 9, 10 and 12
    {"Scan Mem 2", 10, 10},  {"Scan Mem 2", 39, 39},   // NetScan: channels 11 and 40
};

void FillBitArrays(const TradioInfo& info, EEPROM& image) {
  for (Param array : {kParamScanMem0, kParamScanMem1, kParamQuietMem, kParamSilentMem, kParamScanMem2}) {
    const int a = info.GetParamAddress(array);
    for (int i = 0; a >= 0 && i < kChannelBitArraySize; ++i) image.SetByte(a + i, 0);
  }
  for (const BitArrayDefault& d : kBitArrays) {
    const int a = info.GetParamAddress(d.param);
    if (a < 0) continue;
    uint8_t bits[kChannelBitArraySize];
    image.ReadBlock(a, bits, kChannelBitArraySize);
    for (int n = d.first; n <= d.last; ++n) SetBit(n, bits);
    image.WriteBlock(a, bits, kChannelBitArraySize);
  }
}

void FillRxChannels(uint32_t productId, const TradioInfo& info, EEPROM& image) {
  const int base = info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0) return;
  const bool named = TradioInfo::HasAlphaDisplay(productId);
  for (int m = 0; m < kRxOnlyChannelCount; ++m) {
    const int a = base + kRxChannelRecordSize * m;
    const bool used = m < kNamedRxChannels;
    image.SetWord(a, used ? kRxChannels[m].steps : 0xFFFF);
    image.SetAlphaTag(a + 2, used && named ? kRxChannels[m].name : "");
  }
}

void FillSelcall(uint32_t productId, const TradioInfo& info, EEPROM& image) {
  const int ident = info.GetParamAddress(kParamSelcallIdent);
  if (ident < 0 || !TradioInfo::HasSelcall(productId)) return;
  // The radio uses the last five of the eight ident digits: ident 12345.
  const int digits[] = {0, 0, 0, 1, 2, 3, 4, 5};
  image.SetNibbles(ident, digits, 8);
}

}  // namespace

void MakeDefaultImage(uint32_t productId, EEPROM& image) {
  TradioInfo info;
  info.SelectModel(productId);

  image.Fill(0xFF);
  image.SetWord(0, static_cast<int>(productId));  // "Product ID" is at 0 on every model
  // Alignment leaves no byte of the calibration area erased, even those a
  // model has no name for.
  for (int a = 2; a < 32; ++a) image.SetByte(a, 0x80);

  for (const ByteDefault& d : kByteDefaults) image.SetParamByte(info, d.param, d.value);
  for (const WordDefault& d : kWordDefaults) image.SetParamWord(info, d.param, d.value);
  FillBitArrays(info, image);
  FillRxChannels(productId, info, image);
  FillSelcall(productId, info, image);
}
