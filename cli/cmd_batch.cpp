// batch: one configuration into radio after radio on one port, each with
// its own calibration kept and, on models with selcall, its own ident.

#include <cstdio>
#include <string>

#include "batchloop.h"
#include "commands.h"
#include "excerpt.h"
#include "interrupt.h"
#include "memfile.h"
#include "params.h"
#include "radioinfo.h"
#include "session.h"

namespace {

constexpr int kMaxCount = 9999;
// A minute of silence is more than any bench needs to tell a radio gone.
constexpr int kMaxGoneAfterMs = 60000;

// The terminal side of a batch: the prompts and each radio's outcome on
// standard output, Ctrl-C as Stop.
class TerminalBatchHost : public BatchHost {
 public:
  bool StopRequested() override { return InterruptGuard::Requested(); }
  void Prompt(const std::string& text) override { Print(text); }
  void RadioEnded(const BatchRow&, const std::string& prompt) override { Print(prompt); }

 private:
  static void Print(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
};

bool ParseNumber(const std::string& text, int minimum, int maximum, int& value) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return value >= minimum && value <= maximum;
}

// The configuration must be one this build programs.
bool ConfigAccepted(Session& s) {
  const uint32_t id =
      static_cast<uint32_t>(s.image.GetWord(s.info.GetParamAddress(kParamProductId)));
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  if (FindModel(id, row, flag, name) && (flag & s.build.modelFlag) != 0) return true;
  Say("the configuration is for a radio this build does not program (" + HexId(id) +
      "): nothing written");
  return false;
}

}  // namespace

int RunBatch(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  std::string error;
  if (!s.UsePort(args.Get("port"), error)) return UsageError("batch", error);
  BatchSettings settings;
  settings.port = args.Get("port");
  settings.firstIdent = args.Get("first-ident");
  settings.logPath = args.Get("log");
  settings.configPaths = {args.operands[0]};
  if (args.Has("count") && !ParseNumber(args.Get("count"), 1, kMaxCount, settings.count))
    return UsageError("batch", "COUNT must be 1 to " + std::to_string(kMaxCount) + ", not " +
                                   QuotedExcerpt(args.Get("count"), kQuotedArgumentChars));
  if (args.Has("gone-after") &&
      !ParseNumber(args.Get("gone-after"), 0, kMaxGoneAfterMs, settings.goneAfterSilentMs))
    return UsageError("batch", "MS must be 0 to " + std::to_string(kMaxGoneAfterMs) + ", not " +
                                   QuotedExcerpt(args.Get("gone-after"), kQuotedArgumentChars));
  if (!LoadWholeFile(s, args.operands[0]) || !ConfigAccepted(s)) return kExitFailure;
  if (!TradioInfo::HasSelcall(s.build.productId) && args.Has("first-ident"))
    s.host.Note("this model has no selcall: --first-ident is ignored");

  // The batch holds the configuration aside: the reads replace no edit
  // data.
  s.host.PreAnswer(QuestionId::kReadOverEditData);
  TerminalBatchHost host;
  BatchLoop loop(s.flows, RadioObjectsOf(s, s.build), host);
  // The session's check also names the device behind the port and why it
  // would not open.
  loop.SetPortCheck([&s] { return s.PortCheck(); });
  if (!loop.Prepare(settings, error)) {
    Say(error + ": nothing written");
    return kExitFailure;
  }
  for (const std::string& note : loop.Notes()) Say(note);
  InterruptGuard interrupt;
  const BatchSummary summary = loop.Run();
  if (!summary.error.empty()) Say(summary.error + ": the batch stops");
  Say(std::to_string(summary.ok) + " of " + std::to_string(settings.count) + " radios OK, " +
      std::to_string(summary.failed) + " failed" + (summary.stopped ? ", stopped" : ""));
  const bool allOk = summary.failed == 0 && summary.ok == settings.count && summary.error.empty();
  return allOk ? kExitOk : kExitFailure;
}
