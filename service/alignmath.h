#pragma once
// The alignment bench's arithmetic: decibel steps of "Mod" and "Bal", the
// balance that tracks the modulation, what the channel panel shows for a
// channel number, the Enter rules of the trim boxes, and the two
// calibration averages. Standard library only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class EEPROM;
class TradioInfo;
struct BuildConfig;

// "Mod" and "Bal" steps: 0 is +6.0 dB, 12 is 0.0 dB, 24 is -6.0 dB.
inline constexpr int kModBalMaxStep = 24;

// A stored byte as a step: values above 24 are taken as 24.
int StepOfByte(int byte);
// "%2.1f" of (12 - step) * 0.5.
std::string DecibelText(int step);
// A typed decibel value, clamped to -6..+6, as the step floor(12.5 - 2x):
// a value halfway between two steps goes to the lower decibel value.
int StepOfDecibels(double decibels);
// Parses a typed decibel text; nothing when it is not a number.
std::optional<double> ParseDecibels(const std::string& text);
// The balance step that follows modulation step m, relative to the pair
// captured when tracking was turned on.
int TrackedBalance(int m, int modRef, int balRef);

// The channel panel for channel n. Channels outside 1..180 (and
// receive-only channels of a model without the records) keep the
// frequency and text shown before.
struct ChannelView {
  std::string bank;      // "CB" or "RX-" and the bank letter
  std::string number;    // two digits
  uint32_t frequencyHz = 0;
  std::string text;      // "CB-12" or the receive-only channel's alpha tag
};
ChannelView ViewOfChannel(int n, const ChannelView& before, const EEPROM& image,
                          const TradioInfo& info, const BuildConfig& build);
// Hz as MHz in the form "000.0000".
std::string MegahertzText(uint32_t hz);

// The three alignment frequencies (MHz) and what SetPllFrequency takes for
// them (12.5 kHz steps).
inline constexpr int kAlignmentMHz[3] = {450, 477, 504};
inline int PllStepsOfMHz(int mhz) { return mhz * 80; }

// Enter in a trim box: an empty text is 0 and a value of 256 or more is
// 255 (the box shows the value written); a text that is not a whole number
// writes nothing.
struct TrimEntry {
  bool writes = false;
  int value = 0;
  std::string text;  // what the box shows afterwards
};
TrimEntry ParseTrimEntry(const std::string& text);
// The same for a microphone gain, held to the up-down's range -12..30 so
// the radio and the image always receive the same value.
inline constexpr int kMicGainLow = -12;
inline constexpr int kMicGainHigh = 30;
TrimEntry ParseMicGainEntry(const std::string& text);
// A stored gain shown in the up-down: outside -12..30 it shows 0.
int MicGainOfByte(int byte);
// "Sql K" shown in its up-down: outside -80..80 it shows 0.
int SqlSensitivityOfByte(int byte);
inline int SignedByte(int byte) { return static_cast<int8_t>(static_cast<uint8_t>(byte)); }

// Automatic receive offset: the average of eight frequency-error samples
// (Hz, truncated toward zero) and the offset that cancels it, 50 Hz a step.
inline constexpr int kAutoAdjustSamples = 8;
inline constexpr int kHzPerOffsetStep = 50;
int AverageOf(const std::vector<int>& samples, int count);
int AdjustedRxOffset(int oldOffset, int averageHz);

// S-meter calibration: the average of sixteen RSSI reads.
inline constexpr int kSMeterReads = 16;
int SMeterAverage(int sum);
