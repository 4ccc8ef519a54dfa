#include "groupwrite.h"

#include <cstdio>
#include <cstring>

#include "transferflows.h"
#include "transferworker.h"

namespace {

constexpr int kBlockCount = kImageSize / kBlockSize;
const GroupSet kRadiosOwn =
    GroupSet().With(ImageGroup::kCalibration).With(ImageGroup::kIdentity);

bool Completed(TransferFlows& flows, bool started) {
  flows.FinishPreviousTransfer();
  return started && flows.LastOutcome().number != 0 &&
         flows.LastOutcome().result == kTransferCompleted;
}

// Which changed groups a write cut at `stoppedAt` carried whole or in part.
void SortByCut(const ImageGroupMap& map, const EEPROM& radio, const EEPROM& merged, int stoppedAt,
               GroupWriteReport& report) {
  for (ImageGroup g : report.changed.Members()) {
    bool before = false, after = false;
    for (int a = 0; a < kImageSize; ++a) {
      if (((radio.Data()[a] ^ merged.Data()[a]) & map.Mask(g, a)) == 0) continue;
      (a < stoppedAt ? before : after) = true;
    }
    if (before && !after) report.writtenWhole = report.writtenWhole.With(g);
    if (before && after) report.partlyWritten = report.partlyWritten.With(g);
  }
}

GroupWriteReport WriteMerged(TransferFlows& flows, const EEPROM& config, const ImageGroupMap& map,
                             GroupSet groups) {
  GroupWriteReport report;
  report.groups = groups;
  if (!flows.PortCheck() || !flows.CheckRadioFor(config)) return report;
  EEPROM radio;
  if (!Completed(flows, flows.ReadRadioAside(radio))) return report;
  report.backupPath = flows.LastArchivedPath();

  uint8_t bytes[kImageSize];
  std::memcpy(bytes, radio.Data(), kImageSize);
  MergeGroups(map, groups, config.Data(), bytes);
  EEPROM merged;
  merged.WriteBlock(0, bytes, kImageSize);
  report.changed = ChangedGroups(map, radio.Data(), merged.Data());
  const std::vector<bool> blocks = DifferingBlocks(radio, merged);
  report.blocks = CountBlocks(blocks);
  if (report.blocks == 0) {
    report.ending = GroupWriteReport::Ending::kNothingToWrite;
    return report;
  }
  if (!Completed(flows, flows.WriteImage(merged, blocks))) {
    report.ending = GroupWriteReport::Ending::kCutShort;
    const int stoppedAt = flows.LastOutcome().number != 0 ? flows.LastOutcome().stoppedAt : 0;
    SortByCut(map, radio, merged, stoppedAt < 0 ? 0 : stoppedAt, report);
    return report;
  }
  EEPROM back = radio;
  if (!Completed(flows, flows.ReadBlocks(back, blocks))) {
    report.ending = GroupWriteReport::Ending::kVerifyFailed;
    report.mismatched.push_back(-1);
    return report;
  }
  for (int b = 0; b < kBlockCount; ++b)
    if (blocks[static_cast<size_t>(b)] &&
        std::memcmp(back.Data() + b * kBlockSize, merged.Data() + b * kBlockSize, kBlockSize) != 0)
      report.mismatched.push_back(b * kBlockSize);
  report.ending = report.mismatched.empty() ? GroupWriteReport::Ending::kWritten
                                            : GroupWriteReport::Ending::kVerifyFailed;
  return report;
}

std::string Plural(int n, const char* one) {
  return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

std::string Hex(int address) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", address);
  return text;
}

}  // namespace

std::vector<bool> DifferingBlocks(const EEPROM& a, const EEPROM& b) {
  std::vector<bool> blocks(kBlockCount, false);
  for (int i = 0; i < kBlockCount; ++i)
    blocks[static_cast<size_t>(i)] =
        std::memcmp(a.Data() + i * kBlockSize, b.Data() + i * kBlockSize, kBlockSize) != 0;
  return blocks;
}

int CountBlocks(const std::vector<bool>& blocks) {
  int n = 0;
  for (bool b : blocks) n += b ? 1 : 0;
  return n;
}

GroupWriteReport WriteGroups(TransferFlows& flows, const EEPROM& config, const ImageGroupMap& map,
                             GroupSet groups) {
  return WriteMerged(flows, config, map, groups);
}

GroupWriteReport RestoreRead(TransferFlows& flows, const EEPROM& read, const ImageGroupMap& map) {
  return WriteMerged(flows, read, map, GroupSet::All());
}

std::string GroupWriteReport::Summary() const {
  using E = Ending;
  // Said whenever they change: a read of another radio brings its
  // alignment along.
  const std::string kept = changed.Meets(kRadiosOwn) && ending != E::kNotStarted
                               ? " The radio's calibration or identity changed with them."
                               : "";
  switch (ending) {
    case E::kWritten:
      return changed.Titles() + " written: " + Plural(blocks, "block") + ", verified." + kept;
    case E::kNothingToWrite:
      return "The radio already holds " + groups.Titles() + ": nothing written." + kept;
    case E::kNotStarted:
      return "Nothing was written.";
    case E::kCutShort: {
      const GroupSet notWritten = changed.Minus(writtenWhole).Minus(partlyWritten);
      std::string text = "The write stopped part way.";
      if (!writtenWhole.Empty()) text += " Written whole: " + writtenWhole.Titles() + ".";
      if (!partlyWritten.Empty()) text += " Written in part: " + partlyWritten.Titles() + ".";
      if (!notWritten.Empty()) text += " Not written: " + notWritten.Titles() + ".";
      return text + kept;
    }
    case E::kVerifyFailed: {
      if (!mismatched.empty() && mismatched.front() < 0)
        return changed.Titles() + " written (" + Plural(blocks, "block") +
               "), but the radio could not be read back to verify them.";
      std::string at;
      for (int a : mismatched) at += (at.empty() ? "" : ", ") + Hex(a);
      return changed.Titles() + " written, but the radio differs from what was sent in " +
             Plural(static_cast<int>(mismatched.size()), "block") + " (at " + at + ").";
    }
  }
  return "";
}
