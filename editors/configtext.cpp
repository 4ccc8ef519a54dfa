#include "configtext.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "array.h"
#include "groups.h"
#include "params.h"
#include "paramshape.h"
#include "radioinfo.h"
#include "tones.h"
#include "userfile.h"

namespace {

constexpr int kErasedWord = 0xFFFF;
constexpr int kFirstRxBit = 80;  // bits 0..79 of a channel bit array are the CB channels
constexpr int kRxBankSize = 20;
constexpr int kTagBytes = 4;
constexpr int kHexChunk = 16;  // bytes a line of unnamed bytes
// Far beyond any exported file; keeps the parser's recursion and memory
// bounded whatever it is handed.
constexpr size_t kMaxTextSize = 1 << 20;
constexpr int kMaxNesting = 32;
// Aliases let a short text name one node many times over; a walk of more
// values than any configuration holds is refused rather than followed.
constexpr int kMaxValues = 100000;

const char* const kRowsKey = "rows";
const char* const kBytesKey = "bytes";
const char* const kModelKey = "model";

// A byte shown in the units its window uses. `scale` stored steps to one
// shown unit; `signedByte` a two's-complement byte; `inverted` shown = 9 -
// stored. A stored byte that shows outside [min, max] is written as 0x..
struct Unit {
  Param param;
  const char* unit;
  int scale;
  int min;
  int max;
  bool signedByte = false;
  bool inverted = false;
};

const Unit kUnits[] = {
    {"Sql Level", "", 1, 1, 9},
    {"Sql Open Debounce", "ms", 1, 0, 255},
    {"Sql Min Open", "ms", 10, 0, 2550},
    {"Scan Skip Time", "s", 10, 0, 2540},
    {"Pri Chk Rate", "", 1, 1, 10},
    {"Tx Timeout", "s", 1, 0, 180},
    {"Mic Gain", "dB", 1, -12, 30, true},
    {"Mic Gain Rear", "dB", 1, -12, 30, true},
    {"Wireless Mic Gain", "dB", 1, -12, 30, true},
    {"Beep Vol", "", 1, 0, 9},
    {"LCD Contrast", "", 1, 1, 9, false, true},
    {"Selcall Alert Time", "s", 1, 0, 25},
    {"Lead Tone Length", "ms", 10, 10, 2000},
};
const Unit kPlainByte{"Product ID", "", 1, 0, 255};

const Param kToneParams[] = {"Tx CTCSS Tone", "Rx CTCSS Tone", "Netscan Ctcss Tone"};

// The memberships a receive-only row carries, in the order of the record's
// flags.
struct Membership {
  Param param;
  const char* key;
};
const Membership kMemberships[] = {{kParamScanMem0, "scan0"},
                                   {kParamScanMem1, "scan1"},
                                   {kParamQuietMem, "quiet"},
                                   {kParamSilentMem, "silent"}};

// The bits of the shared bytes, by the check box that sets each; an
// inverted one is on while the bit is clear, as its box is ticked. A bit
// not listed goes by its byte and number.
struct NamedBit {
  Param param;
  int bit;
  const char* name;
  bool inverted = false;
};

const NamedBit kNamedBits[] = {
    {"Options-1", 2, "Voice control", true},
    {"Options-1", 4, "Scrambler", true},
    {"Options-1", 5, "Narrow band", false},
    {"Options-2", 0, "Three beeps", false},
    {"Options-2", 2, "PTT on 22/23", true},
    {"Options-2", 3, "Squelch tail mute", true},
    {"Options-2", 4, "No transmit on receive-only channels", false},
    {"Options-2", 5, "Group scan 1", false},
    {"Options-2", 6, "Group scan 2", false},
    {"Options-2", 7, "Group scan PTT exit", false},
    {"Options-3", 6, "Append ANI", false},
    {"Options-4", 1, "Lead-in tone", false},
    {"Options-4", 2, "Alert slow beeps", false},
    {"Options-4", 3, "Beep acknowledge", false},
    {"Options-4", 4, "Re-enter quiet", false},
    {"Options-4", 5, "Unmute on selcall", false},
    {"Options-4", 6, "Alert individual call", false},
    {"Options-4", 7, "Alert group call", false},
    {"Options-5", 0, "CTCSS", false},
    {"Options-5", 1, "CTCSS off on 5 and 35", false},
    {"Options-5", 2, "CTCSS on duplex", true},
    {"Options-5", 3, "CTCSS narrow band", false},
    {"Options-5", 4, "Busy lockout override", false},
    {"Options-5", 5, "Busy lockout", false},
    {"Options-5", 6, "38 tones", false},
    {"Options-5", 7, "Extended tone order", true},
    {"Options-6", 1, "User modify ident", false},
    {"Options-6", 2, "User modify memory", false},
    {"Options-6", 3, "User modify NetScan", false},
    {"Options-6", 4, "User modify scan mode", false},
    {"Options-6", 5, "Lead-in delay", false},
    {"Options-6", 6, "Allow receive audio mute", false},
    {"Options-6", 7, "Allow zero minimum volume", false},
    {"Options-9", 0, "Reverse phase key", true},
    {"Options-9", 1, "Silent tail", true},
    {"Status", 3, "Scan memory 2 in use", false},
    {"Status", 5, "NetScan in use", false},
    {"Status", 6, "Alpha display", false},
};

const NamedBit* NamedBitOf(int paramIndex, int bit) {
  for (const NamedBit& b : kNamedBits)
    if (b.param.Index() == paramIndex && b.bit == bit) return &b;
  return nullptr;
}

enum class FieldKind { Number, Bit, Word, Tone, ChannelList, HexBytes, SelcallRecord, Unnamed };

// A selcall record: 8 digits as 4 bytes, then a name as a 4-byte tag.
constexpr int kSelcallRecordBytes = 8;
constexpr int kSelcallDigitBytes = 4;
const Param kSelcallRecordParams[] = {"Selcall Ident", "Selcall Mem"};

// One key of a group: the bits it stands for and how they are shown.
struct Field {
  ImageGroup group;
  std::string key;
  FieldKind kind;
  int address = 0;
  int size = 1;
  int bit = 0;                 // Bit
  bool inverted = false;       // Bit: on while the bit is clear
  int firstChannel = 1;        // ChannelList: the channel of the first byte's bit 0
  const Unit* unit = nullptr;  // Number
  std::vector<uint8_t> masks;  // Unnamed: the group's bits of each byte

