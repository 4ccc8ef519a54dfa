// The traffic monitors' lines from real traffic over pseudo-terminals.
#include <gtest/gtest.h>

#include "messages.h"
#include "monitor_rig.h"
#include "pty_peer.h"
#include "simradio.h"
#include "vorniiframe.h"

namespace {

TEST(MonitorText, BytesAsHexAndAscii) {
  const uint8_t bytes[] = {0x41, 0x0D, 0xFF, 0x20, 0x7E, 0x7F, 0x00};
  EXPECT_EQ(HexBytes(bytes, 3), "41 0D FF ");
  EXPECT_EQ(AsciiBytes(bytes, 7), "[A.. ~..]");
  EXPECT_EQ(HexBytes(bytes, 0), "");
  EXPECT_EQ(AsciiBytes(bytes, 0), "[]");
  EXPECT_EQ(MonitorClock(NoonAndABit()), "12:00:01.250");
}

class RadioMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.Start());
    ASSERT_TRUE(rig.OpenOn(sim.DevicePath()));
  }
  SimulatedRadio sim{kProductKestal};
  MonitorRig rig{kProductKestal};
};

TEST_F(RadioMonitors, VersionRequestSeenByAllThree) {
  EXPECT_EQ(rig.byteWatch.Attach(), "------ running ------");
  EXPECT_EQ(rig.iiWatch.Attach(), "[12:00:01.250] ------ running ------");
  rig.iWatch.Attach();
  ASSERT_TRUE(rig.shared.radio.GetRadioVersion());
  // The reply's bytes may still be on their way to the byte monitor: wait
  // for the request's line and the reply's first.
  ASSERT_TRUE(WaitUntil([&] { return rig.byteWatch.receiver.Messages(WM_BYTE_MONITOR).size() >= 2; }));

  const std::vector<std::string> bytes = rig.byteWatch.Lines();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], "[12:00:01.250] Tx[6:6] 7E 02 01 80 7F 7F ");
  EXPECT_EQ(bytes[1].rfind("[12:00:01.250] Rx[", 0), 0u) << bytes[1];

  const std::vector<std::string> packets = rig.iiWatch.Lines();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0], "[12:00:01.250] Tx[1] 80 ");
  const SimVersion v = sim.Version();
  char reply[32];
  std::snprintf(reply, sizeof reply, "] 00 %02X %02X ", v.major, v.minor);
  EXPECT_EQ(packets[1].rfind("[12:00:01.250] Rx[", 0), 0u) << packets[1];
  EXPECT_NE(packets[1].find(reply), std::string::npos) << packets[1];
  // Protocol II traffic is no protocol I frame.
  EXPECT_TRUE(rig.iWatch.Lines().empty());
}

TEST_F(RadioMonitors, PausedMonitorStillShowsTimeOutAndRateChange) {
  SimFaults silent;
  silent.silentAfter = 0;
  sim.SetFaults(silent);
  rig.iiWatch.Attach();
  rig.byteWatch.Attach();
  EXPECT_EQ(rig.packetsII.Pause(NoonAndABit()), "[12:00:01.250] ------ paused ------");
  EXPECT_EQ(rig.bytes.Pause(NoonAndABit()), "------ paused ------");
  EXPECT_EQ(rig.bytes.Pause(NoonAndABit()), std::nullopt);  // already paused

  EXPECT_FALSE(rig.shared.radio.GetRadioVersion());
  ASSERT_TRUE(rig.shared.port.SetBaudRate(19200));
  EXPECT_EQ(rig.iiWatch.Lines(), std::vector<std::string>{"[12:00:01.250] * timeout *"});
  // The request's bytes were taken from the tap though no line shows them.
  EXPECT_EQ(rig.byteWatch.Lines(), std::vector<std::string>{"Baud-rate changed to 19200"});
  uint8_t left[16];
  EXPECT_EQ(rig.shared.port.ReadTxTap(left, sizeof left), 0);

  EXPECT_EQ(rig.bytes.Start(NoonAndABit()), "------ running ------");
  ASSERT_TRUE(rig.shared.port.ChangePort(rig.number));
  EXPECT_EQ(rig.byteWatch.Lines(), std::vector<std::string>{"Serial-port changed to 97"});
}

