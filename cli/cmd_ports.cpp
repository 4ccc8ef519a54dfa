// ports and detect: which serial ports exist, and where the radio is.

#include <cstdio>
#include <string>

#include "commands.h"
#include "portmap.h"
#include "memfile.h"
#include "radioinfo.h"
#include "session.h"

namespace {

constexpr int kOpenSettleMs = 50;   // after opening, before the probe
constexpr int kProbeSettleMs = 30;  // after the probe, before the version
constexpr size_t kNameChars = 6;    // firmware text and model name compared this far

bool AddDevices(PortMap& map, const ParsedArgs& args) {
  for (const std::string& path : args.All("device")) {
    if (map.NumberOf(path) == 0 && map.AddExtraDevice(path) < 0) {
      Say("no room for device " + path);
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

// The radio's firmware text starts with the build model's name (its first
// six characters; all of a shorter name).
bool FirmwareNamesModel(const std::string& firmware, const std::string& modelName) {
  const std::string prefix = modelName.substr(0, kNameChars);
  return !prefix.empty() && firmware.compare(0, prefix.size(), prefix) == 0;
}

enum class Probe { NoRadio, OtherModel, Found };

Probe ProbePort(Session& s, int number) {
  s.port.Close();
  if (!s.port.Open(PortMap::ComName(number), 9600)) return Probe::NoRadio;
  SleepMs(kOpenSettleMs);
  s.radio.ProbeRadio();  // wakes the radio; its answer is not needed
  SleepMs(kProbeSettleMs);
  if (!s.radio.GetRadioVersion()) return Probe::NoRadio;

  const std::string where = PortMap::ComName(number) + " (" + s.port.Ports().DevicePath(number) + ")";
  Say("Radio found on " + where);
  char text[20];
  const std::string firmware = s.radio.ReadFirmwareText(text, sizeof text) ? s.radio.GetFirmwareText() : "";
  Say(firmware.empty() ? "-" : firmware);
  std::string version;
  Say("Firmware: " + (s.radio.GetVersionText(version) ? version : std::string("n/a")));

  int productId = 0;
  const bool idRead = s.radio.ReadProductId(productId);
  if (idRead) Say("Product ID: " + HexId(static_cast<uint32_t>(productId)));
  const bool accepted = idRead && IsModelAccepted(static_cast<uint32_t>(productId), s.build.modelFlag);
  if (accepted && (s.build.AllModels() || FirmwareNamesModel(firmware, s.build.modelName)))
    return Probe::Found;
  Say("not a " + s.build.modelName + " radio: passed over");
  return Probe::OtherModel;
}

}  // namespace

int RunPorts(const ParsedArgs& args) {
  PortMap map;
  if (!AddDevices(map, args)) return kExitFailure;
  int found = 0;
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    if (!map.PortExists(n)) continue;
    ++found;
    const std::string description = map.Description(n);
    std::printf("%-7s %s%s%s\n", PortMap::ComName(n).c_str(), map.DevicePath(n).c_str(),
                description.empty() ? "" : "  ", description.c_str());
  }
  if (found == 0) Say("No serial ports found");
  return kExitOk;
}

int RunDetect(const ParsedArgs& args) {
  Session s(CompiledBuildConfig());
  if (!AddDevices(s.port.Ports(), args)) return kExitFailure;
  bool anyPort = false;
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    if (!s.port.Ports().PortExists(n)) continue;
    anyPort = true;
    Say("Checking " + PortMap::ComName(n));
    if (ProbePort(s, n) != Probe::Found) continue;
    s.port.Close();
    std::printf("%s\n", PortArgument(s.port.Ports(), n).c_str());
    return kExitOk;
  }
  s.port.Close();
  if (!anyPort) {
    Say("No serial ports found - check your system's serial devices");
    return kExitFailure;
  }
  Say("Radio not found.");
  Say("Ensure radio is switched on.");
  Say("Check programming leads.");
  return kExitFailure;
}
