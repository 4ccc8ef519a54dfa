// The channel-list import under arbitrary files, with and without banks,
// through ImportChannelsCsv as vornprog channels --import and the window
// use it: a refused list changes nothing and says why in a short line; an
// accepted one holds only channels the editor allows, leaves slot 19 and
// the banks it does not replace alone, counts what it holds and removes,
// and exports back to the same rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_memory_file.h"
#include "rxchannels.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

RxChannelList StartingList() {
  RxChannelList list;
  for (int n = 0; n < kRxOnlyChannelCount; n += 3) {
    list.records[n].frequency = 470000000u + 12500u * static_cast<uint32_t>(n);
    list.records[n].alphaTag = "OLD";
    list.records[n].flags = static_cast<uint32_t>(n) & 15u;
  }
  return list;
}

bool SameRecord(const RX_CH_DATA_STRUCT& a, const RX_CH_DATA_STRUCT& b) {
  return a.frequency == b.frequency && a.alphaTag == b.alphaTag && a.flags == b.flags;
}

bool SameRecords(const RxChannelList& a, const RxChannelList& b) {
  for (int n = 0; n < kRxOnlyChannelCount; ++n)
    if (!SameRecord(a.records[n], b.records[n])) return false;
  return true;
}

bool ReadableReason(const std::string& reason) {
  if (reason.empty() || reason.size() > 400) return false;
  for (char c : reason)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

bool AllowedChannel(const RX_CH_DATA_STRUCT& r) {
  if (r.frequency == 0) return r.alphaTag.empty() && r.flags == 0;
  if (r.frequency % kRxChannelStepHz != 0 || r.frequency > kRxMaxFrequencyHz) return false;
  if (r.alphaTag.size() > static_cast<size_t>(kAlphaTagLength) || r.flags > 15) return false;
  for (char c : r.alphaTag)
    if (AlphaTagKey(c) != c) return false;
  return true;
}

int Lines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

void CheckImport(const std::string& path, size_t size, bool banks) {
  const RxChannelList start = StartingList();
  RxChannelList list = start;
  const ChannelImport done = ImportChannelsCsv(path, banks, list);
  if (size > kMaxChannelListBytes) Check(!done.refused.empty() && done.faults.empty());
  if (!done.Ok()) {
    Check(SameRecords(list, start));
    Check(done.refused.empty() || ReadableReason(done.refused));
    for (const CsvFault& f : done.faults) Check(f.line >= 0 && ReadableReason(f.reason));
    return;
  }
  const int replaced = banks ? kRxBankCount : 1;
  int held = 0;
  int removed = 0;
  for (int n = 0; n < kRxOnlyChannelCount; ++n) {
    if (IsReservedRxSlot(n) || n / kRxSlotsPerBank >= replaced) {
      Check(SameRecord(list.records[n], start.records[n]));
      continue;
    }
    Check(AllowedChannel(list.records[n]));
    held += list.records[n].frequency != 0;
    removed += start.records[n].frequency != 0 && list.records[n].frequency == 0;
  }
  Check(done.channels == held && done.removed == removed);
  // One row a channel, after the header.
  const std::string csv = ChannelsCsv(list, banks);
  Check(Lines(csv) == 1 + held);
  RxChannelList again = start;
  Check(ChannelsFromCsv(csv, banks, again).empty());
  Check(SameRecords(again, list));
  Check(ChannelsCsv(again, banks) == csv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFileHolding(data, size);
  CheckImport(path, size, true);
  CheckImport(path, size, false);
  return 0;
}