TEST_F(RadioMonitors, ClosedMonitorCostsItsSourceNothing) {
  rig.byteWatch.Attach();
  rig.iiWatch.Attach();
  rig.iWatch.Attach();
  for (TrafficMonitor* m : {static_cast<TrafficMonitor*>(&rig.bytes), static_cast<TrafficMonitor*>(&rig.packetsII),
                            static_cast<TrafficMonitor*>(&rig.packetsI)}) {
    m->Detach();
    EXPECT_FALSE(m->IsRunning());
    EXPECT_FALSE(m->IsAttached());
  }
  ASSERT_TRUE(rig.shared.radio.GetRadioVersion());
  ASSERT_TRUE(rig.shared.radio.SendFrontPanelKey(1, 0));
  SleepMs(100);
  EXPECT_TRUE(rig.byteWatch.receiver.Messages().empty());
  EXPECT_TRUE(rig.iiWatch.receiver.Messages().empty());
  EXPECT_TRUE(rig.iWatch.receiver.Messages().empty());
  uint8_t tap[64];
  EXPECT_EQ(rig.shared.port.ReadRxTap(tap, sizeof tap), 0);
  EXPECT_EQ(rig.shared.port.ReadTxTap(tap, sizeof tap), 0);

  // Showing again: only the new showing's traffic.
  rig.byteWatch.Attach();
  rig.iiWatch.Attach();
  rig.iWatch.Attach();
  ASSERT_TRUE(rig.shared.radio.SendFrontPanelKey(1, 0));
  ASSERT_TRUE(WaitUntil([&] { return !rig.iWatch.receiver.Messages().empty(); }));
  const std::vector<std::string> frames = rig.iWatch.Lines();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rfind("[12:00:01.250] Tx[", 0), 0u) << frames[0];
  EXPECT_TRUE(rig.iiWatch.Lines().empty());
  const std::vector<std::string> bytes = rig.byteWatch.Lines();
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes[0].rfind("[12:00:01.250] Tx[", 0), 0u) << bytes[0];
}

TEST_F(RadioMonitors, MessageArrivingAfterCloseAddsNothing) {
  rig.iiWatch.Attach();
  ASSERT_TRUE(rig.shared.radio.GetRadioVersion());
  rig.packetsII.Detach();
  EXPECT_TRUE(rig.iiWatch.Lines().empty());
}

class PeerMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.ok());
    ASSERT_TRUE(rig.OpenOn(peer.SlavePath()));
  }
  PtyPeer peer;
  MonitorRig rig{kProductKestal};
};

TEST_F(PeerMonitors, DecodesAsciiOfReceivedBytes) {
  rig.byteWatch.Attach();
  rig.bytes.SetDecodeAscii(true);
  ASSERT_TRUE(peer.Write({0x41, 0x0D, 0xFF}));
  ASSERT_TRUE(WaitUntil([&] { return !rig.byteWatch.receiver.Messages().empty(); }));
  EXPECT_EQ(rig.byteWatch.Lines(), std::vector<std::string>{"[12:00:01.250] Rx[3:3] 41 0D FF [A..]"});
}

TEST_F(PeerMonitors, DamagedReplyFrameShowsBadChecksum) {
  rig.iiWatch.Attach();
  const uint8_t payload[] = {0x00, 0x01, 0x05};
  uint8_t frame[16];
  const int n = EncodeVornIIFrame(payload, 3, frame);
  std::vector<uint8_t> bytes(frame, frame + n);
  bytes[static_cast<size_t>(n) - 2] ^= 0x01;  // the checksum, before the closing flag
  ASSERT_TRUE(peer.Write(bytes));
  ASSERT_TRUE(WaitUntil([&] { return !rig.iiWatch.receiver.Messages().empty(); }));
  EXPECT_EQ(rig.iiWatch.Lines(), std::vector<std::string>{"[12:00:01.250] * bad checksum *"});
}

}  // namespace

