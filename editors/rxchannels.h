#pragma once
// The receive-only channels as the channel editor works on them: a private
// copy of the 100 records and of the receive-only part of the four channel
// bit-sets, read from the image and written back whole, plus the frequency
// text rules of the edit dialog. Standard library only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "eeprom.h"

class TradioInfo;

inline constexpr int kRxBankCount = 5;
inline constexpr int kRxSlotsPerBank = 20;
// Slots 0..18 are the channels 81..99 the radio shows; slot 19 of every
// bank is kept exactly as it was read.
inline constexpr int kRxListedSlots = 19;
inline constexpr int kFirstRxChannel = 81;
// Bytes 10..23 of each channel bit-set: one bit per receive-only record.
inline constexpr int kRxBitSetOffset = 10;
inline constexpr int kRxBitSetBytes = 14;
inline constexpr int kRxBitSetCount = 4;

// `flags` bits, in the order of the bit-sets "Scan Mem 0", "Scan Mem 1",
// "Quiet Mem", "Silent Mem".
inline constexpr uint32_t kRxFlagScan1 = 8;
inline constexpr uint32_t kRxFlagScan2 = 4;
inline constexpr uint32_t kRxFlagQuiet = 2;
inline constexpr uint32_t kRxFlagSilent = 1;
inline constexpr std::array<uint32_t, kRxBitSetCount> kRxFlagOfBitSet = {
    kRxFlagScan1, kRxFlagScan2, kRxFlagQuiet, kRxFlagSilent};

inline constexpr int64_t kRxMaxFrequencyHz = 819175000;  // 65 534 steps; 0xFFFF marks empty
inline constexpr uint32_t kNewChannelFrequencyHz = 477000000;

struct RxChannelList {
  std::array<RX_CH_DATA_STRUCT, kRxOnlyChannelCount> records;
  // The raw bytes of every record as read, so the reserved slot 19 of each
  // bank goes back untouched.
  std::array<std::array<uint8_t, kRxChannelRecordSize>, kRxOnlyChannelCount> raw{};
};

inline int RxRecordIndex(int bank, int channel) {
  return bank * kRxSlotsPerBank + channel - kFirstRxChannel;
}
inline bool IsReservedRxSlot(int record) { return record % kRxSlotsPerBank == kRxListedSlots; }

// Reads the records and their memberships. A model without the records
// leaves every record empty; a missing bit-set reads as no members.
RxChannelList LoadChannels(const EEPROM& image, const TradioInfo& info);

// Writes every record (empty ones with frequency word 0), the receive-only
// bytes of the four bit-sets, and, when the model keeps no banks, 0xFF into
// "Rx Bank". Slot 19 of each bank goes back as it was read.
void StoreChannels(EEPROM& image, const TradioInfo& info, const RxChannelList& list,
                   bool banksEnabled);

// Slots 0..18 of the bank that hold a channel, in slot order.
std::vector<int> ListedSlots(const RxChannelList& list, int bank);
// The channel numbers (81..99) of the bank's empty slots, ascending.
std::vector<int> SpareChannels(const RxChannelList& list, int bank);
// Empties the record: no frequency, no alpha tag, no memberships.
void ClearRecord(RX_CH_DATA_STRUCT& record);
// Empties slots 0..18 of the bank.
void ClearBank(RxChannelList& list, int bank);

// "A" to "E".
char BankLetter(int bank);
// "Delete bank RX-B, channel 85?" with banks, "Delete channel 85?" without.
std::string DeletePromptText(bool banksEnabled, int bank, int channel);
// The grid's text for a membership column: `mark` when the flag is set.
std::string FlagCellText(uint32_t flags, uint32_t flag, const char* mark);

// Hz as MHz with four decimals: 477000000 -> "477.0000".
std::string ShowFrequency(int64_t hz);
// Empty text is 0 Hz; otherwise a decimal number of MHz, limited to
// 0 .. 2 000 000 000 Hz and truncated to whole Hz. Nothing when the text is
// not a number.
std::optional<int64_t> ParseFrequency(const std::string& text);
// To the nearest 12.5 kHz step, then into 0 .. 819 175 000 Hz.
int64_t RoundAndLimitFrequency(int64_t hz);
// The up-down's step: round, one step up or down, limit.
int64_t StepFrequency(int64_t hz, bool up);

// The alpha tag's characters: "a".."z" become capitals; blank to "_" pass,
// less the end mark "@"; 0 = refused.
inline constexpr int kAlphaTagLength = 5;
char AlphaTagKey(char c);

// Writes only the records whose channel differs between before and after
// (a record empty in both counts as unchanged, whatever its leftover bytes
// and memberships), with their memberships. The bank byte is not touched.
void StoreChangedChannels(EEPROM& image, const TradioInfo& info, const RxChannelList& before,
                          const RxChannelList& after);

// The channels as a CSV list, for a spreadsheet: the header line
// "Bank,Slot,Channel,Frequency (MHz),Alpha Tag,Scan0,Scan1,Quiet,Silent",
// then each channel of slots 0..18 of the model's banks (bank A alone
// without banks), bank by bank in slot order. Memberships are 1 or 0.
std::string ChannelsCsv(const RxChannelList& list, bool banksEnabled);

struct CsvFault {
  int line = 0;  // 1 = the first line of the text; 0 = the list as a whole
  std::string reason;
};

// Replaces slots 0..18 of the model's banks in list by the CSV list's
// channels; slot 19 and, without banks, banks B to E stay as they are. The
// first line that is not blank must be the header (a UTF-8 byte-order mark
// before it and CRLF line ends are taken, as spreadsheet programs write
// them); a list of the header alone empties those slots. Blank lines are
// skipped. Every row is held to the channel editor's rules; on any fault
// list is left as it was and every bad row is named.
std::vector<CsvFault> ChannelsFromCsv(const std::string& text, bool banksEnabled,
                                      RxChannelList& list);

// A list of the 95 channels is a few kilobytes; anything near this bound
// is no channel list.
inline constexpr size_t kMaxChannelListBytes = 512 * 1024;

struct ChannelImport {
  std::string refused;           // the file could not be read: "Unable to open file X: why"
  std::vector<CsvFault> faults;  // what is wrong with its text
  int channels = 0;              // the channels the list holds
  int removed = 0;               // channels there before that the list leaves out
  bool Ok() const { return refused.empty() && faults.empty(); }
};

// The import of a CSV list file into list, for vornprog and the channel
// window alike: the file is read without ever waiting on it (a FIFO, a
// device or a directory is refused) and only up to kMaxChannelListBytes,
// then taken by ChannelsFromCsv. list changes only when the result is Ok().
ChannelImport ImportChannelsCsv(const std::string& path, bool banksEnabled, RxChannelList& list);

// The faults as message lines, "list.csv line 3: reason", at most maxLines
// of them and then how many more there are.
std::vector<std::string> CsvFaultLines(const std::string& listName,
                                       const std::vector<CsvFault>& faults, size_t maxLines = 20);
