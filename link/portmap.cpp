#include "portmap.h"

#ifndef _WIN32
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

namespace fs = std::filesystem;

// Which devices the numbers stand for, and which exist, is the system's
// own business: the Linux nodes here, the COM ports in portmap_win32.cpp.
#ifndef _WIN32
namespace {

// Each kernel family of serial nodes owns a block of 32 port numbers.
struct NodeFamily {
  int firstPort;
  const char* stem;
};
constexpr int kFamilySize = 32;
constexpr NodeFamily kFamilies[] = {
    {1, "ttyS"},
    {33, "ttyUSB"},
    {65, "ttyACM"},
};

std::string Trimmed(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t start = 0;
  while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
  return s.substr(start);
}

// First line of a small sysfs attribute; empty when it cannot be read.
std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  return Trimmed(line);
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

}  // namespace

#endif  // !_WIN32

PortMap::PortMap(std::string devRoot, std::string sysRoot)
    : devRoot_(std::move(devRoot)), sysRoot_(std::move(sysRoot)) {}

void PortMap::SetRoots(std::string devRoot, std::string sysRoot) {
  devRoot_ = std::move(devRoot);
  sysRoot_ = std::move(sysRoot);
}

#ifndef _WIN32
std::string PortMap::DevicePath(int number) const {
  for (const NodeFamily& f : kFamilies)
    if (number >= f.firstPort && number < f.firstPort + kFamilySize)
      return devRoot_ + "/" + f.stem + std::to_string(number - f.firstPort);
  const int extra = number - kFirstExtraPort;
  if (number <= kMaxPortNumber && extra >= 0 && extra < static_cast<int>(extra_.size()))
    return extra_[static_cast<size_t>(extra)];
  return {};
}

#endif  // !_WIN32

int PortMap::ParseComName(const std::string& name) {
  if (name.size() < 4 || name.size() > 6) return 0;  // "COM" + 1..3 digits
  for (int i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(name[static_cast<size_t>(i)])) != "COM"[i]) return 0;
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number >= 1 && number <= kMaxPortNumber ? number : 0;
}

std::string PortMap::ComName(int number) { return "COM" + std::to_string(number); }

int PortMap::AddExtraDevice(const std::string& path) {
  if (path.empty() || static_cast<int>(extra_.size()) >= kMaxExtraDevices) return -1;
  extra_.push_back(path);
  return kFirstExtraPort + static_cast<int>(extra_.size()) - 1;
}

void PortMap::SetExtraDevices(const std::vector<std::string>& paths) {
  extra_.clear();
  for (const std::string& p : paths) AddExtraDevice(p);
}

int PortMap::NumberOf(const std::string& path) const {
  if (path.empty()) return 0;
  const int last = kFirstExtraPort + static_cast<int>(extra_.size()) - 1;
  for (int n = 1; n <= last; ++n)
    if (DevicePath(n) == path) return n;
  return 0;
}

#ifndef _WIN32
// Every ttyS node is created whether or not a UART answers behind it, so
// the node alone proves nothing. serial_core publishes the probed UART type
// in sysfs (0 = unknown); without it, ask the driver, never blocking.
bool PortMap::IsRealUart(const std::string& node, const std::string& ttyName) const {
  const fs::path sysDir = fs::path(sysRoot_) / "class" / "tty" / ttyName;
  const std::string type = ReadAttribute(sysDir / "type");
  if (!type.empty() && std::isdigit(static_cast<unsigned char>(type[0])))
    return std::strtol(type.c_str(), nullptr, 10) != PORT_UNKNOWN;
  if (!Exists(sysDir / "device" / "driver")) return false;

  const int fd = open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return !(errno == EIO || errno == ENXIO || errno == ENODEV);
  serial_struct info{};
  const bool asked = ioctl(fd, TIOCGSERIAL, &info) == 0;
  close(fd);
  return asked ? info.type != PORT_UNKNOWN : true;
}

bool PortMap::PortExists(int number) const {
  const std::string path = DevicePath(number);
  if (path.empty() || !Exists(path)) return false;
  if (number >= kFamilies[0].firstPort && number < kFamilies[0].firstPort + kFamilySize)
    return IsRealUart(path, fs::path(path).filename().string());
  return true;
}

// USB adapters: the tty's device is a USB interface (ttyACM) or a child of
// one (ttyUSB); the USB device holding "manufacturer" and "product" is a
// few levels up.
std::string PortMap::Description(int number) const {
  const std::string path = DevicePath(number);
  if (path.empty()) return {};
  std::error_code ec;
  const fs::path node = fs::canonical(path, ec);
  if (ec) return {};
  const fs::path sysRoot = fs::canonical(sysRoot_, ec);
  if (ec) return {};
  fs::path dir = fs::canonical(sysRoot / "class" / "tty" / node.filename() / "device", ec);
  if (ec) return {};

  const std::string rootText = sysRoot.string();
  for (int level = 0; level < 4; ++level) {
    if (dir.string().compare(0, rootText.size(), rootText) != 0 || dir == sysRoot) break;
    const std::string maker = ReadAttribute(dir / "manufacturer");
    const std::string product = ReadAttribute(dir / "product");
    if (!maker.empty() || !product.empty())
      return maker.empty() ? product : product.empty() ? maker : maker + " " + product;
    dir = dir.parent_path();
  }
  return {};
}
#endif  // !_WIN32
