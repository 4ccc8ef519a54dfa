// simulate: the simulated radio, for trying the tool without a radio.

#include <cstdio>

#include "buildconfig.h"
#include "commands.h"
#include "radioinfo.h"
#include "simoptions.h"
#include "simrun.h"

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
  return ServeSimulatedRadio(options, "vornprog") == 0 ? kExitOk : kExitFailure;
}
