#include "leaddoctor.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "leadnames.h"

namespace fs = std::filesystem;

namespace {

struct KindRow {
  FindingKind kind;
  const char* key;
};
constexpr KindRow kKinds[] = {
    {FindingKind::kNoPorts, "no-ports"},
    {FindingKind::kNoSuchDevice, "no-such-device"},
    {FindingKind::kDevice, "device"},
    {FindingKind::kUsbAdapter, "usb-adapter"},
    {FindingKind::kStableNames, "stable-names"},
    {FindingKind::kMayOpen, "may-open"},
    {FindingKind::kNotInGroup, "not-in-group"},
    {FindingKind::kGroupNotInLogin, "group-not-in-login"},
    {FindingKind::kModeDenies, "mode-denies"},
    {FindingKind::kHeldBy, "held-by"},
    {FindingKind::kHeldByModemManager, "held-by-modemmanager"},
    {FindingKind::kModemManagerWatches, "modemmanager-watches"},
    {FindingKind::kModemManagerIgnores, "modemmanager-ignores"},
    {FindingKind::kBrlttyBound, "brltty-bound"},
    {FindingKind::kDriverRefuses, "driver-refuses"},
    {FindingKind::kWillNotOpen, "will-not-open"},
    {FindingKind::kEchoes, "echoes"},
    {FindingKind::kSilent, "silent"},
    {FindingKind::kOtherModel, "other-model"},
    {FindingKind::kRadioAnswers, "radio-answers"},
    {FindingKind::kRadioAtOtherRate, "radio-at-other-rate"},
};

// USB serial chips whose driver, when it will not take one, leaves no
// trace but an adapter without a port.
constexpr const char* kSerialChipVendors[] = {"0403", "067b", "1a86", "10c4"};

constexpr const char* kUdevRemedy =
    "install the lead's udev rule (vornprog doctor --udev-rule; see the README), then unplug and "
    "replug the lead";

std::string Trimmed(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t start = 0;
  while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
  return s.substr(start);
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  return Trimmed(line);
}

bool IsNumber(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string LinkName(const fs::path& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : target.filename().string();
}

// The fields of a colon-separated line of the passwd or group file.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, ':')) fields.push_back(field);
  if (!line.empty() && line.back() == ':') fields.push_back("");
  return fields;
}

struct GroupEntry {
  std::string name;
  std::vector<std::string> members;
  bool found = false;
};

GroupEntry FindGroup(const SystemRoot& root, unsigned gid) {
  std::ifstream in(root.At("/etc/group"));
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 3 || !IsNumber(f[2]) || std::stoul(f[2]) != gid) continue;
    GroupEntry entry{f[0], {}, true};
    std::istringstream members(f.size() > 3 ? f[3] : "");
    std::string m;
    while (std::getline(members, m, ','))
      if (!m.empty()) entry.members.push_back(m);
    return entry;
  }
  return {};
}

