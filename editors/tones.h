#pragma once
// Subtones as the radio stores them: one code byte per use (0 off, 1..50
// a CTCSS tone, 51..154 a DCS code), the three ways the radio numbers its
// CTCSS tones, and the texts the programmer shows for a code.

#include <cstdint>
#include <string>

class EEPROM;
class TradioInfo;

inline constexpr int kToneCount = 50;      // tone numbers 1..50
inline constexpr int kOrder38Count = 38;   // codes 1..38 of the 38-tone order
inline constexpr int kDcsCount = 104;      // DCS numbers 1..104
inline constexpr int kFirstDcsCode = 51;   // code of DCS number 1
inline constexpr int kLastToneCode = 154;  // code of DCS number 104
// A code that names no entry of the list in force (see EntryOfCode).
inline constexpr int kNoEntry = -1;

// Tone number -> frequency in Hz, 0..50 (number 0 is 0.0).
extern const float kToneFrequencies[kToneCount + 1];
// Code -> tone number in the 38-tone order, 0..38.
extern const uint8_t kOrder38[kOrder38Count + 1];
// Code -> tone number in the extended order, 0..50.
extern const uint8_t kExtendedOrder[kToneCount + 1];
// DCS number -> DCS code (shown in octal), 1..104; entry 0 is unused.
extern const uint16_t kDcsCodes[kDcsCount + 1];

// How codes 1..50 map to tones.
enum class ToneOrder {
  Extended,     // code c is tone kExtendedOrder[c]
  Fifty,        // code c is tone c
  ThirtyEight,  // code c (1..38) is tone kOrder38[c]
};

// The order in force for an "Options-5" byte: extended when the model has
// the extended set or bit 7 is clear, else bit 6 picks 38 or 50 tones.
ToneOrder ToneOrderInForce(int options5, bool hasExtendedCtcss);
// The same for the image: its "Options-5" through `info`, the extended set
// asked of `productId` with the firmware's major version (-1 unknown).
ToneOrder ToneOrderOfImage(const EEPROM& image, const TradioInfo& info, uint32_t productId,
                           int majorVersion);

// Tone number of code 1..50 in `order`; 0 for any other code and for the
// codes the 38-tone order lacks.
int ToneNumberOfCode(int code, ToneOrder order);

// The text of a stored code: "OFF", "CTC02 - 69.4Hz" with the tone number,
// "DT001 - 023" with the DCS number and its octal code, "???" above 154
// and for the codes 39..50 the 38-tone order lacks.
std::string ToneText(int code, ToneOrder order);

// The tone lists: "OFF", the tone entries, then the 104 DCS entries.
int ToneEntryCount(ToneOrder order);  // 155, or 143 in the 38-tone order
// Tone entries show the entry number and the frequency of its tone.
std::string ToneEntryText(int entry, ToneOrder order);

// Stored code -> list entry. A code below 0 or above 154 counts as off.
// In the 38-tone order codes 39..50 name no tone: kNoEntry.
int EntryOfCode(int code, ToneOrder order);
// List entry -> stored code.
int CodeOfEntry(int entry, ToneOrder order);

// The entry to select when the tone set changes between 50 and 38 tones:
// the same tone or DCS code where the new set has it, else off. `tone50`
// is the selection as a code of the 50-tone order (see Tone50OfEntry).
int Tone50OfEntry(int entry, ToneOrder order);
int EntryOfTone50(int tone50, ToneOrder order);
