#pragma once
// The scan and duplex settings as the scan window shows them: read from the
// image on every showing and written back on OK. The option bytes are
// copied whole and only the scan window's own bits change. Standard
// library only.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "optionbytes.h"

class EEPROM;
class TradioInfo;

inline constexpr int kCbChannelCount = 80;
inline constexpr int kDuplexChannelCount = 16;  // 1..8 and 41..48
inline constexpr int kScanPageCount = 3;        // scan memory 1, scan memory 2, NetScan
inline constexpr int kMaxPriCheckRate = 10;
inline constexpr int kMaxScanSkipSeconds = 2540;
inline constexpr int kScanSkipStepSeconds = 10;

// What the window shows on this model, from the feature queries.
struct ScanFeatures {
  bool netScan = false;
  bool scanSkipTime = false;
  bool userScanOptions = false;
  bool scanMemorySelect = false;
};
// majorVersion: the radio's firmware major version, -1 when none was read.
ScanFeatures ScanFeaturesFor(uint32_t productId, int majorVersion);

// One entry of the priority channel list.
struct PriorityEntry {
  std::string text;  // "CB 07", "RX 85"
  int value;         // what "Pri Channel" stores
};

struct ScanSettings {
  // Copies of "Status" and of "Options-1" to "Options-6", as read; -1 and
  // absent where the model lacks the byte.
  int status = -1;
  OptionBytes options;
  // Duplex channels 1..8 then 41..48.
  std::array<bool, kDuplexChannelCount> duplex{};
  // The three 24-byte bit-sets as read; bits 0..79 are CB channels 1..80.
  std::array<std::array<uint8_t, 24>, kScanPageCount> scanMem{};
  std::array<std::array<bool, kCbChannelCount>, kScanPageCount> members{};
  bool groupScan1 = false;
  bool groupScan2 = false;

  std::vector<PriorityEntry> priorityEntries;
  int priorityIndex = 0;  // -1: the stored value names no entry
  int priorityValue = 1;  // stored on OK while priorityIndex is -1

  int priCheckRate = 1;  // 1..10
  bool threeBeep = false;
  bool gsPttExit = false;
  bool userModNetScan = false;
  bool userModScanMode = false;
  int scanMemory = 0;        // 0..2, -1 none
  int scanSkipSeconds = 30;  // 0..2540
};

// The receive-only channel `channel` (81..) of `bank` exists: its record is
// one of the 100 and holds a frequency word other than 0 and 0xFFFF.
bool RxChannelExists(const EEPROM& image, const TradioInfo& info, int bank, int channel);

// The priority list and its selection for a stored "Pri Channel" value.
// Out of range (0, above 180) and receive-only channels that do not exist
// select CB 01. A stored 100..180 whose record holds a channel names no
// entry: index -1 and the value is kept.
void FillPriorityChannels(const EEPROM& image, const TradioInfo& info, int rxBank, int stored,
                          ScanSettings& s);

ScanSettings LoadScan(const EEPROM& image, const TradioInfo& info, const ScanFeatures& features,
                      int rxBank);
void StoreScan(EEPROM& image, const TradioInfo& info, const ScanFeatures& features,
               const ScanSettings& s);

// The skip-time edit's Enter: the text as whole seconds, limited to 2540
// and rounded to 10 s; an empty text is 0. False when the text is not a
// whole number.
bool EnterScanSkipText(const std::string& text, int& seconds);
// Text typed without Enter that the up-down takes as its position: a whole
// number from 0 to 2540, not rounded. False otherwise.
bool ScanSkipPositionFromText(const std::string& text, int& seconds);
