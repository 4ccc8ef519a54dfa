#include "session.h"

#include <unistd.h>

#include "commands.h"
#include "excerpt.h"
#include "memfile.h"
#include "portmap.h"
#include "portmessages.h"
#include "userfile.h"

namespace {
ByteTrace* g_trace = nullptr;
bool g_quiet = false;
}  // namespace

void SetQuiet(bool quiet) { g_quiet = quiet; }

void Tell(const std::string& text) {
  if (!g_quiet) Say(text);
}

void UseTrace(ByteTrace* trace) { g_trace = trace; }

void Say(const std::string& text) { std::fprintf(stderr, "vornprog: %s\n", text.c_str()); }

Session::Session(const BuildConfig& b, std::FILE* messages)
    : SharedObjects(b.productId),
      build(b),
      archive(DefaultReadArchiveFolder(b.modelName)),
      host(messages, isatty(fileno(messages)) == 1),
      flows(RadioObjectsOf(*this, build), state, host, &window) {
  info.SelectModel(build.productId);
  host.Attach(flows, window, radio);
  // The engineering build's arrays mark starts as the window's menu does.
  state.arraysChecked = TradioInfo::HasArrayTransfer(build.productId);
  flows.SetReadArchive(&archive);
  if (g_trace) port.SetTrace(g_trace);
  host.SetQuiet(g_quiet);
}

bool Session::UsePort(const std::string& portText, std::string& error) {
  int number = PortMap::ParseComName(portText);
  if (number == 0 && portText.find('/') != std::string::npos) {
    // A device the map already names keeps its own COM number.
    number = port.Ports().NumberOf(portText);
    if (number == 0) number = port.Ports().AddExtraDevice(portText);
  }
  if (number <= 0) {
    error = "PORT must be COM1 to COM256 or a device path, not " +
            QuotedExcerpt(portText, kQuotedArgumentChars);
    return false;
  }
  state.portNumber = number;
  return true;
}

bool Session::PortCheck() {
  if (flows.PortCheck()) return true;
  const std::string device = port.Ports().DevicePath(state.portNumber);
  const std::string reason = port.LastOpenError();
  const std::string remedy = PortPermissionRemedy(port.LastOpenErrno());
  host.Note(PortMap::ComName(state.portNumber) + " is " +
            (device.empty() ? "no device" : ShownPath(device)) +
            (reason.empty() ? "" : ": " + reason) + (remedy.empty() ? "" : "\n" + remedy));
  return false;
}

bool OutputWritable(const std::string& path, std::string& why) {
  std::string reason;
  if (CheckSaveTarget(path, reason)) return true;
  why = "Unable to write file " + ShownPath(path) + ": " + reason;
  return false;
}

bool TransferCompleted(Session& s, bool started) {
  s.flows.FinishPreviousTransfer();
  if (!started) return false;
  const TransferOutcome outcome = s.flows.LastOutcome();
  return outcome.number != 0 && outcome.result == kTransferCompleted;
}

int UsageError(const char* command, const std::string& error) {
  std::fprintf(stderr, "vornprog %s: %s\nTry 'vornprog %s --help'.\n", command, error.c_str(),
               command);
  return kExitUsage;
}

// Loads a mem-file as the window would, without judging its model: the
// commands that show a file show any model's. A file not of the image's length is
// said, as every command that shows a file says it.
bool LoadAnyModelImage(const std::string& path, EEPROM& image) {
  TradioInfo info;
  const MemFileResult loaded = CheckedLoadMemFile(image, info, kAllModelsFlag, path);
  if (loaded.status == MemFileStatus::OpenFailed) {
    Say(loaded.caption + ": " + MessageWithReason(loaded));
    return false;
  }
  const std::string note = MemFileSizeNote(path, loaded.fileSize, image.GetLength());
  if (!note.empty()) Say(note);
  return true;
}