// The numbers after a "Key:" line of /proc/<pid>/status.
std::vector<unsigned> StatusNumbers(const std::string& status, const std::string& key) {
  std::istringstream lines(status);
  std::string line;
  std::vector<unsigned> numbers;
  while (std::getline(lines, line)) {
    if (line.rfind(key + ":", 0) != 0) continue;
    std::istringstream values(line.substr(key.size() + 1));
    unsigned v = 0;
    while (values >> v) numbers.push_back(v);
  }
  return numbers;
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<int> ProcessIds(const SystemRoot& root) {
  std::vector<int> pids;
  std::error_code ec;
  for (fs::directory_iterator it(root.At("/proc"), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (IsNumber(name) && name.size() < 10) pids.push_back(std::stoi(name));
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

std::string ProcessName(const SystemRoot& root, int pid) {
  return FirstLine(root.At("/proc/" + std::to_string(pid) + "/comm"));
}

bool HoldsOpen(const SystemRoot& root, int pid, const std::vector<std::string>& names) {
  std::error_code ec;
  for (fs::directory_iterator it(root.At("/proc/" + std::to_string(pid) + "/fd"), ec), end;
       !ec && it != end; it.increment(ec)) {
    std::error_code linkError;
    const std::string target = fs::read_symlink(it->path(), linkError).string();
    if (!linkError && std::find(names.begin(), names.end(), target) != names.end()) return true;
  }
  return false;
}

// The kernel's name of the device ("ttyUSB0"), through any link to it.
std::string KernelName(const SystemRoot& root, const std::string& liveDevice) {
  std::error_code ec;
  const std::string rooted = root.At(liveDevice);
  const fs::path real = fs::canonical(rooted, ec);
  // A link out of a prepared tree (to a pseudo-terminal standing in for
  // the lead) keeps the tree's own name.
  const bool leftTree = rooted != liveDevice && root.Live(real.string()) == real.string();
  return ec || leftTree ? fs::path(liveDevice).filename().string() : real.filename().string();
}

// The names a process's descriptor may show for the device.
std::vector<std::string> DeviceNames(const SystemRoot& root, const std::string& liveDevice) {
  std::vector<std::string> names = {liveDevice};
  std::error_code ec;
  const fs::path real = fs::canonical(root.At(liveDevice), ec);
  if (!ec) names.push_back(root.Live(real.string()));
  return names;
}

std::string ModeText(unsigned mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", mode & 07777);
  return text;
}

bool Contains(const std::vector<unsigned>& v, unsigned x) { return std::find(v.begin(), v.end(), x) != v.end(); }

// Whether the groups file (or the passwd file's primary group) puts the
// user in the group, for a login made now.
bool UserInGroup(const SystemRoot& root, const LoginIdentity& who, unsigned gid, const GroupEntry& group) {
  if (std::find(group.members.begin(), group.members.end(), who.user) != group.members.end()) return true;
  std::ifstream in(root.At("/etc/passwd"));
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() > 3 && f[0] == who.user && IsNumber(f[3])) return std::stoul(f[3]) == gid;
  }
  return false;
}

Finding AccessFinding(const SystemRoot& root, const std::string& device) {
  struct stat st {};
  if (stat(root.At(device).c_str(), &st) != 0)
    return {FindingKind::kNoSuchDevice, FindingLevel::kFault, device, "the device cannot be looked at",
            "unplug and replug the lead"};
  const LoginIdentity who = ReadLoginIdentity(root);
  const GroupEntry group = FindGroup(root, st.st_gid);
  const std::string groupName = group.found ? group.name : std::to_string(st.st_gid);
  const std::string user = who.user.empty() ? "$USER" : who.user;
  const std::string owner = "owned by group " + groupName + ", mode " + ModeText(st.st_mode);
  auto canRw = [&](unsigned shift) { return ((st.st_mode >> shift) & 06) == 06; };

  const bool loginHasGroup = who.gid == st.st_gid || Contains(who.groups, st.st_gid);
  if (who.uid == 0 || (who.uid == st.st_uid && canRw(6)) || canRw(0) || (loginHasGroup && canRw(3)))
    return {FindingKind::kMayOpen, FindingLevel::kOk, device, "you may open it (" + owner + ")", ""};
  if (!canRw(3))
    return {FindingKind::kModeDenies, FindingLevel::kFault, device,
            "its mode lets only its owner open it (" + owner + ")", kUdevRemedy};
  if (UserInGroup(root, who, st.st_gid, group))
    return {FindingKind::kGroupNotInLogin, FindingLevel::kFault, device,
            user + " is in group " + groupName + ", but this login started before that (" + owner + ")",
            "log out and in again (or restart the computer); for this terminal alone: newgrp " + groupName};
  return {FindingKind::kNotInGroup, FindingLevel::kFault, device,
          user + " is not in group " + groupName + " (" + owner + ")",
          "sudo usermod -aG " + groupName + " " + user + ", then log out and in again"};
}

std::string AdapterName(const UsbAdapter& usb) {
  std::string name = usb.vendorId + ":" + usb.productId;
  for (const std::string* part : {&usb.maker, &usb.product})
    if (!part->empty()) name += " " + *part;
  return name;
}

// The USB device folder at or above dir (the one with idVendor), staying
// inside sysRoot; empty when there is none.
fs::path UsbDeviceAbove(fs::path dir, const fs::path& sysRoot) {
  const std::string rootText = sysRoot.string();
  for (int level = 0; level < 5; ++level) {
    if (dir.string().compare(0, rootText.size(), rootText) != 0 || dir == sysRoot) break;
    if (fs::exists(dir / "idVendor")) return dir;
    dir = dir.parent_path();
  }
  return {};
}

UsbAdapter ReadUsbDevice(const fs::path& dir) {
  UsbAdapter usb;
  usb.present = true;
  usb.vendorId = FirstLine(dir / "idVendor");
  usb.productId = FirstLine(dir / "idProduct");
  usb.maker = FirstLine(dir / "manufacturer");
  usb.product = FirstLine(dir / "product");
  usb.serial = FirstLine(dir / "serial");
  const std::string bus = FirstLine(dir / "busnum"), dev = FirstLine(dir / "devnum");
  if (IsNumber(bus) && IsNumber(dev) && bus.size() < 4 && dev.size() < 4) {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d", std::stoi(bus), std::stoi(dev));
    usb.usbNode = node;
  }
  return usb;
}

bool HasSerialPort(const fs::path& usbDevice) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(usbDevice, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) return true;
  }
  return false;
}

}  // namespace

