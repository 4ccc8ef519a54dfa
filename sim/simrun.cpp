#include "simrun.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

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

int ServeSimulatedRadio(const SimOptions& options, const std::string& who) {
  // Only sigwait() below may take the stop signals, so they are blocked
  // before the radio starts its thread (which inherits the mask).
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  SimulatedRadio radio(options.productId);
  std::string error;
  if (!ApplySimOptions(options, radio, error)) {
    std::fprintf(stderr, "%s: %s\n", who.c_str(), error.c_str());
    return 1;
  }
  if (options.verbose) radio.SetRequestObserver(PrintRequest);
  if (!radio.Start()) {
    std::fprintf(stderr, "%s: cannot create a pseudo-terminal for the simulated radio\n", who.c_str());
    return 1;
  }
  const std::string device = radio.DevicePath();
  if (!options.link.empty()) {
    unlink(options.link.c_str());
    if (symlink(device.c_str(), options.link.c_str()) != 0)
      std::fprintf(stderr, "%s: cannot create the link %s\n", who.c_str(), options.link.c_str());
  }
  std::printf("%s\n", device.c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "%s: simulated %s radio, firmware %s \"%s\", on %s; Ctrl-C ends it\n", who.c_str(),
               SimModelKey(radio.ProductId()).c_str(), SimVersionText(radio.Version()).c_str(),
               radio.FirmwareText().c_str(), device.c_str());

  int signal = 0;
  sigwait(&stop, &signal);
  radio.Stop();
  if (!options.link.empty()) unlink(options.link.c_str());
  return 0;
}
