#include "groups.h"

#include <algorithm>
#include <mutex>

#include "params.h"
#include "radioinfo.h"

namespace {

using G = ImageGroup;
constexpr int kNoFeature = -1;
constexpr int kBitArrayCbBytes = 10;   // channel bit arrays: CB channels 1..80
constexpr int kBitArrayBytes = 24;     // ... then the receive-only channels
constexpr int kRxOnlyRecordsBytes = 600;

// Which bits of a parameter's bytes a group owns. `offset` and `size` pick
// bytes from the parameter's address; `mask` the bits of each. A row whose
// feature the model lacks claims nothing: its bytes stay "other".
struct GroupRow {
  Param param;
  G group;
  int size = 1;
  int offset = 0;
  uint8_t mask = 0xFF;
  int feature = kNoFeature;
};

// Bits of the shared bytes, by the window that edits them.
constexpr uint8_t kOptions1Options = 0x34;   // voice control, scrambler, narrow band
constexpr uint8_t kOptions2Scan = 0xE1;      // three beeps, group scan 1 and 2, PTT exit
constexpr uint8_t kOptions2Options = 0x0C;   // PTT on 22/23, squelch tail mute
constexpr uint8_t kOptions2Factory = 0x10;   // no transmit on receive-only channels
constexpr uint8_t kOptions3Selcall = 0x7F;   // group sizes, append ANI
constexpr uint8_t kOptions4Selcall = 0xFE;
constexpr uint8_t kOptions5Factory = 0x02;   // CTCSS off on 5 and 35
constexpr uint8_t kOptions5Subtones = 0xFD;
constexpr uint8_t kOptions6Selcall = 0x26;
constexpr uint8_t kOptions6Scan = 0x18;
constexpr uint8_t kOptions6Options = 0xC0;
constexpr uint8_t kOptions9Subtones = 0x03;
constexpr uint8_t kStatusScan = 0x28;        // scan memory in use
constexpr uint8_t kStatusOptions = 0x40;     // alpha display

constexpr int kSelcall = kFeatSelcall;
constexpr int kRxOnly = kFeatRxOnlyChannels;

// Bytes no row names, and the radio's own running state (its last channel
// and volume, call log, unlock counter), are "other": no window edits them.
const GroupRow kGroupRows[] = {
    {"Product ID", G::kIdentity, 2},
    {"PCB Rev", G::kIdentity, 2},
    {"Device Id", G::kIdentity},

    // What the alignment and engineering windows set for this one radio.
    {"T1-F1", G::kCalibration}, {"T2-F1", G::kCalibration}, {"T3-F1", G::kCalibration},
    {"T4-F1", G::kCalibration}, {"T1-F2", G::kCalibration}, {"T2-F2", G::kCalibration},
    {"T3-F2", G::kCalibration}, {"T4-F2", G::kCalibration}, {"T1-F3", G::kCalibration},
    {"T2-F3", G::kCalibration}, {"T3-F3", G::kCalibration}, {"T4-F3", G::kCalibration},
    {"Mod", G::kCalibration}, {"Sql K", G::kCalibration}, {"Bal", G::kCalibration},
    {"AFC Limit", G::kCalibration}, {"RF Power Hi", G::kCalibration},
    {"RF Power Lo", G::kCalibration}, {"PLL FRef", G::kCalibration},
    {"Xtl Temp Co", G::kCalibration}, {"S1 Cal", G::kCalibration}, {"S10 Cal", G::kCalibration},
    {"Xtl Temp Co2", G::kCalibration}, {"Config", G::kCalibration}, {"Power", G::kCalibration},
    {"Rx ADC Offset", G::kCalibration}, {"PLL R", G::kCalibration, 2},
    {"IF offset", G::kCalibration, 2},
    {"Sql-0", G::kCalibration}, {"Sql-1", G::kCalibration}, {"Sql-2", G::kCalibration},
    {"Sql-3", G::kCalibration}, {"Sql-4", G::kCalibration}, {"Sql-5", G::kCalibration},
    {"Sql-6", G::kCalibration}, {"Sql-7", G::kCalibration}, {"Sql-8", G::kCalibration},
    {"Sql-9", G::kCalibration}, {"CTCSS Dev", G::kCalibration}, {"DCS Dev", G::kCalibration},
    {"Rpk Delay", G::kCalibration}, {"Rpk Carrier Delay", G::kCalibration},
    {"Options-2", G::kCalibration, 1, 0, kOptions2Factory},
    {"Options-5", G::kCalibration, 1, 0, kOptions5Factory},

    {"Rx-only Channels", G::kRxOnlyChannels, kRxOnlyRecordsBytes, 0, 0xFF, kRxOnly},
    {"Rx Bank", G::kRxOnlyChannels, 1, 0, 0xFF, kRxOnly},
    {"Scan Mem 0", G::kRxOnlyChannels, kBitArrayBytes - kBitArrayCbBytes, kBitArrayCbBytes, 0xFF, kRxOnly},
    {"Scan Mem 1", G::kRxOnlyChannels, kBitArrayBytes - kBitArrayCbBytes, kBitArrayCbBytes, 0xFF, kRxOnly},
    {"Quiet Mem", G::kRxOnlyChannels, kBitArrayBytes - kBitArrayCbBytes, kBitArrayCbBytes, 0xFF, kRxOnly},
    {"Silent Mem", G::kRxOnlyChannels, kBitArrayBytes - kBitArrayCbBytes, kBitArrayCbBytes, 0xFF, kRxOnly},

    {"Scan Mem 0", G::kScanDuplex, kBitArrayCbBytes},
    {"Scan Mem 1", G::kScanDuplex, kBitArrayCbBytes},
    {"Scan Mem 2", G::kScanDuplex, kBitArrayBytes, 0, 0xFF, kFeatNetScan},
    {"Pri Chk Rate", G::kScanDuplex}, {"Pri Channel", G::kScanDuplex},
    {"Duplex", G::kScanDuplex}, {"Duplex-80", G::kScanDuplex},
    {"Scan Skip Time", G::kScanDuplex}, {"Scan Memory", G::kScanDuplex},
    {"Options-2", G::kScanDuplex, 1, 0, kOptions2Scan},
    {"Options-6", G::kScanDuplex, 1, 0, kOptions6Scan},
    {"Status", G::kScanDuplex, 1, 0, kStatusScan},

    {"Selcall Ident", G::kSelcallSettings, 8, 0, 0xFF, kSelcall},
    {"Selcall Alert Time", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"Lead Tone Length", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"Tone Length", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"Ident Length", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"ANI Length", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"N Predictive", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"Pause pred/non-pred", G::kSelcallSettings, 1, 0, 0xFF, kSelcall},
    {"Quiet Mem", G::kSelcallSettings, kBitArrayCbBytes, 0, 0xFF, kSelcall},
    {"Options-3", G::kSelcallSettings, 1, 0, kOptions3Selcall, kSelcall},
    {"Options-4", G::kSelcallSettings, 1, 0, kOptions4Selcall, kSelcall},
    {"Options-6", G::kSelcallSettings, 1, 0, kOptions6Selcall, kSelcall},

    {"Selcall Mem", G::kSelcallMemories, 80, 0, 0xFF, kSelcall},

    {"Tx CTCSS Tone", G::kSubtones}, {"Rx CTCSS Tone", G::kSubtones},
    {"Netscan Ctcss Tone", G::kSubtones},
    {"Silent Mem", G::kSubtones, kBitArrayCbBytes},
    {"Options-5", G::kSubtones, 1, 0, kOptions5Subtones},
    {"Options-9", G::kSubtones, 1, 0, kOptions9Subtones},

    {"Sql Level", G::kSquelch}, {"Sql Open Debounce", G::kSquelch}, {"Sql Min Open", G::kSquelch},

    {"Tx Timeout", G::kOptions}, {"ADC Vol Min", G::kOptions}, {"Beep Vol", G::kOptions},
    {"CB Disp Options", G::kOptions}, {"Rx-only Disp Options", G::kOptions},
    {"LCD Contrast", G::kOptions}, {"LCD Level", G::kOptions},
    {"Disp Hue", G::kOptions}, {"Disp Sat", G::kOptions}, {"Disp Lum", G::kOptions},
    {"Menu Enable", G::kOptions}, {"Menu Enable 1", G::kOptions},
    {"Mic Gain", G::kOptions}, {"Mic Gain Rear", G::kOptions},
    {"Wireless Mic Gain", G::kOptions}, {"Wireless PTT Mic Sel", G::kOptions},
    {"Wireless Remote Key Func1", G::kOptions}, {"Wireless Remote Key Func2", G::kOptions},
    {"Options-1", G::kOptions, 1, 0, kOptions1Options},
    {"Options-2", G::kOptions, 1, 0, kOptions2Options},
    {"Options-6", G::kOptions, 1, 0, kOptions6Options},
    {"Status", G::kOptions, 1, 0, kStatusOptions},
};

}  // namespace

