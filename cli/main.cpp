// vornprog: the Vorn programmer's command-line tool. Reads, writes and
// inspects radios and mem-files with the same core as the windows.

#include <cstdio>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "bytetrace.h"
#include "commands.h"
#include "excerpt.h"
#include "interrupt.h"
#include "messages.h"
#include "platform.h"
#include "session.h"
#include "userfile.h"

namespace {

// The short version text ends in the suffix character, a blank when there
// is no suffix letter; inside parentheses that blank would show.
std::string TrimmedVersion(const BuildConfig& build) {
  std::string version = ShortVersionText(build);
  while (!version.empty() && version.back() == ' ') version.pop_back();
  return version;
}
// Tells the terminal, from whichever thread hit it, that the trace could
// not be written; the command itself goes on.
class TraceFailureReport : public MessageReceiver {
 public:
  explicit TraceFailureReport(const ByteTrace& trace) : trace_(trace) {}
  void PostMessage(unsigned message, intptr_t, intptr_t lParam) override {
    if (message != WM_TRACE_FAILED) return;
    std::fprintf(stderr, "vornprog: %s\n",
                 TraceFailureText(trace_.Path(), static_cast<int>(lParam)).c_str());
  }

 private:
  const ByteTrace& trace_;
};

void PrintTopUsage(std::FILE* to) {
  const BuildConfig& build = CompiledBuildConfig();
  std::fprintf(to,
               "Usage: vornprog COMMAND [options]\n"
               "The command-line tool of the %s (%s).\n\nCommands:\n",
               ApplicationTitle(build).c_str(), TrimmedVersion(build).c_str());
  for (const Command& c : Commands()) {
    std::string left = std::string("  ") + c.syntax.name;
    left.resize(14, ' ');
    std::fprintf(to, "%s%s\n", left.c_str(), c.syntax.summary);
  }
  std::fprintf(to,
               "\nvornprog --trace FILE COMMAND ... appends every byte sent and received to\n"
               "FILE, in the byte monitor's lines with a millisecond time stamp; FILE may\n"
               "be no file the command reads or writes.\n"
               "vornprog --quiet COMMAND ... (or -q) says errors only: no progress bar and\n"
               "no line about what went well.\n"
               "\nPORT is \"COM\" + number (COM1-COM32 /dev/ttyS0-31, COM33-COM64 "
               "/dev/ttyUSB0-31,\nCOM65-COM96 /dev/ttyACM0-31) or a device path.\n"
               "Run 'vornprog COMMAND --help' for a command's options, 'vornprog --version'\n"
               "for the version and the model it is built for. Messages go to\n"
               "standard error; the exit status is 0 on success, 1 on failure, 2 for a wrong\n"
               "command line, and 128 + the signal (130 for Ctrl-C) when a transfer was\n"
               "cancelled by a signal.\n");
}

// The trace is appended to: naming a file the command reads (a mem-file to
// dump or write) or writes would grow that file or lose the trace. Empty
// when it is none of the command's words.
std::string TraceClash(const std::string& tracePath, const std::vector<std::string>& words) {
  for (const std::string& word : words)
    if (!word.empty() && word[0] != '-' && NamesSameFile(tracePath, word))
      return "the trace " + ShownPath(tracePath) + " is " + ShownPath(word) +
             ", a file the command uses; nothing done";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit (ulimit -f) fails the write past it, which is then
  // handled as any failed write, instead of killing the tool mid-transfer.
  IgnoreFileSizeLimitSignal();
  std::vector<std::string> args(argv + 1, argv + argc);
  ByteTrace trace;
  TraceFailureReport traceReport(trace);
  std::string tracePath;
  // The options of the tool itself, before the command.
  while (!args.empty() && (args[0] == "--trace" || args[0] == "--quiet" || args[0] == "-q")) {
    if (args[0] != "--trace") {
      SetQuiet(true);
      args.erase(args.begin());
      continue;
    }
    if (args.size() < 3) {
      std::fprintf(stderr, "vornprog: --trace needs FILE and a command\nTry 'vornprog --help'.\n");
      return kExitUsage;
    }
    tracePath = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (!tracePath.empty() && !args.empty()) {
    const std::string clash =
        TraceClash(tracePath, std::vector<std::string>(args.begin() + 1, args.end()));
    if (!clash.empty()) {
      std::fprintf(stderr, "vornprog: %s\n", clash.c_str());
      return kExitUsage;
    }
    std::string error;
    if (!trace.Open(tracePath, "vornprog " + args[0], error)) {
      std::fprintf(stderr, "vornprog: cannot open the trace %s: %s\n", ShownPath(tracePath).c_str(),
                   error.c_str());
      return kExitFailure;
    }
    trace.SetFailureReceiver(&traceReport);
    UseTrace(&trace);
  }
  if (args.empty()) {
    PrintTopUsage(stderr);
    return kExitUsage;
  }
  if (args[0] == "--version") {
    std::fputs(VersionReport(CompiledBuildConfig(), "vornprog").c_str(), stdout);
    return kExitOk;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintTopUsage(stdout);
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (args[0] != c.syntax.name) continue;
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(c.syntax, std::vector<std::string>(args.begin() + 1, args.end()), parsed, error)) {
      std::fprintf(stderr, "vornprog %s: %s\nTry 'vornprog %s --help'.\n", c.syntax.name,
                   error.c_str(), c.syntax.name);
      return kExitUsage;
    }
    if (parsed.help) {
      std::fputs(CommandUsage(c.syntax).c_str(), stdout);
      return kExitOk;
    }
    return ExitStatusAfterInterrupt(c.run(parsed));
  }
  std::fprintf(stderr, "vornprog: unknown command %s\nTry 'vornprog --help'.\n",
               QuotedExcerpt(args[0], kQuotedArgumentChars).c_str());
  return kExitUsage;
}
