// The protocol II engine against the far end of a real pseudo-terminal.
#include <chrono>
#include <future>

#include "messages.h"
#include "protocol_link.h"

namespace {

// Long enough never to expire while a reply is on its way; short enough
// that an awaited failure keeps the suite quick.
constexpr int kPatientMs = 3000;
constexpr int kFailMs = 300;

VORN_PACKET_STRUCT_TAG Request(const Bytes& payload) {
  VORN_PACKET_STRUCT_TAG r;
  r.length = static_cast<int32_t>(payload.size());
  std::copy(payload.begin(), payload.end(), r.data);
  return r;
}

Bytes WithRequestFlag(Bytes payload) {
  payload[0] |= 0x80;
  return payload;
}

class VornIIEngine : public ProtocolLink {
 protected:
  std::future<bool> TransactAsync(VORN_PACKET_STRUCT_TAG& request, VORN_PACKET_STRUCT_TAG* reply,
                                  int timeoutMs, int echoedBytes = 0) {
    return std::async(std::launch::async, [this, &request, reply, timeoutMs, echoedBytes] {
      return two->Transact(request, reply, timeoutMs, echoedBytes);
    });
  }

  // Runs one request while the peer plays the radio: it reads the request
  // frame, then sends `radio`.
  bool Exchange(const Bytes& payload, const Bytes& radio, VORN_PACKET_STRUCT_TAG& reply, int timeoutMs,
                int echoedBytes = 0) {
    VORN_PACKET_STRUCT_TAG request = Request(payload);
    auto result = TransactAsync(request, &reply, timeoutMs, echoedBytes);
    const Bytes expected = FrameII(WithRequestFlag(payload));
    EXPECT_EQ(peer.Read(expected.size()), expected);
    if (!radio.empty()) peer.Write(radio);
    return result.get();
  }
};

// ---- requests on the wire --------------------------------------------

struct RequestCase {
  const char* name;
  Bytes payload;
  Bytes wire;
};
void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }

class VornIIRequests : public VornIIEngine, public testing::WithParamInterface<RequestCase> {};

TEST_P(VornIIRequests, GoOutByteForByteWithTheRequestFlag) {
  Start();
  const RequestCase& c = GetParam();
  VORN_PACKET_STRUCT_TAG request = Request(c.payload);
  ASSERT_TRUE(two->Transact(request, nullptr, kPatientMs));
  EXPECT_EQ(peer.Read(c.wire.size()), c.wire);
  EXPECT_EQ(request.data[0], c.payload[0] | 0x80);

  const std::vector<PostedMessage> sent = monitorII.Messages(WM_VORNII_TX);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], (PostedMessage{WM_VORNII_TX, 0, static_cast<intptr_t>(c.payload.size())}));
  Bytes slot(c.payload.size());
  two->ReadTxSlot(slot.data(), static_cast<int>(slot.size()), 0);
  EXPECT_EQ(slot, WithRequestFlag(c.payload));
}

