#pragma once
// Which parameter each adjustable control of the alignment bench trims,
// and the fixed help lines of each group of controls. Standard library
// only; the window binds its controls by these names.

#include <cstdint>
#include <string>
#include <vector>

#include "params.h"

class EEPROM;
class TradioInfo;

// The write step reaches only the calibration area: every alignment
// parameter lies at or below this address.
inline constexpr int kAlignLastAddress = 32;

// How a trim's stored byte reads in its up-down.
enum class AlignScale {
  kByte,            // as stored, 0..255
  kSignedByte,      // two's complement
  kSqlSensitivity,  // two's complement; outside -80..80 it shows 0
};

struct AlignBinding {
  const char* upDown;
  const char* edit;
  Param parameter;
  int low;
  int high;
  bool enterWrites;  // Enter in the edit writes (digits only reach it)
  AlignScale scale = AlignScale::kByte;
};

// The trims written by the write step, in page order: frequency,
// transmitter, receiver grid (T1..T4 of F1..F3), squelch, S-meter.
const std::vector<AlignBinding>& AlignBindings();
// The binding of this up-down, nullptr when none.
const AlignBinding* AlignBindingOf(const std::string& upDown);
// Whether the write step may write there.
inline bool AlignWritable(int address) { return address >= 0 && address <= kAlignLastAddress; }

// The position a binding's up-down shows for its stored byte.
int AlignPositionOfByte(const AlignBinding& binding, int byte);
// Every binding's position read from the image, in AlignBindings() order;
// a parameter the model lacks shows 0.
std::vector<int> AlignPositions(const EEPROM& image, const TradioInfo& info);
// The front (or internal) and rear (or external) microphone gains as their
// up-downs show them; a gain the model lacks shows 0.
struct MicGainPositions {
  int front = 0;
  int rear = 0;
};
MicGainPositions AlignMicGainPositions(const EEPROM& image, const TradioInfo& info);

enum class AlignHelp {
  kNone,
  kDeviation,
  kTrackMod,
  kRfPower,
  kReceiver,
  kSquelch,
  kFrequency,
};
// The lines of a group for the build's product (the power and receiver
// groups depend on it).
std::vector<std::string> AlignHelpLines(AlignHelp group, uint32_t productId);
