// restore and groups: putting an archived read back into the radio, and
// the groups of settings the write command's --only and --except name.

#include <strings.h>

#include <cstdio>

#include "buildconfig.h"
#include "commands.h"
#include "excerpt.h"
#include "groups.h"
#include "groupwrite.h"
#include "interrupt.h"
#include "memfile.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "restorelist.h"
#include "session.h"

namespace {

// The newest archived read of a model this build accepts; empty when none.
std::string NewestRead(const Session& s) {
  const std::vector<RestoreCandidate> reads = RestoreCandidates(s.archive, s.build.modelFlag);
  return reads.empty() ? std::string() : reads.front().path;
}

std::string Hex(int value, int digits) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// "0x0022-0x0029, 0x002A[34]": whole bytes as ranges, shared bytes with
// the group's bits.
std::string RangesText(const ImageGroupMap& map, ImageGroup group) {
  std::string text;
  for (const ByteRange& r : map.Ranges(group)) {
    int a = r.first;
    while (a <= r.last) {
      if (!text.empty()) text += ", ";
      const uint8_t mask = map.Mask(group, a);
      if (mask != 0xFF) {
        text += Hex(a, 4) + "[" + Hex(mask, 2).substr(2) + "]";
        ++a;
        continue;
      }
      int end = a;
      while (end + 1 <= r.last && map.Mask(group, end + 1) == 0xFF) ++end;
      text += end == a ? Hex(a, 4) : Hex(a, 4) + "-" + Hex(end, 4);
      a = end + 1;
    }
  }
  return text;
}

void PrintGroups(int row) {
  const ImageGroupMap& map = ImageGroupMap::ForModel(row);
  std::printf("%s\n", ModelTableRow(row).name);
  for (ImageGroup g : map.Present().Members())
    std::printf("  %-17s %-22s %s\n", std::string(GroupKey(g)).c_str(),
                std::string(GroupTitle(g)).c_str(), RangesText(map, g).c_str());
}

}  // namespace

int RunRestore(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("restore", error);
  if (args.Has("last") == !args.operands.empty())
    return UsageError("restore", "give either FILE or --last");
  std::string file = args.Has("last") ? NewestRead(s) : args.operands[0];
  if (file.empty()) {
    Say("no read of a " + s.build.modelName + " in the read archive " +
        ShownPath(s.archive.Folder()) + ": nothing written");
    return kExitFailure;
  }
  if (!LoadWholeFile(s, file)) return kExitFailure;
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;
  const GroupWriteReport report =
      RestoreRead(s.flows, s.image, ImageGroupMap::ForModel(s.info.modelIndex));
  using E = GroupWriteReport::Ending;
  const bool ok = report.ending == E::kWritten || report.ending == E::kNothingToWrite;
  if (report.ending == E::kNotStarted) return kExitFailure;
  (ok ? Tell : Say)("restore of " + ShownPath(file) + ": " + report.Summary());
  if (!ok && !report.backupPath.empty())
    Say("the radio as it was before the restore is kept in " + ShownPath(report.backupPath));
  return ok ? kExitOk : kExitFailure;
}

int RunGroups(const ParsedArgs& args) {
  const BuildConfig build = CompiledBuildConfig();
  if (args.Has("model")) {
    const std::string name = args.Get("model");
    std::string known;
    for (int row = 1; row < kModelCount; ++row) {
      if (strcasecmp(ModelTableRow(row).name, name.c_str()) == 0) {
        PrintGroups(row);
        return kExitOk;
      }
      known += std::string(known.empty() ? "" : ", ") + ModelTableRow(row).name;
    }
    return UsageError("groups", "no model is called " +
                                    QuotedExcerpt(name, kQuotedArgumentChars) + "; the models are " +
                                    known);
  }
  TradioInfo info;
  info.SelectModel(build.productId);
  if (!build.AllModels() && info.modelIndex > 0) {
    PrintGroups(info.modelIndex);
    return kExitOk;
  }
  for (int row = 1; row < kModelCount; ++row) PrintGroups(row);
  return kExitOk;
}
