// doctor: why the lead does not answer, and the udev rule that mends the
// usual causes for good.

#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "leaddoctor.h"
#include "leadreport.h"
#include "session.h"

namespace {

// The USB adapters behind the ports checked, one per adapter.
std::vector<UsbAdapter> LeadsOf(const SystemRoot& root, const std::vector<std::string>& devices,
                                std::vector<std::string>& shownDevices) {
  std::vector<UsbAdapter> leads;
  for (const std::string& device : devices) {
    const UsbAdapter usb = FindUsbAdapter(root, device);
    if (!usb.present) continue;
    bool seen = false;
    for (const UsbAdapter& l : leads)
      seen |= l.vendorId == usb.vendorId && l.productId == usb.productId && l.serial == usb.serial;
    if (seen) continue;
    leads.push_back(usb);
    shownDevices.push_back(device);
  }
  return leads;
}

int PrintUdevRule(const SystemRoot& root, const std::string& named) {
  std::vector<std::string> devices;
  const std::vector<UsbAdapter> leads = LeadsOf(root, PortsToDiagnose(root, named), devices);
  if (leads.empty()) {
    Say(named.empty() ? "no USB lead is connected: plug the lead in (vornprog doctor tells what it finds)"
                      : named + " is not a USB lead: a udev rule names USB adapters only");
    return kExitFailure;
  }
  if (leads.size() > 1) {
    Say("more than one USB lead is connected; name the programming lead with --port:");
    for (const std::string& d : devices) Say("  " + d);
    return kExitFailure;
  }
  std::string rule, why;
  if (!UdevRuleFor(leads.front(), rule, why)) {
    Say("no rule can be made for " + devices.front() + ": " + why);
    return kExitFailure;
  }
  std::fputs(rule.c_str(), stdout);
  return kExitOk;
}

}  // namespace

int RunDoctor(const ParsedArgs& args) {
  const SystemRoot root("/");
  const std::string named = args.Get("port");
  if (args.Has("udev-rule")) return PrintUdevRule(root, named);

  Session s(CompiledBuildConfig());
  const DoctorReport report = RunLeadDoctor(root, s.port, s.radio, named, s.build);
  if (args.Has("json")) {
    std::fputs(ReportJson(report, s.build).c_str(), stdout);
  } else {
    for (const std::string& line : ReportLines(report)) std::printf("%s\n", line.c_str());
  }
  return report.radioFound ? kExitOk : kExitFailure;
}
