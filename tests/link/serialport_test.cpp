#include "messages.h"
#include "serialport.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cerrno>

#include "pty_peer.h"
#include "recording_receiver.h"

namespace {

std::vector<uint8_t> Pattern(size_t n, unsigned seed = 1) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 13);
  return v;
}

// Reads a listener until `count` bytes came or a second passed.
std::vector<uint8_t> Drain(SerialPort& port, int id, size_t count) {
  std::vector<uint8_t> out;
  WaitUntil([&] {
    uint8_t buf[300];
    const int n = port.ReadListener(buf, sizeof buf, id);
    out.insert(out.end(), buf, buf + n);
    return out.size() >= count;
  });
  return out;
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer_.ok());
    ASSERT_TRUE(port_.Open(peer_.SlavePath(), 9600)) << port_.LastOpenError();
  }
  PtyPeer peer_;
  SerialPort port_;
};

TEST_F(SerialPortTest, SendsReachTheLineWholeAndInOrder) {
  for (size_t size : {20u, 300u, 515u}) {
    const auto bytes = Pattern(size, static_cast<unsigned>(size));
    ASSERT_TRUE(port_.Send(bytes.data(), static_cast<int>(size)));
    EXPECT_EQ(peer_.Read(size), bytes) << size << " bytes";
    EXPECT_TRUE(peer_.ReadUntilQuiet(30).empty()) << "nothing extra after " << size;
  }
}

TEST_F(SerialPortTest, SendsFromSeveralThreadsStayContiguous) {
  // 800 bytes in all: the transmit queue never fills, whatever the writer does.
  constexpr int kThreads = 4, kSends = 5, kSize = 40;
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t)
    senders.emplace_back([&, t] {
      const std::vector<uint8_t> block(kSize, static_cast<uint8_t>('A' + t));
      for (int i = 0; i < kSends; ++i) port_.Send(block.data(), kSize);
    });
  for (auto& s : senders) s.join();
  const auto line = peer_.Read(kThreads * kSends * kSize, 3000);
  ASSERT_EQ(line.size(), size_t{kThreads * kSends * kSize});
  for (size_t i = 0; i < line.size(); i += kSize)
    EXPECT_EQ(std::count(line.begin() + i, line.begin() + i + kSize, line[i]), kSize) << "block at " << i;
}

TEST(SerialPortListeners, EveryListenerGetsEveryByteInOrder) {
  PtyPeer peer;
  // The port keeps pointers to its listeners' events: they must outlive it.
  Event first, second;
  SerialPort port;
  ASSERT_EQ(port.RegisterListener(&first), 0);
  ASSERT_EQ(port.RegisterListener(&second), 1);
  ASSERT_TRUE(port.Open(peer.SlavePath(), 9600));

  const auto bytes = Pattern(900);
  ASSERT_TRUE(peer.Write(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 450)));
  ASSERT_TRUE(peer.Write(std::vector<uint8_t>(bytes.begin() + 450, bytes.end())));
  EXPECT_EQ(WaitAny({&first}, 1000), 0);
  EXPECT_EQ(WaitAny({&second}, 1000), 0);
  EXPECT_EQ(Drain(port, 0, 900), bytes);
  EXPECT_EQ(Drain(port, 1, 900), bytes);
  EXPECT_FALSE(first.IsSet()) << "an emptied queue resets its listener's event";
  EXPECT_FALSE(second.IsSet());
}

TEST(SerialPortListeners, ANonReadingListenerKeepsTheFirst1024Bytes) {
  PtyPeer peer;
  Event reading, idle;
  SerialPort port;
  port.RegisterListener(&reading);
  port.RegisterListener(&idle);
  ASSERT_TRUE(port.Open(peer.SlavePath(), 9600));
  // In two bursts, each small enough for the reading listener's queue.
  const auto bytes = Pattern(1500);
  ASSERT_TRUE(peer.Write(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 1000)));
  ASSERT_EQ(Drain(port, 0, 1000).size(), 1000u);
  ASSERT_TRUE(peer.Write(std::vector<uint8_t>(bytes.begin() + 1000, bytes.end())));
  ASSERT_EQ(Drain(port, 0, 500).size(), 500u);

  std::vector<uint8_t> kept(2048);
  kept.resize(static_cast<size_t>(port.ReadListener(kept.data(), 2048, 1)));
  EXPECT_EQ(kept, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 1024));
}

