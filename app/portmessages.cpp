#include "portmessages.h"

#include <cerrno>

std::string OpenPortFailureText(const std::string& portName, const std::string& reason,
                                int errorNumber) {
  std::string text = "Unable to open " + portName + ".";
  if (!reason.empty()) text += "\n" + reason;
  if (errorNumber == EACCES || errorNumber == EPERM)
    text +=
        "\nSerial ports belong to the \"dialout\" group. Add your user to it "
        "(sudo usermod -aG dialout $USER), then log out and log in again.";
  return text;
}