const char* FindingKey(FindingKind kind) {
  for (const KindRow& row : kKinds)
    if (row.kind == kind) return row.key;
  return "?";
}

const char* FindingLevelText(FindingLevel level) {
  switch (level) {
    case FindingLevel::kOk: return "ok";
    case FindingLevel::kNote: return "note";
    case FindingLevel::kFault: return "FAULT";
  }
  return "?";
}

SystemRoot::SystemRoot(std::string root) : root_(std::move(root)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  if (root_ == "/") root_.clear();
}

std::string SystemRoot::At(const std::string& path) const { return root_ + path; }

std::string SystemRoot::Live(const std::string& rooted) const {
  if (!root_.empty() && rooted.compare(0, root_.size(), root_) == 0 &&
      (rooted.size() == root_.size() || rooted[root_.size()] == '/'))
    return rooted.substr(root_.size());
  return rooted;
}

PortMap SystemRoot::Ports() const { return PortMap(At("/dev"), At("/sys")); }

UsbAdapter FindUsbAdapter(const SystemRoot& root, const std::string& liveDevice) {
  std::error_code ec;
  const fs::path sysRoot = fs::canonical(root.At("/sys"), ec);
  if (ec) return {};
  const fs::path tty = sysRoot / "class" / "tty" / KernelName(root, liveDevice);
  const fs::path device = fs::canonical(tty / "device", ec);
  if (ec) return {};
  const fs::path usbDir = UsbDeviceAbove(device, sysRoot);
  if (usbDir.empty()) return {};
  UsbAdapter usb = ReadUsbDevice(usbDir);
  usb.driver = LinkName(device / "driver");
  return usb;
}

LoginIdentity ReadLoginIdentity(const SystemRoot& root) {
  LoginIdentity who;
  const std::string status = Slurp(root.At("/proc/self/status"));
  const std::vector<unsigned> uids = StatusNumbers(status, "Uid");
  const std::vector<unsigned> gids = StatusNumbers(status, "Gid");
  // The effective ids decide what may be opened.
  if (uids.size() > 1) who.uid = uids[1];
  if (gids.size() > 1) who.gid = gids[1];
  who.groups = StatusNumbers(status, "Groups");
  const std::string self = LinkName(root.At("/proc/self"));
  if (IsNumber(self) && self.size() < 10) who.pid = std::stoi(self);
  std::ifstream in(root.At("/etc/passwd"));
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() > 2 && IsNumber(f[2]) && std::stoul(f[2]) == who.uid) {
      who.user = f[0];
      break;
    }
  }
  return who;
}

