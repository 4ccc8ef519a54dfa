// The lead check: the system probes against prepared trees, one per fault,
// and the line probes against simulated radios on pseudo-terminals.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_machine.h"
#include "leaddoctor.h"
#include "leadline.h"
#include "leadnames.h"
#include "leadreport.h"
#include "monitor_rig.h"
#include "radioinfo.h"
#include "simradio.h"

namespace {

const Finding* FindKind(const std::vector<Finding>& findings, FindingKind kind) {
  for (const Finding& f : findings)
    if (f.kind == kind) return &f;
  return nullptr;
}

bool HasFault(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.level == FindingLevel::kFault; });
}

std::string AllLines(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += FindingLine(f) + "\n";
  return text;
}

// ---- The system: one prepared machine per fault ----

struct SystemCase {
  const char* name;
  void (*prepare)(const FakeMachine&);
  FindingKind kind;
  FindingLevel level;
  const char* textHas;
  const char* remedyHas;
};

void LeadInDialout(const FakeMachine& m) {
  m.UsbLead("A50285BI");
  m.DialoutGroup("tech");
  m.Login(FakeMachine::kUid, {m.DeviceGid()});
}

const SystemCase kSystemCases[] = {
    {"NotInGroup",
     [](const FakeMachine& m) {
       m.UsbLead("A50285BI");
       m.DialoutGroup("");
     },
     FindingKind::kNotInGroup, FindingLevel::kFault, "tech is not in group dialout",
     "sudo usermod -aG dialout tech, then log out and in again"},
    {"InGroupButNotThisLogin",
     [](const FakeMachine& m) {
       m.UsbLead("A50285BI");
       m.DialoutGroup("alice,tech");
     },
     FindingKind::kGroupNotInLogin, FindingLevel::kFault, "this login started before that",
     "log out and in again"},
    {"ModeLetsOnlyTheOwnerIn",
     [](const FakeMachine& m) {
       LeadInDialout(m);
       fs::permissions(m.Path("dev/ttyUSB0"), fs::perms::owner_read | fs::perms::owner_write);
     },
     FindingKind::kModeDenies, FindingLevel::kFault, "mode 0600", "vornprog doctor --udev-rule"},
    {"MayOpen", LeadInDialout, FindingKind::kMayOpen, FindingLevel::kOk,
     "owned by group dialout, mode 0660", ""},
    {"HeldByModemManager",
     [](const FakeMachine& m) {
       LeadInDialout(m);
       m.Process(612, "ModemManager", {"/dev/ttyUSB0"});
     },
     FindingKind::kHeldByModemManager, FindingLevel::kFault, "held open by ModemManager (pid 612)",
     "sudo systemctl stop ModemManager"},
    {"HeldByAnotherProgrammer",
     [](const FakeMachine& m) {
       LeadInDialout(m);
       m.Process(7001, "vornprog", {"/dev/null", "/dev/ttyUSB0"});
     },
     FindingKind::kHeldBy, FindingLevel::kFault, "held open by vornprog (pid 7001)",
     "close vornprog (or: kill 7001)"},
    {"ModemManagerWatches",
     [](const FakeMachine& m) {
       LeadInDialout(m);
       m.Process(612, "ModemManager", {"/dev/null"});
     },
     FindingKind::kModemManagerWatches, FindingLevel::kNote, "may probe this port",
     "vornprog doctor --udev-rule"},
    {"ModemManagerIgnores",
     [](const FakeMachine& m) {
       LeadInDialout(m);
       m.Process(612, "ModemManager", {});
       m.Write("run/udev/data/c188:0", "S:serial/by-id/usb-FTDI\nE:ID_MM_DEVICE_IGNORE=1\n");
     },
     FindingKind::kModemManagerIgnores, FindingLevel::kOk, "leaves this port alone", ""},
    {"UsbAdapter", LeadInDialout, FindingKind::kUsbAdapter, FindingLevel::kOk,
     "USB adapter 0403:6001 FTDI FT232R USB UART, driver ftdi_sio, serial number A50285BI", ""},
    {"StableNames", LeadInDialout, FindingKind::kStableNames, FindingLevel::kOk,
     "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 "
     "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0",
     ""},
};