  Field(ImageGroup g, std::string k, FieldKind fk, int a, int n = 1)
      : group(g), key(std::move(k)), kind(fk), address(a), size(n) {}
};

// The keys of each row of the receive-only channels.
struct RowLayout {
  int base = -1;  // the records' address; -1 when the model has none
  int records = 0;
  std::array<int, 4> memberArrays{-1, -1, -1, -1};  // bit arrays owned by the channels group
};

struct Layout {
  uint32_t productId = kNoProductId;
  TradioInfo info;
  const ImageGroupMap* map = nullptr;
  std::vector<Field> fields;  // in group order, then address
  RowLayout rows;
};

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

std::string HexBytes(const uint8_t* bytes, int count) {
  std::string text;
  char pair[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    if (i) text += ' ';
    text += pair;
  }
  return text;
}

const Unit& UnitOf(int paramIndex) {
  for (const Unit& u : kUnits)
    if (u.param.Index() == paramIndex) return u;
  return kPlainByte;
}

bool IsToneParam(int paramIndex) {
  return std::any_of(std::begin(kToneParams), std::end(kToneParams),
                     [paramIndex](Param p) { return p.Index() == paramIndex; });
}

// Claims for `group` the bits of `mask` at `address` that are the group's
// and still free; returns them.
uint8_t Claim(const ImageGroupMap& map, ImageGroup group, std::array<uint8_t, kImageSize>& claimed,
              int address, uint8_t mask) {
  if (address < 0 || address >= kImageSize) return 0;
  const uint8_t mine = mask & map.Mask(group, address) & static_cast<uint8_t>(~claimed[address]);
  claimed[address] |= mine;
  return mine;
}

// Whether `group` owns every bit of [address, address + size) and none is claimed yet.
bool OwnsWhole(const ImageGroupMap& map, ImageGroup group,
               const std::array<uint8_t, kImageSize>& claimed, int address, int size) {
  if (address < 0 || address + size > kImageSize || size <= 0) return false;
  for (int a = address; a < address + size; ++a)
    if (map.Mask(group, a) != 0xFF || claimed[a] != 0) return false;
  return true;
}

std::optional<ImageGroup> WholeOwner(const ImageGroupMap& map,
                                     const std::array<uint8_t, kImageSize>& claimed, int address,
                                     int size) {
  for (const ImageGroupName& n : kImageGroupNames)
    if (OwnsWhole(map, n.group, claimed, address, size)) return n.group;
  return std::nullopt;
}

void ClaimWhole(std::array<uint8_t, kImageSize>& claimed, int address, int size) {
  for (int a = address; a < address + size; ++a) claimed[a] = 0xFF;
}

void LayOutRows(Layout& layout, std::array<uint8_t, kImageSize>& claimed) {
  const ImageGroup g = ImageGroup::kRxOnlyChannels;
  const int base = layout.info.GetParamAddress(kParamRxOnlyChannels);
  if (base < 0 || !layout.map->Present().Has(g)) return;
  int records = 0;
  while (records < kRxOnlyChannelCount &&
         OwnsWhole(*layout.map, g, claimed, base + records * kRxChannelRecordSize,
                   kRxChannelRecordSize))
    ++records;
  if (records == 0) return;
  ClaimWhole(claimed, base, records * kRxChannelRecordSize);
  layout.rows.base = base;
  layout.rows.records = records;
  for (size_t k = 0; k < std::size(kMemberships); ++k) {
    const int array = layout.info.GetParamAddress(kMemberships[k].param);
    if (array < 0 || array + kChannelBitArraySize > kImageSize) continue;
    bool owned = true;
    for (int r = 0; r < records && owned; ++r) {
      const int bit = kFirstRxBit + r;
      owned = (layout.map->Mask(g, array + bit / 8) & (1u << (bit % 8))) != 0 &&
              (claimed[array + bit / 8] & (1u << (bit % 8))) == 0;
    }
    if (!owned) continue;
    for (int r = 0; r < records; ++r) {
      const int bit = kFirstRxBit + r;
      claimed[array + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
    layout.rows.memberArrays[k] = array;
  }
}

void LayOutParam(Layout& layout, int index, std::array<uint8_t, kImageSize>& claimed) {
  const int address = layout.info.GetParamAddress(index);
  const ParamShape shape = ShapeOf(index);
  if (address < 0 || shape.kind == ParamKind::RxRecords || address + shape.size > kImageSize)
    return;
  const std::string name = ParamName(index);
  const ImageGroupMap& map = *layout.map;
  switch (shape.kind) {
    case ParamKind::Byte: {
      if (const auto g = WholeOwner(map, claimed, address, 1)) {
        ClaimWhole(claimed, address, 1);
        Field f{*g, name, IsToneParam(index) ? FieldKind::Tone : FieldKind::Number, address};
        f.unit = &UnitOf(index);
        layout.fields.push_back(f);
        return;
      }
      // A byte several windows share: a key for each bit.
      for (const ImageGroupName& n : kImageGroupNames)
        for (int bit = 0; bit < 8; ++bit)
          if (Claim(map, n.group, claimed, address, static_cast<uint8_t>(1u << bit))) {
            const NamedBit* named = NamedBitOf(index, bit);
            Field f{n.group, named ? named->name : name + " bit " + std::to_string(bit),
                    FieldKind::Bit, address};
            f.bit = bit;
            f.inverted = named != nullptr && named->inverted;
            layout.fields.push_back(f);
          }
      return;
    }
    case ParamKind::Word:
    case ParamKind::Bytes: {
      const bool records =
          shape.size % kSelcallRecordBytes == 0 &&
          std::any_of(std::begin(kSelcallRecordParams), std::end(kSelcallRecordParams),
                      [index](Param p) { return p.Index() == index; });
      const auto g = WholeOwner(map, claimed, address, shape.size);
      if (g && records) {
        // One line for each record, as the selcall windows list them.
        ClaimWhole(claimed, address, shape.size);
        const int count = shape.size / kSelcallRecordBytes;
        for (int r = 0; r < count; ++r)
          layout.fields.emplace_back(*g, count == 1 ? name : name + " " + std::to_string(r + 1),
                                     FieldKind::SelcallRecord, address + r * kSelcallRecordBytes,
                                     kSelcallRecordBytes);
        return;
      }
      if (g) {
        ClaimWhole(claimed, address, shape.size);
        layout.fields.emplace_back(
            *g, name, shape.kind == ParamKind::Word ? FieldKind::Word : FieldKind::HexBytes,
            address, shape.size);
      }
      return;
    }
    case ParamKind::BitArray: {
      // Split where the owner changes: the CB channels and the
      // receive-only channels' bits are different groups' matter.
      int start = 0;
      while (start < shape.size) {
        const auto g = WholeOwner(map, claimed, address + start, 1);
        // The receive-only channels' bits go with their rows; what the rows
        // leave of those bytes is spare.
        if (!g || *g == ImageGroup::kRxOnlyChannels) {
          ++start;
          continue;
        }
        int end = start + 1;
        while (end < shape.size && OwnsWhole(map, *g, claimed, address + end, 1)) ++end;
        ClaimWhole(claimed, address + start, end - start);
        Field f{*g, name, FieldKind::ChannelList, address + start, end - start};
        f.firstChannel = 1 + 8 * start;
        if (start != 0) f.key = name + " from " + std::to_string(f.firstChannel);
        layout.fields.push_back(f);
        start = end;
      }
      return;
    }
    case ParamKind::RxRecords:
      return;
  }
}

// The bits of each group no key names, as runs of bytes: whole bytes in
// lines of up to 16 at 16-byte boundaries, a byte the group shares alone.
void LayOutUnnamed(Layout& layout, const std::array<uint8_t, kImageSize>& claimed) {
  for (const ImageGroupName& n : kImageGroupNames) {
    Field* open = nullptr;
    for (int a = 0; a < kImageSize; ++a) {
      const uint8_t mask = layout.map->Mask(n.group, a) & static_cast<uint8_t>(~claimed[a]);
      if (mask == 0) {
        open = nullptr;
        continue;
      }
      const bool extends =
          open != nullptr && mask == 0xFF && open->masks.back() == 0xFF && a % kHexChunk != 0;
      if (extends) {
        open->masks.push_back(mask);
        ++open->size;
        continue;
      }
      Field f{n.group, Hex(a, 3), FieldKind::Unnamed, a, 1};
      f.masks.push_back(mask);
      layout.fields.push_back(f);
      open = &layout.fields.back();
    }
  }
}

Layout LayOut(uint32_t productId) {
  Layout layout;
  layout.productId = productId;
  layout.info.SelectModel(productId);
  layout.map = &ImageGroupMap::ForModel(layout.info.modelIndex);
  std::array<uint8_t, kImageSize> claimed{};
  LayOutRows(layout, claimed);
  for (int i = 0; i < kParamCount; ++i) LayOutParam(layout, i, claimed);
  // Named keys first in each group, by address; then the unnamed bytes.
  std::stable_sort(layout.fields.begin(), layout.fields.end(), [](const Field& x, const Field& y) {
    if (x.group != y.group) return GroupIndex(x.group) < GroupIndex(y.group);
    return std::make_pair(x.address, x.bit) < std::make_pair(y.address, y.bit);
  });
  LayOutUnnamed(layout, claimed);
  std::stable_sort(layout.fields.begin(), layout.fields.end(), [](const Field& x, const Field& y) {
    return GroupIndex(x.group) < GroupIndex(y.group);
  });
  return layout;
}

// ---- Values as text --------------------------------------------------------

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02X", u);
      out += esc;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

int Shown(const Unit& u, int stored) {
  if (u.inverted) return 9 - stored;
  const int value = u.signedByte && stored >= 128 ? stored - 256 : stored;
  return value * u.scale;
}

// The stored byte for a shown value; -1 when the value cannot be stored.
int StoredOf(const Unit& u, int shown) {
  if (shown < u.min || shown > u.max || shown % u.scale != 0) return -1;
  if (u.inverted) return 9 - shown;
  return (shown / u.scale) & 0xFF;
}

std::string RangeComment(const Unit& u) {
  std::string text = std::to_string(u.min) + ".." + std::to_string(u.max);
  if (u.scale != 1) text += " in steps of " + std::to_string(u.scale);
  if (*u.unit) text += std::string(" ") + u.unit;
  return text;
}

std::string ToneTextOf(int code, ToneOrder order) {
  if (code < 0 || code > kLastToneCode || EntryOfCode(code, order) == kNoEntry) return {};
  const std::string text = ToneText(code, order);
  // A name two codes share could not say which one is stored.
  for (int c = 0; c < code; ++c)
    if (EntryOfCode(c, order) != kNoEntry && ToneText(c, order) == text) return {};
  return text;
}

// No radio has been asked: a model whose tone set hangs on its firmware
// version counts as the oldest, as dump has it.
ToneOrder OrderOf(const EEPROM& image, const Layout& layout) {
  return ToneOrderOfImage(image, layout.info, layout.productId, -1);
}

// Whether the 4 bytes at `address` are what their tag would store.
bool TagShowsExactly(const EEPROM& image, int address, std::string& tag) {
  tag = image.GetAlphaTag(address);
  EEPROM copy;
  copy.SetAlphaTag(0, tag.c_str());
  for (int i = 0; i < kTagBytes; ++i)
    if (copy.GetByte(i) != image.GetByte(address + i)) return false;
  return true;
}

struct Line {
  std::string text;
  std::string comment;
};

Line ShowField(const Field& f, const EEPROM& image, ToneOrder order) {
  const int byte = image.GetByte(f.address);
  switch (f.kind) {
    case FieldKind::Number: {
      const int shown = Shown(*f.unit, byte);
      if (StoredOf(*f.unit, shown) == byte) return {std::to_string(shown), RangeComment(*f.unit)};
      return {Hex(byte, 2), RangeComment(*f.unit) + "; 0x.. is the stored byte"};
    }
    case FieldKind::Bit:
      return {(((byte >> f.bit) & 1) != 0) != f.inverted ? "on" : "off", "on/off"};
    case FieldKind::Word:
      return {Hex(image.GetWord(f.address), 4), "0x0000..0xFFFF"};
    case FieldKind::Tone: {
      const std::string name = ToneTextOf(byte, order);
      if (!name.empty()) return {Quoted(name), "\"OFF\", \"CTCnn - f.fHz\", \"DTnnn - ooo\""};
      return {Hex(byte, 2), "no tone of the list in force; 0x.. is the stored byte"};
    }
    case FieldKind::ChannelList: {
      std::string list;
      const uint8_t* bytes = image.Data() + f.address;
      for (int bit = 0; bit < 8 * f.size; ++bit)
        if (TestBit(bit, bytes))
          list += (list.empty() ? "" : ", ") + std::to_string(f.firstChannel + bit);
      return {"[" + list + "]", "channels " + std::to_string(f.firstChannel) + ".." +
                                    std::to_string(f.firstChannel + 8 * f.size - 1)};
    }
    case FieldKind::SelcallRecord: {
      std::string digits;
      for (const char c : HexBytes(image.Data() + f.address, kSelcallDigitBytes))
        if (c != ' ') digits += c;
      std::string text = "{digits: " + Quoted(digits);
      std::string tag;
      if (TagShowsExactly(image, f.address + kSelcallDigitBytes, tag))
        text += ", name: " + Quoted(tag);
      else
        text += ", name bytes: " +
                Quoted(HexBytes(image.Data() + f.address + kSelcallDigitBytes, kTagBytes));
      return {text + "}", "digits 0-9, A-F where none; name up to 5 characters"};
    }
    case FieldKind::HexBytes:
      return {Quoted(HexBytes(image.Data() + f.address, f.size)),
              std::to_string(f.size) + " bytes in hexadecimal"};
    case FieldKind::Unnamed: {
      std::vector<uint8_t> bytes(static_cast<size_t>(f.size));
      for (int i = 0; i < f.size; ++i)
        bytes[static_cast<size_t>(i)] =
            static_cast<uint8_t>(image.GetByte(f.address + i)) & f.masks[static_cast<size_t>(i)];
      std::string comment = f.size == 1 ? "1 byte" : std::to_string(f.size) + " bytes";
      if (f.masks[0] != 0xFF) comment = "bits " + Hex(f.masks[0], 2) + " of the byte";
      return {Quoted(HexBytes(bytes.data(), f.size)), comment};
    }
  }
  return {};
}

// ---- Receive-only rows ------------------------------------------------------

int RecordAddress(const RowLayout& rows, int record) {
  return rows.base + record * kRxChannelRecordSize;
}

bool MemberBit(const EEPROM& image, int array, int record) {
  const int bit = kFirstRxBit + record;
  return (image.GetByte(array + bit / 8) >> (bit % 8)) & 1;
}

// "476.4250": the channel step is 12.5 kHz, so four places are exact.
std::string MegahertzText(int steps) {
  const long hz = static_cast<long>(steps) * kRxChannelStepHz;
  char text[32];
  std::snprintf(text, sizeof text, "%ld.%04ld", hz / 1000000, (hz % 1000000) / 100);
  return text;
}

// Whether the record's bytes are what its frequency and tag would store.
bool RecordShowsExactly(const EEPROM& image, int address, int& steps, std::string& tag) {
  steps = image.GetWord(address);
  if (steps == 0) return false;  // 0 steps reads as no channel, as 0xFFFF does
  return TagShowsExactly(image, address + 2, tag);
}

std::string RowText(const Layout& layout, const EEPROM& image, int record) {
  const RowLayout& rows = layout.rows;
  const int address = RecordAddress(rows, record);
  std::string text = "{record: " + std::to_string(record);
  int steps = 0;
  std::string tag;
  if (RecordShowsExactly(image, address, steps, tag)) {
    text += ", MHz: " + (steps == kErasedWord ? std::string("0") : MegahertzText(steps));
    text += ", tag: " + Quoted(tag);
  } else {
    text += ", raw: " + Quoted(HexBytes(image.Data() + address, kRxChannelRecordSize));
  }
  for (size_t k = 0; k < std::size(kMemberships); ++k)
    if (rows.memberArrays[k] >= 0)
      text += std::string(", ") + kMemberships[k].key + ": " +
              (MemberBit(image, rows.memberArrays[k], record) ? "on" : "off");
  text += "}";
  const bool banks = TradioInfo::HasRxBanks(layout.productId);
  std::string where =
      banks ? std::string("RX-") + static_cast<char>('A' + record / kRxBankSize) + " " : "";
  where += std::to_string(kFirstRxBit + 1 + record % kRxBankSize);
  return text + "  # " + where;
}

// ---- Export ----------------------------------------------------------------------

void AddLine(std::string& out, const std::string& indent, const std::string& key,
             const Line& line) {
  std::string text = indent + key + ": " + line.text;
  if (!line.comment.empty()) text += "  # " + line.comment;
  out += text + "\n";
}

std::string KeyText(const std::string& key) {
  // Names with characters YAML reads otherwise are quoted.
  const bool plain = !key.empty() &&
                     std::all_of(key.begin(), key.end(),
                                 [](char c) {
                                   return std::isalnum(static_cast<unsigned char>(c)) || c == ' ' ||
                                          c == '-' || c == '/' || c == '_' || c == '.';
                                 }) &&
                     key.front() != '-' && key.back() != ' ';
  return plain ? key : Quoted(key);
}

std::string ModelComment(const TradioInfo& info) {
  if (info.modelIndex == 0) return "no model of this program has this product ID";
  return std::string(info.ModelName()) + ", " + info.ModelDescription();
}

}  // namespace

std::string ExportConfigText(const EEPROM& image) {
  const int id = image.GetWord(0);
  const Layout layout = LayOut(id < 0 ? kNoProductId : static_cast<uint32_t>(id));
  const ToneOrder order = OrderOf(image, layout);
  std::string out =
      "# A configuration of the Vorn Kestal Programmer: vornprog import makes it a mem-file.\n"
      "# A value written 0x.. is the stored byte itself; \"bytes\" holds what no name describes.\n";
  AddLine(out, "", kModelKey, {Hex(id < 0 ? 0 : id, 4), ModelComment(layout.info)});
  const GroupSet present = layout.map->Present();
  for (const ImageGroupName& n : kImageGroupNames) {
    if (!present.Has(n.group)) continue;
    out += std::string(n.key) + ":  # " + std::string(n.title) + "\n";
    bool bytesOpened = false;
    for (const Field& f : layout.fields) {
      if (f.group != n.group) continue;
      if (f.kind == FieldKind::Unnamed) {
        if (!bytesOpened) out += std::string("  ") + kBytesKey + ":\n";
        bytesOpened = true;
        AddLine(out, "    ", f.key, ShowField(f, image, order));
      } else {
        AddLine(out, "  ", KeyText(f.key), ShowField(f, image, order));
      }
    }
    if (n.group == ImageGroup::kRxOnlyChannels && layout.rows.records > 0) {
      out += std::string("  ") + kRowsKey + ":  # MHz 0 is no channel; raw is the record's bytes\n";
      for (int r = 0; r < layout.rows.records; ++r)
        out += "    - " + RowText(layout, image, r) + "\n";
    }
  }
  return out;
}

namespace {

// ---- Import ----------------------------------------------------------------------

class Refusal {
 public:
  ConfigTextError error;
  bool failed = false;
  bool At(const YAML::Node& node, const std::string& path, const std::string& message) {
    if (failed) return false;
    failed = true;
    const YAML::Mark mark = node.Mark();
    error.line = mark.line < 0 ? 0 : mark.line + 1;
    error.column = mark.column < 0 ? 0 : mark.column + 1;
    error.path = path;
    error.message = message;
    return false;
  }
};

// The image being built and which of its bits the text gave.
struct Target {
  EEPROM image;
  std::array<uint8_t, kImageSize> given{};
  void Put(int address, uint8_t mask, int value) {
    const int old = image.GetByte(address);
    image.SetByte(address, (old & ~mask) | (value & mask));
    given[address] |= mask;
  }
};

bool ParseInt(const std::string& text, long& value) {
  if (text.empty() || text.size() > 12) return false;
  size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (i == text.size()) return false;
  long v = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    v = v * 10 + (text[i] - '0');
  }
  value = text[0] == '-' ? -v : v;
  return true;
}

bool ParseHex(const std::string& text, int digits, int& value) {
  if (text.size() != static_cast<size_t>(digits) + 2 || text[0] != '0' ||
      (text[1] != 'x' && text[1] != 'X'))
    return false;
  value = 0;
  for (size_t i = 2; i < text.size(); ++i) {
    const int c = std::tolower(static_cast<unsigned char>(text[i]));
    if (!std::isxdigit(c)) return false;
    value = value * 16 + (std::isdigit(c) ? c - '0' : c - 'a' + 10);
  }
  return true;
}

bool ParseHexBytes(const std::string& text, int count, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::string digits;
  for (const char c : text)
    if (c != ' ') digits += c;
  if (digits.size() != static_cast<size_t>(count) * 2) return false;
  for (int i = 0; i < count; ++i) {
    int v = 0;
    if (!ParseHex("0x" + digits.substr(static_cast<size_t>(i) * 2, 2), 2, v)) return false;
    bytes.push_back(static_cast<uint8_t>(v));
  }
  return true;
}

bool IsScalar(const YAML::Node& node) { return node.IsScalar(); }

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& s : items) text += (text.empty() ? "" : ", ") + s;
  return text;
}