TEST(SerialPortListeners, RegistrationAndBadIds) {
  Event events[9];
  SerialPort port;
  for (int i = 0; i < 8; ++i) ASSERT_EQ(port.RegisterListener(&events[i]), i);
  EXPECT_EQ(port.RegisterListener(&events[8]), -1);

  SerialPort two;
  two.RegisterListener(&events[0]);
  two.RegisterListener(&events[1]);
  events[1].Set();
  uint8_t buf[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  for (int id : {2, 8, -1}) EXPECT_EQ(two.ReadListener(buf, 4, id), 0) << id;
  EXPECT_EQ(buf[0], 0xAA);
  EXPECT_TRUE(events[1].IsSet()) << "a bad id touches nothing";
  two.ClearListener(5);  // ignored
}

TEST(SerialPortListeners, CloseClearsListenerQueues) {
  PtyPeer peer;
  Event e;
  SerialPort port;
  port.RegisterListener(&e);
  ASSERT_TRUE(port.Open(peer.SlavePath(), 9600));
  ASSERT_TRUE(peer.Write(Pattern(10)));
  ASSERT_TRUE(e.Wait(1000));
  EXPECT_TRUE(port.Close());
  uint8_t buf[16];
  EXPECT_EQ(port.ReadListener(buf, 16, 0), 0);
  EXPECT_FALSE(e.IsSet());
}

TEST_F(SerialPortTest, MonitorSeesTrafficRateAndPortChanges) {
  RecordingReceiver monitor;
  EXPECT_TRUE(port_.SetMonitor(&monitor, WM_BYTE_MONITOR));

  const auto sent = Pattern(5);
  ASSERT_TRUE(port_.Send(sent.data(), 5));
  ASSERT_TRUE(port_.Send(sent.data(), 0));
  EXPECT_EQ(peer_.Read(5), sent);
  EXPECT_TRUE(peer_.ReadUntilQuiet(30).empty()) << "an empty Send puts nothing on the line";
  std::vector<uint8_t> tap(64);
  tap.resize(static_cast<size_t>(port_.ReadTxTap(tap.data(), 64)));
  EXPECT_EQ(tap, sent);

  const auto received = Pattern(7, 99);
  ASSERT_TRUE(peer_.Write(received));
  std::vector<uint8_t> rx;
  ASSERT_TRUE(WaitUntil([&] {
    uint8_t buf[16];
    const int n = port_.ReadRxTap(buf, 16);
    rx.insert(rx.end(), buf, buf + n);
    return rx.size() >= 7;
  }));
  EXPECT_EQ(rx, received);

  EXPECT_TRUE(port_.SetBaudRate(19200));
  PtyPeer other;
  port_.Ports().SetExtraDevices({other.SlavePath()});
  EXPECT_TRUE(port_.ChangePort(97));

  const auto messages = monitor.Messages(WM_BYTE_MONITOR);
  ASSERT_GE(messages.size(), 4u);
  EXPECT_EQ(messages[0], (PostedMessage{WM_BYTE_MONITOR, 1, 5}));
  intptr_t receivedTotal = 0;
  for (size_t i = 1; i + 2 < messages.size(); ++i) {
    EXPECT_EQ(messages[i].wParam, 0);
    receivedTotal += messages[i].lParam;
  }
  EXPECT_EQ(receivedTotal, 7);
  EXPECT_EQ(messages[messages.size() - 2], (PostedMessage{WM_BYTE_MONITOR, 2, 19200}));
  EXPECT_EQ(messages.back(), (PostedMessage{WM_BYTE_MONITOR, 3, 97}));

  monitor.Clear();
  EXPECT_TRUE(port_.ClearMonitor());
  ASSERT_TRUE(port_.Send(sent.data(), 5));
  EXPECT_EQ(other.Read(5), sent);
  EXPECT_TRUE(monitor.Messages().empty());
  EXPECT_EQ(port_.ReadTxTap(tap.data(), 64), 0) << "no monitor, no tap";
}

TEST(SerialPortChange, ChangePortKeepsTheRateInUse) {
  PtyPeer first, second;
  SerialPort port;
  port.Ports().SetExtraDevices({first.SlavePath(), second.SlavePath()});
  ASSERT_TRUE(port.Open("COM97", 9600));
  EXPECT_EQ(port.DevicePath(), first.SlavePath());
  ASSERT_TRUE(port.SetBaudRate(19200));
  EXPECT_EQ(port.CurrentBaudRate(), 19200u);
  EXPECT_EQ(port.ConfiguredBaudRate(), 9600u) << "a rate change leaves the configured rate";

  ASSERT_TRUE(port.ChangePort(98));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.PortName(), "COM98");
  EXPECT_EQ(port.DevicePath(), second.SlavePath());
  EXPECT_EQ(port.CurrentBaudRate(), 19200u);
  EXPECT_EQ(port.ConfiguredBaudRate(), 19200u);

  const auto bytes = Pattern(12);
  ASSERT_TRUE(port.Send(bytes.data(), 12));
  EXPECT_EQ(second.Read(12), bytes);
  EXPECT_TRUE(first.ReadUntilQuiet(30).empty());
}

