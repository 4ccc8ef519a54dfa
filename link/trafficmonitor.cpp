#include "trafficmonitor.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "messages.h"
#include "platform.h"
#include "serialport.h"
#include "vorniiprotocol.h"
#include "vorniprotocol.h"

namespace {

struct FaultText {
  int code;
  const char* text;
};
constexpr FaultText kFaultTexts[] = {
    {kVornIIFaultTimeout, "* timeout *"},
    {kVornIIFaultNack, "* NACK *"},
    {kVornIIFaultBadChecksum, "* bad checksum *"},
};

std::string FaultLine(MonitorTime now, intptr_t code) {
  for (const FaultText& f : kFaultTexts)
    if (f.code == code) return "[" + MonitorClock(now) + "] " + f.text;
  return "[" + MonitorClock(now) + "] * fault " + std::to_string(code) + " *";
}

}  // namespace

// ---- common state ---------------------------------------------------------

std::string TrafficMonitor::Attach(MessageReceiver* window, MonitorTime now) {
  AttachSource(window);
  attached_ = true;
  running_ = true;
  return StateLine(kMonitorRunning, now);
}

void TrafficMonitor::Detach() {
  running_ = false;
  if (!attached_) return;
  DetachSource();
  attached_ = false;
}

std::optional<std::string> TrafficMonitor::Start(MonitorTime now) {
  if (running_) return std::nullopt;
  running_ = true;
  return StateLine(kMonitorRunning, now);
}

std::optional<std::string> TrafficMonitor::Pause(MonitorTime now) {
  if (!running_) return std::nullopt;
  running_ = false;
  return StateLine(kMonitorPaused, now);
}

std::optional<std::string> TrafficMonitor::Handle(unsigned message, intptr_t wParam, intptr_t lParam,
                                                  MonitorTime now) {
  if (!attached_) return std::nullopt;
  return HandleMessage(message, wParam, lParam, now);
}

// ---- byte monitor ---------------------------------------------------------

void ByteMonitor::AttachSource(MessageReceiver* window) {
  // Bytes left in the taps from an earlier showing are not this showing's.
  uint8_t discard[kMaxTake];
  while (port_.ReadRxTap(discard, kMaxTake) > 0) {
  }
  while (port_.ReadTxTap(discard, kMaxTake) > 0) {
  }
  port_.SetMonitor(window, WM_BYTE_MONITOR);
}

void ByteMonitor::DetachSource() { port_.ClearMonitor(); }

std::string ByteMonitor::StateLine(const char* state, MonitorTime) const { return state; }

std::optional<std::string> ByteMonitor::HandleMessage(unsigned message, intptr_t wParam,
                                                      intptr_t lParam, MonitorTime now) {
  if (message != WM_BYTE_MONITOR) return std::nullopt;
  switch (wParam) {
    case kBytesReceived:
    case kBytesSent: {
      const bool received = wParam == kBytesReceived;
      uint8_t bytes[kMaxTake];
      // Taken even while paused, so the taps never fill with old bytes.
      const int taken = received ? port_.ReadRxTap(bytes, kMaxTake) : port_.ReadTxTap(bytes, kMaxTake);
      if (!IsRunning()) return std::nullopt;
      return ByteMonitorDataLine(MonitorClock(now), received, taken, static_cast<int>(lParam),
                                 bytes, decodeAscii_);
    }
    case kBaudRateChanged:
    case kPortChanged:
      return ByteMonitorChangeLine(static_cast<ByteMonitorEvent>(wParam), lParam);
    default:
      return std::nullopt;
  }
}

// ---- packet monitors ------------------------------------------------------

std::string PacketMonitor::StateLine(const char* state, MonitorTime now) const {
  return "[" + MonitorClock(now) + "] " + state;
}

std::string PacketMonitor::DataLine(MonitorTime now, bool received, intptr_t length,
                                    const uint8_t* bytes, int shown) {
  return "[" + MonitorClock(now) + "] " + (received ? "Rx[" : "Tx[") + std::to_string(length) +
         "] " + HexBytes(bytes, shown);
}

// Both engines keep a copy of every frame they tell a monitor about: the
// message names the copy and the length; the line shows that frame's own
// bytes, however far the window has fallen behind.
template <typename Engine>
std::optional<std::string> PacketMonitor::FrameLine(Engine& engine, unsigned message,
                                                   unsigned rxMessage, unsigned txMessage,
                                                   intptr_t wParam, intptr_t lParam,
                                                   MonitorTime now) {
  if (message != rxMessage && message != txMessage) return std::nullopt;
  uint8_t bytes[Engine::kMonitorFrameSize];
  const int wanted = static_cast<int>(std::clamp<intptr_t>(lParam, 0, Engine::kMonitorFrameSize));
  const bool received = message == rxMessage;
  const int shown = received ? engine.ReadRxSlot(bytes, wanted, wParam)
                             : engine.ReadTxSlot(bytes, wanted, wParam);
  // A copy that is no longer kept (the window fell further behind than
  // the engine keeps) gives no line rather than another frame's bytes.
  if (shown < 0 || !IsRunning()) return std::nullopt;
  return DataLine(now, received, lParam, bytes, shown);
}

void VornIIPacketMonitor::AttachSource(MessageReceiver* window) { engine_.AttachMonitor(window); }
void VornIIPacketMonitor::DetachSource() { engine_.DetachMonitor(); }

std::optional<std::string> VornIIPacketMonitor::HandleMessage(unsigned message, intptr_t wParam,
                                                              intptr_t lParam, MonitorTime now) {
  if (message == WM_VORNII_FAULT) return FaultLine(now, wParam);
  return FrameLine(engine_, message, WM_VORNII_RX, WM_VORNII_TX, wParam, lParam, now);
}

void VornIPacketMonitor::AttachSource(MessageReceiver* window) { engine_.AttachMonitor(window); }
void VornIPacketMonitor::DetachSource() { engine_.DetachMonitor(); }

std::optional<std::string> VornIPacketMonitor::HandleMessage(unsigned message, intptr_t wParam,
                                                             intptr_t lParam, MonitorTime now) {
  return FrameLine(engine_, message, WM_VORNI_RX, WM_VORNI_TX, wParam, lParam, now);
}
