// Protocol I on the simulated radio's line: display frames, keys,
// backlight and announcements, decoded the way the programmer decodes them.

#include <gtest/gtest.h>

#include "sim_fixture.h"
#include "simpanel.h"

namespace {

constexpr uint8_t kDisplay = 2;
constexpr uint8_t kBacklight = 3;
constexpr uint8_t kAnnouncement = 9;

Bytes KeyFrame(uint8_t key) { return {key, static_cast<uint8_t>(0xFF - key), 0x04, 0xAA}; }
const Bytes kPoll = {0x03, 0x03, 0x01, 0x00, 0xF8, 0x0A, 0xAA};
const Bytes kAck = {0x03, 0x03, 0x01, 0x00, 0xF8, 0x49, 0xCC};

std::string Text(const PanelFrame& f) { return std::string(f.payload.begin() + 2, f.payload.begin() + 7); }

struct DisplayCase {
  const char* name;
  uint32_t product;
  int channel;
  std::string digits;
  std::string text;
  uint8_t d7;
  uint8_t d8;
};

const DisplayCase kDisplays[] = {
    {"kestal_numeric_only", kProductKestal, 11, "11", "     ", 0x00, 0x00},
    {"kestal_duplex_channel", kProductKestal, 5, "05", "     ", 0x80, 0x00},
    {"dravo_cb_channel", kProductDravo, 12, "12", "CB-12", 0x00, 0x00},
    {"dravo_emergency", kProductDravo, 35, "35", "EMERG", 0x00, 0x00},
    {"merlo_rx_only_named", kProductMerlo, 82, "02", "SES  ", 0x00, 0x00},
    {"kestal_bt_lights_bt", kProductKestalBT, 40, "40", "     ", 0x00, 0x20},
};

class SimDisplayPoll : public testing::TestWithParam<DisplayCase> {};

TEST_P(SimDisplayPoll, AnswersWithItsDisplay) {
  const DisplayCase& c = GetParam();
  SimOnLine sim(c.product);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetChannel(c.channel);
  ASSERT_TRUE(sim.end->SendRaw(kPoll));
  const auto f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->marker, 0xAA);
  ASSERT_EQ(f->payload.size(), 10u);
  EXPECT_EQ(std::string(f->payload.begin(), f->payload.begin() + 2), c.digits);
  EXPECT_EQ(Text(*f), c.text);
  EXPECT_EQ(f->payload[7], c.d7);
  EXPECT_EQ(f->payload[8], c.d8);
  EXPECT_EQ(f->payload[9], 0x00);
  ASSERT_TRUE(sim.end->Transact({0x00}));  // the poll has been handled before it
  EXPECT_EQ(sim.radio.Counters().polls, 1);
}

INSTANTIATE_TEST_SUITE_P(Models, SimDisplayPoll, testing::ValuesIn(kDisplays),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimPanel, PttLightsTxAndTheRadioTellsThePanel) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  const auto reply = sim.end->Transact({0x26, 0x01});
  ASSERT_TRUE(reply && *reply == Bytes{0x26});
  auto f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->payload[8] & 0x02, 0x02);
  ASSERT_TRUE(sim.end->Transact({0x26, 0x00}));
  f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->payload[8] & 0x02, 0x00);
}

TEST(SimPanel, ProgrammingModeFlashesTheDigits) {
  SimOnLine sim(kProductDravo);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x39}));
  const auto f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(Text(*f), "PROG ");
  EXPECT_EQ(f->payload[9], 0x03);
}

struct KeyCase {
  const char* name;
  Bytes keys;
  int channel;  // afterwards, from 11
  bool ptt;
  bool scan;
};

const KeyCase kKeys[] = {
    {"up_pressed", {0x31}, 12, false, false},
    {"up_repeated", {0x31, 0x31, 0x31}, 14, false, false},
    {"down_pressed", {0x30}, 10, false, false},
    {"up_released_does_nothing", {0x11}, 11, false, false},
    {"ptt_held_down", {0x36, 0x56}, 11, true, false},
    {"ptt_let_go", {0x36, 0x16}, 11, false, false},
    {"scan_toggles", {0x33, 0x13}, 11, false, true},
    {"other_keys_change_nothing", {0x37, 0x17, 0x39}, 11, false, false},
};

class SimKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(SimKeys, ChangeTheRadio) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  for (uint8_t k : GetParam().keys) ASSERT_TRUE(sim.end->SendRaw(KeyFrame(k)));
  ASSERT_TRUE(sim.end->Transact({0x00}));  // everything before it has been handled
  const SimState s = sim.radio.State();
  EXPECT_EQ(s.channel, GetParam().channel);
  EXPECT_EQ(s.ptt, GetParam().ptt);
  EXPECT_EQ(s.scan, GetParam().scan);
  EXPECT_EQ(sim.radio.KeyEvents(), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(Keys, SimKeys, testing::ValuesIn(kKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimPanel, KeyChangesArePushedAsDisplayFrames) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->SendRaw(KeyFrame(0x31)));
  const auto f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(std::string(f->payload.begin(), f->payload.begin() + 2), "12");
}

TEST(SimPanel, BacklightKeySendsBacklightFrames) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->SendRaw(KeyFrame(0x38)));
  auto f = sim.end->NextPanelFrame(kBacklight, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->payload, (Bytes{0, 0, 0, 0}));
  ASSERT_TRUE(sim.end->SendRaw(KeyFrame(0x38)));
  f = sim.end->NextPanelFrame(kBacklight, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->payload[3], 1);
}

TEST(SimPanel, KeyFrameInsideAProtocolIIPayloadIsData) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  Bytes block = {0x23, 0x01, 0x00};
  for (int i = 0; i < 4; ++i) block.insert(block.end(), {0x31, 0xCE, 0x04, 0xAA});
  ASSERT_TRUE(sim.end->Transact(block));
  EXPECT_EQ(sim.radio.State().channel, 11);
  EXPECT_TRUE(sim.radio.KeyEvents().empty());
}

TEST(SimPanel, AnnouncementIsAcknowledged) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  sim.radio.SendAnnouncement();
  const auto f = sim.end->NextPanelFrame(kAnnouncement, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->marker, 0xAA);
  EXPECT_TRUE(sim.radio.Counters().ackPending);
  ASSERT_TRUE(sim.end->SendRaw(kAck));
  ASSERT_TRUE(sim.end->Transact({0x00}));
  const SimCounters c = sim.radio.Counters();
  EXPECT_EQ(c.announcements, 1);
  EXPECT_EQ(c.acksReceived, 1);
  EXPECT_FALSE(c.ackPending);
}

TEST(SimPanel, UnansweredAnnouncementStaysPending) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetAnnouncementInterval(20);
  ASSERT_TRUE(sim.end->NextPanelFrame(kAnnouncement, 1000));
  ASSERT_TRUE(sim.end->NextPanelFrame(kAnnouncement, 1000));
  sim.radio.SetAnnouncementInterval(0);
  const SimCounters c = sim.radio.Counters();
  EXPECT_GE(c.announcements, 2);
  EXPECT_EQ(c.acksReceived, 0);
  EXPECT_TRUE(c.ackPending);
}

// A checksum of 7E followed by the command 02 would open a protocol II
// frame in the programmer's parser; the radio steers clear of it.
TEST(SimPanel, DisplayChecksumNeverLooksLikeAFrameStart) {
  const std::array<uint8_t, 10> display = {0x81, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // sum 81: checksum 7E
  const Bytes frame = SimDisplayFrame(display);
  ASSERT_EQ(frame.size(), 13u);
  EXPECT_NE(frame[10], 0x7E);
  EXPECT_EQ(frame[9], 0x80);  // the unused bit 7 of D9
  VornIRecogniser r;
  int length = 0;
  for (uint8_t b : frame) length = r.Feed(b);
  EXPECT_EQ(length, 13);
  EXPECT_EQ(r.P(1), 0x81);
}

TEST(SimPanel, LcdWriteHoldsTheDisplayUntilReset) {
  SimOnLine sim(kProductMerlo);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x34, 0x84, '8', '8', 'H', 'E', 'L', 'L', 'O', 0x41, 0x02, 0x7C}));
  auto f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->payload, (Bytes{'8', '8', 'H', 'E', 'L', 'L', 'O', 0x41, 0x02, 0x7C}));
  ASSERT_TRUE(sim.end->Transact({0x3F}));
  f = sim.end->NextPanelFrame(kDisplay, 1000);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(std::string(f->payload.begin(), f->payload.begin() + 2), "11");
}

}  // namespace