// Refuses a mapping that names a key twice, at any depth.
bool CheckDuplicates(const YAML::Node& node, const std::string& path, Refusal& refusal, int depth,
                     int& values) {
  if (depth > kMaxNesting) return refusal.At(node, path, "nested too deep");
  if (++values > kMaxValues) return refusal.At(node, path, "too many values for a configuration");
  if (node.IsSequence()) {
    for (size_t i = 0; i < node.size(); ++i)
      if (!CheckDuplicates(node[i], path + "[" + std::to_string(i) + "]", refusal, depth + 1,
                           values))
        return false;
  } else if (node.IsMap()) {
    std::set<std::string> seen;
    for (const auto& pair : node) {
      if (!pair.first.IsScalar()) return refusal.At(pair.first, path, "a key must be a plain name");
      const std::string key = pair.first.Scalar();
      const std::string child = path.empty() ? key : path + "." + key;
      if (!seen.insert(key).second)
        return refusal.At(pair.first, child, "duplicate key; each key may be given once");
      if (!CheckDuplicates(pair.second, child, refusal, depth + 1, values)) return false;
    }
  }
  return true;
}

class Importer {
 public:
  Importer(const Layout& layout, Target& target, Refusal& refusal)
      : layout_(layout), target_(target), refusal_(refusal) {}