std::string_view GroupKey(ImageGroup g) { return kImageGroupNames[GroupIndex(g)].key; }
std::string_view GroupTitle(ImageGroup g) { return kImageGroupNames[GroupIndex(g)].title; }

std::optional<ImageGroup> FindGroup(std::string_view key) {
  for (const ImageGroupName& n : kImageGroupNames)
    if (n.key == key) return n.group;
  return std::nullopt;
}

std::string GroupKeyList() {
  std::string list;
  for (const ImageGroupName& n : kImageGroupNames) {
    if (!list.empty()) list += ", ";
    list += n.key;
  }
  return list;
}

std::vector<ImageGroup> GroupSet::Members() const {
  std::vector<ImageGroup> members;
  for (const ImageGroupName& n : kImageGroupNames)
    if (Has(n.group)) members.push_back(n.group);
  return members;
}

std::string GroupSet::Titles() const {
  const std::vector<ImageGroup> members = Members();
  if (members.empty()) return "nothing";
  std::string text;
  for (size_t i = 0; i < members.size(); ++i) {
    if (i > 0) text += i + 1 == members.size() ? " and " : ", ";
    text += GroupTitle(members[i]);
  }
  return text;
}

ImageGroupMap::ImageGroupMap(int modelRow) {
  const ModelRow& row = ModelTableRow(modelRow);
  std::array<uint8_t, kImageSize> claimed{};
  for (const GroupRow& r : kGroupRows) {
    if (r.feature != kNoFeature &&
        (modelRow == 0 ||
         !TradioInfo::HasFeature(row.productId, static_cast<FeatureBit>(r.feature))))
      continue;
    const int base = row.paramAddresses[r.param.Index()];
    if (base < 0) continue;
    for (int a = base + r.offset; a < base + r.offset + r.size && a < kImageSize; ++a) {
      if (claimed[a] & r.mask) overlaps_.push_back(a);
      const uint8_t mine = r.mask & ~claimed[a];
      masks_[GroupIndex(r.group)][a] |= mine;
      claimed[a] |= mine;
    }
  }
  for (int a = 0; a < kImageSize; ++a)
    masks_[GroupIndex(ImageGroup::kOther)][a] = static_cast<uint8_t>(~claimed[a]);
}