TEST_F(SerialPortTest, OpenOnAnOpenPortLeavesItAlone) {
  PtyPeer other;
  EXPECT_FALSE(port_.Open(other.SlavePath(), 9600));
  EXPECT_EQ(port_.DevicePath(), peer_.SlavePath());
  const auto bytes = Pattern(3);
  ASSERT_TRUE(port_.Send(bytes.data(), 3));
  EXPECT_EQ(peer_.Read(3), bytes);
}

TEST(SerialPortOpen, FailedOpensKeepTheReason) {
  struct Case {
    std::string name;
    uint32_t baud;
    int error;
  };
  const std::vector<Case> cases = {
      {"/dev/no-such-serial-device", 9600, ENOENT},
      {"/dev/null", 9600, ENOTTY},
      {"COM200", 9600, ENODEV},  // no extra device mapped
      {"ttyS0", 9600, ENODEV},   // neither a COM name nor a path
  };
  SerialPort port;
  for (const auto& c : cases) {
    EXPECT_FALSE(port.Open(c.name, c.baud)) << c.name;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastOpenErrno(), c.error) << c.name;
    EXPECT_FALSE(port.LastOpenError().empty()) << c.name;
  }
  PtyPeer peer;
  EXPECT_FALSE(port.Open(peer.SlavePath(), 12345));
  EXPECT_EQ(port.LastOpenErrno(), EINVAL);
  ASSERT_TRUE(port.Open(peer.SlavePath(), 57600));
  EXPECT_EQ(port.LastOpenErrno(), 0);
  EXPECT_TRUE(port.LastOpenError().empty());
  EXPECT_EQ(port.CurrentBaudRate(), 57600u);
}

TEST(SerialPortOpen, ClosedPortRefusesWork) {
  SerialPort port;
  RecordingReceiver monitor;
  port.SetMonitor(&monitor, WM_BYTE_MONITOR);
  const uint8_t byte = 1;
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.Send(&byte, 1));
  EXPECT_FALSE(port.SetBaudRate(19200));
  EXPECT_FALSE(port.Close());
  EXPECT_TRUE(monitor.Messages().empty());
  uint8_t buf[4];
  EXPECT_EQ(port.ReadTxTap(buf, 4), 0);
  EXPECT_EQ(port.PortName(), "COM1");
  EXPECT_EQ(port.ConfiguredBaudRate(), 9600u);
}