  bool Group(ImageGroup group, const YAML::Node& node, const std::string& path) {
    if (node.IsNull()) return true;
    if (!node.IsMap()) return refusal_.At(node, path, "expected a mapping of keys");
    for (const auto& pair : node) {
      const std::string key = pair.first.Scalar();
      const std::string child = path + "." + key;
      if (key == kRowsKey && group == ImageGroup::kRxOnlyChannels && layout_.rows.records > 0) {
        if (!Rows(pair.second, child)) return false;
        continue;
      }
      if (key == kBytesKey && HasUnnamed(group)) {
        if (!Unnamed(group, pair.second, child)) return false;
        continue;
      }
      const Field* field = Find(group, key, false);
      if (field == nullptr)
        return refusal_.At(pair.first, child, "unknown key; allowed: " + Join(KeysOf(group)));
      if (field->kind == FieldKind::Tone) {
        tones_.push_back({field, pair.second, child});
        continue;
      }
      if (!Take(*field, pair.second, child)) return false;
    }
    return true;
  }

  // The subtones are named in the order the finished image puts in force.
  bool Tones() {
    const ToneOrder order = OrderOf(target_.image, layout_);
    for (const PendingTone& t : tones_)
      if (!TakeTone(*t.field, t.node, t.path, order)) return false;
    return true;
  }

