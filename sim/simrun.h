#pragma once
// A simulated radio served from a command line until it is told to stop:
// the whole of vorn-radio-sim, and of vornprog simulate.

#include <string>

struct SimOptions;

// Sets the radio up as the options say and starts it; prints its device
// path as the first line of standard output, then a line about the radio
// on standard error, and serves until SIGINT or SIGTERM. Messages on
// standard error start with "who: ". Returns the exit status: 0 once
// stopped, 1 when the radio could not be set up or started.
int ServeSimulatedRadio(const SimOptions& options, const std::string& who);