INSTANTIATE_TEST_SUITE_P(
    Framing, VornIIRequests,
    testing::Values(
        RequestCase{"ChecksumNotEscaped", {0x00}, {0x7E, 0x02, 0x01, 0x80, 0x7F, 0x7F}},
        RequestCase{"FlagAlreadySet", {0x80}, {0x7E, 0x02, 0x01, 0x80, 0x7F, 0x7F}},
        RequestCase{"Plain", {0x02, 0x00, 0x10}, {0x7E, 0x02, 0x03, 0x82, 0x00, 0x10, 0x6D, 0x7F}},
        RequestCase{"EscapedStart",
                    {0x22, 0x01, 0x7E, 0x12, 0x34},
                    {0x7E, 0x02, 0x05, 0xA2, 0x01, 0x7D, 0x5E, 0x12, 0x34, 0x04, 0x7F}},
        RequestCase{"AllEscapes",
                    {0x01, 0x7D, 0x7E, 0x7F},
                    {0x7E, 0x02, 0x04, 0x81, 0x7D, 0x5D, 0x7D, 0x5E, 0x7D, 0x5F, 0x02, 0x7F}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VornIIEngine, LargestRequestGoesOutWholeAndLongerOnesAreRefused) {
  Start();
  for (int32_t bad : {0, -1, 256, 512}) {
    VORN_PACKET_STRUCT_TAG request = Request({0x01});
    request.length = bad;
    EXPECT_FALSE(two->Transact(request, nullptr, kPatientMs)) << bad;
  }
  EXPECT_TRUE(monitorII.Messages(WM_VORNII_TX).empty());

  // Nothing of the refused requests reached the line: the first bytes
  // the radio sees are those of this one.
  Bytes payload(kVornIIMaxPayload, 0x7E);
  VORN_PACKET_STRUCT_TAG request = Request(payload);
  ASSERT_TRUE(two->Transact(request, nullptr, kPatientMs));
  const Bytes wire = FrameII(WithRequestFlag(payload));
  EXPECT_EQ(peer.Read(wire.size()), wire);
}

// ---- replies -----------------------------------------------------------

struct ReplyCase {
  const char* name;
  uint32_t productId;
  Bytes request;
  Bytes radio;  // what the radio sends once the request is in
  bool ok;
  Bytes reply;                   // empty when the request fails
  std::vector<intptr_t> faults;  // first parameters of WM_VORNII_FAULT, in order
};
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class VornIIReplies : public VornIIEngine, public testing::WithParamInterface<ReplyCase> {};

TEST_P(VornIIReplies, MatchOnlyTheAwaitedCommand) {
  const ReplyCase& c = GetParam();
  Start(c.productId);
  VORN_PACKET_STRUCT_TAG reply;
  reply.length = 99;
  EXPECT_EQ(Exchange(c.request, c.radio, reply, c.ok ? kPatientMs : kFailMs), c.ok);
  EXPECT_EQ(reply.length, static_cast<int32_t>(c.reply.size()));
  EXPECT_EQ(Payload(reply), c.reply);
  EXPECT_EQ(Params(monitorII, WM_VORNII_FAULT, false), c.faults);
  for (intptr_t second : Params(monitorII, WM_VORNII_FAULT, true)) EXPECT_EQ(second, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Matching, VornIIReplies,
    testing::Values(
        ReplyCase{"Reply", kProductKestal, {0x00}, {0x7E, 0x02, 0x02, 0x00, 0x12, 0xED, 0x7F}, true,
                  {0x00, 0x12}, {}},
        ReplyCase{"EscapedReply", kProductKestal, {0x03}, FrameII({0x03, 0x7D, 0x7E, 0x7F}), true,
                  {0x03, 0x7D, 0x7E, 0x7F}, {}},
        ReplyCase{"OtherCommandDropped", kProductKestal, {0x00},
                  Concat({FrameII({0x01, 0x55}), FrameII({0x00, 0x12})}), true, {0x00, 0x12}, {}},
        ReplyCase{"ZeroLengthFrameIsNoise", kProductKestal, {0x00},
                  Concat({{0x7E, 0x02, 0x00, 0xFF, 0x7F}, FrameII({0x00, 0x12})}), true, {0x00, 0x12}, {}},
        ReplyCase{"NoReplyTimesOut", kProductKestal, {0x00}, {}, false, {}, {1}},
        // A frame whose checksum does not hold is line noise, and says so.
        ReplyCase{"WrongChecksumIsNoReply", kProductKestal, {0x00},
                  {0x7E, 0x02, 0x02, 0x00, 0x12, 0xEC, 0x7F}, false, {}, {3, 1}},
        ReplyCase{"FlippedByteThenGoodReply", kProductKestal, {0x00},
                  Concat({{0x7E, 0x02, 0x02, 0x00, 0x13, 0xED, 0x7F}, FrameII({0x00, 0x12})}), true,
                  {0x00, 0x12}, {3}},
        ReplyCase{"NackEndsInTimeout", kProductKestal, {0x05}, FrameII({0x45}), false, {}, {2, 1}},
        ReplyCase{"NackThenReply", kProductKestal, {0x05}, Concat({FrameII({0x45}), FrameII({0x05, 0x01})}),
                  true, {0x05, 0x01}, {2}},
        // Radios without the reply-error flag echo the request flag on the
        // status and channel-step replies.
        ReplyCase{"StatusKeepsFlag", kProductKestal, {0x05}, FrameII({0x85, 0x01}), true, {0x85, 0x01}, {}},
        ReplyCase{"ChannelStepKeepsFlag", kProductKestal, {0x29}, FrameII({0xA9, 0x10}), true,
                  {0xA9, 0x10}, {}},
        ReplyCase{"ChannelStepDownKeepsFlag", kProductKestal, {0x2A}, FrameII({0xAA, 0x10}), true,
                  {0xAA, 0x10}, {}},
        ReplyCase{"FlagKeptNackStillNack", kProductKestal, {0x05}, FrameII({0xC5}), false, {}, {2, 1}},
        ReplyCase{"FlagRefusedWithErrorFlag", kProductTamso, {0x05}, FrameII({0x85, 0x01}), false, {}, {1}},
        ReplyCase{"PlainReplyWithErrorFlag", kProductTamso, {0x05}, FrameII({0x05, 0x01}), true,
                  {0x05, 0x01}, {}},
        ReplyCase{"FlagNeverAcceptedOtherwise", kProductKestal, {0x02, 0x00, 0x10}, FrameII({0x82, 0x11}),
                  false, {}, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

// A memory read's reply repeats its address: a late one for another
// address is dropped, and so is one too short to repeat it.
TEST_F(VornIIEngine, EchoedBytesPickTheReplyForTheAddressAsked) {
  Start();
  VORN_PACKET_STRUCT_TAG reply;
  const Bytes late = FrameII({0x02, 0x01, 0x13, 0xAA, 0xBB});
  const Bytes tooShort = FrameII({0x02, 0x01});
  const Bytes right = FrameII({0x02, 0x01, 0x23, 0x12, 0x34});
  EXPECT_TRUE(Exchange({0x02, 0x01, 0x23}, Concat({late, tooShort, right}), reply, kPatientMs, 2));
  EXPECT_EQ(Payload(reply), (Bytes{0x02, 0x01, 0x23, 0x12, 0x34}));
  EXPECT_FALSE(Exchange({0x02, 0x01, 0x23}, late, reply, kFailMs, 2));
  EXPECT_EQ(reply.length, 0);
  // Without echoed bytes the first reply of the command is the reply.
  EXPECT_TRUE(Exchange({0x02, 0x01, 0x23}, late, reply, kPatientMs));
  EXPECT_EQ(Payload(reply), (Bytes{0x02, 0x01, 0x13, 0xAA, 0xBB}));
}

TEST_F(VornIIEngine, LateReplyIsExaminedAndDroppedByTheNextRequest) {
  Start();
  VORN_PACKET_STRUCT_TAG reply;
  EXPECT_FALSE(Exchange({0x00}, {}, reply, kFailMs));

  peer.Write(FrameII({0x00, 0x12}));  // the radio answers too late
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, 1));

  EXPECT_TRUE(Exchange({0x01}, FrameII({0x01, 0x34}), reply, kPatientMs));
  EXPECT_EQ(Payload(reply), (Bytes{0x01, 0x34}));
  // The late reply went while that request waited; command 0 finds nothing.
  EXPECT_FALSE(Exchange({0x00}, {}, reply, kFailMs));
  EXPECT_EQ(reply.length, 0);
}

// More frames than a monitor has handled: each message names a copy of
// its own frame that no later frame touches, taken once.
TEST_F(VornIIEngine, EveryFrameKeepsItsOwnCopyUntilTheMonitorTakesIt) {
  Start();
  Bytes stream;
  for (uint8_t i = 0; i <= 40; ++i) stream = Concat({stream, FrameII({0x10, i})});
  peer.Write(stream);
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, 41));
  for (uint8_t i = 0; i <= 40; ++i) {
    VORN_PACKET_STRUCT_TAG request = Request({0x03, i});
    ASSERT_TRUE(two->Transact(request, nullptr, kPatientMs));
  }

  std::vector<intptr_t> tickets;
  for (int i = 0; i <= 40; ++i) tickets.push_back(i);
  EXPECT_EQ(Params(monitorII, WM_VORNII_RX, false), tickets);
  EXPECT_EQ(Params(monitorII, WM_VORNII_TX, false), tickets);
  for (uint8_t i = 0; i <= 40; ++i) {
    uint8_t rx[2] = {}, tx[2] = {};
    ASSERT_EQ(two->ReadRxSlot(rx, 2, i), 2);
    ASSERT_EQ(two->ReadTxSlot(tx, 2, i), 2);
    EXPECT_EQ(Bytes(rx, rx + 2), (Bytes{0x10, i}));
    EXPECT_EQ(Bytes(tx, tx + 2), (Bytes{0x83, i}));
  }
  uint8_t again[2];
  EXPECT_EQ(two->ReadRxSlot(again, 2, 0), -1) << "a copy is taken once";

  // Attaching again lets every earlier copy go; tickets go on, so a late
  // message of the earlier showing names nothing of this one.
  peer.Write(FrameII({0x10, 0x55}));
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, 42));
  monitorII.Clear();
  two->AttachMonitor(&monitorII);
  EXPECT_EQ(two->ReadRxSlot(again, 2, 41), -1);
  peer.Write(FrameII({0x10, 0x77}));
  ASSERT_TRUE(WaitForCount(monitorII, WM_VORNII_RX, 1));
  EXPECT_EQ(Params(monitorII, WM_VORNII_RX, false), std::vector<intptr_t>{42});
  ASSERT_EQ(two->ReadRxSlot(again, 2, 42), 2);
  EXPECT_EQ(Bytes(again, again + 2), (Bytes{0x10, 0x77}));
}