 private:
  struct PendingTone {
    const Field* field;
    YAML::Node node;
    std::string path;
  };

  const Field* Find(ImageGroup group, const std::string& key, bool unnamed) const {
    for (const Field& f : layout_.fields)
      if (f.group == group && (f.kind == FieldKind::Unnamed) == unnamed && f.key == key) return &f;
    return nullptr;
  }

  bool HasUnnamed(ImageGroup group) const {
    return std::any_of(layout_.fields.begin(), layout_.fields.end(), [group](const Field& f) {
      return f.group == group && f.kind == FieldKind::Unnamed;
    });
  }

  std::vector<std::string> KeysOf(ImageGroup group) const {
    std::vector<std::string> keys;
    for (const Field& f : layout_.fields)
      if (f.group == group && f.kind != FieldKind::Unnamed) keys.push_back(f.key);
    if (group == ImageGroup::kRxOnlyChannels && layout_.rows.records > 0) keys.push_back(kRowsKey);
    if (HasUnnamed(group)) keys.push_back(kBytesKey);
    return keys;
  }

  bool Scalar(const YAML::Node& node, const std::string& path, const std::string& allowed) {
    if (IsScalar(node)) return true;
    return refusal_.At(node, path, "expected a single value: " + allowed);
  }

  bool OnOff(const YAML::Node& node, const std::string& path, bool& on) {
    if (!Scalar(node, path, "on or off")) return false;
    const std::string& text = node.Scalar();
    if (text == "on" || text == "true")
      on = true;
    else if (text == "off" || text == "false")
      on = false;
    else
      return refusal_.At(node, path, "\"" + text + "\" is not on or off");
    return true;
  }

