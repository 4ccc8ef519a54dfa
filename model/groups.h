#pragma once
// The image's groups: every bit of a model's memory image belongs to
// exactly one named group of settings, so a write can carry what the
// technician changed and keep the rest as the radio has it. Where one
// byte holds settings of several windows (the option bytes, "Status"),
// the groups own bits of it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "eeprom.h"

enum class ImageGroup : uint8_t {
  kRxOnlyChannels,
  kScanDuplex,
  kSelcallSettings,
  kSelcallMemories,
  kSubtones,
  kSquelch,
  kOptions,
  kCalibration,
  kIdentity,
  kOther,
};
inline constexpr int kImageGroupCount = 10;

struct ImageGroupName {
  ImageGroup group;
  std::string_view key;    // as typed after --only / --except
  std::string_view title;  // as said to the technician
};

// In the order groups are listed and reported.
inline constexpr std::array<ImageGroupName, kImageGroupCount> kImageGroupNames = {{
    {ImageGroup::kRxOnlyChannels, "channels", "Receive-only Channels"},
    {ImageGroup::kScanDuplex, "scan", "Scan/Duplex"},
    {ImageGroup::kSelcallSettings, "selcall", "Selcall Settings"},
    {ImageGroup::kSelcallMemories, "selcall-memories", "Selcall Memories"},
    {ImageGroup::kSubtones, "subtones", "Subtones"},
    {ImageGroup::kSquelch, "squelch", "Squelch"},
    {ImageGroup::kOptions, "options", "Options"},
    {ImageGroup::kCalibration, "calibration", "Calibration"},
    {ImageGroup::kIdentity, "identity", "Identity"},
    {ImageGroup::kOther, "other", "Other"},
}};

inline constexpr int GroupIndex(ImageGroup g) { return static_cast<int>(g); }
std::string_view GroupKey(ImageGroup g);
std::string_view GroupTitle(ImageGroup g);
// The group typed as `key`; none for a name no group has.
std::optional<ImageGroup> FindGroup(std::string_view key);
// "channels, scan, ...": every key, for a refusal to list.
std::string GroupKeyList();

// A set of groups, as one bit per group.
class GroupSet {
 public:
  constexpr GroupSet() = default;
  static constexpr GroupSet All() { return GroupSet((1u << kImageGroupCount) - 1); }
  constexpr GroupSet With(ImageGroup g) const { return GroupSet(bits_ | Bit(g)); }
  constexpr GroupSet Without(ImageGroup g) const { return GroupSet(bits_ & ~Bit(g)); }
  constexpr bool Has(ImageGroup g) const { return (bits_ & Bit(g)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr GroupSet Minus(GroupSet other) const { return GroupSet(bits_ & ~other.bits_); }
  constexpr bool Meets(GroupSet other) const { return (bits_ & other.bits_) != 0; }
  friend constexpr bool operator==(GroupSet, GroupSet) = default;
  // The members in list order.
  std::vector<ImageGroup> Members() const;
  // "Options and Squelch", "Scan/Duplex, Options and Squelch"; "nothing".
  std::string Titles() const;

 private:
  constexpr explicit GroupSet(uint32_t bits) : bits_(bits) {}
  static constexpr uint32_t Bit(ImageGroup g) { return 1u << GroupIndex(g); }
  uint32_t bits_ = 0;
};

// A span of whole bytes [first, last].
struct ByteRange {
  int first;
  int last;
};

// One model's map of group ownership, bit by bit.
class ImageGroupMap {
 public:
  // The map of model row `modelRow` (0..7); built on first use.
  static const ImageGroupMap& ForModel(int modelRow);

  // The bits of the byte at `address` that `group` owns; 0 outside the image.
  uint8_t Mask(ImageGroup group, int address) const;
  // The union of the masks of `groups` at `address`.
  uint8_t Mask(GroupSet groups, int address) const;
  // The byte ranges in which `group` owns at least one bit.
  std::vector<ByteRange> Ranges(ImageGroup group) const;
  // Groups the model has bits of.
  GroupSet Present() const;
  // Bits claimed by two rows of the table: none on a sound table. Each entry
  // is an address; the map keeps the first claim.
  const std::vector<int>& Overlaps() const { return overlaps_; }

 private:
  explicit ImageGroupMap(int modelRow);
  std::array<std::array<uint8_t, kImageSize>, kImageGroupCount> masks_{};
  std::vector<int> overlaps_;
};

// The groups in which images a and b differ (both kImageSize bytes).
GroupSet ChangedGroups(const ImageGroupMap& map, const uint8_t* a, const uint8_t* b);
// Copies the bits of `groups` from `from` into `into`; every other bit of
// `into` stays.
void MergeGroups(const ImageGroupMap& map, GroupSet groups, const uint8_t* from, uint8_t* into);