const ImageGroupMap& ImageGroupMap::ForModel(int modelRow) {
  static std::once_flag once;
  static std::vector<ImageGroupMap>* maps = nullptr;
  std::call_once(once, [] {
    maps = new std::vector<ImageGroupMap>();
    for (int r = 0; r < kModelCount; ++r) maps->push_back(ImageGroupMap(r));
  });
  return (*maps)[static_cast<size_t>(std::clamp(modelRow, 0, kModelCount - 1))];
}

uint8_t ImageGroupMap::Mask(ImageGroup group, int address) const {
  if (address < 0 || address >= kImageSize) return 0;
  return masks_[GroupIndex(group)][address];
}

uint8_t ImageGroupMap::Mask(GroupSet groups, int address) const {
  uint8_t mask = 0;
  for (const ImageGroupName& n : kImageGroupNames)
    if (groups.Has(n.group)) mask |= Mask(n.group, address);
  return mask;
}

std::vector<ByteRange> ImageGroupMap::Ranges(ImageGroup group) const {
  std::vector<ByteRange> ranges;
  const auto& mask = masks_[GroupIndex(group)];
  for (int a = 0; a < kImageSize; ++a) {
    if (mask[a] == 0) continue;
    if (!ranges.empty() && ranges.back().last == a - 1)
      ranges.back().last = a;
    else
      ranges.push_back({a, a});
  }
  return ranges;
}

GroupSet ImageGroupMap::Present() const {
  GroupSet present;
  for (const ImageGroupName& n : kImageGroupNames) {
    const auto& mask = masks_[GroupIndex(n.group)];
    if (std::any_of(mask.begin(), mask.end(), [](uint8_t m) { return m != 0; }))
      present = present.With(n.group);
  }
  return present;
}

GroupSet ChangedGroups(const ImageGroupMap& map, const uint8_t* a, const uint8_t* b) {
  GroupSet changed;
  for (int i = 0; i < kImageSize; ++i) {
    const uint8_t differ = a[i] ^ b[i];
    if (differ == 0) continue;
    for (const ImageGroupName& n : kImageGroupNames)
      if (map.Mask(n.group, i) & differ) changed = changed.With(n.group);
  }
  return changed;
}

void MergeGroups(const ImageGroupMap& map, GroupSet groups, const uint8_t* from, uint8_t* into) {
  for (int i = 0; i < kImageSize; ++i) {
    const uint8_t mask = map.Mask(groups, i);
    into[i] = static_cast<uint8_t>((into[i] & ~mask) | (from[i] & mask));
  }
}
