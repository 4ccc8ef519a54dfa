#include "simrun.h"

#include <cstdio>

#include "simoptions.h"

// The simulated radio serves on a pseudo-terminal, which Windows has not
// got: a Windows programmer is tried against a radio simulated on Linux.
int ServeSimulatedRadio(const SimOptions&, const std::string& who) {
  std::fprintf(stderr,
               "%s: the simulated radio needs a pseudo-terminal, which Windows does not "
               "have; run it on Linux and reach it through a serial port\n",
               who.c_str());
  return 1;
}
