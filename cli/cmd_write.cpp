// write, with the dealer's safety nets: a backup read before anything is
// written, the radio's own calibration kept, and a read-back that proves
// the radio stored what was sent.

#include "calibration.h"
#include "commands.h"
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

// Reads the whole radio and saves it at path; s.image then holds the
// radio's memory. False, with the reason said, when either step fails.
bool BackUp(Session& s, const std::string& path) {
  const bool started = s.flows.ReadRadio();
  if (!TransferCompleted(s, started)) {
    Say("the backup read failed: nothing written");
    return false;
  }
  std::string why;
  if (!SaveUserFile(path, s.image.Data(), static_cast<size_t>(s.image.GetLength()), why)) {
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

}  // namespace

int RunWrite(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("write", error);
  const std::string file = args.operands[0];
  const std::string backup = args.Get("backup");
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

  s.host.SetAssumeYes(args.Has("yes"));
  // The safety reads replace no edit data: the file is held aside.
  s.host.PreAnswer(QuestionId::kReadOverEditData);
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;

  const EEPROM fromFile = s.image;
  uint8_t calibration[kCalibrationBytes] = {};
  if (!backup.empty()) {
    if (!BackUp(s, backup)) return kExitFailure;
    s.image.ReadBlock(0, calibration, kCalibrationBytes);
    s.image.WriteBlock(0, fromFile.Data(), fromFile.GetLength());
  } else if (args.Has("keep-calibration") && !ReadRadioCalibration(s.radio, calibration)) {
    Say("the radio's calibration could not be read: nothing written");
    return kExitFailure;
  }
  if (args.Has("keep-calibration")) KeepCalibration(s.image, calibration, s.info);

  s.flows.SetRestorePath(backup);
  const bool started = s.flows.WriteRadio();
  if (!TransferCompleted(s, started)) return kExitFailure;
  Tell("wrote " + ShownPath(file) + " into the radio");
  if (s.flows.LastOutcome().resetFailed) return kExitFailure;
  if (args.Has("verify") && !Verify(s)) return kExitFailure;
  return kExitOk;
}