// A window that falls far behind the link still shows each frame's own
// bytes. Every message of many block reads and key frames (far more than
// any fixed set of slots, and more bytes than a fixed tap) is handled only
// after the last, as a window stuck behind a long command would.
TEST_F(RadioMonitors, LaggingMonitorsShowEveryFrameWithItsOwnBytes) {
  ASSERT_TRUE(rig.shared.radio.EnterProgMode());
  rig.byteWatch.Attach();
  rig.iiWatch.Attach();
  rig.iWatch.Attach();
  constexpr int kReads = 100;
  std::vector<std::vector<uint8_t>> blocks;
  for (int i = 0; i < kReads; ++i) {
    uint8_t block[16];
    ASSERT_TRUE(rig.shared.radio.ReadMemoryBlock(i * 16, block));
    blocks.emplace_back(block, block + 16);
  }
  for (int i = 0; i < kReads; ++i) ASSERT_TRUE(rig.shared.radio.SendFrontPanelKey(i % 16, 0));
  // Every reply's bytes have reached the port by the time its read
  // returned, so the byte monitor has been told of them all.

  auto request = [](int i) { return std::vector<uint8_t>{0x83, static_cast<uint8_t>(i * 16 >> 8), static_cast<uint8_t>(i * 16 & 0xFF)}; };
  auto reply = [&](int i) {
    std::vector<uint8_t> r{0x03, static_cast<uint8_t>(i * 16 >> 8), static_cast<uint8_t>(i * 16 & 0xFF)};
    r.insert(r.end(), blocks[static_cast<size_t>(i)].begin(), blocks[static_cast<size_t>(i)].end());
    return r;
  };
  auto packetLine = [](const char* dir, const std::vector<uint8_t>& bytes) {
    return std::string("[12:00:01.250] ") + dir + "[" + std::to_string(bytes.size()) + "] " +
           HexBytes(bytes.data(), static_cast<int>(bytes.size()));
  };

  const std::vector<std::string> packets = rig.iiWatch.Lines();
  ASSERT_EQ(packets.size(), 2u * kReads);
  for (int i = 0; i < kReads; ++i) {
    EXPECT_EQ(packets[2 * i], packetLine("Tx", request(i))) << "read " << i;
    EXPECT_EQ(packets[2 * i + 1], packetLine("Rx", reply(i))) << "read " << i;
  }

  // The radio answers keys with display frames of its own: the sent lines.
  std::vector<std::string> keys;
  for (const std::string& line : rig.iWatch.Lines())
    if (line.find("] Tx[") != std::string::npos) keys.push_back(line);
  ASSERT_EQ(keys.size(), static_cast<size_t>(kReads));
  for (int i = 0; i < kReads; ++i) {
    const uint8_t key = static_cast<uint8_t>(i % 16);
    uint8_t frame[kVornIWindow];
    const int n = EncodeVornIFrame(kVornIMarkerA, 4, &key, 1, frame);
    EXPECT_EQ(keys[static_cast<size_t>(i)], packetLine("Tx", std::vector<uint8_t>(frame, frame + n))) << "key " << i;
  }

  // The byte monitor: each line's bytes are its own block's (as many as
  // the message says), and together they are the traffic, in order.
  std::string sentHex, receivedHex;
  std::vector<std::string> sentFrames, receivedFrames;
  for (int i = 0; i < kReads; ++i) {
    uint8_t frame[kVornIIMaxFrame];
    int n = EncodeVornIIFrame(request(i).data(), 3, frame);
    sentFrames.push_back(HexBytes(frame, n));
    const std::vector<uint8_t> r = reply(i);
    n = EncodeVornIIFrame(r.data(), static_cast<int>(r.size()), frame);
    receivedFrames.push_back(HexBytes(frame, n));
  }
  // Each read's frames, in order; the radio's own display frames may
  // come between them.
  auto inOrder = [](const std::string& hex, const std::vector<std::string>& frames) {
    size_t at = 0;
    for (const std::string& f : frames) {
      at = hex.find(f, at);
      if (at == std::string::npos) return false;
      at += f.size();
    }
    return true;
  };
  const std::vector<PostedMessage> messages = rig.byteWatch.receiver.Messages(WM_BYTE_MONITOR);
  const std::vector<std::string> lines = rig.byteWatch.Lines();
  ASSERT_EQ(lines.size(), messages.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string count = std::to_string(messages[k].lParam);
    const std::string head = std::string("[12:00:01.250] ") + (messages[k].wParam == 0 ? "Rx[" : "Tx[") +
                             count + ":" + count + "] ";
    ASSERT_EQ(lines[k].rfind(head, 0), 0u) << lines[k];
    (messages[k].wParam == 0 ? receivedHex : sentHex) += lines[k].substr(head.size());
  }
  EXPECT_TRUE(inOrder(sentHex, sentFrames)) << sentHex;
  EXPECT_TRUE(inOrder(receivedHex, receivedFrames)) << receivedHex;
}
