// Both framings, free of threads and ports: byte-exact encodings and the
// receive-side recognisers.
#include <gtest/gtest.h>

#include <vector>

#include "vorniframe.h"
#include "vorniiframe.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes EncodeII(const Bytes& payload) {
  uint8_t out[kVornIIMaxFrame];
  const int n = EncodeVornIIFrame(payload.data(), static_cast<int>(payload.size()), out);
  return Bytes(out, out + n);
}

std::vector<Bytes> ParseII(const Bytes& wire) {
  VornIIParser parser;
  std::vector<Bytes> packets;
  for (uint8_t b : wire) {
    if (parser.Feed(b)) packets.emplace_back(parser.Payload(), parser.Payload() + parser.Length());
  }
  return packets;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// ---- protocol II --------------------------------------------------------

struct EncodeCase {
  const char* name;
  Bytes payload;
  Bytes wire;
};
void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class VornIIEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(VornIIEncode, EncodesByteForByteAndDecodesBack) {
  const EncodeCase& c = GetParam();
  EXPECT_EQ(EncodeII(c.payload), c.wire);
  EXPECT_EQ(ParseII(c.wire), std::vector<Bytes>{c.payload});
}

INSTANTIATE_TEST_SUITE_P(
    Examples, VornIIEncode,
    testing::Values(
        // The checksum 7F is sent as is, never escaped.
        EncodeCase{"Single", {0x80}, {0x7E, 0x02, 0x01, 0x80, 0x7F, 0x7F}},
        EncodeCase{"ThreeBytes", {0x82, 0x00, 0x10}, {0x7E, 0x02, 0x03, 0x82, 0x00, 0x10, 0x6D, 0x7F}},
        EncodeCase{"EscapedStart",
                   {0xA2, 0x01, 0x7E, 0x12, 0x34},
                   {0x7E, 0x02, 0x05, 0xA2, 0x01, 0x7D, 0x5E, 0x12, 0x34, 0x04, 0x7F}},
        EncodeCase{"AllThreeEscaped",
                   {0x7D, 0x7E, 0x7F},
                   {0x7E, 0x02, 0x03, 0x7D, 0x5D, 0x7D, 0x5E, 0x7D, 0x5F, 0x83, 0x7F}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VornIIEncodeLimits, RefusesLengthsThatDoNotFitTheLengthByte) {
  uint8_t payload[256] = {};
  uint8_t out[kVornIIMaxFrame + 8];
  EXPECT_EQ(EncodeVornIIFrame(payload, 0, out), 0);
  EXPECT_EQ(EncodeVornIIFrame(payload, 256, out), 0);
  EXPECT_EQ(EncodeVornIIFrame(payload, -1, out), 0);
}

TEST(VornIIEncodeLimits, WorstCasePayloadFillsTheLargestFrameAndRoundTrips) {
  Bytes payload(kVornIIMaxPayload, 0x7D);
  const Bytes wire = EncodeII(payload);
  EXPECT_EQ(static_cast<int>(wire.size()), kVornIIMaxFrame);
  EXPECT_EQ(wire[2], 0xFF);
  EXPECT_EQ(ParseII(wire), std::vector<Bytes>{payload});
}

struct ParseCase {
  const char* name;
  Bytes wire;
  std::vector<Bytes> packets;
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class VornIIParse : public testing::TestWithParam<ParseCase> {};

TEST_P(VornIIParse, YieldsExactlyTheseFrames) { EXPECT_EQ(ParseII(GetParam().wire), GetParam().packets); }

const Bytes kReply = {0x7E, 0x02, 0x02, 0x00, 0x12, 0xED, 0x7F};

INSTANTIATE_TEST_SUITE_P(
    Streams, VornIIParse,
    testing::Values(
        ParseCase{"Reply", kReply, {{0x00, 0x12}}},
        // A damaged frame is line noise: a wrong checksum, or one payload
        // byte flipped under a checksum that was right for the original.
        ParseCase{"WrongChecksumIsDropped",
                  Concat({{0x7E, 0x02, 0x02, 0x00, 0x12, 0x00, 0x7F}, kReply}), {{0x00, 0x12}}},
        ParseCase{"FlippedPayloadByteIsDropped", {0x7E, 0x02, 0x02, 0x00, 0x13, 0xED, 0x7F}, {}},
        ParseCase{"NoiseBefore", Concat({{0x00, 0x55, 0x7F}, kReply}), {{0x00, 0x12}}},
        ParseCase{"BackToBack", Concat({kReply, kReply}), {{0x00, 0x12}, {0x00, 0x12}}},
        ParseCase{"EscapedInPayload",
                  {0x7E, 0x02, 0x02, 0x7D, 0x5F, 0x7D, 0x5D, 0xFD, 0x7F},
                  {{0x7F, 0x7D}}},
        // A raw 7E inside a payload is data, not a new start.
        ParseCase{"RawStartIsData", {0x7E, 0x02, 0x02, 0x7E, 0x01, 0x80, 0x7F}, {{0x7E, 0x01}}},
        ParseCase{"WrongEndDropsFrame", Concat({{0x7E, 0x02, 0x02, 0x00, 0x12, 0xED, 0x00}, kReply}),
                  {{0x00, 0x12}}},
        ParseCase{"WrongTypeIsNoise", Concat({{0x7E, 0x03, 0x02, 0x00, 0x12, 0xED, 0x7F}, kReply}),
                  {{0x00, 0x12}}},
        // A second start byte right after a start does not restart the frame.
        ParseCase{"DoubledStartIsNotAFrame", Concat({{0x7E}, kReply}), {}},
        // A zero length is noise: the parser resynchronises on the next
        // start byte instead of swallowing the stream.
        ParseCase{"ZeroLengthIsNoise", Concat({{0x7E, 0x02, 0x00, 0xFF, 0x7F}, kReply}),
                  {{0x00, 0x12}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VornIIParser, SaysWhenItDroppedAFrameForItsChecksum) {
  VornIIParser parser;
  const Bytes damaged = {0x7E, 0x02, 0x02, 0x00, 0x12, 0xEC, 0x7F};
  for (size_t i = 0; i < damaged.size(); ++i) {
    EXPECT_FALSE(parser.Feed(damaged[i]));
    EXPECT_EQ(parser.BadChecksum(), i + 1 == damaged.size()) << "byte " << i;
  }
  EXPECT_TRUE(parser.Feed(0x7E) == false && !parser.BadChecksum()) << "the next byte clears it";
  for (uint8_t b : Bytes(kReply.begin() + 1, kReply.end())) parser.Feed(b);
  EXPECT_FALSE(parser.BadChecksum());
}

TEST(VornIIParser, DamagedLengthSwallowsFollowingBytesUntilCounted) {
  // A length of 9 eats the following reply as payload; the next one parses.
  const Bytes wire = Concat({{0x7E, 0x02, 0x09, 0x01}, kReply, {0x00, 0x00, 0x7F}, kReply});
  const Bytes swallowed = Concat({{0x01}, kReply, {0x00}});
  EXPECT_EQ(ParseII(wire), (std::vector<Bytes>{swallowed, {0x00, 0x12}}));
}

TEST(VornIIParser, ResetAbandonsAPartialFrame) {
  VornIIParser parser;
  for (uint8_t b : Bytes{0x7E, 0x02, 0x05, 0x01}) EXPECT_FALSE(parser.Feed(b));
  EXPECT_EQ(parser.State(), 3);
  parser.Reset();
  EXPECT_EQ(parser.State(), 0);
  bool done = false;
  for (uint8_t b : kReply) done = parser.Feed(b);
  EXPECT_TRUE(done);
  EXPECT_EQ(parser.Length(), 2);
}

// ---- protocol I ---------------------------------------------------------

struct ShapeCase {
  uint8_t marker, command, count;
  int length;
};

TEST(VornIPayloadLength, FollowsTheFrameTable) {
  const ShapeCase cases[] = {
      {0xAA, 2, 0, 10}, {0xAA, 3, 0, 4},  {0xAA, 5, 0, 4},  {0xAA, 9, 0, 4},  {0xAA, 36, 0, 6},
      {0xAA, 73, 0, 4}, {0xCC, 1, 0, 4},  {0xCC, 5, 0, 4},  {0xCC, 6, 0, 4},  {0xCC, 10, 0, 4},
      {0xCC, 70, 0, 4}, {0xCC, 71, 0, 4}, {0xCC, 4, 0, 18}, {0xCC, 2, 3, 4},  {0xCC, 2, 0xFF, 256},
      {0xAA, 4, 0, -1}, {0xAA, 1, 0, -1}, {0xCC, 3, 0, -1}, {0xBB, 2, 0, -1}, {0x00, 0, 0, -1},
  };
  for (const ShapeCase& c : cases)
    EXPECT_EQ(VornIPayloadLength(c.marker, c.command, c.count), c.length)
        << std::hex << int(c.marker) << "/" << int(c.command);
}

TEST(EncodeVornIFrame, KeyEventsAndAcknowledgement) {
  uint8_t out[16];
  const uint8_t press = 0x35, release = 0x15;
  ASSERT_EQ(EncodeVornIFrame(0xAA, 4, &press, 1, out), 4);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x35, 0xCA, 0x04, 0xAA}));
  ASSERT_EQ(EncodeVornIFrame(0xAA, 4, &release, 1, out), 4);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x15, 0xEA, 0x04, 0xAA}));
  const uint8_t ack[] = {3, 3, 1, 0};
  ASSERT_EQ(EncodeVornIFrame(0xCC, 73, ack, 4, out), 7);
  EXPECT_EQ(Bytes(out, out + 7), (Bytes{0x03, 0x03, 0x01, 0x00, 0xF8, 0x49, 0xCC}));
}

// Feeds bytes; returns the length of every frame completed, in order.
std::vector<int> Recognise(VornIRecogniser& r, const Bytes& bytes) {
  std::vector<int> lengths;
  for (uint8_t b : bytes)
    if (int n = r.Feed(b)) lengths.push_back(n);
  return lengths;
}

Bytes TextFrame(int count) {
  Bytes payload;
  for (int i = 0; i < count; ++i) payload.push_back(static_cast<uint8_t>('A' + i % 26));
  payload.push_back(static_cast<uint8_t>(count));
  Bytes out(payload.size() + 3);
  EncodeVornIFrame(0xCC, 2, payload.data(), static_cast<int>(payload.size()), out.data());
  return out;
}

const Bytes kDisplayFrame = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                             0x88, 0x99, 0xAA, 0x58, 0x02, 0xAA};