TEST_F(VornIIEngine, WithoutMonitorNothingIsPostedAndNothingKept) {
  Start();
  two->DetachMonitor();
  VORN_PACKET_STRUCT_TAG reply;
  EXPECT_TRUE(Exchange({0x00}, FrameII({0x00, 0x12}), reply, kPatientMs));
  EXPECT_FALSE(Exchange({0x05}, FrameII({0x45}), reply, kFailMs));  // NACK, then time-out

  EXPECT_TRUE(monitorII.Messages().empty());
  uint8_t rx[512], tx[512];
  EXPECT_EQ(two->ReadRxSlot(rx, 512, 0), -1);
  EXPECT_EQ(two->ReadTxSlot(tx, 512, 0), -1);
}

TEST_F(VornIIEngine, ClosedPortRefusesAndLeavesTheReplyAlone) {
  Start();
  port.Close();
  VORN_PACKET_STRUCT_TAG request = Request({0x00});
  VORN_PACKET_STRUCT_TAG reply;
  reply.length = 99;
  EXPECT_FALSE(two->Transact(request, &reply, kPatientMs));
  EXPECT_EQ(reply.length, 99);
}

TEST_F(VornIIEngine, PortVanishingMidRequestFails) {
  Start();
  VORN_PACKET_STRUCT_TAG request = Request({0x00});
  VORN_PACKET_STRUCT_TAG reply;
  reply.length = 99;
  // A long limit: the wait must end because the device went, not
  // because the time ran out.
  auto result = TransactAsync(request, &reply, 20000);
  EXPECT_EQ(peer.Read(6).size(), 6u);
  const auto hungUpAt = std::chrono::steady_clock::now();
  peer.HangUp();
  EXPECT_FALSE(result.get());
  EXPECT_LT(std::chrono::steady_clock::now() - hungUpAt, std::chrono::seconds(10));
  EXPECT_EQ(reply.length, 0);

  // The lost device takes no more requests.
  reply.length = 99;
  EXPECT_FALSE(two->Transact(request, &reply, kPatientMs));
  EXPECT_EQ(reply.length, 99);
}