  bool Take(const Field& f, const YAML::Node& node, const std::string& path) {
    switch (f.kind) {
      case FieldKind::Number: {
        const std::string allowed = RangeComment(*f.unit) + ", or the stored byte as 0x00..0xFF";
        if (!Scalar(node, path, allowed)) return false;
        int stored = -1;
        long shown = 0;
        if (ParseHex(node.Scalar(), 2, stored)) {
        } else if (ParseInt(node.Scalar(), shown) && shown >= INT32_MIN && shown <= INT32_MAX) {
          stored = StoredOf(*f.unit, static_cast<int>(shown));
        } else {
          return refusal_.At(node, path,
                             "\"" + node.Scalar() + "\" is not a number; allowed: " + allowed);
        }
        if (stored < 0)
          return refusal_.At(node, path, node.Scalar() + " is out of range; allowed: " + allowed);
        target_.Put(f.address, 0xFF, stored);
        return true;
      }
      case FieldKind::Bit: {
        bool on = false;
        if (!OnOff(node, path, on)) return false;
        target_.Put(f.address, static_cast<uint8_t>(1u << f.bit), on != f.inverted ? 0xFF : 0);
        return true;
      }
      case FieldKind::Word: {
        int value = 0;
        if (!Scalar(node, path, "0x0000..0xFFFF") || !ParseHex(node.Scalar(), 4, value))
          return refusal_.At(node, path, "expected four hexadecimal digits: 0x0000..0xFFFF");
        if (f.address == 0 && static_cast<uint32_t>(value) != layout_.productId)
          return refusal_.At(
              node, path,
              "the product ID must be the model's, " + Hex(static_cast<int>(layout_.productId), 4));
        target_.Put(f.address, 0xFF, value >> 8);
        target_.Put(f.address + 1, 0xFF, value);
        return true;
      }
      case FieldKind::ChannelList: {
        const int last = f.firstChannel + 8 * f.size - 1;
        const std::string allowed = "a list of channels from " + std::to_string(f.firstChannel) +
                                    " to " + std::to_string(last) + ", such as [1, 5, 40]";
        if (!node.IsSequence()) return refusal_.At(node, path, "expected " + allowed);
        std::vector<uint8_t> bits(static_cast<size_t>(f.size), 0);
        for (size_t i = 0; i < node.size(); ++i) {
          long ch = 0;
          if (!node[i].IsScalar() || !ParseInt(node[i].Scalar(), ch) || ch < f.firstChannel ||
              ch > last)
            return refusal_.At(node[i], path + "[" + std::to_string(i) + "]",
                               "not a channel; allowed: " + allowed);
          SetBit(static_cast<int>(ch) - f.firstChannel, bits.data());
        }
        for (int i = 0; i < f.size; ++i)
          target_.Put(f.address + i, 0xFF, bits[static_cast<size_t>(i)]);
        return true;
      }
      case FieldKind::SelcallRecord:
        return TakeSelcallRecord(f, node, path);
      case FieldKind::HexBytes:
      case FieldKind::Unnamed: {
        const std::string allowed = std::to_string(f.size) + " bytes in hexadecimal, such as \"" +
                                    std::string(f.size == 1 ? "0A" : "0A FF") + "\"";
        std::vector<uint8_t> bytes;
        if (!Scalar(node, path, allowed) || !ParseHexBytes(node.Scalar(), f.size, bytes))
          return refusal_.At(node, path, "expected " + allowed);
        for (int i = 0; i < f.size; ++i) {
          const uint8_t mask =
              f.kind == FieldKind::Unnamed ? f.masks[static_cast<size_t>(i)] : 0xFF;
          if (bytes[static_cast<size_t>(i)] & ~mask)
            return refusal_.At(node, path,
                               "byte " + std::to_string(i) + " sets bits outside " + Hex(mask, 2) +
                                   ", which belong to other keys");
          target_.Put(f.address + i, mask, bytes[static_cast<size_t>(i)]);
        }
        return true;
      }
      case FieldKind::Tone:
        return true;  // taken by Tones()
    }
    return true;
  }

  bool TakeSelcallRecord(const Field& f, const YAML::Node& node, const std::string& path) {
    const std::string allowed = "{digits: \"FFF12345\", name: \"BASE\"}";
    if (!node.IsMap())
      return refusal_.At(node, path, "expected a selcall record such as " + allowed);
    if (node["name"] && node["name bytes"])
      return refusal_.At(node["name bytes"], path + ".name bytes",
                         "a record gives either name or name bytes");
    for (const auto& pair : node) {
      const std::string key = pair.first.Scalar();
      const std::string child = path + "." + key;
      if (key == "digits") {
        std::vector<uint8_t> bytes;
        std::string spaced;
        const std::string text = pair.second.IsScalar() ? pair.second.Scalar() : "";
        for (size_t i = 0; i < text.size(); ++i)
          spaced += (i % 2 == 0 && i ? " " : "") + text.substr(i, 1);
        if (!pair.second.IsScalar() || text.find(' ') != std::string::npos ||
            !ParseHexBytes(spaced, kSelcallDigitBytes, bytes))
          return refusal_.At(pair.second, child,
                             "expected 8 digits 0-9 or A-F, such as \"FFF12345\"");
        for (int i = 0; i < kSelcallDigitBytes; ++i)
          target_.Put(f.address + i, 0xFF, bytes[static_cast<size_t>(i)]);
      } else if (key == "name") {
        if (!Tag(pair.second, child, f.address + kSelcallDigitBytes)) return false;
      } else if (key == "name bytes") {
        Field bytes(f.group, key, FieldKind::HexBytes, f.address + kSelcallDigitBytes, kTagBytes);
        if (!Take(bytes, pair.second, child)) return false;
      } else {
        return refusal_.At(pair.first, child, "unknown key; allowed: digits, name, name bytes");
      }
    }
    return true;
  }

  bool TakeTone(const Field& f, const YAML::Node& node, const std::string& path, ToneOrder order) {
    const std::string allowed = "a tone name such as \"OFF\", \"" + ToneText(1, order) +
                                "\" or \"" + ToneText(kFirstDcsCode, order) +
                                "\", or the stored byte as 0x00..0xFF";
    if (!Scalar(node, path, allowed)) return false;
    int stored = -1;
    if (!ParseHex(node.Scalar(), 2, stored)) {
      for (int code = 0; code <= kLastToneCode && stored < 0; ++code)
        if (EntryOfCode(code, order) != kNoEntry && ToneText(code, order) == node.Scalar())
          stored = code;
    }
    if (stored < 0)
      return refusal_.At(node, path, "\"" + node.Scalar() + "\" is no tone; allowed: " + allowed);
    target_.Put(f.address, 0xFF, stored);
    return true;
  }

  bool Unnamed(ImageGroup group, const YAML::Node& node, const std::string& path) {
    if (!node.IsMap()) return refusal_.At(node, path, "expected a mapping of addresses to bytes");
    for (const auto& pair : node) {
      const std::string child = path + "." + pair.first.Scalar();
      // The address as exported; case and width as there.
      int address = 0;
      std::string key = pair.first.Scalar();
      if (ParseHex(key, 3, address)) key = Hex(address, 3);
      const Field* field = Find(group, key, true);
      if (field == nullptr)
        return refusal_.At(
            pair.first, child,
            "no run of unnamed bytes starts here; allowed: the addresses an export lists");
      if (!Take(*field, pair.second, child)) return false;
    }
    return true;
  }

