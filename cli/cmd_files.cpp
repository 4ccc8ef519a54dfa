// dump, diff and report: mem-files as text, without a radio.

#include <clocale>
#include <cstdio>
#include <ctime>

#include "buildconfig.h"
#ifdef VORN_CONFIG_TEXT
#include "configtext.h"
#endif
#include "commands.h"
#include "eeprom.h"
#include "excerpt.h"
#include "imagetext.h"
#include "memfile.h"
#include "radioinfo.h"
#include "report.h"
#include "reportpages.h"
#include "session.h"

namespace {

// A side of a diff: a mem-file, or a configuration text (.yaml, .yml)
// made into its image.
bool LoadDiffSide(const std::string& path, EEPROM& image) {
#ifdef VORN_CONFIG_TEXT
  if (!IsConfigTextName(path)) return LoadAnyModelImage(path, image);
  ConfigTextError error;
  if (ImportConfigTextFile(path, nullptr, image, error)) return true;
  Say(error.Text(ShownPath(path)));
  return false;
#else
  return LoadAnyModelImage(path, image);
#endif
}

// After the listing: a file whose product ID names no model is most
// likely no mem-file at all, and a script must notice.
int ListedStatus(const std::string& path, const EEPROM& image) {
  if (ModelOfImage(image).modelIndex != 0) return kExitOk;
  const int id = image.GetWord(0);
  Say(ShownPath(path) + ": product ID " + HexId(id < 0 ? kNoProductId : static_cast<uint32_t>(id)) +
      " names no model; is it a mem-file?");
  return kExitFailure;
}

void Print(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

// Today as the report dates it, the month named in the user's locale.
std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::string previous = std::setlocale(LC_TIME, nullptr);
  std::setlocale(LC_TIME, "");
  char month[64] = "";
  std::strftime(month, sizeof month, "%b", &local);
  std::setlocale(LC_TIME, previous.c_str());
  return ReportDateText(local.tm_mday, month, local.tm_year + 1900);
}

// The switches the window's boxes stand for; a box the build's model does
// not show is never ticked, and saying so beats silence.
ReportOptions ReportOptionsOf(const ParsedArgs& args, const BuildConfig& build) {
  const ReportOptions asked{args.Has("calibration"), args.Has("rx-channels"), args.Has("selcall")};
  const ReportOptionsShown shown = ReportOptionsShown::For(build.productId);
  if (asked.rxChannels && !shown.rxChannels)
    Say("--rx-channels ignored: the " + build.modelName + " has no receive-only channels");
  if (asked.selcallMemories && !shown.selcallMemories)
    Say("--selcall ignored: the " + build.modelName + " has no selcall memories");
  return shown.Limit(asked);
}

}  // namespace

int RunDump(const ParsedArgs& args) {
  EEPROM image;
  if (!LoadAnyModelImage(args.operands[0], image)) return kExitFailure;
  Print(DumpLines(image));
  return ListedStatus(args.operands[0], image);
}

int RunDiff(const ParsedArgs& args) {
  EEPROM a, b;
  // Trouble is 2, as diff(1) has it: 1 already means "they differ".
  if (!LoadDiffSide(args.operands[0], a) || !LoadDiffSide(args.operands[1], b)) return kExitUsage;
  const std::vector<std::string> lines = DiffLines(a, b);
  Print(lines);
  return lines.empty() ? kExitOk : kExitFailure;
}

int RunReport(const ParsedArgs& args) {
  const BuildConfig& build = CompiledBuildConfig();
  const std::string& path = args.operands[0];
  // The model row is the one the window would work with after reading the
  // file: the build's own, or the file's in the all-models build.
  TradioInfo info;
  info.SelectModel(build.productId);
  EEPROM image;
  const MemFileResult loaded = CheckedLoadMemFile(image, info, build.modelFlag, path);
  if (loaded.status == MemFileStatus::OpenFailed) {
    Say(loaded.caption + ": " + MessageWithReason(loaded));
    return kExitFailure;
  }
  // As in the window, the bytes are reported even when the model is wrong.
  if (loaded.status == MemFileStatus::WrongRadioType) Say(loaded.caption + ": " + loaded.message);
  const std::string note = MemFileSizeNote(path, loaded.fileSize, image.GetLength());
  if (!note.empty()) Say(note);
  if (build.AllModels()) info.SelectModel(loaded.productId);

  ReportSource source;
  source.state = 1;
  source.fileName = path;
  const std::vector<std::string> lines =
      ReportLines(image, info, build, source, ReportOptionsOf(args, build), Today());
  if (!args.Has("pdf")) {
    Print(lines);
    return ListedStatus(path, image);
  }
  std::string reason;
  if (!SaveReportPdf(args.Get("pdf"), lines, reason)) {
    Say("Unable to write file " + ShownPath(args.Get("pdf")) + ": " + reason);
    return kExitFailure;
  }
  return ListedStatus(path, image);
}