std::vector<Holder> ProcessesHolding(const SystemRoot& root, const std::string& liveDevice) {
  const std::vector<std::string> names = DeviceNames(root, liveDevice);
  std::vector<Holder> holders;
  for (int pid : ProcessIds(root))
    if (HoldsOpen(root, pid, names)) holders.push_back({pid, ProcessName(root, pid)});
  return holders;
}

int RunningProcess(const SystemRoot& root, const std::string& name) {
  for (int pid : ProcessIds(root))
    if (ProcessName(root, pid) == name) return pid;
  return 0;
}

bool ModemManagerIgnores(const SystemRoot& root, const std::string& liveDevice) {
  const std::string numbers =
      FirstLine(root.At("/sys/class/tty/" + KernelName(root, liveDevice) + "/dev"));
  std::string majorMinor = numbers;
  if (majorMinor.empty()) {
    struct stat st {};
    if (stat(root.At(liveDevice).c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    majorMinor = std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
  }
  std::ifstream in(root.At("/run/udev/data/c" + majorMinor));
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line == "E:ID_MM_DEVICE_IGNORE=1" || line == "E:ID_MM_PORT_IGNORE=1") return true;
  }
  return false;
}

std::vector<Finding> DiagnoseDevice(const SystemRoot& root, const std::string& device) {
  std::vector<Finding> findings;
  std::error_code ec;
  if (!fs::exists(root.At(device), ec)) {
    findings.push_back({FindingKind::kNoSuchDevice, FindingLevel::kFault, device, "no such device",
                        "plug the lead in, or name the right port (vornprog ports lists them; "
                        "sudo dmesg | tail shows whether the system saw the lead)"});
    return findings;
  }
  const PortMap ports = root.Ports();
  const int number = ports.NumberOf(root.At(device));
  findings.push_back({FindingKind::kDevice, FindingLevel::kOk, device,
                      number ? "serial port " + PortMap::ComName(number) : "serial device", ""});

  const UsbAdapter usb = FindUsbAdapter(root, device);
  if (usb.present) {
    std::string text = "USB adapter " + AdapterName(usb);
    text += usb.driver.empty() ? ", no driver" : ", driver " + usb.driver;
    text += usb.serial.empty() ? ", no serial number" : ", serial number " + usb.serial;
    findings.push_back({FindingKind::kUsbAdapter, FindingLevel::kOk, device, text, ""});
  }
  std::vector<std::string> stable;
  for (const char* kind : {"by-id", "by-path"})
    for (const std::string& name : StableLeadNames(root.At("/dev"), kind, root.At(device)))
      stable.push_back(root.Live(name));
  if (!stable.empty()) {
    std::string text = "stable names:";
    for (const std::string& name : stable) text += " " + name;
    findings.push_back({FindingKind::kStableNames, FindingLevel::kOk, device, text, ""});
  }

  findings.push_back(AccessFinding(root, device));

  const LoginIdentity who = ReadLoginIdentity(root);
  bool modemManagerHolds = false;
  for (const Holder& h : ProcessesHolding(root, device)) {
    if (h.pid == who.pid) continue;  // this program itself (the window's own port)
    const std::string holder = h.name + " (pid " + std::to_string(h.pid) + ")";
    if (device.rfind("/dev/pts/", 0) == 0) {
      // A pseudo-terminal is always held by the program at its far end
      // (the simulated radio): that is no fault.
      findings.push_back({FindingKind::kHeldBy, FindingLevel::kNote, device,
                          "open in " + holder + ", which may be the program at this pseudo-terminal's far end",
                          ""});
    } else if (h.name == "ModemManager") {
      modemManagerHolds = true;
      findings.push_back({FindingKind::kHeldByModemManager, FindingLevel::kFault, device,
                          "held open by " + holder + ", which takes the adapter for a modem",
                          std::string("sudo systemctl stop ModemManager now; for good: ") + kUdevRemedy});
    } else if (h.name == "brltty") {
      findings.push_back({FindingKind::kBrlttyBound, FindingLevel::kFault, device,
                          "held open by " + holder + ", the braille display driver",
                          "sudo systemctl stop brltty.service && sudo systemctl mask brltty-udev.service "
                          "brltty.service (or remove brltty when no braille display is used)"});
    } else {
      findings.push_back({FindingKind::kHeldBy, FindingLevel::kFault, device, "held open by " + holder,
                          "close " + h.name + " (or: kill " + std::to_string(h.pid) +
                              "); only one program at a time can use the lead"});
    }
  }
  const int modemManager = RunningProcess(root, "ModemManager");
  if (modemManager && !modemManagerHolds) {
    if (ModemManagerIgnores(root, device))
      findings.push_back({FindingKind::kModemManagerIgnores, FindingLevel::kOk, device,
                          "ModemManager runs and leaves this port alone", ""});
    else
      findings.push_back({FindingKind::kModemManagerWatches, FindingLevel::kNote, device,
                          "ModemManager runs and may probe this port when the lead is plugged in",
                          kUdevRemedy});
  }
  return findings;
}