  bool Rows(const YAML::Node& node, const std::string& path) {
    const RowLayout& rows = layout_.rows;
    if (!node.IsSequence()) return refusal_.At(node, path, "expected a list of channel rows");
    std::set<long> seen;
    for (size_t i = 0; i < node.size(); ++i) {
      const YAML::Node row = node[i];
      const std::string rowPath = path + "[" + std::to_string(i) + "]";
      if (!row.IsMap())
        return refusal_.At(row, rowPath,
                           "expected a row such as {record: 0, MHz: 476.4250, tag: \"BASE\"}");
      const YAML::Node recordNode = row["record"];
      long record = -1;
      if (!recordNode)
        return refusal_.At(
            row, rowPath + ".record",
            "missing; each row names its record, 0.." + std::to_string(rows.records - 1));
      if (!recordNode.IsScalar() || !ParseInt(recordNode.Scalar(), record) || record < 0 ||
          record >= rows.records)
        return refusal_.At(recordNode, rowPath + ".record",
                           "allowed: 0.." + std::to_string(rows.records - 1));
      if (!seen.insert(record).second)
        return refusal_.At(recordNode, rowPath + ".record",
                           "record " + std::to_string(record) + " is given twice");
      const int address = RecordAddress(rows, static_cast<int>(record));
      if (row["raw"] && (row["MHz"] || row["tag"]))
        return refusal_.At(row["raw"], rowPath + ".raw", "a row gives either raw or MHz and tag");
      for (const auto& pair : row) {
        const std::string key = pair.first.Scalar();
        const std::string child = rowPath + "." + key;
        const YAML::Node& value = pair.second;
        if (key == "record") continue;
        if (key == "MHz") {
          if (!Frequency(value, child, address)) return false;
        } else if (key == "tag") {
          if (!Tag(value, child, address + 2)) return false;
        } else if (key == "raw") {
          Field f{ImageGroup::kRxOnlyChannels, key, FieldKind::HexBytes, address,
                  kRxChannelRecordSize};
          if (!Take(f, value, child)) return false;
        } else if (!Member(key, value, child, static_cast<int>(record))) {
          return false;
        }
      }
    }
    return true;
  }

  bool Frequency(const YAML::Node& node, const std::string& path, int address) {
    const std::string allowed =
        "MHz from 0.0125 to 819.1750 on a 12.5 kHz step, or 0 for no channel";
    if (!Scalar(node, path, allowed)) return false;
    const std::string& text = node.Scalar();
    long whole = 0, micro = 0;
    const size_t point = text.find('.');
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (!ParseInt(text.substr(0, point), whole) || whole < 0 || fraction.size() > 6 ||
        (!fraction.empty() && !ParseInt(fraction, micro)) ||
        (!fraction.empty() && !std::isdigit(static_cast<unsigned char>(fraction[0]))) ||
        text[0] == '+' || text[0] == '-')
      return refusal_.At(node, path, "\"" + text + "\" is not a frequency; allowed: " + allowed);
    for (size_t i = fraction.size(); i < 6; ++i) micro *= 10;
    if (whole > 1000)
      return refusal_.At(node, path, text + " is out of range; allowed: " + allowed);
    const long hz = whole * 1000000 + micro;
    const long steps = hz / kRxChannelStepHz;
    if (hz % kRxChannelStepHz != 0 || steps >= kErasedWord)
      return refusal_.At(node, path, text + " is out of range; allowed: " + allowed);
    const int word = hz == 0 ? kErasedWord : static_cast<int>(steps);
    target_.Put(address, 0xFF, word >> 8);
    target_.Put(address + 1, 0xFF, word);
    return true;
  }

  bool Tag(const YAML::Node& node, const std::string& path, int address) {
    const std::string allowed = "up to 5 characters from blank to \"_\" (capitals, digits, signs)";
    if (!Scalar(node, path, allowed)) return false;
    const std::string& text = node.Scalar();
    const bool fits = text.size() <= 5 && std::all_of(text.begin(), text.end(),
                                                      [](char c) { return c >= 32 && c <= 95; });
    EEPROM packed;
    if (fits) packed.SetAlphaTag(0, text.c_str());
    // A character the radio takes as the tag's end would not come back.
    if (!fits || packed.GetAlphaTag(0) != text)
      return refusal_.At(node, path, "\"" + text + "\" is not a tag; allowed: " + allowed);
    for (int i = 0; i < kTagBytes; ++i) target_.Put(address + i, 0xFF, packed.GetByte(i));
    return true;
  }

  bool Member(const std::string& key, const YAML::Node& node, const std::string& path, int record) {
    for (size_t k = 0; k < std::size(kMemberships); ++k) {
      if (key != kMemberships[k].key || layout_.rows.memberArrays[k] < 0) continue;
      bool on = false;
      if (!OnOff(node, path, on)) return false;
      const int bit = kFirstRxBit + record;
      target_.Put(layout_.rows.memberArrays[k] + bit / 8, static_cast<uint8_t>(1u << (bit % 8)),
                  on ? 0xFF : 0);
      return true;
    }
    std::vector<std::string> keys{"record", "MHz", "tag", "raw"};
    for (size_t k = 0; k < std::size(kMemberships); ++k)
      if (layout_.rows.memberArrays[k] >= 0) keys.push_back(kMemberships[k].key);
    return refusal_.At(node, path, "unknown key; allowed: " + Join(keys));
  }

  const Layout& layout_;
  Target& target_;
  Refusal& refusal_;
  std::vector<PendingTone> tones_;
};

// The product ID the `model` key names: "0x0601" or a model's name.
bool ModelOf(const YAML::Node& node, uint32_t& productId) {
  if (!node.IsScalar()) return false;
  int id = 0;
  if (ParseHex(node.Scalar(), 4, id)) {
    productId = static_cast<uint32_t>(id);
    return true;
  }
  for (int row = 1; row < kModelCount; ++row)
    if (node.Scalar() == ModelTableRow(row).name) {
      productId = ModelTableRow(row).productId;
      return true;
    }
  return false;
}

std::string ModelNames() {
  std::vector<std::string> names;
  for (int row = 1; row < kModelCount; ++row) names.push_back(ModelTableRow(row).name);
  return Join(names);
}

