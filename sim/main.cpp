// vorn-radio-sim: a simulated radio for the programmer's --simulate mode,
// manual testing and benchmarks. The device path goes to standard output
// as the first line; everything else to standard error.

#include <cstdio>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "simoptions.h"
#include "simrun.h"

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
  if (options.showVersion) {
    std::fputs(VersionReport(CompiledBuildConfig(), "vorn-radio-sim").c_str(), stdout);
    return 0;
  }
  return ServeSimulatedRadio(options, "vorn-radio-sim");
}
