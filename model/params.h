#pragma once
// Named parameters of the memory image: their names and, per model, their
// byte addresses. Code reaches a parameter through `Param`, made from its
// name while compiling: a name the table lacks stops the build instead of
// reading as an absent parameter (-1) when the program runs.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

inline constexpr int kParamCount = 107;

// Record i is the name of parameter index i; names are at most 29
// characters. The one place a parameter's name meets its index.
inline constexpr std::array<std::string_view, kParamCount> kParamNames = {
    "Product ID",                    // 0
    "T1-F1",                         // 1
    "T2-F1",                         // 2
    "T3-F1",                         // 3
    "T4-F1",                         // 4
    "T1-F2",                         // 5
    "T2-F2",                         // 6
    "T3-F2",                         // 7
    "T4-F2",                         // 8
    "T1-F3",                         // 9
    "T2-F3",                         // 10
    "T3-F3",                         // 11
    "T4-F3",                         // 12
    "Mod",                           // 13
    "Sql K",                         // 14
    "Bal",                           // 15
    "AFC Limit",                     // 16
    "RF Power Hi",                   // 17
    "RF Power Lo",                   // 18
    "PLL FRef",                      // 19
    "Xtl Temp Co",                   // 20
    "S1 Cal",                        // 21
    "S10 Cal",                       // 22
    "Xtl Temp Co2",                  // 23
    "Config",                        // 24
    "Power",                         // 25
    "Rx ADC Offset",                 // 26
    "PCB Rev",                       // 27
    "Status",                        // 28
    "Last Channel",                  // 29
    "Sql Level",                     // 30
    "Tx Timeout",                    // 31
    "Options-1",                     // 32
    "Options-2",                     // 33
    "Options-3",                     // 34
    "Options-4",                     // 35
    "Options-5",                     // 36
    "Options-6",                     // 37
    "Options-7",                     // 38
    "Options-8",                     // 39
    "Options-9",                     // 40
    "Options-10",                    // 41
    "PLL R",                         // 42
    "IF offset",                     // 43
    "Sql Open Debounce",             // 44
    "Sql Min Open",                  // 45
    "Pri Chk Rate",                  // 46
    "Pri Channel",                   // 47
    "Duplex",                        // 48
    "LCD Level",                     // 49
    "CB Disp Options",               // 50
    "Rx-only Disp Options",          // 51
    "Tx CTCSS Tone",                 // 52
    "Rx CTCSS Tone",                 // 53
    "Duplex-80",                     // 54
    "Lead Tone Length",              // 55
    "Menu Enable",                   // 56
    "Menu Enable 1",                 // 57
    "ADC Vol Min",                   // 58
    "Selcall Alert Time",            // 59
    "Beep Vol",                      // 60
    "Ident Length",                  // 61
    "ANI Length",                    // 62
    "N Predictive",                  // 63
    "Tone Length",                   // 64
    "Pause pred/non-pred",           // 65
    "Last Volume",                   // 66
    "Disp Hue",                      // 67
    "Disp Sat",                      // 68
    "Disp Lum",                      // 69
    "CB Unlock Count",               // 70
    "Rpk Delay",                     // 71
    "Rpk Carrier Delay",             // 72
    "Rx Bank",                       // 73
    "Sql-0",                         // 74
    "Sql-1",                         // 75
    "Sql-2",                         // 76
    "Sql-3",                         // 77
    "Sql-4",                         // 78
    "Sql-5",                         // 79
    "Sql-6",                         // 80
    "Sql-7",                         // 81
    "Sql-8",                         // 82
    "Sql-9",                         // 83
    "Wireless Mic Gain",             // 84
    "CTCSS Dev",                     // 85
    "DCS Dev",                       // 86
    "Mic Gain",                      // 87
    "Mic Gain Rear",                 // 88
    "Scan Mem 0",                    // 89
    "Scan Mem 1",                    // 90
    "Quiet Mem",                     // 91
    "Silent Mem",                    // 92
    "Rx-only Channels",              // 93
    "Selcall Mem",                   // 94
    "Selcall Ident",                 // 95
    "Selcall Last",                  // 96
    "Wireless PTT Mic Sel",          // 97
    "Wireless Remote Key Func1",     // 98
    "Wireless Remote Key Func2",     // 99
    "LCD Contrast",                  // 100
    "Netscan Ctcss Tone",            // 101
    "Scan Skip Time",                // 102
    "Device Id",                     // 103
    "Scan Mem 2",                    // 104
    "Radio Power State",             // 105
    "Scan Memory",                   // 106
};

namespace param_lookup {
// Never defined and not constexpr: a name lookup that reaches it cannot be
// finished while compiling, so the compiler reports the call by this name.
void NoParameterHasThisName(const char* name);

constexpr int IndexOf(std::string_view name) {
  for (int i = 0; i < kParamCount; ++i)
    if (kParamNames[static_cast<size_t>(i)] == name) return i;
  return -1;
}
}  // namespace param_lookup

class Param {
 public:
  // The parameter of this exact name, found while compiling.
  consteval Param(const char* name) : index_(param_lookup::IndexOf(name)) {
    if (index_ < 0) param_lookup::NoParameterHasThisName(name);
  }

  // A name known only while running (read from a file or typed): none when
  // the table lacks it, so the caller reports it rather than using -1.
  static constexpr std::optional<Param> Find(std::string_view name) {
    const int index = param_lookup::IndexOf(name);
    return index < 0 ? std::nullopt : std::optional<Param>(Param(index));
  }
  // The parameter at `index`, for walking the whole table; none outside
  // 0..kParamCount - 1.
  static constexpr std::optional<Param> AtIndex(int index) {
    return index >= 0 && index < kParamCount ? std::optional<Param>(Param(index)) : std::nullopt;
  }

  constexpr int Index() const { return index_; }
  constexpr const char* Name() const { return kParamNames[static_cast<size_t>(index_)].data(); }
  friend constexpr bool operator==(Param, Param) = default;

 private:
  constexpr explicit Param(int index) : index_(index) {}
  int index_;
};

// The parameters code outside the editors names most often.
inline constexpr Param kParamProductId{"Product ID"};
inline constexpr Param kParamPcbRev{"PCB Rev"};
inline constexpr Param kParamStatus{"Status"};
inline constexpr Param kParamLcdContrast{"LCD Contrast"};
inline constexpr Param kParamRxOnlyChannels{"Rx-only Channels"};
inline constexpr Param kParamScanMem0{"Scan Mem 0"};
inline constexpr Param kParamScanMem1{"Scan Mem 1"};
inline constexpr Param kParamQuietMem{"Quiet Mem"};
inline constexpr Param kParamSilentMem{"Silent Mem"};
inline constexpr Param kParamScanMem2{"Scan Mem 2"};
inline constexpr Param kParamSelcallMem{"Selcall Mem"};
inline constexpr Param kParamSelcallIdent{"Selcall Ident"};

// Name of parameter `index` (0..106), nullptr when out of range.
const char* ParamName(int index);

// Each model's address table, kParamCount entries, -1 = absent.
extern const int16_t kUnknownParamAddresses[];
extern const int16_t kMerloParamAddresses[];
extern const int16_t kKestalParamAddresses[];  // also the Sorel's
extern const int16_t kPintoParamAddresses[];
extern const int16_t kDravoParamAddresses[];
extern const int16_t kTamsoParamAddresses[];
extern const int16_t kKestalBTParamAddresses[];
