// The programmer's own serial port and command layer against the simulated
// radio: both ends agree on every layout they share.

#include <gtest/gtest.h>

#include <thread>

#include "eeprom.h"
#include "messages.h"
#include "radio.h"
#include "radioinfo.h"
#include "recording_receiver.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "simradio.h"

namespace {

// The simulated radio, and the objects the main window creates.
struct Link {
  explicit Link(uint32_t product, SimVersion version = {}) : radio(product), shared(product) {
    if (version.major) radio.SetVersion(version);
    info.SelectModel(product);
    started = radio.Start() && port.Open(radio.DevicePath(), 9600);
  }

  SimulatedRadio radio;
  SharedObjects shared;
  SerialPort& port = shared.port;
  EEPROM& image = shared.image;
  TradioInfo& info = shared.info;
  TRadio* const tradio = &shared.radio;
  bool started = false;
};

TEST(SimWithTRadio, ReadsTheWholeMemoryAsTheRadioHoldsIt) {
  Link link(kProductKestal);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  int id = 0;
  ASSERT_TRUE(r.ReadProductId(id));
  EXPECT_EQ(id, 0x5A02);
  ASSERT_TRUE(r.EnterProgMode());
  char text[20] = {};
  ASSERT_TRUE(r.ReadFirmwareText(text, sizeof text));
  EXPECT_STREQ(text, "Kestal UHF CB");
  ASSERT_TRUE(r.GetRadioVersion());
  std::string version;
  ASSERT_TRUE(r.GetVersionText(version));
  EXPECT_EQ(version, "v3.00");

  std::vector<uint8_t> read(kImageSize);
  for (int a = 0; a < kImageSize; a += 16) ASSERT_TRUE(r.ReadMemoryBlock(a, read.data() + a)) << a;
  EXPECT_EQ(read, link.radio.Memory());
  ASSERT_TRUE(r.ResetRadio());
  EXPECT_FALSE(link.radio.State().progMode);
}

// A technician reads the monitors to find faults: every request's line
// comes before its reply's, and the reply's before the next request's.
TEST(SimWithTRadio, MonitorsListAReadInWireOrder) {
  Link link(kProductKestal);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  ASSERT_TRUE(r.EnterProgMode());
  // Entering programming mode changes the radio's display, which it sends
  // in a frame of its own just after the reply. One more request puts that
  // frame behind us: the line keeps its order, so its reply comes after it.
  std::vector<uint8_t> read(kImageSize);
  ASSERT_TRUE(r.ReadMemoryBlock(0, read.data()));
  RecordingReceiver packets, bytes;
  ASSERT_TRUE(r.ProtocolII().AttachMonitor(&packets));
  ASSERT_TRUE(link.port.SetMonitor(&bytes, WM_BYTE_MONITOR));
  for (int a = 0; a < kImageSize; a += 16) ASSERT_TRUE(r.ReadMemoryBlock(a, read.data() + a)) << a;
  r.ProtocolII().DetachMonitor();
  link.port.ClearMonitor();

  std::vector<unsigned> packetOrder;
  for (const PostedMessage& m : packets.Messages()) packetOrder.push_back(m.message);
  std::vector<unsigned> expected;
  for (int a = 0; a < kImageSize; a += 16) {
    expected.push_back(WM_VORNII_TX);
    expected.push_back(WM_VORNII_RX);
  }
  EXPECT_EQ(packetOrder, expected);

  // A reply may arrive in several blocks: the byte monitor's runs of
  // received blocks alternate with the requests sent.
  std::vector<intptr_t> runs;  // wParam: 1 sent, 0 received
  for (const PostedMessage& m : bytes.Messages())
    if (m.message == WM_BYTE_MONITOR && m.wParam <= 1 && (runs.empty() || runs.back() != m.wParam))
      runs.push_back(m.wParam);
  std::vector<intptr_t> alternating;
  for (int a = 0; a < kImageSize; a += 16) {
    alternating.push_back(1);
    alternating.push_back(0);
  }
  EXPECT_EQ(runs, alternating);
}

TEST(SimWithTRadio, ArraysAndWritesLandInTheRadio) {
  Link link(kProductTamso);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  std::vector<uint8_t> bytes(128);
  for (int i = 0; i < 128; ++i) bytes[i] = static_cast<uint8_t>(0x60 + i);
  ASSERT_TRUE(r.WriteMemoryArray(0x300, 128, bytes.data()));
  std::vector<uint8_t> back(128);
  ASSERT_EQ(r.ReadMemoryArray(0x300, 128, back.data()), 128);
  EXPECT_EQ(back, bytes);
  ASSERT_TRUE(r.WriteMemoryWord(0x40, 0x1234));
  EXPECT_EQ(link.radio.MemoryByte(0x40), 0x12);
  EXPECT_EQ(link.radio.MemoryByte(0x41), 0x34);
}

// The radio layer changes the radio only: the session's image is its
// callers' to change.
TEST(SimWithTRadio, SingleWritesLeaveTheSessionImageAlone) {
  Link link(kProductKestal);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  const std::vector<uint8_t> before(link.image.Data(), link.image.Data() + kImageSize);
  ASSERT_NE(before[0x41], 0x5A);
  ASSERT_NE(link.image.GetWord(0x60), 0xBEEF);
  ASSERT_TRUE(r.WriteMemoryByte(0x41, 0x5A));
  ASSERT_TRUE(r.WriteMemoryWord(0x60, 0xBEEF));
  EXPECT_EQ(link.radio.MemoryByte(0x41), 0x5A);
  EXPECT_EQ(link.radio.MemoryByte(0x60), 0xBE);
  EXPECT_EQ(link.radio.MemoryByte(0x61), 0xEF);
  EXPECT_EQ(std::vector<uint8_t>(link.image.Data(), link.image.Data() + kImageSize), before);
}

struct StepCase {
  uint32_t product;
  SimVersion version;
};

class SimWithTRadioChannels : public testing::TestWithParam<StepCase> {};

// Whatever the firmware reports, the programmer's rules land on the
// channel the radio is on.
TEST_P(SimWithTRadioChannels, RulesRecoverTheRadiosChannel) {
  Link link(GetParam().product, GetParam().version);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  ASSERT_TRUE(r.GetRadioVersion());
  int channel = 0;
  ASSERT_TRUE(r.StepChannel(+1, channel));
  EXPECT_EQ(channel, 12);
  ASSERT_TRUE(r.StepChannel(-1, channel));
  EXPECT_EQ(channel, 11);
  ASSERT_TRUE(r.SetChannel(129));
  ASSERT_GE(r.GetChannel(), 0);
  EXPECT_EQ(r.currentChannel, 129);
  int status = -1;
  EXPECT_TRUE(r.GetRadioStatus(status));  // bit 7 or not, the reply is accepted
}

INSTANTIATE_TEST_SUITE_P(Models, SimWithTRadioChannels,
                         testing::Values(StepCase{kProductKestal, {}}, StepCase{kProductSorel, {}},
                                         StepCase{kProductKestalBT, {}}, StepCase{kProductDravo, {1, 5, 0}},
                                         StepCase{kProductPinto, {1, 0, 0}}, StepCase{kProductPinto, {1, 1, 0}},
                                         StepCase{kProductMerlo, {1, 0x20, 0}}, StepCase{kProductTamso, {}}));

TEST(SimWithTRadio, EngineeringReadings) {
  Link link(kProductKestal);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  link.radio.SetSignal(true);
  EXPECT_EQ(r.ReadAdcChannel(4), 0x9C);
  EXPECT_EQ(r.ReadAdcChannel(1), 0xB4);
  ASSERT_TRUE(r.SetAfcEnable(false));
  int error = 0;
  ASSERT_TRUE(r.ReadFrequencyError(error));
  EXPECT_EQ(error, -150);
  ASSERT_TRUE(r.PokeMemory(0x2000, 0x5A, 0xFF));
  int value = 0;
  ASSERT_TRUE(r.PeekMemory(0x2000, value));
  EXPECT_EQ(value, 0x5A);
  ASSERT_TRUE(r.SetTxTone(16));
  int16_t samples[126] = {};
  ASSERT_TRUE(r.ReadAudioSamples(126, samples));
  EXPECT_EQ(samples[2], 8000);
}

TEST(SimWithTRadio, DisplayReachesTheSnapshot) {
  Link link(kProductDravo);
  ASSERT_TRUE(link.started);
  TRadio& r = *link.tradio;
  link.radio.SetChannel(35);
  ASSERT_TRUE(r.PollDisplay(0));
  for (int i = 0; i < 1000 && r.Display().GetChannelDigit1() != "3"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    r.FetchDisplay();
  }
  EXPECT_EQ(r.Display().GetChannelDigit1() + r.Display().GetChannelDigit2(), "35");
  EXPECT_EQ(r.Display().GetAlphaChar(1), "E");
  ASSERT_TRUE(r.SendFrontPanelKey(6, 0x30));  // PTT pressed
  for (int i = 0; i < 1000 && !r.Display().IsTxLit(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    r.FetchDisplay();
  }
  EXPECT_TRUE(r.Display().IsTxLit());
  EXPECT_TRUE(link.radio.State().ptt);
}

TEST(SimWithTRadio, ProgrammerAcknowledgesAnnouncements) {
  Link link(kProductKestal);
  ASSERT_TRUE(link.started);
  link.radio.SendAnnouncement();
  for (int i = 0; i < 1000 && link.radio.Counters().acksReceived == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(link.radio.Counters().acksReceived, 1);
  EXPECT_FALSE(link.radio.Counters().ackPending);
}

}  // namespace
