#pragma once
// Both protocol engines on one real pseudo-terminal, coupled as the radio
// layer couples them, with recording receivers for every message.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "pty_peer.h"
#include "radioinfo.h"
#include "recording_receiver.h"
#include "serialport.h"
#include "vorniiprotocol.h"
#include "vorniprotocol.h"

using Bytes = std::vector<uint8_t>;

inline Bytes FrameII(const Bytes& payload) {
  uint8_t out[kVornIIMaxFrame];
  const int n = EncodeVornIIFrame(payload.data(), static_cast<int>(payload.size()), out);
  return Bytes(out, out + n);
}

inline Bytes FrameI(uint8_t marker, uint8_t command, const Bytes& payload) {
  Bytes out(payload.size() + 3);
  EncodeVornIFrame(marker, command, payload.data(), static_cast<int>(payload.size()), out.data());
  return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Payload(const VORN_PACKET_STRUCT_TAG& p) {
  return p.length > 0 ? Bytes(p.data, p.data + p.length) : Bytes{};
}

class ProtocolLink : public testing::Test {
 protected:
  // Creates the engines in the radio layer's order (listeners register
  // before the port opens), couples them unless told not to, and opens
  // the port on the pseudo-terminal.
  void Start(uint32_t productId = kProductKestal, bool couple = true) {
    ASSERT_TRUE(peer.ok());
    one = std::make_unique<vornI_Protocol>(port);
    two = std::make_unique<vornII_Protocol>(port, productId);
    if (couple) {
      two->SetNotifyEvent(one->GetResetEvent());
      one->SetNotifyEvent(two->GetResetEvent());
    }
    one->AttachMonitor(&monitorI);
    one->SetDisplayWindow(&display);
    two->AttachMonitor(&monitorII);
    ASSERT_TRUE(port.Open(peer.SlavePath(), 9600));
  }

  // The port holds pointers to the engines' listener events: close it
  // before the engines go. Coupled engines signal each other's reset event
  // from their threads, so both threads stop before either engine is
  // destroyed, as the radio layer does.
  void TearDown() override {
    port.Close();
    if (one) one->Stop();
    if (two) two->Stop();
  }

  static bool WaitForCount(const RecordingReceiver& r, unsigned message, size_t count) {
    return WaitUntil([&] { return r.Messages(message).size() >= count; });
  }

  static std::vector<intptr_t> Params(const RecordingReceiver& r, unsigned message, bool second) {
    std::vector<intptr_t> out;
    for (const PostedMessage& m : r.Messages(message)) out.push_back(second ? m.lParam : m.wParam);
    return out;
  }

  RecordingReceiver monitorI, monitorII, display;
  PtyPeer peer;
  SerialPort port;
  std::unique_ptr<vornI_Protocol> one;
  std::unique_ptr<vornII_Protocol> two;
};