struct RecogniseCase {
  const char* name;
  Bytes bytes;
  std::vector<int> lengths;
};
void PrintTo(const RecogniseCase& c, std::ostream* os) { *os << c.name; }

class VornIRecognise : public testing::TestWithParam<RecogniseCase> {};

TEST_P(VornIRecognise, FindsExactlyTheseFrames) {
  VornIRecogniser r;
  EXPECT_EQ(Recognise(r, GetParam().bytes), GetParam().lengths);
}

Bytes WithBadChecksum(Bytes frame) {
  frame[frame.size() - 3] ^= 0x01;
  return frame;
}

INSTANTIATE_TEST_SUITE_P(
    Streams, VornIRecognise,
    testing::Values(
        RecogniseCase{"Display", kDisplayFrame, {13}},
        RecogniseCase{"DisplayAfterNoise", Concat({{0x01, 0x02, 0x03}, kDisplayFrame}), {13}},
        RecogniseCase{"WrongChecksum", WithBadChecksum(kDisplayFrame), {}},
        RecogniseCase{"TextOfThree", TextFrame(3), {7}},
        // The largest text frame that fits the window, and one past it.
        RecogniseCase{"TextFillingWindow", TextFrame(60), {64}},
        RecogniseCase{"TextBeyondWindow", TextFrame(61), {}},
        RecogniseCase{"TextClaimingMaxCount", TextFrame(0xFF), {}},
        // The window is zero at start, so these trailers alone are frames.
        RecogniseCase{"ZeroWindowAlone", {0xFF, 0x01, 0xCC}, {7}},
        RecogniseCase{"ZeroWindowAfterFrame", Concat({kDisplayFrame, {0xFF, 0x01, 0xCC}}), {13, 7}},
        RecogniseCase{"OversizeThenValid", Concat({TextFrame(61), kDisplayFrame}), {13}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VornIRecogniser, ExposesTheFrameInBothOrders) {
  VornIRecogniser r;
  ASSERT_EQ(Recognise(r, kDisplayFrame), std::vector<int>{13});
  EXPECT_EQ(r.Marker(), 0xAA);
  EXPECT_EQ(r.Command(), 0x02);
  EXPECT_EQ(r.PayloadLength(), 10);
  EXPECT_EQ(r.P(1), 0x11);
  EXPECT_EQ(r.P(10), 0xAA);
  EXPECT_EQ(r.FrameCopy()[2], 0x58);
  uint8_t wire[64];
  ASSERT_EQ(r.CopyWireOrder(wire, sizeof wire), 13);
  EXPECT_EQ(Bytes(wire, wire + 13), kDisplayFrame);
  // A short destination gets the start of the frame only.
  uint8_t start[4] = {};
  EXPECT_EQ(r.CopyWireOrder(start, 4), 4);
  EXPECT_EQ(Bytes(start, start + 4), (Bytes{0x11, 0x22, 0x33, 0x44}));
}

TEST(VornIRecogniser, ResetForgetsBytesReceivedSoFar) {
  // Four bytes that, left in the window, spoil the zero-payload trailer.
  VornIRecogniser r;
  EXPECT_TRUE(Recognise(r, {0x01, 0x02, 0x03, 0x04, 0xFF, 0x01, 0xCC}).empty());
  r.Reset();
  EXPECT_EQ(Recognise(r, {0xFF, 0x01, 0xCC}), std::vector<int>{7});
}

}  // namespace
