#include "simulation.h"

#include "buildconfig.h"
#include "radioinfo.h"
#include "serialport.h"
#if defined(VORN_HAVE_SIM)
#include "simradio.h"
#else
class SimulatedRadio {};
#endif

SimulationSession::SimulationSession() = default;
SimulationSession::~SimulationSession() = default;

#if defined(VORN_HAVE_SIM)
int SimulationSession::Start(const BuildConfig& build, SerialPort& port, std::string& error) {
  // The all-models build has no model of its own; it gets a Kestal.
  const uint32_t productId = build.productId == kNoProductId ? kProductKestal : build.productId;
  auto radio = std::make_unique<SimulatedRadio>(productId);
  if (!radio->Start()) {
    error = "no pseudo-terminal could be created for the simulated radio";
    return 0;
  }
  const int number = port.Ports().AddExtraDevice(radio->DevicePath());
  if (number < 0) {
    error = "the port list has no room for the simulated radio";
    return 0;
  }
  radio_ = std::move(radio);
  return number;
}

void SimulationSession::PaceLikeARealLine() {
  if (!radio_) return;
  SimFaults faults = radio_->Faults();
  faults.pace = true;
  radio_->SetFaults(faults);
}
#else
int SimulationSession::Start(const BuildConfig&, SerialPort&, std::string& error) {
  error = "this build has no simulated radio";
  return 0;
}

void SimulationSession::PaceLikeARealLine() {}
#endif
