// simulate: the simulated radio, for trying the tool without a radio.

#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "buildconfig.h"
#include "commands.h"
#include "radioinfo.h"
#include "session.h"
#include "simoptions.h"
#include "simradio.h"

namespace {
void PrintRequest(const SimRequest& r) {
  std::string line = r.replied ? "request" : "request (unanswered)";
  char hex[4];
  for (uint8_t b : r.payload) {
    std::snprintf(hex, sizeof hex, " %02X", b);
    line += hex;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}
}  // namespace

int RunSimulate(const ParsedArgs& args) {
  SimOptions options;
  // This build's radio unless --model says otherwise; the all-models
  // build has no radio of its own and gets a Kestal.
  const uint32_t buildId = CompiledBuildConfig().productId;
  options.productId = buildId == kNoProductId ? kProductKestal : buildId;
  std::string error;
  if (!ParseSimOptions(args.raw, options, error)) {
    std::fprintf(stderr, "vornprog simulate: %s\nTry 'vornprog simulate --help'.\n", error.c_str());
    return kExitUsage;
  }

  // Only sigwait() below may take the stop signals, so they are blocked
  // before the radio starts its threads.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  SimulatedRadio radio(options.productId);
  if (!ApplySimOptions(options, radio, error)) {
    Say(error);
    return kExitFailure;
  }
  if (options.verbose) radio.SetRequestObserver(PrintRequest);
  if (!radio.Start()) {
    Say("cannot create a pseudo-terminal for the simulated radio");
    return kExitFailure;
  }
  if (!options.link.empty()) {
    unlink(options.link.c_str());
    if (symlink(radio.DevicePath().c_str(), options.link.c_str()) != 0)
      Say("cannot create the link " + options.link);
  }
  std::printf("%s\n", radio.DevicePath().c_str());
  std::fflush(stdout);
  Say("simulated " + std::string(SimModelKey(radio.ProductId())) + " radio, firmware " +
      SimVersionText(radio.Version()) + ", on " + radio.DevicePath() + "; Ctrl-C ends it");

  int signal = 0;
  sigwait(&stop, &signal);
  radio.Stop();
  if (!options.link.empty()) unlink(options.link.c_str());
  return kExitOk;
}
