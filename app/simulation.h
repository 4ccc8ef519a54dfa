#pragma once
// "--simulate": a simulated radio of the build's model served in this
// process on a pseudo-terminal, reachable as an extra port of the map.

#include <memory>
#include <string>

struct BuildConfig;
class SerialPort;
class SimulatedRadio;

class SimulationSession {
 public:
  SimulationSession();
  ~SimulationSession();
  SimulationSession(const SimulationSession&) = delete;
  SimulationSession& operator=(const SimulationSession&) = delete;

  // Starts the radio and adds its device to the port's map. Returns the
  // port number to use for this run (97 and up), 0 on failure with the
  // reason in error.
  int Start(const BuildConfig& build, SerialPort& port, std::string& error);
  // Makes every byte take its wire time at the radio's line rate, as on a
  // real lead (a whole read then takes seconds rather than a blink).
  void PaceLikeARealLine();
  // The running radio, null before a successful Start.
  SimulatedRadio* Radio() { return radio_.get(); }

 private:
  std::unique_ptr<SimulatedRadio> radio_;
};
