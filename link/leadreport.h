#pragma once
// The whole lead check, and the ways it is told: one line per finding for
// the terminal and the window, JSON for support, a saved report, and the
// udev rule that pins the lead's rights and name.

#include <string>
#include <vector>

#include "buildconfig.h"
#include "leaddoctor.h"

class SerialPort;
class TRadio;

struct DoctorReport {
  std::vector<std::string> devices;  // the ports checked, live paths
  std::vector<Finding> findings;     // the machine's first, then port by port
  bool radioFound = false;           // a radio of the build's model answered
};

// named: a COM name or device path, "" for every port the programmer
// would consider, its extra devices among them. Leaves the port closed.
DoctorReport RunLeadDoctor(const SystemRoot& root, SerialPort& port, TRadio& radio, const std::string& named,
                           const BuildConfig& build, const std::vector<std::string>& extraDevices = {});

// "FAULT  /dev/ttyUSB0: it will not open: Permission denied -- do: ..."
std::string FindingLine(const Finding& finding);
std::vector<std::string> ReportLines(const DoctorReport& report);
std::string ReportJson(const DoctorReport& report, const BuildConfig& build);
// What "Save Report..." writes: the program's version and build model,
// the findings and the end of the trace when one is kept (traceTail).
std::string SavedReportText(const DoctorReport& report, const BuildConfig& build, const std::string& traceTail);
// The last lines of a trace file (at most maxBytes of its end, whole lines).
std::string TraceTail(const std::string& path, size_t maxBytes);

// The link name the udev rule gives the lead: /dev/vorn-lead.
inline constexpr const char* kLeadLinkName = "vorn-lead";
// A udev rule for this adapter alone: its vendor, product and serial
// number, group dialout, mode 0660, left alone by ModemManager, and a
// stable link. False (why says why) for an adapter a rule cannot name.
bool UdevRuleFor(const UsbAdapter& usb, std::string& rule, std::string& why);
