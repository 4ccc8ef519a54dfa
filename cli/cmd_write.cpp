// write, with the dealer's safety nets: a backup read before anything is
// written, the radio's own calibration kept, and a read-back that proves
// the radio stored what was sent.

#include <optional>

#include "calibration.h"
#include "commands.h"
#include "groups.h"
#include "groupwrite.h"
#include "portmap.h"
#include "radioinfo.h"
#include "excerpt.h"
#include "imagetext.h"
#include "interrupt.h"
#include "memfile.h"
#include "params.h"
#include "session.h"
#include "userfile.h"

bool LoadWholeFile(Session& s, const std::string& file) {
  const MemFileResult loaded = CheckedLoadMemFile(s.image, s.info, s.build.modelFlag, file);
  if (loaded.status == MemFileStatus::OpenFailed) {
    s.host.ShowMessage(MessageWithReason(loaded), loaded.caption, PromptIcon::Warning);
    return false;
  }
  // The window would let a short file fill the rest with erased bytes and
  // write those over the radio's configuration; unseen on a terminal, it
  // is refused instead.
  if (loaded.fileSize != static_cast<uint64_t>(s.image.GetLength())) {
    Say(ShownPath(file) + " is not a whole memory image (" + std::to_string(loaded.fileSize) +
        " bytes, " + std::to_string(s.image.GetLength()) + " expected): nothing written");
    return false;
  }
  // A wrong model is said here as the window says it on loading; the write
  // command's own check then refuses the file.
  if (loaded.status == MemFileStatus::WrongRadioType)
    s.host.ShowMessage(loaded.message, loaded.caption, PromptIcon::Warning);
  if (s.build.AllModels()) s.info.SelectModel(loaded.productId);
  return true;
}

namespace {

// Reads the whole radio into `radio` (it is kept in the read archive) and,
// when `path` is given, also saves it there. False, with the reason said,
// when either step fails.
bool BackUp(Session& s, EEPROM& radio, const std::string& path) {
  const bool started = s.flows.ReadRadioAside(radio);
  if (!TransferCompleted(s, started)) {
    Say("the read before the write failed: nothing written");
    return false;
  }
  if (!s.flows.LastArchivedPath().empty())
    Tell("the radio as it was is kept in " + ShownPath(s.flows.LastArchivedPath()));
  if (path.empty()) return true;
  std::string why;
  if (!SaveUserFile(path, radio.Data(), static_cast<size_t>(radio.GetLength()), why)) {
    Say("Unable to write file " + ShownPath(path) + ": " + why + "; nothing written");
    return false;
  }
  Tell("backed up the radio into " + ShownPath(path));
  return true;
}

// Reads the radio back and names every parameter that is not as written.
bool Verify(Session& s) {
  const EEPROM written = s.image;
  const bool started = s.flows.ReadRadio();
  if (!TransferCompleted(s, started)) {
    Say("verify: the radio could not be read back");
    return false;
  }
  const std::vector<std::string> lines = DiffLines(written, s.image);
  if (lines.empty()) {
    Tell("verify: the radio holds what was written");
    return true;
  }
  Say("verify failed: the radio differs from what was written (written -> radio):");
  for (const std::string& line : lines) std::fprintf(stderr, "  %s\n", line.c_str());
  return false;
}

// The way back after a write that went wrong.
std::string RestoreHint(const Session& s, const std::string& backupPath) {
  if (backupPath.empty()) return "";
  return "put the radio back as it was with: vornprog restore --port " +
         PortMap::ComName(s.state.portNumber) + " " + ShownPath(backupPath);
}

// "--only a,b": the groups named, or none with `error` set.
std::optional<GroupSet> ParseGroups(const std::string& list, std::string& error) {
  GroupSet groups;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string key = list.substr(start, comma == std::string::npos ? comma : comma - start);
    const std::optional<ImageGroup> group = FindGroup(key);
    if (!group) {
      error = "unknown group " + QuotedExcerpt(key, kQuotedArgumentChars) + "; the groups are " +
              GroupKeyList();
      return std::nullopt;
    }
    groups = groups.With(*group);
    if (comma == std::string::npos) return groups;
    start = comma + 1;
  }
}

const char* const kGroupOptions[] = {"only", "except", "changed-from"};

