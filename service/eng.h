#pragma once
// The engineering panel's conversions: the frequency it tunes to, the
// texts it turns into command bytes and the log texts it builds from
// replies. Standard library only; the panel binds controls to these.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kPllStepHz = 12500;
// What 16 bits of 12.5 kHz steps can carry: 0 .. 819.1875 MHz.
inline constexpr int64_t kPllMaxHz = int64_t{0xFFFF} * kPllStepHz;
inline constexpr int kInitialFrequencyHz = 477000000;
inline constexpr int kRawRequestMaxBytes = 20;
inline constexpr int kArrayReadMaxBytes = 128;
inline constexpr int kArrayWriteBytes = 128;
inline constexpr int kAudioSampleCount = 126;
inline constexpr int kSetChannelNumber = 129;
inline constexpr int kBeepHz = 880;
inline constexpr int kNoiseVoltsChannel = 5;
inline constexpr int kRssiChannel = 4;
inline constexpr int kVolumeTop = 31;

// "Step Size:" entries and their sizes in hertz; an index outside the
// list (no selection) steps 0.
inline constexpr const char* kFreqStepTexts[] = {"12.5 kHz", "25.0 kHz", "100.0 kHz",
                                                 "1.000 MHz", "10.000 MHz"};
int FreqStepHz(int index);

inline constexpr uint32_t kEngBaudRates[] = {9600, 19200, 38400, 57600};

// "477.000000" for 477 000 000 Hz.
std::string FrequencyText(int64_t hz);
// The PLL word for a frequency; nothing when 16 bits of 12.5 kHz steps
// cannot carry it.
std::optional<int> PllSteps(int64_t hz);

// The application's strict integer conversion: optional blanks before an
// optional sign, then decimal digits or "$"/"0x" with hexadecimal digits,
// and nothing after; the value must fit 32 signed bits.
std::optional<int> StrictInt(const std::string& text);
// A memory field: its text read as hexadecimal (converted as "0x" + text).
std::string HexFieldText(const std::string& text);
// "'abc' is not a valid integer value".
std::string NotIntegerMessage(const std::string& text);

// Auto Align flags: T1 = 1, T2 = 2, T3 = 4, T4 = 8.
int AutoAlignFlags(const std::array<bool, 4>& checked);

// The icon word: up to four hexadecimal digits after optional blanks; 0
// when none convert.
int IconsWord(const std::string& text);

// A raw protocol II request: two hexadecimal digits per byte, one
// separator character between pairs, at most 20 bytes (pairs past the
// 20th are ignored). Nothing when there is no pair or a counted pair is
// not hexadecimal.
std::optional<std::vector<uint8_t>> ParseRawRequest(const std::string& text);

using RadioId = std::array<uint8_t, 8>;
// Sixteen upper-case hexadecimal digits, first byte first.
std::string RadioIdText(const RadioId& id);
// Exactly sixteen hexadecimal digits; nothing otherwise.
std::optional<RadioId> ParseRadioId(const std::string& text);

// The array test pattern 0x00, 0x01, ... 0x7F.
std::vector<uint8_t> ArrayTestPattern();
// "Got n bytes\n 0A 0B ..."
std::string ArrayReadText(const std::vector<uint8_t>& bytes);
// "Wrote 128 bytes\n"
std::string ArrayWriteText(int count);

// "0:12 1:-40 ..." with a blank after each sample.
std::string SamplesLine(const std::vector<int16_t>& samples);

// Two upper-case hexadecimal digits.
std::string HexByte(int value);
