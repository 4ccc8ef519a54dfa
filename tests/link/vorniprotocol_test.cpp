// The protocol I engine against the far end of a real pseudo-terminal,
// and its coupling with the protocol II engine.
#include "messages.h"
#include "protocol_link.h"

namespace {

const Bytes kDisplayFrame = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0x58, 0x02, 0xAA};
const Bytes kDisplayBytes(kDisplayFrame.begin(), kDisplayFrame.begin() + 10);
const Bytes kAck = {0x03, 0x03, 0x01, 0x00, 0xF8, 0x49, 0xCC};
// A frame recognised whatever precedes it: once it is reported, every
// byte before it has been handled.
const Bytes kSentinel = FrameI(0xCC, 5, {0x10, 0x20, 0x30, 0x40});

Bytes WithBadChecksum(Bytes frame) {
  frame[frame.size() - 3] ^= 0x01;
  return frame;
}

Bytes Text(int count) {
  Bytes payload;
  for (int i = 0; i < count; ++i) payload.push_back(static_cast<uint8_t>('A' + i % 26));
  payload.push_back(static_cast<uint8_t>(count));
  return FrameI(0xCC, 2, payload);
}

class VornIEngine : public ProtocolLink {};

// ---- receiving -----------------------------------------------------------

struct ReceiveCase {
  const char* name;
  Bytes stream;
  std::vector<intptr_t> frameLengths;  // WM_VORNI_RX second parameters
  std::vector<PostedMessage> displayMessages;
  Bytes display;  // D0..D9 afterwards
  int32_t backlight;
  BacklightColour colour;
  Bytes sent;  // what the engine answered on the line
};
void PrintTo(const ReceiveCase& c, std::ostream* os) { *os << c.name; }

class VornIReceive : public VornIEngine, public testing::WithParamInterface<ReceiveCase> {};

TEST_P(VornIReceive, KeepsDisplayStateAndAnswers) {
  const ReceiveCase& c = GetParam();
  Start();
  peer.Write(Concat({c.stream, kSentinel}));
  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, c.frameLengths.size() + 1));

  std::vector<intptr_t> lengths = Params(monitorI, WM_VORNI_RX, true);
  lengths.pop_back();  // the sentinel
  EXPECT_EQ(lengths, c.frameLengths);
  EXPECT_EQ(display.Messages(), c.displayMessages);
  uint8_t d[10];
  one->CopyDisplayBytes(d);
  EXPECT_EQ(Bytes(d, d + 10), c.display);
  EXPECT_EQ(one->CopyBacklight(), c.backlight);
  const BacklightColour colour = one->CopyBacklightColour();
  EXPECT_EQ(colour.red, c.colour.red);
  EXPECT_EQ(colour.green, c.colour.green);
  EXPECT_EQ(colour.blue, c.colour.blue);
  EXPECT_EQ(monitorI.Messages(WM_VORNI_TX).size(), c.sent.empty() ? 0u : 1u);
  if (!c.sent.empty()) {
    EXPECT_EQ(peer.Read(c.sent.size()), c.sent);
  }
}

const Bytes kZero10(10, 0);

