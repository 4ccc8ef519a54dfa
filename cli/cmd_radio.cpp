// read and info: the programmer's own commands run on a terminal.

#include "commands.h"
#include "excerpt.h"
#include "firmware.h"
#include "interrupt.h"
#include "progress.h"
#include "session.h"
#include "userfile.h"

int RunRead(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("read", error);
  const std::string output = args.Get("output");
  if (!OutputWritable(output, error)) {
    Say(error + "; nothing read");
    return kExitFailure;
  }
  // The window's warning guards edit data; a fresh session has none.
  s.host.PreAnswer(QuestionId::kReadOverEditData);
  InterruptGuard interrupt;
  if (!s.PortCheck()) return kExitFailure;
  const bool started = s.flows.ReadRadio();
  if (!TransferCompleted(s, started)) {
    Say(ShownPath(output) + " not written");
    return kExitFailure;
  }
  std::string why;
  if (!SaveUserFile(output, s.image.Data(), static_cast<size_t>(s.image.GetLength()), why)) {
    Say("Unable to write file " + ShownPath(output) + ": " + why);
    return kExitFailure;
  }
  Tell("read " + std::to_string(s.image.GetLength()) + " bytes into " + ShownPath(output));
  // The image is whole, but a radio that missed its reset is still in
  // programming mode: the command did not end cleanly.
  if (!s.flows.LastOutcome().resetFailed) return kExitOk;
  Say(UnresetReadText(ShownPath(output)));
  return kExitFailure;
}

int RunInfo(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("info", error);
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
