// ports and detect: which serial ports exist, and where the radio is.

#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "excerpt.h"
#include "portlist.h"
#include "portmap.h"
#include "radioprobe.h"
#include "memfile.h"
#include "radioinfo.h"
#include "session.h"

namespace {

bool AddDevices(PortMap& map, const ParsedArgs& args) {
  for (const std::string& path : args.All("device")) {
    if (map.NumberOf(path) == 0 && map.AddExtraDevice(path) < 0) {
      Say("no room for device " + ShownPath(path));
      return false;
    }
  }
  return true;
}

// The name --port takes for this port: its COM name, or the device path
// for a device only this run knows by number.
std::string PortArgument(const PortMap& map, int number) {
  return number >= kFirstExtraPort ? map.DevicePath(number) : PortMap::ComName(number);
}

// The auto-detect window's probe, told on the terminal with the device
// and the product ID besides.
bool RadioOfBuildOn(Session& s, int number) {
  const ProbeResult r = ProbePort(s.port, s.radio, number, s.build);
  if (r.verdict == ProbeVerdict::kNoRadio) return false;
  const std::vector<std::string> lines = AnsweredRadioLines(number, r);
  Say(lines[0] + " (" + s.port.Ports().DevicePath(number) + ")");
  for (size_t i = 1; i < lines.size(); ++i) Say(lines[i]);
  if (r.productIdRead) Say("Product ID: " + HexId(static_cast<uint32_t>(r.productId)));
  if (r.verdict == ProbeVerdict::kFound) return true;
  Say("not a " + s.build.modelName + " radio: passed over");
  return false;
}

}  // namespace

int RunPorts(const ParsedArgs& args) {
  PortMap map;
  if (!AddDevices(map, args)) return kExitFailure;
  const std::vector<PortEntry> ports = ListPorts(map);
  for (const PortEntry& p : ports)
    std::printf("%-7s %s%s%s\n", PortMap::ComName(p.number).c_str(), p.device.c_str(),
                p.description.empty() ? "" : "  ", p.description.c_str());
  if (ports.empty()) Say("No serial ports found");
  return kExitOk;
}

int RunDetect(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  if (!AddDevices(s.port.Ports(), args)) return kExitFailure;
  const std::vector<int> ports = ExistingPorts(s.port.Ports());
  for (int n : ports) {
    Say("Checking " + PortMap::ComName(n));
    if (!RadioOfBuildOn(s, n)) continue;
    s.port.Close();
    std::printf("%s\n", PortArgument(s.port.Ports(), n).c_str());
    return kExitOk;
  }
  s.port.Close();
  if (ports.empty()) {
    Say("No serial ports found - check your system's serial devices");
    return kExitFailure;
  }
  Say("Radio not found.");
  Say("Ensure radio is switched on.");
  Say("Check programming leads.");
  return kExitFailure;
}
