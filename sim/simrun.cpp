#include "simrun.h"

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
// SIGUSR1 switches the radio off; the next one puts another radio of the
// same model on the port, with its own alignment bytes (2 to 31), and
// switches it on: a bench where radios are programmed one after another.
void SwapRadio(SimulatedRadio& radio, int& radiosSeen, const std::string& who) {
  if (radio.IsSwitchedOn()) {
    radio.SwitchOff();
    std::fprintf(stderr, "%s: radio switched off\n", who.c_str());
    return;
  }
  ++radiosSeen;
  radio.ReplaceRadio(radio.ProductId());
  std::vector<uint8_t> memory = radio.Memory();
  for (size_t a = 2; a < 32 && a < memory.size(); ++a)
    memory[a] = static_cast<uint8_t>(memory[a] + radiosSeen * 7 + a);
  radio.SetMemory(memory);
  radio.SwitchOn();
  std::fprintf(stderr, "%s: radio %d connected and switched on\n", who.c_str(), radiosSeen);
}
}  // namespace

int ServeSimulatedRadio(const SimOptions& options, const std::string& who) {
  // Only sigwait() below may take the stop signals, so they are blocked
  // before the radio starts its thread (which inherits the mask).
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGUSR1);
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
  std::fprintf(stderr, "%s: simulated %s radio, firmware %s \"%s\", on %s; Ctrl-C ends it; SIGUSR1 switches it off, and again another radio on\n", who.c_str(),
               SimModelKey(radio.ProductId()).c_str(), SimVersionText(radio.Version()).c_str(),
               radio.FirmwareText().c_str(), device.c_str());

  int signal = 0;
  int radiosSeen = 1;
  while (sigwait(&stop, &signal) == 0 && signal == SIGUSR1) SwapRadio(radio, radiosSeen, who);
  radio.Stop();
  if (!options.link.empty()) unlink(options.link.c_str());
  return 0;
}
