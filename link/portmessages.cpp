#include "portmessages.h"

#include <cerrno>

std::string PortPermissionRemedy(int errorNumber) {
  if (errorNumber != EACCES && errorNumber != EPERM) return "";
  return "Serial ports belong to the \"dialout\" group. Add your user to it "
         "(sudo usermod -aG dialout $USER), then log out and log in again.";
}

std::string OpenPortFailureText(const std::string& portName, const std::string& reason,
                                int errorNumber) {
  std::string text = "Unable to open " + portName + ".";
  if (!reason.empty()) text += "\n" + reason;
  const std::string remedy = PortPermissionRemedy(errorNumber);
  if (!remedy.empty()) text += "\n" + remedy;
  return text;
}