TEST_F(VornIIEngine, EnginesCanGoWhileThePortStaysOpen) {
  Start();
  one.reset();
  two.reset();
  // The reader must not signal the destroyed engines' events.
  ASSERT_TRUE(peer.Write(FrameII({0x00, 0x12})));
  ASSERT_TRUE(peer.Write(FrameII({0x00, 0x13})));
  SleepMs(50);
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(VornIIEngine, StoppedEngineParsesNothingMore) {
  Start();
  EXPECT_TRUE(two->Stop());
  EXPECT_TRUE(two->Stop());
  VORN_PACKET_STRUCT_TAG reply;
  EXPECT_FALSE(Exchange({0x00}, FrameII({0x00, 0x12}), reply, kFailMs));
  EXPECT_TRUE(monitorII.Messages(WM_VORNII_RX).empty());
}

TEST_F(VornIIEngine, ProtocolIFramesInterleavedWithRepliesReachBothEngines) {
  Start();
  const Bytes displayFrame = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0x58, 0x02, 0xAA};
  const Bytes backlightFrame = FrameI(0xAA, 3, {0x00, 0x00, 0x00, 0x07});
  VORN_PACKET_STRUCT_TAG reply;
  EXPECT_TRUE(Exchange({0x04}, Concat({displayFrame, FrameII({0x04, 0xAB}), backlightFrame}), reply,
                       kPatientMs));
  EXPECT_EQ(Payload(reply), (Bytes{0x04, 0xAB}));

  ASSERT_TRUE(WaitForCount(monitorI, WM_VORNI_RX, 2));
  EXPECT_EQ(Params(monitorI, WM_VORNI_RX, true), (std::vector<intptr_t>{13, 7}));
  uint8_t d[10];
  one->CopyDisplayBytes(d);
  EXPECT_EQ(Bytes(d, d + 10), Bytes(displayFrame.begin(), displayFrame.begin() + 10));
  EXPECT_EQ(one->CopyBacklight(), 7);
}

}  // namespace
