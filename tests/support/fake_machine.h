#pragma once
// A machine's /sys, /proc, /dev, /run and /etc made in a scratch folder,
// as the kernel and udev show them, for the lead check's probes. One USB
// lead at most on ttyUSB0; processes and the login are added by the test.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

class FakeMachine {
 public:
  // A login uid no test runner has: the device is never the login's own.
  static constexpr unsigned kUid = 54321;
  static constexpr int kOwnPid = 4242;

  FakeMachine() {
    char tmpl[] = "/tmp/lead_doctor_XXXXXX";
    if (mkdtemp(tmpl)) root_ = tmpl;
    Write("etc/passwd", "root:x:0:0::/root:/bin/sh\ntech:x:" + std::to_string(kUid) + ":" +
                            std::to_string(kUid) + "::/home/tech:/bin/bash\n");
    fs::create_directories(root_ / "proc" / std::to_string(kOwnPid));
    fs::create_symlink(std::to_string(kOwnPid), root_ / "proc" / "self");
    Write("proc/" + std::to_string(kOwnPid) + "/comm", "vornprog\n");
    Login(kUid, {});
  }
  ~FakeMachine() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  FakeMachine(const FakeMachine&) = delete;
  FakeMachine& operator=(const FakeMachine&) = delete;

  std::string Root() const { return root_.string(); }
  fs::path Path(const std::string& rel) const { return root_ / rel; }

  void Write(const std::string& rel, const std::string& text) const {
    fs::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel) << text;
  }
  void Link(const std::string& rel, const fs::path& target) const {
    fs::create_directories((root_ / rel).parent_path());
    fs::create_symlink(target, root_ / rel);
  }

  // This program's uid (effective too) and the groups of its login.
  void Login(unsigned uid, const std::vector<unsigned>& groups) const {
    std::string list;
    for (unsigned g : groups) list += std::to_string(g) + " ";
    const std::string id = std::to_string(uid);
    Write("proc/" + std::to_string(kOwnPid) + "/status", "Name:\tvornprog\nUid:\t" + id + "\t" + id + "\t" +
                                                           id + "\t" + id + "\nGid:\t" + id + "\t" + id +
                                                           "\t" + id + "\t" + id + "\nGroups:\t" + list + "\n");
  }
  // The group file names the device's group "dialout", with these members.
  void DialoutGroup(const std::string& members) const { Write("etc/group", "dialout:x:" + std::to_string(DeviceGid()) + ":" + members + "\n"); }
  // The device node belongs to whatever group the test runner's files get.
  unsigned DeviceGid() const { return static_cast<unsigned>(getegid()); }

  void Process(int pid, const std::string& name, const std::vector<std::string>& openFiles) const {
    const std::string dir = "proc/" + std::to_string(pid);
    Write(dir + "/comm", name + "\n");
    fs::create_directories(root_ / dir / "fd");
    for (size_t i = 0; i < openFiles.size(); ++i) Link(dir + "/fd/" + std::to_string(i + 3), openFiles[i]);
  }

  // An FTDI lead on ttyUSB0 (bus 1, device 5). node: a file standing in
  // for the device node, or a link to a real one (a pseudo-terminal).
  void UsbLead(const std::string& serial, const fs::path& linkTo = {}) const {
    const std::string usb = "sys/devices/pci0000:00/usb1/1-1";
    Write(usb + "/idVendor", "0403\n");
    Write(usb + "/idProduct", "6001\n");
    Write(usb + "/manufacturer", "FTDI\n");
    Write(usb + "/product", "FT232R USB UART\n");
    if (!serial.empty()) Write(usb + "/serial", serial + "\n");
    Write(usb + "/busnum", "1\n");
    Write(usb + "/devnum", "5\n");
    const std::string port = usb + "/1-1:1.0/ttyUSB0";
    fs::create_directories(root_ / "sys/bus/usb-serial/drivers/ftdi_sio");
    Link(port + "/driver", root_ / "sys/bus/usb-serial/drivers/ftdi_sio");
    Write(port + "/tty/ttyUSB0/dev", "188:0\n");
    Link(port + "/tty/ttyUSB0/device", root_ / port);
    Link("sys/class/tty/ttyUSB0", root_ / port / "tty/ttyUSB0");
    fs::create_directories(root_ / "sys/bus/usb/drivers/ftdi_sio");
    Link(usb + "/1-1:1.0/driver", root_ / "sys/bus/usb/drivers/ftdi_sio");
    Link("sys/bus/usb/devices/1-1", root_ / usb);
    Link("sys/bus/usb/devices/1-1:1.0", root_ / usb / "1-1:1.0");
    if (linkTo.empty()) {
      Write("dev/ttyUSB0", "");
      fs::permissions(root_ / "dev/ttyUSB0", fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read | fs::perms::group_write);
    } else {
      Link("dev/ttyUSB0", linkTo);
    }
    Link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_" + serial + "-if00-port0", "../../ttyUSB0");
    Link("dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0", "../../ttyUSB0");
  }

  // A USB device with no serial port, its interface bound to driver (""
  // for none).
  void PortlessUsbDevice(const std::string& vendor, const std::string& product, const std::string& driver) const {
    const std::string usb = "sys/devices/pci0000:00/usb1/1-2";
    Write(usb + "/idVendor", vendor + "\n");
    Write(usb + "/idProduct", product + "\n");
    Write(usb + "/product", "USB Serial\n");
    Write(usb + "/busnum", "1\n");
    Write(usb + "/devnum", "7\n");
    fs::create_directories(root_ / usb / "1-2:1.0");
    if (!driver.empty()) {
      fs::create_directories(root_ / "sys/bus/usb/drivers" / driver);
      Link(usb + "/1-2:1.0/driver", root_ / "sys/bus/usb/drivers" / driver);
    }
    Link("sys/bus/usb/devices/1-2", root_ / usb);
    Link("sys/bus/usb/devices/1-2:1.0", root_ / usb / "1-2:1.0");
  }

 private:
  fs::path root_;
};