// A bound on the parser's recursion: flow brackets and block indentation
// deeper than any configuration are refused before parsing.
bool TooDeep(const std::string& text, ConfigTextError& error) {
  int depth = 0, line = 1, column = 0;
  char quote = 0, previous = ' ';
  bool comment = false;
  for (const char c : text) {
    ++column;
    const char before = previous;
    previous = c;
    if (c == '\n') {
      ++line;
      column = 0;
      comment = false;
      previous = ' ';
      continue;
    }
    if (comment) continue;
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    // Quotes open a scalar only where a token starts; inside a plain
    // scalar ("it's") they are characters.
    const bool tokenStart = before == ' ' || before == '[' || before == '{' || before == ',' ||
                            before == ':' || before == '-' || before == '\t';
    if ((c == '"' || c == '\'') && tokenStart)
      quote = c;
    else if (c == '#' && (before == ' ' || before == '\t'))
      comment = true;
    else if (c == '[' || c == '{')
      ++depth;
    else if ((c == ']' || c == '}') && depth > 0)
      --depth;
    if (depth > kMaxNesting) {
      error = {line, column, "", "nested too deep"};
      return true;
    }
  }
  // Block nesting: indentation before the first character of a line.
  line = 1;
  size_t start = 0;
  while (start < text.size()) {
    size_t indent = 0;
    while (start + indent < text.size() &&
           (text[start + indent] == ' ' || text[start + indent] == '-'))
      ++indent;
    if (indent > 4 * static_cast<size_t>(kMaxNesting)) {
      error = {line, 1, "", "nested too deep"};
      return true;
    }
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) break;
    start = end + 1;
    ++line;
  }
  return false;
}

}  // namespace

std::string ConfigTextError::Text(const std::string& file) const {
  std::string text = file;
  if (line > 0) text += ":" + std::to_string(line) + ":" + std::to_string(column);
  text += ": ";
  if (!path.empty()) text += path + ": ";
  return text + message;
}

bool ImportConfigText(const std::string& text, const EEPROM* base, EEPROM& out,
                      ConfigTextError& error) {
  error = {};
  if (text.size() > kMaxTextSize) {
    error.message =
        "too large for a configuration (over " + std::to_string(kMaxTextSize) + " bytes)";
    return false;
  }
  if (TooDeep(text, error)) return false;
  YAML::Node root;
  try {
    root = YAML::Load(text);
  } catch (const YAML::Exception& e) {
    error.line = e.mark.line < 0 ? 0 : e.mark.line + 1;
    error.column = e.mark.column < 0 ? 0 : e.mark.column + 1;
    error.message = "not YAML: " + e.msg;
    return false;
  }
  Refusal refusal;
  const auto refused = [&] {
    error = refusal.error;
    return false;
  };
  if (!root.IsMap()) {
    refusal.At(root, "", "expected a configuration: \"model:\" and the groups " + GroupKeyList());
    return refused();
  }
  try {
    int values = 0;
    if (!CheckDuplicates(root, "", refusal, 0, values)) return refused();

    uint32_t productId = 0;
    const YAML::Node& constRoot = root;
    const YAML::Node model = constRoot[kModelKey];
    if (!model) {
      refusal.At(root, kModelKey,
                 "missing; the file must name its model: " + ModelNames() +
                     " or a product ID 0x0000..0xFFFF");
      return refused();
    }
    if (!ModelOf(model, productId)) {
      refusal.At(model, kModelKey,
                 "unknown model; allowed: " + ModelNames() + " or a product ID 0x0000..0xFFFF");
      return refused();
    }
    if (base != nullptr) {
      const int baseId = base->GetWord(0);
      if (static_cast<uint32_t>(baseId) != productId) {
        refusal.At(model, kModelKey,
                   "this file is for product ID " + Hex(static_cast<int>(productId), 4) +
                       ", the configuration it applies onto is " + Hex(baseId, 4));
        return refused();
      }
    }
    const Layout layout = LayOut(productId);
    Target target;
    if (base != nullptr) {
      for (int a = 0; a < kImageSize; ++a) target.image.SetByte(a, base->GetByte(a));
    } else {
      for (int a = 0; a < kImageSize; ++a) target.image.SetByte(a, 0xFF);
    }
    target.Put(0, 0xFF, static_cast<int>(productId >> 8));
    target.Put(1, 0xFF, static_cast<int>(productId));

    Importer importer(layout, target, refusal);
    const GroupSet present = layout.map->Present();
    for (const auto& pair : root) {
      const std::string key = pair.first.Scalar();
      if (key == kModelKey) continue;
      const std::optional<ImageGroup> group = FindGroup(key);
      if (!group || !present.Has(*group)) {
        std::vector<std::string> keys{kModelKey};
        for (const ImageGroup g : present.Members()) keys.emplace_back(GroupKey(g));
        refusal.At(pair.first, key, "unknown key for this model; allowed: " + Join(keys));
        return refused();
      }
      if (!importer.Group(*group, pair.second, key)) return refused();
    }
    if (!importer.Tones()) return refused();

    if (base == nullptr) {
      // A file of its own must give everything, or the image would hold
      // bytes nobody chose.
      for (const Field& f : layout.fields)
        for (int i = 0; i < f.size; ++i) {
          const uint8_t need = f.kind == FieldKind::Unnamed ? f.masks[static_cast<size_t>(i)]
                               : f.kind == FieldKind::Bit   ? static_cast<uint8_t>(1u << f.bit)
                                                            : 0xFF;
          if ((target.given[f.address + i] & need) != need) {
            std::string path = std::string(GroupKey(f.group)) + "." +
                               (f.kind == FieldKind::Unnamed ? std::string(kBytesKey) + "." : "") +
                               f.key;
            refusal.At(root, path,
                       "missing; without --onto the file must give the whole configuration");
            return refused();
          }
        }
      for (int r = 0; r < layout.rows.records; ++r) {
        const int a = RecordAddress(layout.rows, r);
        bool whole = true;
        for (int i = 0; i < kRxChannelRecordSize; ++i) whole = whole && target.given[a + i] == 0xFF;
        for (size_t k = 0; k < std::size(kMemberships); ++k) {
          const int array = layout.rows.memberArrays[k];
          const int bit = kFirstRxBit + r;
          if (array >= 0) whole = whole && (target.given[array + bit / 8] >> (bit % 8)) & 1;
        }
        if (!whole) {
          refusal.At(root, "channels.rows: record " + std::to_string(r),
                     "missing or incomplete; without --onto every record needs MHz and tag (or "
                     "raw) and its memberships");
          return refused();
        }
      }
    }
    out = target.image;
    return true;
  } catch (const YAML::Exception& e) {
    error = {e.mark.line + 1, e.mark.column + 1, "", "not readable: " + e.msg};
    return false;
  }
}

bool IsConfigTextName(const std::string& path) {
  const auto endsWith = [&](std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(path[path.size() - suffix.size() + i])) !=
          suffix[i])
        return false;
    return true;
  };
  return endsWith(".yaml") || endsWith(".yml");
}

bool ImportConfigTextFile(const std::string& path, const EEPROM* base, EEPROM& out,
                          ConfigTextError& error) {
  std::string text;
  UserFileError why;
  if (!ReadUserFile(path, kMaxTextSize, "a configuration text", text, why)) {
    error = {};
    error.message =
        "Unable to open file: " + (why.reason.empty() ? ErrnoText(why.error) : why.reason);
    return false;
  }
  return ImportConfigText(text, base, out, error);
}
