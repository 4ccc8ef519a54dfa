#include "portmap.h"

#include <windows.h>
#include <devguid.h>
#include <setupapi.h>
#undef PostMessage  // the receiver's method, not the Win32 call

#include <string>

// On Windows COMn is the system's own COM port of that number; devices
// the user names (COM97 onwards) take their numbers as on Linux.

namespace {

std::string Narrow(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[256] = {};
  if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                         reinterpret_cast<BYTE*>(text), sizeof text - sizeof(wchar_t),
                                         nullptr))
    return {};
  return Narrow(text);
}

// The "PortName" a ports-class device was given ("COM5").
std::string PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
  HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  wchar_t name[64] = {};
  DWORD size = sizeof name - sizeof(wchar_t);
  DWORD type = 0;
  const bool read = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                                     &size) == ERROR_SUCCESS && type == REG_SZ;
  RegCloseKey(key);
  return read ? Narrow(name) : std::string();
}

}  // namespace

std::string PortMap::DevicePath(int number) const {
  const int extra = number - kFirstExtraPort;
  if (number <= kMaxPortNumber && extra >= 0 && extra < static_cast<int>(extra_.size()))
    return extra_[static_cast<size_t>(extra)];
  if (number < 1 || number > kMaxPortNumber) return {};
  return "\\\\.\\" + ComName(number);
}

// A COM port exists when the system has a device name for it: a real
// UART, a USB adapter plugged in now, or one wine maps to a Unix device.
bool PortMap::PortExists(int number) const {
  const int extra = number - kFirstExtraPort;
  if (extra >= 0 && extra < static_cast<int>(extra_.size()))
    return GetFileAttributesA(extra_[static_cast<size_t>(extra)].c_str()) != INVALID_FILE_ATTRIBUTES;
  if (number < 1 || number > kMaxPortNumber) return false;
  wchar_t target[512];
  const std::wstring name = L"COM" + std::to_wstring(number);
  return QueryDosDeviceW(name.c_str(), target, sizeof target / sizeof target[0]) != 0;
}

// The maker and product of the port's device, as Device Manager names them.
std::string PortMap::Description(int number) const {
  if (number < 1 || number >= kFirstExtraPort) return {};
  const std::string wanted = ComName(number);
  HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return {};
  std::string description;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    if (PortNameOf(set, device) != wanted) continue;
    const std::string maker = DeviceProperty(set, device, SPDRP_MFG);
    const std::string product = DeviceProperty(set, device, SPDRP_DEVICEDESC);
    description = maker.empty() ? product : product.empty() ? maker : maker + " " + product;
    break;
  }
  SetupDiDestroyDeviceInfoList(set);
  return description;
}
