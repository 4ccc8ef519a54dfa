// read, write and info: the programmer's own commands run on a terminal.

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "commands.h"
#include "firmware.h"
#include "interrupt.h"
#include "memfile.h"
#include "session.h"

namespace {

namespace fs = std::filesystem;

// Finds out before the radio is touched whether the mem-file could be
// saved at all, so a typo does not cost a whole transfer.
bool OutputWritable(const std::string& path, std::string& why) {
  std::error_code ec;
  const fs::path target(path);
  if (fs::is_directory(target, ec)) {
    why = path + " is a directory";
    return false;
  }
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(dir, ec)) {
    why = "no folder " + dir.string();
    return false;
  }
  if (access(dir.c_str(), W_OK) != 0) {
    why = "cannot write into " + dir.string();
    return false;
  }
  return true;
}

// Ends a transfer command: lets the worker finish, runs the closing steps
// and tells whether the whole image went across.
bool TransferCompleted(Session& s, bool started) {
  s.flows.FinishPreviousTransfer();
  if (!started) return false;
  const TransferOutcome outcome = s.flows.LastOutcome();
  return outcome.number != 0 && outcome.result == kTransferCompleted;
}

int Usage(const char* command, const std::string& error) {
  std::fprintf(stderr, "vornprog %s: %s\nTry 'vornprog %s --help'.\n", command, error.c_str(),
               command);
  return kExitUsage;
}

}  // namespace

int RunRead(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return Usage("read", error);
  const std::string output = args.Get("output");
  if (!OutputWritable(output, error)) {
    Say(error + ": nothing read");
    return kExitFailure;
  }
  // The window's warning guards edit data; a fresh session has none.
  s.host.PreAnswer("Read From Radio?");
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;
  const bool started = s.flows.ReadRadio();
  if (!TransferCompleted(s, started)) {
    Say(output + " not written");
    return kExitFailure;
  }
  if (s.image.SaveToFile(output.c_str()) != s.image.GetLength()) {
    Say("Unable to write file " + output);
    return kExitFailure;
  }
  Say("read " + std::to_string(s.image.GetLength()) + " bytes into " + output);
  // The image is whole, but a radio that missed its reset is still in
  // programming mode: the command did not end cleanly.
  return s.flows.LastOutcome().resetFailed ? kExitFailure : kExitOk;
}

int RunWrite(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return Usage("write", error);
  const std::string file = args.operands[0];

  const MemFileResult loaded = CheckedLoadMemFile(s.image, s.info, s.build.modelFlag, file);
  if (loaded.status == MemFileStatus::OpenFailed) {
    s.host.ShowMessage(loaded.message, loaded.caption, PromptIcon::Warning);
    return kExitFailure;
  }
  // The window would let a short file fill the rest with erased bytes and
  // write those over the radio's configuration; unseen on a terminal, it
  // is refused instead.
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size != static_cast<uintmax_t>(s.image.GetLength())) {
    Say(file + " is not a whole memory image (" + (ec ? std::string("size unknown") : std::to_string(size) + " bytes") +
        ", " + std::to_string(s.image.GetLength()) + " expected): nothing written");
    return kExitFailure;
  }
  // A wrong model is said here as the window says it on loading; the write
  // command's own check then refuses the file.
  if (loaded.status == MemFileStatus::WrongRadioType)
    s.host.ShowMessage(loaded.message, loaded.caption, PromptIcon::Warning);
  if (s.build.AllModels()) s.info.SelectModel(loaded.productId);

  s.host.SetAssumeYes(args.Has("yes"));
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;
  const bool started = s.flows.WriteRadio();
  if (!TransferCompleted(s, started)) return kExitFailure;
  Say("wrote " + file + " into the radio");
  return s.flows.LastOutcome().resetFailed ? kExitFailure : kExitOk;
}

int RunInfo(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return Usage("info", error);
  if (!s.PortCheck()) return kExitFailure;
  const FirmwareInfo fw = ReadFirmwareInfo(s.radio, s.info, s.build);
  if (!fw.ok) {
    s.host.ShowMessage(kFirmwareFailText, kFirmwareFailCaption, PromptIcon::Warning);
    return kExitFailure;
  }
  std::printf("Radio Type: %s\nProduct ID: %s\nPCB Rev.: %s\nFirmware: %s\n", fw.radioType.c_str(),
              fw.productId.c_str(), fw.pcbRev.c_str(), fw.firmware.c_str());
  if (fw.productId.empty()) {
    Say("the radio's product ID could not be read");
    return kExitFailure;
  }
  return kExitOk;
}
