#pragma once
// The link's shared objects on one pseudo-terminal (a simulated radio or a
// bare peer), and the three traffic monitors each posting to a recording
// receiver; Lines() runs the recorded messages through a monitor as its
// window would, at a fixed time of day.

#include <ctime>
#include <string>
#include <vector>

#include "platform.h"
#include "portmap.h"
#include "recording_receiver.h"
#include "sharedobjects.h"
#include "trafficmonitor.h"

// 12:00:01.250 today, local time.
inline MonitorTime NoonAndABit() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  t.tm_hour = 12;
  t.tm_min = 0;
  t.tm_sec = 1;
  t.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&t)) + std::chrono::milliseconds(250);
}

struct WatchedMonitor {
  explicit WatchedMonitor(TrafficMonitor& m) : monitor(m) {}
  // The lines of every message posted since the last call.
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const PostedMessage& m : receiver.Messages())
      if (auto line = monitor.Handle(m.message, m.wParam, m.lParam, NoonAndABit())) lines.push_back(*line);
    receiver.Clear();
    return lines;
  }
  std::string Attach() { return monitor.Attach(&receiver, NoonAndABit()); }

  TrafficMonitor& monitor;
  RecordingReceiver receiver;
};

struct MonitorRig {
  explicit MonitorRig(uint32_t productId) : shared(productId) { shared.info.SelectModel(productId); }
  // Opens the port on `path` as the first extra device.
  bool OpenOn(const std::string& path) {
    number = shared.port.Ports().AddExtraDevice(path);
    return shared.port.Open(PortMap::ComName(number), 9600);
  }

  SharedObjects shared;
  int number = 0;
  ByteMonitor bytes{shared.port};
  VornIIPacketMonitor packetsII{shared.radio.ProtocolII()};
  VornIPacketMonitor packetsI{shared.radio.ProtocolI()};
  WatchedMonitor byteWatch{bytes}, iiWatch{packetsII}, iWatch{packetsI};
};
