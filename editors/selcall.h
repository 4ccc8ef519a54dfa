#pragma once
// The selcall settings as the "Selcall Options" window shows them, read from
// and written to the memory image. Standard library only.

#include <array>
#include <cstdint>
#include <string>

#include "optionbytes.h"

class EEPROM;
class TradioInfo;

inline constexpr int kSelcallOptionBytes = 8;  // "Options-1" .. "Options-8"
inline constexpr int kSelcallIdentDigits = 8;
// The ident digits the "Selcall Options" window edits: the last five of the 8.
inline constexpr int kRadioIdentLength = 5;
inline constexpr int kQuietMemChannels = 80;   // CB channels 1..80, bits 0..79
inline constexpr int kAlertDurationMax = 25;   // seconds
inline constexpr int kLeadToneLengthMin = 1;   // units of 10 ms
inline constexpr int kLeadToneLengthMax = 200;
inline constexpr int kDefaultTonePeriodMs = 40;

// The option bits the window edits, each one check box.
enum class SelcallFlag {
  kAppendAni,           // "Options-3" bit 6
  kLeadInTone,          // "Options-4" bit 1
  kAlertSlowBeeps,      // "Options-4" bit 2
  kBeepAcknowledge,     // "Options-4" bit 3
  kReenterQuiet,        // "Options-4" bit 4
  kUnmuteOnSelcall,     // "Options-4" bit 5
  kAlertIndividualCall, // "Options-4" bit 6
  kAlertGroupCall,      // "Options-4" bit 7
  kUserModifyIdent,     // "Options-6" bit 1
  kUserModifyMemory,    // "Options-6" bit 2
  kLeadInDelay,         // "Options-6" bit 5
};

// Group-call sizes as the size lists offer them; kNoGroupSize when group
// calls are off (or, for a list, nothing is selected).
enum GroupSize : int { kNoGroupSize = -1, kGroupOf10 = 0, kGroupOf100 = 1, kGroupOf1000 = 2 };
enum class GroupDirection { kReceive, kTransmit };

// What the window shows, plus the option byte copies it edits bits in.
struct SelcallForm {
  OptionBytes options;
  // The last n of the 8 stored digits as the digit-only ident field shows
  // them: a digit of 10 to 15 is an empty position (a blank).
  std::string ident;
  // The same positions as stored, "0".."9" or "A".."F": what an unedited
  // field stands for.
  std::string identDigits;
  std::string radioName;  // the alpha tag after the ident digits
  int alertDuration = 0;  // seconds, 0..25
  // Group calls: on or off and the size list's entry (kNoGroupSize when the
  // stored bits hold none, or the list has no selection).
  bool acceptGroupCalls = false;
  int rxGroupSize = kNoGroupSize;
  bool sendGroupCalls = false;
  int txGroupSize = kNoGroupSize;
  int leadInDelayMs = 10; // 10..2000
  int tonePeriodMs = kDefaultTonePeriodMs;
  std::array<bool, kQuietMemChannels> quiet{};
};

bool GetSelcallFlag(const SelcallForm& form, SelcallFlag flag);
void SetSelcallFlag(SelcallForm& form, SelcallFlag flag, bool on);

// The size "Options-3" holds: the largest whose thermometer bit is set.
int GetGroupSize(uint8_t options3, GroupDirection direction);
// Off clears the three bits; on with a size writes that size's thermometer
// code; on without a size leaves the bits as they are.
uint8_t SetGroupSize(uint8_t options3, GroupDirection direction, bool on, int size);

// The tone periods the engineering build offers, in list order.
inline constexpr std::array<int, 6> kTonePeriodsMs = {20, 30, 40, 50, 70, 100};
// A stored "Tone Length" not in the list shows as 40 ms.
int TonePeriodFromByte(int toneLength);

// The ident field's text on OK: n characters, blanks for empty positions.
// It replaces the stored 8 digits, padded on the left with zeros; blanks and
// anything else that is not a hexadecimal digit are stored as digit 15.
std::string StoredIdentText(const std::string& fieldText);
// Positions of the ident field left empty (blanks).
int EmptyIdentPositions(const std::string& fieldText);
// The ident as the radio will hold it, each empty position shown as "F".
std::string IdentWithEmptyAsF(const std::string& fieldText);
// What the user is told before an ident with empty positions is stored:
// "The Radio Ident has 2 empty positions of 5; each is stored as digit F,
// so the radio's ident becomes FF099."; empty when no position is empty.
std::string EmptyIdentNotice(const std::string& fieldText);

// Whether OK would store the ident field's positions as the digits they
// were loaded from: each empty position over a stored F. Text the window
// loaded is stored back as it is, so an unedited field with only F digits
// behind its blanks changes nothing.
bool IdentKeepsStoredDigits(const std::string& fieldText, const std::string& storedDigits);

// The radio's own ident typed as digits ("123", "47129", " 4 7"), laid into
// the five right-aligned positions of the ident field: a short entry ends in
// the last position and the positions before it are empty ("123" becomes
// "  123"). Blanks typed between digits stay empty positions.
std::string RadioIdentPositions(const std::string& typed);
// Whether typed can be an ident: at most five characters, each a digit or a
// blank (an empty position).
bool IsRadioIdentText(const std::string& typed);
// Stores a typed ident exactly as OK in "Selcall Options" does: the five
// positions after three zero digits, an empty position as digit F ("123" is
// stored as 00 0F F1 23). Refuses (false, no byte changed) text that is not
// an ident, or a model without a selcall ident. An all-blank ident is stored
// as five F digits, as the window does once the user has confirmed it.
bool StoreRadioIdent(EEPROM& image, const TradioInfo& info, const std::string& typed);
// The five positions as the window shows them ("  123" after the above), a
// stored digit above 9 as a blank; empty for a model without a selcall ident.
std::string LoadRadioIdent(const EEPROM& image, const TradioInfo& info);

// Reads every field the window shows; identLength (1..8) is the number of
// ident digits shown. Absent parameters leave their defaults.
SelcallForm LoadSelcallForm(const EEPROM& image, const TradioInfo& info, int identLength);
// Writes the form back: ident, name, alert time, lead-in length, the quiet
// memory's CB channel bits, the option copies with the group-call codes, and
// the tone period only in the engineering build. Receive-only channel bits of the quiet memory stay.
void StoreSelcallForm(EEPROM& image, const TradioInfo& info, const SelcallForm& form,
                      bool engineering);

// Input rule of the radio name: "a".."z" become capitals; only digits,
// capitals, "-" and the blank are accepted. 0 = refused.
char RadioNameKey(char c);
