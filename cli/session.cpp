#include "session.h"

#include <unistd.h>

#include "portmap.h"

void Say(const std::string& text) { std::fprintf(stderr, "vornprog: %s\n", text.c_str()); }

Session::Session(const BuildConfig& b, std::FILE* messages)
    : SharedObjects(b.productId),
      build(b),
      host(messages, isatty(fileno(messages)) == 1),
      flows(RadioObjectsOf(*this, build), state, host, &window) {
  info.SelectModel(build.productId);
  host.Attach(flows, window, radio);
  host.SetArrayFlag(TradioInfo::HasArrayTransfer(build.productId));
}

bool Session::UsePort(const std::string& portText, std::string& error) {
  int number = PortMap::ParseComName(portText);
  if (number == 0 && portText.find('/') != std::string::npos) {
    // A device the map already names keeps its own COM number.
    number = port.Ports().NumberOf(portText);
    if (number == 0) number = port.Ports().AddExtraDevice(portText);
  }
  if (number <= 0) {
    error = "PORT must be COM1 to COM256 or a device path, not " + portText;
    return false;
  }
  state.portNumber = number;
  return true;
}

bool Session::PortCheck() {
  if (flows.PortCheck()) return true;
  const std::string device = port.Ports().DevicePath(state.portNumber);
  const std::string reason = port.LastOpenError();
  host.Note(PortMap::ComName(state.portNumber) + " is " + (device.empty() ? "no device" : device) +
            (reason.empty() ? "" : ": " + reason));
  return false;
}