INSTANTIATE_TEST_SUITE_P(
    Frames, VornIReceive,
    testing::Values(
        ReceiveCase{"Display", kDisplayFrame, {13}, {{WM_DISPLAY_BYTES, 0, 0}}, kDisplayBytes, 0, {}, {}},
        ReceiveCase{"WrongChecksum", WithBadChecksum(kDisplayFrame), {}, {}, kZero10, 0, {}, {}},
        ReceiveCase{"Backlight", FrameI(0xAA, 3, {0x01, 0x02, 0x03, 0x07}), {7}, {{WM_BACKLIGHT, 7, 0}},
                    kZero10, 7, {}, {}},
        ReceiveCase{"Colour", FrameI(0xAA, 36, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06}), {9},
                    {{WM_BACKLIGHT_COLOUR, 0, 0}}, kZero10, 0, {0x0605, 0x0403, 0x0201}, {}},
        ReceiveCase{"Announcement", FrameI(0xAA, 5, {0x01, 0x02, 0x03, 0x04}), {7},
                    {{WM_ANNOUNCEMENT, 0, 0}}, kZero10, 0, {}, {}},
        ReceiveCase{"AnnouncementNeedingAck", {0x01, 0x02, 0x03, 0x04, 0xF5, 0x09, 0xAA}, {7}, {}, kZero10,
                    0, {}, kAck},
        ReceiveCase{"AckRequest", FrameI(0xAA, 73, {0x09, 0x09, 0x09, 0x09}), {7}, {}, kZero10, 0, {}, kAck},
        ReceiveCase{"TextOfThree", Text(3), {7}, {}, kZero10, 0, {}, {}},
        ReceiveCase{"TextBeyondWindow", Text(61), {}, {}, kZero10, 0, {}, {}},
        ReceiveCase{"LongCcFrame", FrameI(0xCC, 4, Bytes(18, 0x21)), {21}, {}, kZero10, 0, {}, {}},
        ReceiveCase{"ZeroWindowAfterFrame", Concat({kDisplayFrame, {0xFF, 0x01, 0xCC}}), {13, 7},
                    {{WM_DISPLAY_BYTES, 0, 0}}, kDisplayBytes, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- sending ---------------------------------------------------------------

struct SendCase {
  const char* name;
  bool key;  // else a display poll
  uint8_t value;
  Bytes wire;
};
void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }

class VornISend : public VornIEngine, public testing::WithParamInterface<SendCase> {};

TEST_P(VornISend, GoesOutByteForByte) {
  const SendCase& c = GetParam();
  Start();
  EXPECT_TRUE(c.key ? one->SendKey(c.value) : one->SendPoll(c.value));
  EXPECT_EQ(peer.Read(c.wire.size()), c.wire);
  EXPECT_EQ(monitorI.Messages(WM_VORNI_TX),
            (std::vector<PostedMessage>{{WM_VORNI_TX, 0, static_cast<intptr_t>(c.wire.size())}}));
  Bytes slot(c.wire.size());
  one->ReadTxSlot(slot.data(), static_cast<int>(slot.size()), 0);
  EXPECT_EQ(slot, c.wire);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, VornISend,
    testing::Values(SendCase{"KeyPressed", true, 0x35, {0x35, 0xCA, 0x04, 0xAA}},
                    SendCase{"KeyReleased", true, 0x15, {0x15, 0xEA, 0x04, 0xAA}},
                    SendCase{"KeyHeld", true, 0x55, {0x55, 0xAA, 0x04, 0xAA}},
                    SendCase{"Poll", false, 0x00, {0x03, 0x03, 0x01, 0x00, 0xF8, 0x0A, 0xAA}},
                    SendCase{"PollMerlo", false, 0x80, {0x03, 0x03, 0x01, 0x80, 0x78, 0x0A, 0xAA}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VornIEngine, SendingWithThePortClosedFailsButIsMonitored) {
  Start();
  port.Close();
  EXPECT_FALSE(one->SendKey(0x35));
  EXPECT_EQ(monitorI.Messages(WM_VORNI_TX).size(), 1u);
}

// ---- rings -----------------------------------------------------------------

// More frames than a monitor has handled: each message names a copy of
// its own frame, in wire order, that no later frame touches.
TEST_F(VornIEngine, EveryFrameKeepsItsOwnCopyAndTicketsGoOnAcrossDetach) {
  Start();
  Bytes stream;
  for (uint8_t i = 0; i <= 40; ++i) stream = Concat({stream, FrameI(0xAA, 3, {0, 0, 0, i})});
  peer.Write(stream);
  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, 41));
  std::vector<intptr_t> tickets;
  for (int i = 0; i <= 40; ++i) tickets.push_back(i);
  EXPECT_EQ(Params(monitorI, WM_VORNI_RX, false), tickets);
  for (uint8_t i = 0; i <= 40; ++i) {
    uint8_t frame[7] = {};
    ASSERT_EQ(one->ReadRxSlot(frame, 7, i), 7);
    EXPECT_EQ(Bytes(frame, frame + 7), FrameI(0xAA, 3, {0, 0, 0, i}));
  }

  one->DetachMonitor();
  peer.Write(FrameI(0xAA, 3, {0, 0, 0, 100}));
  ASSERT_TRUE(WaitUntil([&] { return one->CopyBacklight() == 100; }));
  monitorI.Clear();
  one->AttachMonitor(&monitorI);
  peer.Write(kSentinel);
  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, 1));
  EXPECT_EQ(Params(monitorI, WM_VORNI_RX, false), std::vector<intptr_t>{41});
}

