#pragma once
// The program numbers its ports 1..256 and calls them "COM" + number.
// On Linux a number stands for a device node:
//   COM1-COM32  /dev/ttyS0-31      COM33-COM64 /dev/ttyUSB0-31
//   COM65-COM96 /dev/ttyACM0-31    COM97-      extra devices, in order
// Extra devices are named by the user (a /dev/serial/by-id link, the
// simulated radio's pseudo-terminal, ...).

#include <string>
#include <vector>

inline constexpr int kMaxPortNumber = 256;
inline constexpr int kFirstExtraPort = 97;

class PortMap {
 public:
  // The roots stand in for /dev and /sys, so the map can be pointed at a
  // prepared folder.
  explicit PortMap(std::string devRoot = "/dev", std::string sysRoot = "/sys");
  void SetRoots(std::string devRoot, std::string sysRoot);

  // Device path for a port number, empty when the number maps to nothing.
  std::string DevicePath(int number) const;
  // "COM" + number when name is of that form, else 0.
  static int ParseComName(const std::string& name);
  static std::string ComName(int number);

  static constexpr int kMaxExtraDevices = kMaxPortNumber - kFirstExtraPort + 1;
  // Appends an extra device; returns its port number (97..256) or -1.
  int AddExtraDevice(const std::string& path);
  void SetExtraDevices(const std::vector<std::string>& paths);
  const std::vector<std::string>& ExtraDevices() const { return extra_; }
  // Port number of a device path, 0 when it is not in the map.
  int NumberOf(const std::string& path) const;

  // A port exists when its node exists; a ttyS node only when the kernel
  // reports a real UART behind it.
  bool PortExists(int number) const;
  // Human description of a USB adapter (from sysfs), empty when unknown.
  std::string Description(int number) const;

 private:
  bool IsRealUart(const std::string& node, const std::string& ttyName) const;

  std::string devRoot_;
  std::string sysRoot_;
  std::vector<std::string> extra_;
};
