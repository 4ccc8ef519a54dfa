// vorn-radio-sim: a simulated radio for the programmer's --simulate mode,
// manual testing and benchmarks. The device path goes to standard output
// as the first line; everything else to standard error.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

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

int main(int argc, char** argv) {
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "vorn-radio-sim: %s\n\n%s", error.c_str(), SimUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }

  // Block the stop signals before any thread starts, so only sigwait()
  // below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  SimulatedRadio radio(options.productId);
  if (!ApplySimOptions(options, radio, error)) {
    std::fprintf(stderr, "vorn-radio-sim: %s\n", error.c_str());
    return 1;
  }
  if (options.verbose) radio.SetRequestObserver(PrintRequest);
  if (!radio.Start()) {
    std::fprintf(stderr, "vorn-radio-sim: cannot create a pseudo-terminal\n");
    return 1;
  }
  if (!options.link.empty()) {
    unlink(options.link.c_str());
    if (symlink(radio.DevicePath().c_str(), options.link.c_str()) != 0) {
      std::fprintf(stderr, "vorn-radio-sim: cannot create the link %s\n", options.link.c_str());
    }
  }
  std::printf("%s\n", radio.DevicePath().c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "vorn-radio-sim: %s firmware %s \"%s\" on %s\n", SimModelKey(radio.ProductId()).c_str(),
               SimVersionText(radio.Version()).c_str(), radio.FirmwareText().c_str(), radio.DevicePath().c_str());

  int signal = 0;
  sigwait(&stopSignals, &signal);
  radio.Stop();
  if (!options.link.empty()) unlink(options.link.c_str());
  return 0;
}
