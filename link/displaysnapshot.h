#pragma once
// What the radio's front panel shows, as last copied from the protocol I
// engine: the ten display bytes (two channel digits, five alphanumeric
// characters, two bytes of icons and one of flashing bits), the backlight
// and its colour. Copied on request, so a window reads one consistent
// frame while the engine goes on taking new ones.

#include <cstdint>
#include <string>

#include "vorniprotocol.h"

class DisplaySnapshot {
 public:
  // Copy the engine's latest frame, backlight or backlight colour.
  void FetchDisplay(vornI_Protocol& protocol) { protocol.CopyDisplayBytes(display_); }
  void FetchBacklight(vornI_Protocol& protocol) { backlight_ = protocol.CopyBacklight(); }
  void FetchBacklightColour(vornI_Protocol& protocol) { colour_ = protocol.CopyBacklightColour(); }

  int GetBacklight() const { return backlight_; }
  BacklightColour GetBacklightColour() const { return colour_; }
  std::string GetChannelDigit1() const { return CharAt(0); }
  std::string GetChannelDigit2() const { return CharAt(1); }
  // i = 1..5; any other number names no character and gives "".
  std::string GetAlphaChar(int i) const { return IsAlphaIndex(i) ? CharAt(1 + i) : std::string(); }
  std::string GetAlphaChar1() const { return GetAlphaChar(1); }
  std::string GetAlphaChar2() const { return GetAlphaChar(2); }
  std::string GetAlphaChar3() const { return GetAlphaChar(3); }
  std::string GetAlphaChar4() const { return GetAlphaChar(4); }
  std::string GetAlphaChar5() const { return GetAlphaChar(5); }
  bool IsScanLit() const { return Bit(7, 0); }
  bool IsCallToLit() const { return Bit(7, 2); }
  bool IsCallFromLit() const { return Bit(7, 3); }
  bool IsQLit() const { return Bit(7, 4); }
  bool IsMLit() const { return Bit(7, 5); }
  bool IsBusyLit() const { return Bit(7, 6); }
  bool IsDupLit() const { return Bit(7, 7); }
  bool IsTxLit() const { return Bit(8, 1); }
  bool IsQuietLit() const { return Bit(8, 2); }
  bool IsSilentLit() const { return Bit(8, 3); }
  bool IsDcsLit() const { return Bit(8, 4); }
  bool IsBluetoothLit() const { return Bit(8, 5); }
  bool IsChannelDigit1Flashing() const { return Bit(9, 0); }
  bool IsChannelDigit2Flashing() const { return Bit(9, 1); }
  bool IsAlphaCharFlashing(int i) const { return IsAlphaIndex(i) && Bit(9, 1 + i); }  // i = 1..5
  bool IsAlphaChar1Flashing() const { return IsAlphaCharFlashing(1); }
  bool IsAlphaChar2Flashing() const { return IsAlphaCharFlashing(2); }
  bool IsAlphaChar3Flashing() const { return IsAlphaCharFlashing(3); }
  bool IsAlphaChar4Flashing() const { return IsAlphaCharFlashing(4); }
  bool IsAlphaChar5Flashing() const { return IsAlphaCharFlashing(5); }
  // The display frames carry no priority, scale or signal-bar segments.
  bool IsPriLit() const { return false; }
  bool IsSignalScaleLit() const { return false; }
  bool IsSignalBarLit(int) const { return false; }
  bool IsSignalBar1Lit() const { return false; }
  bool IsSignalBar2Lit() const { return false; }
  bool IsSignalBar3Lit() const { return false; }
  bool IsSignalBar4Lit() const { return false; }
  bool IsSignalBar5Lit() const { return false; }
  bool IsSignalBar6Lit() const { return false; }
  bool IsSignalBar7Lit() const { return false; }
  bool IsSignalBar8Lit() const { return false; }

 private:
  static bool IsAlphaIndex(int i) { return i >= 1 && i <= 5; }
  std::string CharAt(int i) const { return std::string(1, static_cast<char>(display_[i])); }
  bool Bit(int byte, int bit) const { return (display_[byte] >> bit) & 1; }

  uint8_t display_[10] = {};
  int backlight_ = 0;
  BacklightColour colour_;
};