// Which groups --only, --except or --changed-from choose; none given:
// the whole image (nullopt with no error).
std::optional<GroupSet> ChosenGroups(const ParsedArgs& args, const ImageGroupMap& map,
                                     const EEPROM& file, std::string& error) {
  int given = 0;
  for (const char* name : kGroupOptions) given += args.Has(name) ? 1 : 0;
  if (given > 1) {
    error = "--only, --except and --changed-from exclude each other";
    return std::nullopt;
  }
  if (args.Has("only")) return ParseGroups(args.Get("only"), error);
  if (args.Has("except")) {
    const std::optional<GroupSet> except = ParseGroups(args.Get("except"), error);
    if (!except) return std::nullopt;
    return GroupSet::All().Minus(*except);
  }
  if (!args.Has("changed-from")) return std::nullopt;
  const std::string basePath = args.Get("changed-from");
  EEPROM base;
  TradioInfo baseInfo;
  const MemFileResult loaded = CheckedLoadMemFile(base, baseInfo, kAllModelsFlag, basePath);
  if (loaded.status == MemFileStatus::OpenFailed) {
    error = MessageWithReason(loaded);
    return std::nullopt;
  }
  if (loaded.fileSize != static_cast<uint64_t>(base.GetLength())) {
    error = ShownPath(basePath) + " is not a whole memory image";
    return std::nullopt;
  }
  return ChangedGroups(map, base.Data(), file.Data());
}

int WriteChosenGroups(Session& s, const std::string& file, GroupSet groups) {
  const ImageGroupMap& map = ImageGroupMap::ForModel(s.info.modelIndex);
  if (groups.Empty()) {
    Tell("no group to write: nothing written");
    return kExitOk;
  }
  const GroupWriteReport report = WriteGroups(s.flows, s.image, map, groups);
  using E = GroupWriteReport::Ending;
  if (report.ending == E::kWritten || report.ending == E::kNothingToWrite) {
    Tell(report.Summary() + " (from " + ShownPath(file) + ")");
    return kExitOk;
  }
  if (report.ending != E::kNotStarted) Say(report.Summary());
  const std::string hint = RestoreHint(s, report.backupPath);
  if (!hint.empty() && report.ending != E::kNotStarted) Say(hint);
  return kExitFailure;
}

}  // namespace

int RunWrite(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("write", error);
  const std::string file = args.operands[0];
  const std::string backup = args.Get("backup");
  if (args.Has("no-backup") && !backup.empty())
    return UsageError("write", "--backup and --no-backup exclude each other");
  if (!backup.empty() && !OutputWritable(backup, error)) {
    Say(error + "; nothing written");
    return kExitFailure;
  }
  // The backup would replace the very file about to be written with the
  // radio's old memory, however the two paths are spelt.
  if (!backup.empty() && SameFile(backup, file)) {
    Say("the backup " + ShownPath(backup) + " is the file to be written, " + ShownPath(file) +
        "; nothing written");
    return kExitFailure;
  }
  if (!LoadWholeFile(s, file)) return kExitFailure;
  std::optional<GroupSet> groups =
      ChosenGroups(args, ImageGroupMap::ForModel(s.info.modelIndex), s.image, error);
  if (!error.empty()) return UsageError("write", error);
  if (groups && args.Has("keep-calibration"))
    *groups = groups->Minus(GroupSet().With(ImageGroup::kCalibration).With(ImageGroup::kIdentity));

  s.host.SetAssumeYes(args.Has("yes"));
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;
  if (groups) return WriteChosenGroups(s, file, *groups);

  const EEPROM fromFile = s.image;
  EEPROM radio;
  uint8_t calibration[kCalibrationBytes] = {};
  const bool backedUp = !args.Has("no-backup");
  if (backedUp) {
    // The check the write makes, before the read: a radio of another model
    // is not worth reading.
    if (!s.flows.CheckRadioFor(fromFile)) return kExitFailure;
    if (!BackUp(s, radio, backup)) return kExitFailure;
    radio.ReadBlock(0, calibration, kCalibrationBytes);
  } else if (args.Has("keep-calibration") && !ReadRadioCalibration(s.radio, calibration)) {
    Say("the radio's calibration could not be read: nothing written");
    return kExitFailure;
  }
  if (args.Has("keep-calibration")) KeepCalibration(s.image, calibration, s.info);

  const std::string backupPath = !backup.empty() ? backup : s.flows.LastArchivedPath();
  s.flows.SetRestorePath(backedUp ? backupPath : "");
  const bool started = s.flows.WriteRadio();
  if (!TransferCompleted(s, started)) {
    if (backedUp && s.flows.LastOutcome().number != 0) Say(RestoreHint(s, backupPath));
    return kExitFailure;
  }
  Tell("wrote " + ShownPath(file) + " into the radio");
  if (s.flows.LastOutcome().resetFailed) return kExitFailure;
  if (args.Has("verify") && !Verify(s)) return kExitFailure;
  return kExitOk;
}
