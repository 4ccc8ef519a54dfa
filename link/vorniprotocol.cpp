#include "vorniprotocol.h"

#include <algorithm>
#include <cstring>

#include "messages.h"
#include "serialport.h"

namespace {
constexpr uint8_t kCmdDisplay = 2;
constexpr uint8_t kCmdBacklight = 3;
constexpr uint8_t kCmdKey = 4;
constexpr uint8_t kCmdAnnounce = 5;
constexpr uint8_t kCmdAnnounceAck = 9;
constexpr uint8_t kCmdPoll = 10;
constexpr uint8_t kCmdColour = 36;
constexpr uint8_t kCmdAckRequest = 73;

constexpr int kReadChunk = 256;
}  // namespace

vornI_Protocol::vornI_Protocol(SerialPort& port) : port_(port), loop_(port) { loop_.Start(*this); }

vornI_Protocol::~vornI_Protocol() { Stop(); }

bool vornI_Protocol::Stop() {
  loop_.Stop();
  return true;
}

void vornI_Protocol::BytesWaiting() {
  uint8_t buffer[kReadChunk];
  std::lock_guard<std::recursive_mutex> g(lock_);
  HandleBytes(buffer, loop_.ReadWaiting(buffer, kReadChunk));
}

void vornI_Protocol::DropPartialFrame() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  recogniser_.Reset();
}

void vornI_Protocol::HandleBytes(const uint8_t* bytes, int n) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  for (int i = 0; i < n; ++i) {
    const int length = recogniser_.Feed(bytes[i]);
    if (length > 0) HandleFrame(length);
  }
}

void vornI_Protocol::HandleFrame(int length) {
  if (MessageReceiver* monitor = monitor_.load()) {
    uint8_t wire[kVornIWindow];
    const int n = recogniser_.CopyWireOrder(wire, std::min<int>(kVornIWindow, kMonitorFrameSize));
    PostTo(monitor, WM_VORNI_RX, rxFrames_.Keep(wire, n), length);
  }

  const VornIRecogniser& r = recogniser_;
  MessageReceiver* display = displayWindow_.load();
  if (r.Marker() == kVornIMarkerA) {
    switch (r.Command()) {
      case kCmdDisplay:
        for (int k = 0; k < 10; ++k) display_[k] = r.P(k + 1);
        PostTo(display, WM_DISPLAY_BYTES, 0, 0);
        break;
      case kCmdBacklight:
        backlight_ = r.P(4);
        PostTo(display, WM_BACKLIGHT, backlight_, 0);
        break;
      case kCmdColour:
        colour_.red = static_cast<uint16_t>(r.P(6) * 256 + r.P(5));
        colour_.green = static_cast<uint16_t>(r.P(4) * 256 + r.P(3));
        colour_.blue = static_cast<uint16_t>(r.P(2) * 256 + r.P(1));
        PostTo(display, WM_BACKLIGHT_COLOUR, 0, 0);
        break;
      case kCmdAnnounce:
        PostTo(display, WM_ANNOUNCEMENT, 0, 0);
        break;
      case kCmdAnnounceAck:
      case kCmdAckRequest: {
        static constexpr uint8_t kAck[] = {0x03, 0x03, 0x01, 0x00};
        SendFrame(kVornIMarkerC, kCmdAckRequest, kAck, sizeof kAck);
        break;
      }
      default:
        break;
    }
  }

  if (Event* notify = notifyEvent_.load()) notify->Set();
}

bool vornI_Protocol::SendFrame(uint8_t marker, uint8_t command, const uint8_t* payload, int n) {
  uint8_t frame[kVornIWindow];
  const int length = EncodeVornIFrame(marker, command, payload, n, frame);
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    if (MessageReceiver* monitor = monitor_.load())
      PostTo(monitor, WM_VORNI_TX, txFrames_.Keep(frame, std::min(length, kMonitorFrameSize)), length);
  }
  return port_.Send(frame, length);
}

bool vornI_Protocol::SendKey(uint8_t key) { return SendFrame(kVornIMarkerA, kCmdKey, &key, 1); }

bool vornI_Protocol::SendPoll(uint8_t argument) {
  const uint8_t payload[] = {0x03, 0x03, 0x01, argument};
  return SendFrame(kVornIMarkerA, kCmdPoll, payload, sizeof payload);
}

void vornI_Protocol::SetDisplayWindow(MessageReceiver* window) { displayWindow_.store(window); }
// Copies kept for an earlier showing are not this showing's.
void vornI_Protocol::AttachMonitor(MessageReceiver* window) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  rxFrames_.Clear();
  txFrames_.Clear();
  monitor_.store(window);
}

void vornI_Protocol::DetachMonitor() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  monitor_.store(nullptr);
  rxFrames_.Clear();
  txFrames_.Clear();
}
void vornI_Protocol::SetNotifyEvent(Event* event) { notifyEvent_.store(event); }
Event* vornI_Protocol::GetResetEvent() { return loop_.ResetEvent(); }

void vornI_Protocol::CopyDisplayBytes(uint8_t* destination10) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  std::memcpy(destination10, display_, sizeof display_);
}

int32_t vornI_Protocol::CopyBacklight() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  return backlight_;
}

BacklightColour vornI_Protocol::CopyBacklightColour() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  return colour_;
}

int vornI_Protocol::ReadRxSlot(uint8_t* destination, int count, intptr_t ticket) {
  return rxFrames_.Take(ticket, destination, std::min(count, kMonitorFrameSize));
}

int vornI_Protocol::ReadTxSlot(uint8_t* destination, int count, intptr_t ticket) {
  return txFrames_.Take(ticket, destination, std::min(count, kMonitorFrameSize));
}
