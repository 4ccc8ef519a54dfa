#pragma once
// Why a lead does not answer, found the way a support person on the phone
// would go about it: the device and its USB adapter, whether this user
// may open it, who else holds it (ModemManager, brltty, another program),
// and then the line itself (an echoing lead, a silent radio, a radio of
// another model). Each finding is one line with what to do about it.
//
// Every file of the system is read under a root folder ("/" on a live
// machine), so the probes can be pointed at a prepared tree.

#include <string>
#include <vector>

#include "portmap.h"

enum class FindingLevel { kOk, kNote, kFault };

enum class FindingKind {
  kNoPorts,
  kNoSuchDevice,
  kDevice,
  kUsbAdapter,
  kStableNames,
  kMayOpen,
  kNotInGroup,
  kGroupNotInLogin,
  kModeDenies,
  kHeldBy,
  kHeldByModemManager,
  kModemManagerWatches,
  kModemManagerIgnores,
  kBrlttyBound,
  kDriverRefuses,
  kWillNotOpen,
  kEchoes,
  kSilent,
  kOtherModel,
  kRadioAnswers,
  kRadioAtOtherRate,
};

struct Finding {
  FindingKind kind;
  FindingLevel level;
  std::string subject;  // "/dev/ttyUSB0", or "" for the machine as a whole
  std::string text;
  std::string remedy;  // the command to run or what to check; "" when all is well
};

// The short name of a kind for --json and tests: "not-in-group", ...
const char* FindingKey(FindingKind kind);
const char* FindingLevelText(FindingLevel level);  // "ok", "note", "FAULT"

// The system's files as seen from a root folder.
class SystemRoot {
 public:
  explicit SystemRoot(std::string root = "/");
  // path is absolute on the live system ("/proc/self/status").
  std::string At(const std::string& path) const;
  // The live path of a path under the root ("/dev/ttyUSB0").
  std::string Live(const std::string& rooted) const;
  PortMap Ports() const;

 private:
  std::string root_;
};

// The USB device behind a serial port, read from sysfs.
struct UsbAdapter {
  bool present = false;
  std::string vendorId, productId;  // "0403", "6001"
  std::string maker, product, serial;
  std::string driver;     // the tty's driver: "ftdi_sio", "cdc_acm"
  std::string usbNode;    // "/dev/bus/usb/001/005"
};

// A process holding a device open.
struct Holder {
  int pid = 0;
  std::string name;  // its comm: "ModemManager", "minicom"
};

// Who this program runs as: the login's groups are the ones it has now;
// the groups file may list more that a new login would bring.
struct LoginIdentity {
  unsigned uid = 0;
  unsigned gid = 0;
  std::vector<unsigned> groups;
  std::string user;
  int pid = 0;
};

UsbAdapter FindUsbAdapter(const SystemRoot& root, const std::string& liveDevice);
LoginIdentity ReadLoginIdentity(const SystemRoot& root);
// Every process with the live path open (under another name too, e.g. a
// /dev/serial/by-id link), lowest pid first; processes whose descriptors
// may not be read are passed over.
std::vector<Holder> ProcessesHolding(const SystemRoot& root, const std::string& liveDevice);
// The first running process of that name (its comm), 0 when none.
int RunningProcess(const SystemRoot& root, const std::string& name);
// Whether udev marked the device for ModemManager to leave alone.
bool ModemManagerIgnores(const SystemRoot& root, const std::string& liveDevice);

// What the system says about one port: everything up to opening it.
std::vector<Finding> DiagnoseDevice(const SystemRoot& root, const std::string& liveDevice);
// Adapters that have no serial port at all: claimed by brltty, or refused
// by their driver.
std::vector<Finding> DiagnoseUsbAdapters(const SystemRoot& root);

// The live device paths of the ports the programmer would consider (its
// extra devices, COM97 onwards, too), or of the one named (COM name or
// device path; empty when it maps to nothing).
std::vector<std::string> PortsToDiagnose(const SystemRoot& root, const std::string& named,
                                         const std::vector<std::string>& extraDevices = {});
