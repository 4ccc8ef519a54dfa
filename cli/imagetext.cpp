#include "imagetext.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "array.h"
#include "memfile.h"
#include "params.h"
#include "tones.h"

namespace {

// The membership bit arrays in the order of the record's flag bits 3..0.
struct Membership {
  Param param;
  uint32_t flag;
  const char* name;
};
constexpr Membership kMemberships[] = {
    {kParamScanMem0, 8, "Scan0"},
    {kParamScanMem1, 4, "Scan1"},
    {kParamQuietMem, 2, "Quiet"},
    {kParamSilentMem, 1, "Silent"},
};
constexpr int kFirstRxBit = 80;  // bits 0..79 are the CB channels
constexpr int kRxBankSize = 20;
constexpr int kFirstRxChannelNumber = 81;

std::string Format(const char* format, long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Address(int address) { return Format("0x%03lX", address); }

std::string Padded(std::string s, size_t width) {
  if (s.size() < width) s.resize(width, ' ');
  return s;
}

std::string RightAligned(const std::string& s, size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string ParamLine(int index, const char* name, int address, const ParamValue& v) {
  return Format("%3ld", index) + "  " + Padded(name, 26) + " " + Address(address) + "  " +
         (v.decimal.empty() ? v.hex : RightAligned(v.decimal, 6) + "  " + v.hex);
}

// The subtone codes, shown also as the programmer names them.
bool IsToneParam(int index) {
  static constexpr Param kTones[] = {"Tx CTCSS Tone", "Rx CTCSS Tone", "Netscan Ctcss Tone"};
  return std::any_of(std::begin(kTones), std::end(kTones),
                     [index](Param tone) { return tone.Index() == index; });
}

std::string ModelLine(const EEPROM& image, const TradioInfo& info) {
  const int id = image.GetWord(0);
  const std::string hex = HexId(static_cast<uint32_t>(id));
  if (info.modelIndex == 0) return "Model: unknown (product ID " + hex + ")";
  return std::string("Model: ") + info.ModelName() + " (product ID " + hex + "), " +
         info.ModelDescription();
}

std::string RxLine(const TradioInfo& info, const RxChannel& c) {
  return Format("%3ld", c.record) + "  " + Padded(RxBankText(info, c.record), 4) + "  " +
         Format("%3ld", RxChannelNumber(c.record)) + "  " + RxChannelText(c.data);
}

void MarkExplained(std::vector<bool>& explained, int address, int size) {
  for (int i = 0; i < size; ++i)
    if (address + i >= 0 && address + i < static_cast<int>(explained.size()))
      explained[static_cast<size_t>(address + i)] = true;
}

bool SameChannel(const RX_CH_DATA_STRUCT& x, const RX_CH_DATA_STRUCT& y) {
  return x.frequency == y.frequency && x.alphaTag == y.alphaTag && x.flags == y.flags;
}

std::string ChannelOrEmpty(const std::vector<RxChannel>& list, int m) {
  if (m >= static_cast<int>(list.size())) return "(none on this model)";
  if (list[static_cast<size_t>(m)].data.frequency == 0) return "(empty)";
  return RxChannelText(list[static_cast<size_t>(m)].data);
}

}  // namespace

TradioInfo ModelOfImage(const EEPROM& image) {
  TradioInfo info;
  const int id = image.GetWord(0);  // "Product ID" is at 0 on every model
  info.SelectModel(id < 0 ? kNoProductId : static_cast<uint32_t>(id));
  return info;
}

std::string ParamValue::Joined() const {
  if (decimal.empty()) return hex;
  return decimal + " (" + hex + ")";
}

ParamValue ParamValueAt(const EEPROM& image, int address, const ParamShape& shape) {
  ParamValue v;
  switch (shape.kind) {
    case ParamKind::Byte: {
      const int b = image.GetByte(address);
      v.decimal = std::to_string(b);
      v.hex = Format("0x%02lX", b);
      break;
    }
    case ParamKind::Word: {
      const int w = image.GetWord(address);
      v.decimal = std::to_string(w);
      v.hex = Format("0x%04lX", w);
      break;
    }
    case ParamKind::BitArray:
    case ParamKind::Bytes:
      for (int i = 0; i < shape.size; ++i)
        v.hex += (i ? " " : "") + Format("%02lX", image.GetByte(address + i));
      break;
    case ParamKind::RxRecords:
      v.hex = Format("%ld records, decoded below", kRxOnlyChannelCount);
      break;
  }
  return v;
}

std::vector<RxChannel> RxChannels(const EEPROM& image, const TradioInfo& info) {
  std::vector<RxChannel> out;
  uint8_t bits[4][kChannelBitArraySize];
  for (int k = 0; k < 4; ++k) {
    const int base = info.GetParamAddress(kMemberships[k].param);
    for (int i = 0; i < kChannelBitArraySize; ++i)
      bits[k][i] = base < 0 ? 0 : static_cast<uint8_t>(image.GetByte(base + i));
  }
  for (int m = 0; m < kRxOnlyChannelCount; ++m) {
    RxChannel c;
    c.record = m;
    if (image.GetRxChannel(info, m, c.data) < 0) break;
    for (int k = 0; k < 4; ++k)
      if (TestBit(kFirstRxBit + m, bits[k])) c.data.flags |= kMemberships[k].flag;
    out.push_back(c);
  }
  return out;
}

std::string RxBankText(const TradioInfo& info, int record) {
  if (!TradioInfo::HasRxBanks(ModelTableRow(info.modelIndex).productId)) return "-";
  return std::string("RX-") + static_cast<char>('A' + record / kRxBankSize);
}

int RxChannelNumber(int record) { return kFirstRxChannelNumber + record % kRxBankSize; }

std::string RxChannelText(const RX_CH_DATA_STRUCT& ch) {
  char freq[32];
  std::snprintf(freq, sizeof freq, "%8.4f MHz", ch.frequency / 1e6);
  std::string text = std::string(freq) + "  \"" + ch.alphaTag + "\"";
  for (const Membership& m : kMemberships) text += std::string(" ") + ((ch.flags & m.flag) ? m.name : "-");
  return text;
}

std::vector<std::string> DumpLines(const EEPROM& image) {
  const TradioInfo info = ModelOfImage(image);
  std::vector<std::string> lines{ModelLine(image, info), "",
                                 "Parameters (index, name, address, decimal, hexadecimal):"};
  // No radio has been asked: a model whose tone set hangs on its firmware
  // version counts as the oldest.
  const ToneOrder toneOrder =
      ToneOrderOfImage(image, info, ModelTableRow(info.modelIndex).productId, -1);
  for (int i = 0; i < kParamCount; ++i) {
    const int address = info.GetParamAddress(i);
    if (address < 0) continue;
    std::string line = ParamLine(i, ParamName(i), address, ParamValueAt(image, address, ShapeOf(i)));
    if (IsToneParam(i)) line += "  " + ToneText(image.GetByte(address), toneOrder);
    lines.push_back(line);
  }
  lines.push_back("");
  const std::vector<RxChannel> channels = RxChannels(image, info);
  if (channels.empty()) {
    lines.push_back("Receive-only channels: none on this model");
    return lines;
  }
  lines.push_back("Receive-only channels (record, bank, channel, frequency, alpha tag, memberships):");
  int shown = 0;
  for (const RxChannel& c : channels) {
    if (c.data.frequency == 0) continue;
    lines.push_back(RxLine(info, c));
    ++shown;
  }
  if (shown == 0) lines.push_back("  (none has a frequency)");
  return lines;
}

std::vector<std::string> DiffLines(const EEPROM& a, const EEPROM& b) {
  const TradioInfo infoA = ModelOfImage(a), infoB = ModelOfImage(b);
  std::vector<std::string> lines;
  std::vector<bool> explained(static_cast<size_t>(std::max(a.GetLength(), b.GetLength())), false);

  for (int i = 0; i < kParamCount; ++i) {
    const ParamShape shape = ShapeOf(i);
    if (shape.kind == ParamKind::RxRecords) continue;  // compared channel by channel below
    const int addrA = infoA.GetParamAddress(i), addrB = infoB.GetParamAddress(i);
    if (addrA < 0 && addrB < 0) continue;
    const std::string va = addrA < 0 ? "(absent)" : ParamValueAt(a, addrA, shape).Joined();
    const std::string vb = addrB < 0 ? "(absent)" : ParamValueAt(b, addrB, shape).Joined();
    if (va == vb) continue;
    lines.push_back(std::string(ParamName(i)) + ": " + va + " -> " + vb);
    MarkExplained(explained, addrA, shape.size);
    MarkExplained(explained, addrB, shape.size);
  }

  const std::vector<RxChannel> chA = RxChannels(a, infoA), chB = RxChannels(b, infoB);
  const int records = static_cast<int>(std::max(chA.size(), chB.size()));
  for (int m = 0; m < records; ++m) {
    const bool inA = m < static_cast<int>(chA.size()), inB = m < static_cast<int>(chB.size());
    if (inA && inB && SameChannel(chA[static_cast<size_t>(m)].data, chB[static_cast<size_t>(m)].data))
      continue;
    const TradioInfo& named = inA ? infoA : infoB;
    lines.push_back("Rx-only channel " + std::to_string(m) + " (" + RxBankText(named, m) + " " +
                    std::to_string(RxChannelNumber(m)) + "): " + ChannelOrEmpty(chA, m) + " -> " +
                    ChannelOrEmpty(chB, m));
    for (const TradioInfo* info : {&infoA, &infoB}) {
      const int base = info->GetParamAddress(kParamRxOnlyChannels);
      if (base >= 0) MarkExplained(explained, base + kRxChannelRecordSize * m, kRxChannelRecordSize);
    }
  }

  // Bytes no name accounts for: calibration gaps, selcall data, an empty
  // channel's stored word. Runs of them are given by address.
  const int length = static_cast<int>(explained.size());
  for (int i = 0; i < length;) {
    if (explained[static_cast<size_t>(i)] || a.GetByte(i) == b.GetByte(i)) {
      ++i;
      continue;
    }
    int end = i;
    while (end + 1 < length && !explained[static_cast<size_t>(end + 1)] &&
           a.GetByte(end + 1) != b.GetByte(end + 1))
      ++end;
    if (end == i)
      lines.push_back("byte " + Address(i) + ": " + ParamValueAt(a, i, {}).Joined() + " -> " +
                      ParamValueAt(b, i, {}).Joined());
    else
      lines.push_back("bytes " + Address(i) + ".." + Address(end) + ": " +
                      std::to_string(end - i + 1) + " bytes differ");
    i = end + 1;
  }
  return lines;
}