TEST_F(VornIEngine, WithoutWindowsNothingIsPostedAndNothingKept) {
  Start();
  one->DetachMonitor();
  one->SetDisplayWindow(nullptr);
  peer.Write(Concat({kDisplayFrame, FrameI(0xAA, 73, {0, 0, 0, 0})}));
  EXPECT_EQ(peer.Read(kAck.size()), kAck);
  ASSERT_TRUE(WaitUntil([&] {
    uint8_t d[10];
    one->CopyDisplayBytes(d);
    return Bytes(d, d + 10) == kDisplayBytes;
  }));
  EXPECT_TRUE(one->SendKey(0x35));
  EXPECT_TRUE(monitorI.Messages().empty());
  EXPECT_TRUE(display.Messages().empty());
  uint8_t rx[100], tx[100];
  EXPECT_EQ(one->ReadRxSlot(rx, 100, 0), -1);
  EXPECT_EQ(one->ReadTxSlot(tx, 100, 0), -1);
}

// ---- coupling with protocol II ---------------------------------------------

class EngineCoupling : public VornIEngine, public testing::WithParamInterface<bool> {};

// Four payload bytes left in the window spoil the zero-payload trailer
// FF 01 CC; a protocol II packet completed after them clears them.
TEST_P(EngineCoupling, ProtocolIIPacketDiscardsPartialProtocolIFrame) {
  const bool coupled = GetParam();
  Start(kProductKestal, coupled);
  peer.Write(Concat({{0x01, 0x02, 0x03, 0x04}, FrameII({0x00})}));
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, 1));
  ASSERT_TRUE(WaitUntil([&] { return !one->GetResetEvent()->IsSet(); }));

  peer.Write(Concat({{0xFF, 0x01, 0xCC}, kDisplayFrame}));
  const std::vector<intptr_t> expected = coupled ? std::vector<intptr_t>{7, 13} : std::vector<intptr_t>{13};
  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, expected.size()));
  EXPECT_EQ(Params(monitorI, WM_VORNI_RX, true), expected);
}

// A frame start of protocol II whose length swallows what follows: a
// protocol I frame completed after it makes the parser start over, so the
// reply behind it is parsed instead of eaten.
TEST_P(EngineCoupling, ProtocolIFrameDiscardsPartialProtocolIIFrame) {
  const bool coupled = GetParam();
  Start(kProductKestal, coupled);
  peer.Write(Concat({{0x7E, 0x02, 0x40, 0x01, 0x02}, kDisplayFrame}));
  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, 1));
  one->CopyBacklight();  // the engine lock: the frame's handling is over
  ASSERT_TRUE(WaitUntil([&] { return !two->GetResetEvent()->IsSet(); }));

  // Uncoupled, these bytes complete the 64-byte frame begun above, under
  // a checksum that holds, so only the coupling decides.
  const Bytes rest = Concat({FrameII({0x00, 0x12}), Bytes(42, 0x00)});
  const Bytes swallowed = Concat({{0x01, 0x02}, kDisplayFrame, rest});
  ASSERT_EQ(swallowed.size(), 64u);
  const uint8_t checksum = VornIIChecksum(swallowed.data(), 64);
  peer.Write(Concat({rest, {checksum, 0x7F}, FrameII({0x01})}));
  const std::vector<intptr_t> expected = coupled ? std::vector<intptr_t>{2, 1} : std::vector<intptr_t>{64, 1};
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, expected.size()));
  EXPECT_EQ(Params(monitorII, WM_VORNII_RX, true), expected);
}

INSTANTIATE_TEST_SUITE_P(Coupling, EngineCoupling, testing::Bool(),
                         [](const auto& info) { return info.param ? "Coupled" : "Uncoupled"; });

}  // namespace