std::vector<Finding> DiagnoseUsbAdapters(const SystemRoot& root) {
  std::vector<Finding> findings;
  std::error_code ec;
  const fs::path devices = root.At("/sys/bus/usb/devices");
  std::vector<fs::path> dirs;
  for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec))
    if (fs::exists(it->path() / "idVendor")) dirs.push_back(it->path());
  std::sort(dirs.begin(), dirs.end());
  const int brltty = RunningProcess(root, "brltty");

  for (const fs::path& dir : dirs) {
    const UsbAdapter usb = ReadUsbDevice(dir);
    if (HasSerialPort(dir)) continue;
    // Interfaces sit beside the device as "<device>:<config>.<number>".
    bool claimedByUsbfs = false, unbound = false;
    const std::string prefix = dir.filename().string() + ":";
    for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.rfind(prefix, 0) != 0) continue;
      const std::string driver = LinkName(it->path() / "driver");
      claimedByUsbfs |= driver == "usbfs";
      unbound |= driver.empty();
    }
    const bool brlttyHolds = brltty && !usb.usbNode.empty() &&
                             HoldsOpen(root, brltty, {usb.usbNode});
    const std::string subject = "USB " + usb.vendorId + ":" + usb.productId;
    if (brltty && (brlttyHolds || claimedByUsbfs)) {
      findings.push_back({FindingKind::kBrlttyBound, FindingLevel::kFault, subject,
                          "brltty (pid " + std::to_string(brltty) + ") has claimed the USB adapter " +
                              AdapterName(usb) + ", so it has no serial port",
                          "sudo systemctl stop brltty.service && sudo systemctl mask brltty-udev.service "
                          "brltty.service (or remove brltty when no braille display is used), then "
                          "unplug and replug the lead"});
      continue;
    }
    const bool serialChip = std::any_of(std::begin(kSerialChipVendors), std::end(kSerialChipVendors),
                                        [&](const char* v) { return usb.vendorId == v; });
    if (serialChip && unbound)
      findings.push_back({FindingKind::kDriverRefuses, FindingLevel::kFault, subject,
                          "the USB serial adapter " + AdapterName(usb) +
                              " has no driver, so it has no serial port",
                          "sudo dmesg | tail -20 tells why; a driver refuses counterfeit or withdrawn "
                          "chips (a fake FT232, a PL2303HXA): use another lead"});
  }
  return findings;
}

std::vector<std::string> PortsToDiagnose(const SystemRoot& root, const std::string& named,
                                         const std::vector<std::string>& extraDevices) {
  PortMap ports = root.Ports();
  for (const std::string& device : extraDevices) ports.AddExtraDevice(root.At(device));
  if (named.empty()) {
    std::vector<std::string> devices;
    for (int n = 1; n <= kMaxPortNumber; ++n)
      if (ports.PortExists(n)) devices.push_back(root.Live(ports.DevicePath(n)));
    return devices;
  }
  const int number = PortMap::ParseComName(named);
  if (number) return {root.Live(ports.DevicePath(number))};
  return {named};
}