TEST(SerialPortOpen, TheDeviceIsExclusive) {
  PtyPeer peer;
  SerialPort first, second;
  ASSERT_TRUE(first.Open(peer.SlavePath(), 9600));
  EXPECT_FALSE(second.Open(peer.SlavePath(), 9600));
  EXPECT_EQ(second.LastOpenErrno(), EBUSY);
  ASSERT_TRUE(first.Close());
  EXPECT_TRUE(second.Open(peer.SlavePath(), 9600)) << second.LastOpenError();
}

double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

TEST(SerialPortLost, AHungUpDeviceIsLostWithoutSpinning) {
  auto peer = std::make_unique<PtyPeer>();
  Event listener;
  SerialPort port;
  port.RegisterListener(&listener);
  ASSERT_TRUE(port.Open(peer->SlavePath(), 9600));
  EXPECT_FALSE(port.IsLost());

  peer->HangUp();
  ASSERT_TRUE(WaitUntil([&] { return port.IsLost(); }));
  const double before = ProcessCpuMs();
  SleepMs(300);
  EXPECT_LT(ProcessCpuMs() - before, 100.0) << "the reader must not spin on a dead device";
  EXPECT_FALSE(port.IsOpen()) << "a lost port must be reopened by the next command";
  const uint8_t byte = 0x42;
  EXPECT_FALSE(port.Send(&byte, 1)) << "nothing can reach a lost line";

  // Opening again replaces the lost device without an explicit Close.
  PtyPeer fresh;
  ASSERT_TRUE(port.Open(fresh.SlavePath(), 9600)) << port.LastOpenError();
  EXPECT_FALSE(port.IsLost());
  ASSERT_TRUE(port.Send(&byte, 1));
  EXPECT_EQ(fresh.Read(1), std::vector<uint8_t>{0x42});
  ASSERT_TRUE(fresh.Write({1, 2, 3}));
  EXPECT_EQ(Drain(port, 0, 3), (std::vector<uint8_t>{1, 2, 3}));
}

// The window hears of a vanished device once, without sending a byte, and
// hears nothing after it stopped listening.
TEST(SerialPortLost, TheLossIsPostedOnceToItsReceiver) {
  auto peer = std::make_unique<PtyPeer>();
  RecordingReceiver window;
  SerialPort port;
  port.SetLostReceiver(&window, WM_PORT_LOST);
  ASSERT_TRUE(port.Open(peer->SlavePath(), 9600));
  EXPECT_TRUE(window.Messages().empty());

  peer->HangUp();
  ASSERT_TRUE(WaitUntil([&] { return !window.Messages(WM_PORT_LOST).empty(); }));
  EXPECT_EQ(window.Messages(), (std::vector<PostedMessage>{{WM_PORT_LOST, 0, 0}}));
  EXPECT_FALSE(port.IsOpen());
  const uint8_t byte = 0x42;
  EXPECT_FALSE(port.Send(&byte, 1));
  EXPECT_EQ(window.Messages().size(), 1u);

  // A second loss after a reopen is told again, unless nobody listens.
  auto second = std::make_unique<PtyPeer>();
  ASSERT_TRUE(port.Open(second->SlavePath(), 9600)) << port.LastOpenError();
  second->HangUp();
  ASSERT_TRUE(WaitUntil([&] { return window.Messages(WM_PORT_LOST).size() == 2; }));
  PtyPeer third;
  ASSERT_TRUE(port.Open(third.SlavePath(), 9600)) << port.LastOpenError();
  port.SetLostReceiver(nullptr, 0);
  third.HangUp();
  ASSERT_TRUE(WaitUntil([&] { return port.IsLost(); }));
  EXPECT_EQ(window.Messages().size(), 2u);
}

}  // namespace