class SystemFault : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemFault, GivesItsFindingAndRemedy) {
  const SystemCase& c = GetParam();
  FakeMachine machine;
  c.prepare(machine);
  const std::vector<Finding> findings = DiagnoseDevice(SystemRoot(machine.Root()), "/dev/ttyUSB0");
  const Finding* f = FindKind(findings, c.kind);
  ASSERT_NE(f, nullptr) << AllLines(findings);
  EXPECT_EQ(f->level, c.level);
  EXPECT_EQ(f->subject, "/dev/ttyUSB0");
  EXPECT_NE(f->text.find(c.textHas), std::string::npos) << f->text;
  EXPECT_NE(f->remedy.find(c.remedyHas), std::string::npos) << f->remedy;
  if (c.level == FindingLevel::kOk) {
    EXPECT_EQ(f->remedy, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Machines, SystemFault, ::testing::ValuesIn(kSystemCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemProbe, CleanMachineHasNoFault) {
  FakeMachine machine;
  LeadInDialout(machine);
  const std::vector<Finding> findings = DiagnoseDevice(SystemRoot(machine.Root()), "/dev/ttyUSB0");
  EXPECT_FALSE(HasFault(findings)) << AllLines(findings);
  ASSERT_NE(FindKind(findings, FindingKind::kDevice), nullptr);
  EXPECT_EQ(FindKind(findings, FindingKind::kDevice)->text, "serial port COM33");
}

TEST(SystemProbe, ThisProgramHoldingThePortIsNoFault) {
  FakeMachine machine;
  LeadInDialout(machine);
  machine.Link("proc/" + std::to_string(FakeMachine::kOwnPid) + "/fd/9", "/dev/ttyUSB0");
  const std::vector<Finding> findings = DiagnoseDevice(SystemRoot(machine.Root()), "/dev/ttyUSB0");
  EXPECT_EQ(FindKind(findings, FindingKind::kHeldBy), nullptr) << AllLines(findings);
  // The same descriptor is seen from the process's own number too.
  const std::vector<Holder> holders = ProcessesHolding(SystemRoot(machine.Root()), "/dev/ttyUSB0");
  ASSERT_EQ(holders.size(), 1u);
  EXPECT_EQ(holders[0].pid, FakeMachine::kOwnPid);
}

TEST(SystemProbe, NoSuchDevice) {
  FakeMachine machine;
  LeadInDialout(machine);
  const std::vector<Finding> findings = DiagnoseDevice(SystemRoot(machine.Root()), "/dev/ttyUSB3");
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].kind, FindingKind::kNoSuchDevice);
  EXPECT_EQ(findings[0].level, FindingLevel::kFault);
  EXPECT_NE(findings[0].remedy.find("plug the lead in"), std::string::npos);
}

TEST(SystemProbe, BrlttyBoundToTheAdapter) {
  FakeMachine machine;
  machine.PortlessUsbDevice("1a86", "7523", "usbfs");
  machine.Process(900, "brltty", {"/dev/bus/usb/001/007"});
  const std::vector<Finding> findings = DiagnoseUsbAdapters(SystemRoot(machine.Root()));
  ASSERT_EQ(findings.size(), 1u) << AllLines(findings);
  EXPECT_EQ(findings[0].kind, FindingKind::kBrlttyBound);
  EXPECT_EQ(findings[0].subject, "USB 1a86:7523");
  EXPECT_NE(findings[0].text.find("brltty (pid 900) has claimed the USB adapter 1a86:7523 USB Serial"),
            std::string::npos);
  EXPECT_NE(findings[0].remedy.find("systemctl mask brltty-udev.service"), std::string::npos);
  // Its tty is gone, so no port is there to check: the machine's finding
  // is what the technician hears.
  EXPECT_TRUE(PortsToDiagnose(SystemRoot(machine.Root()), "").empty());
}

TEST(SystemProbe, AdapterWithoutBrlttyOrDriver) {
  FakeMachine machine;
  machine.PortlessUsbDevice("067b", "2303", "");
  const std::vector<Finding> findings = DiagnoseUsbAdapters(SystemRoot(machine.Root()));
  ASSERT_EQ(findings.size(), 1u) << AllLines(findings);
  EXPECT_EQ(findings[0].kind, FindingKind::kDriverRefuses);
  EXPECT_NE(findings[0].remedy.find("dmesg"), std::string::npos);
}

TEST(SystemProbe, OtherPortlessUsbDevicesAreNoConcern) {
  FakeMachine machine;
  machine.PortlessUsbDevice("046d", "c52b", "usbhid");  // a mouse receiver
  machine.UsbLead("A50285BI");                          // an adapter with its port
  EXPECT_TRUE(DiagnoseUsbAdapters(SystemRoot(machine.Root())).empty());
}

TEST(SystemProbe, PortsToDiagnose) {
  FakeMachine machine;
  LeadInDialout(machine);
  const SystemRoot root(machine.Root());
  EXPECT_EQ(PortsToDiagnose(root, ""), std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_EQ(PortsToDiagnose(root, "COM33"), std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_EQ(PortsToDiagnose(root, "/dev/pts/3"), std::vector<std::string>{"/dev/pts/3"});
  // The programmer's extra devices (COM97 onwards) are among its ports.
  machine.Write("dev/pts/7", "");
  EXPECT_EQ(PortsToDiagnose(root, "", {"/dev/pts/7", "/dev/gone"}),
            (std::vector<std::string>{"/dev/ttyUSB0", "/dev/pts/7"}));
}

TEST(StableLeadNames, FollowsRelativeAndAbsoluteLinks) {
  FakeMachine machine;
  machine.UsbLead("A50285BI");
  machine.Link("dev/serial/by-id/usb-Other-if00-port0", "../../ttyUSB1");
  machine.Link("dev/serial/by-id/usb-Absolute-if00-port0", "/dev/ttyUSB0");
  const std::string dev = machine.Path("dev").string();
  EXPECT_EQ(StableLeadNames(dev, "by-id", dev + "/ttyUSB0"),
            (std::vector<std::string>{dev + "/serial/by-id/usb-Absolute-if00-port0",
                                      dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}));
  EXPECT_EQ(StableLeadNames(dev, "by-path", dev + "/ttyUSB0").size(), 1u);
  EXPECT_TRUE(StableLeadNames(dev, "by-path", dev + "/ttyUSB1").empty());
  EXPECT_TRUE(StableLeadNames(dev + "/nothing", "by-id", dev + "/ttyUSB0").empty());
}

// ---- The udev rule ----

TEST(UdevRule, PinsTheLeadBySerialNumber) {
  FakeMachine machine;
  machine.UsbLead("A50285BI");
  const UsbAdapter usb = FindUsbAdapter(SystemRoot(machine.Root()), "/dev/ttyUSB0");
  std::string rule, why;
  ASSERT_TRUE(UdevRuleFor(usb, rule, why)) << why;
  EXPECT_NE(rule.find("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                      "ATTRS{serial}==\"A50285BI\", GROUP=\"dialout\", MODE=\"0660\", "
                      "ENV{ID_MM_DEVICE_IGNORE}=\"1\", SYMLINK+=\"vorn-lead\"\n"),
            std::string::npos)
      << rule;
  // Every line but the rule is a comment.
  size_t rules = 0;
  for (size_t at = 0; at < rule.size(); at = rule.find('\n', at) + 1) rules += rule[at] != '#';
  EXPECT_EQ(rules, 1u);
}

TEST(UdevRule, WithoutASerialNumberSaysItFitsEveryLikeAdapter) {
  UsbAdapter usb;
  usb.present = true;
  usb.vendorId = "1a86";
  usb.productId = "7523";
  std::string rule, why;
  ASSERT_TRUE(UdevRuleFor(usb, rule, why));
  EXPECT_EQ(rule.find("ATTRS{serial}"), std::string::npos);
  EXPECT_NE(rule.find("no serial number"), std::string::npos);
}

TEST(UdevRule, SerialNumberThatWouldBreakTheRuleIsNotPinned) {
  UsbAdapter usb;
  usb.present = true;
  usb.vendorId = "0403";
  usb.productId = "6001";
  usb.serial = "A5\", RUN+=\"/bin/sh";
  std::string rule, why;
  ASSERT_TRUE(UdevRuleFor(usb, rule, why));
  EXPECT_EQ(rule.find("RUN+="), std::string::npos) << rule;
  usb.serial = "A*";
  ASSERT_TRUE(UdevRuleFor(usb, rule, why));
  EXPECT_EQ(rule.find("ATTRS{serial}"), std::string::npos) << rule;
}

TEST(UdevRule, NoRuleForANonUsbPort) {
  std::string rule, why;
  EXPECT_FALSE(UdevRuleFor(UsbAdapter{}, rule, why));
  EXPECT_FALSE(why.empty());
}

// ---- The line: simulated radios ----

class LineProbe : public ::testing::Test {
 protected:
  LineDiagnosis Diagnose(SimulatedRadio& sim, const char* family = "Kestal") {
    EXPECT_TRUE(sim.Start());
    build_ = BuildConfig::ForFamily(family, false);
    MonitorRig rig(build_.productId);
    LineDiagnosis d = DiagnoseLine(rig.shared.port, rig.shared.radio, sim.DevicePath(), build_);
    EXPECT_FALSE(rig.shared.port.IsOpen());
    return d;
  }
  BuildConfig build_;
};

TEST_F(LineProbe, CleanCaseNamesTheRadio) {
  SimulatedRadio sim(kProductKestal);
  const LineDiagnosis d = Diagnose(sim);
  EXPECT_TRUE(d.radioFound);
  ASSERT_EQ(d.findings.size(), 1u) << AllLines(d.findings);
  EXPECT_EQ(d.findings[0].kind, FindingKind::kRadioAnswers);
  EXPECT_NE(d.findings[0].text.find("a Kestal answers at 9600 baud (product ID 5A02, firmware \"Kestal"),
            std::string::npos)
      << d.findings[0].text;
}

TEST_F(LineProbe, EchoingLead) {
  SimulatedRadio sim(kProductKestal);
  SimFaults echo;
  echo.echo = true;
  sim.SetFaults(echo);
  const LineDiagnosis d = Diagnose(sim);
  const Finding* f = FindKind(d.findings, FindingKind::kEchoes);
  ASSERT_NE(f, nullptr) << AllLines(d.findings);
  EXPECT_EQ(f->level, FindingLevel::kFault);
  EXPECT_NE(f->remedy.find("wiring"), std::string::npos);
}

TEST_F(LineProbe, SilentRadio) {
  SimulatedRadio sim(kProductKestal);
  SimFaults silent;
  silent.silentAfter = 0;
  sim.SetFaults(silent);
  const LineDiagnosis d = Diagnose(sim);
  EXPECT_FALSE(d.radioFound);
  EXPECT_EQ(FindKind(d.findings, FindingKind::kEchoes), nullptr);
  const Finding* f = FindKind(d.findings, FindingKind::kSilent);
  ASSERT_NE(f, nullptr) << AllLines(d.findings);
  std::string rates;
  for (uint32_t r : BuildBaudRates(build_)) rates += std::to_string(r) + " ";
  EXPECT_NE(f->text.find("no radio answers at 9600"), std::string::npos) << f->text;
  EXPECT_NE(f->remedy.find("switch the radio on"), std::string::npos);
  // The radio was asked at every rate the build uses.
  EXPECT_GE(sim.Requests().size(), BuildBaudRates(build_).size()) << rates;
}

TEST_F(LineProbe, RadioOfAnotherModel) {
  SimulatedRadio sim(kProductMerlo);
  const LineDiagnosis d = Diagnose(sim);
  EXPECT_FALSE(d.radioFound);
  const Finding* f = FindKind(d.findings, FindingKind::kOtherModel);
  ASSERT_NE(f, nullptr) << AllLines(d.findings);
  EXPECT_NE(f->text.find("a Merlo answers at 9600 baud"), std::string::npos) << f->text;
  EXPECT_NE(f->text.find("this program is for the Kestal"), std::string::npos) << f->text;
  EXPECT_NE(f->remedy.find("connect a Kestal"), std::string::npos);
}

TEST_F(LineProbe, RadioLeftAtAHigherRate) {
  // The Pinto is a model that switches rates for its transfers.
  const std::vector<uint32_t> rates = BuildBaudRates(BuildConfig::ForFamily("Pinto", false));
  ASSERT_EQ(rates, (std::vector<uint32_t>{9600, 19200, 38400, 57600}));
  SimulatedRadio sim(kProductPinto);
  sim.SetLineRate(38400);
  sim.SetCheckLineRate(true);
  const LineDiagnosis d = Diagnose(sim, "Pinto");
  EXPECT_TRUE(d.radioFound);
  ASSERT_NE(FindKind(d.findings, FindingKind::kRadioAnswers), nullptr) << AllLines(d.findings);
  EXPECT_NE(FindKind(d.findings, FindingKind::kRadioAnswers)->text.find("a Pinto answers at 38400 baud"),
            std::string::npos);
  const Finding* f = FindKind(d.findings, FindingKind::kRadioAtOtherRate);
  ASSERT_NE(f, nullptr) << AllLines(d.findings);
  EXPECT_EQ(f->level, FindingLevel::kFault);
  EXPECT_EQ(f->remedy, "switch the radio off and on again");
}

TEST(LineRates, OnlyTheLineRateForAModelThatDoesNotSwitch) {
  EXPECT_EQ(BuildBaudRates(BuildConfig::ForFamily("Kestal", false)), std::vector<uint32_t>{9600});
}

TEST(LineProbeOpen, DeviceThatWillNotOpen) {
  MonitorRig rig(kProductKestal);
  const LineDiagnosis d =
      DiagnoseLine(rig.shared.port, rig.shared.radio, "/dev/no-such-lead", BuildConfig::ForFamily("Kestal", false));
  EXPECT_FALSE(d.radioFound);
  ASSERT_EQ(d.findings.size(), 1u);
  EXPECT_EQ(d.findings[0].kind, FindingKind::kWillNotOpen);
  EXPECT_NE(d.findings[0].text.find("No such file or directory"), std::string::npos);
}

// ---- The whole check: a prepared machine whose lead is a simulated radio ----

TEST(LeadDoctor, CleanMachineAndRadio) {
  SimulatedRadio sim(kProductKestal);
  ASSERT_TRUE(sim.Start());
  FakeMachine machine;
  machine.UsbLead("A50285BI", sim.DevicePath());
  machine.Login(static_cast<unsigned>(geteuid()), {});
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  MonitorRig rig(build.productId);
  const DoctorReport report = RunLeadDoctor(SystemRoot(machine.Root()), rig.shared.port, rig.shared.radio, "", build);
  EXPECT_TRUE(report.radioFound);
  EXPECT_EQ(report.devices, std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_FALSE(HasFault(report.findings)) << AllLines(report.findings);
  for (FindingKind kind : {FindingKind::kDevice, FindingKind::kUsbAdapter, FindingKind::kStableNames,
                           FindingKind::kMayOpen, FindingKind::kRadioAnswers})
    EXPECT_NE(FindKind(report.findings, kind), nullptr) << FindingKey(kind) << "\n" << AllLines(report.findings);
  const std::vector<std::string> lines = ReportLines(report);
  EXPECT_EQ(lines.back(), "A radio of this program's model answers.");
}

TEST(LeadDoctor, NoPortsAtAll) {
  FakeMachine machine;
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  MonitorRig rig(build.productId);
  const DoctorReport report = RunLeadDoctor(SystemRoot(machine.Root()), rig.shared.port, rig.shared.radio, "", build);
  EXPECT_FALSE(report.radioFound);
  ASSERT_NE(FindKind(report.findings, FindingKind::kNoPorts), nullptr);
  EXPECT_EQ(ReportLines(report).back(), "No radio of this program's model answers.");
}

// ---- How it is told ----

TEST(DoctorText, OneLineEachWithItsRemedy) {
  const Finding f{FindingKind::kNotInGroup, FindingLevel::kFault, "/dev/ttyUSB0", "tech is not in group dialout",
                  "sudo usermod -aG dialout tech"};
  EXPECT_EQ(FindingLine(f), "FAULT  /dev/ttyUSB0: tech is not in group dialout -- do: sudo usermod -aG dialout tech");
  const Finding ok{FindingKind::kMayOpen, FindingLevel::kOk, "", "fine", ""};
  EXPECT_EQ(FindingLine(ok), "ok     fine");
}

TEST(DoctorText, JsonEscapesAndNamesEachCheck) {
  DoctorReport report;
  report.devices = {"/dev/ttyUSB0"};
  report.findings = {{FindingKind::kOtherModel, FindingLevel::kFault, "/dev/ttyUSB0",
                      "firmware \"Merlo\\x\"\n", "connect a Kestal"}};
  const std::string json = ReportJson(report, BuildConfig::ForFamily("Kestal", false));
  EXPECT_NE(json.find("\"radioFound\": false"), std::string::npos) << json;
  EXPECT_NE(json.find("\"check\": \"other-model\", \"level\": \"fault\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"text\": \"firmware \\\"Merlo\\\\x\\\"\\n\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"model\": \"Kestal\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"program\": \"Vorn Kestal Programmer  QP0417.2.00\","), std::string::npos) << json;
}

TEST(DoctorText, SavedReportHasVersionFindingsAndTraceTail) {
  DoctorReport report;
  report.findings = {{FindingKind::kSilent, FindingLevel::kFault, "/dev/ttyUSB0", "no radio answers", "switch on"}};
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  const std::string text = SavedReportText(report, build, "12:00:01.250 Tx: 7E 01\n");
  EXPECT_NE(text.find(VersionReport(build, "Programmer")), std::string::npos) << text;
  EXPECT_NE(text.find(FindingLine(report.findings[0])), std::string::npos) << text;
  EXPECT_NE(text.find("12:00:01.250 Tx: 7E 01\n"), std::string::npos) << text;
}

TEST(DoctorText, TraceTailKeepsWholeLastLines) {
  FakeMachine machine;
  machine.Write("trace.txt", "first line\nsecond line\nthird line\n");
  const std::string path = machine.Path("trace.txt").string();
  EXPECT_EQ(TraceTail(path, 1000), "first line\nsecond line\nthird line\n");
  EXPECT_EQ(TraceTail(path, 15), "third line\n");
  EXPECT_EQ(TraceTail(machine.Path("none").string(), 100), "");
}

}  // namespace
