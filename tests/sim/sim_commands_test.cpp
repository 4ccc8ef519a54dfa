// The simulated radio's protocol II command set, driven over its
// pseudo-terminal with raw frames: every request layout against the reply
// layout the programmer parses.

#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace {

struct LayoutCase {
  const char* name;
  Bytes request;  // payload; the request flag is added on the wire
  Bytes reply;    // the whole reply payload
};

// A fresh Kestal with its default configuration, on channel 11, firmware 3.00.
const LayoutCase kKestalLayouts[] = {
    {"version", {0x00}, {0x00, 0x03, 0x00, 0x00}},
    {"read_byte", {0x01, 0x00, 0x1F}, {0x01, 0x00, 0x1F, 0x0B}},
    {"read_word_product_id", {0x02, 0x00, 0x00}, {0x02, 0x00, 0x00, 0x5A, 0x02}},
    {"read_word_pcb_rev", {0x02, 0x00, 0x1C}, {0x02, 0x00, 0x1C, 0x00, 0x03}},
    {"read_block",
     {0x03, 0x00, 0x00},
     {0x03, 0x00, 0x00, 0x5A, 0x02, 0x62, 0x8A, 0x75, 0x40, 0x69, 0x91, 0x7C, 0x47, 0x70, 0x98, 0x83, 0x4E,
      0x0C, 0x0A}},
    {"read_block_past_end", {0x03, 0x07, 0xF8}, {0x43}},
    {"read_block_short_request", {0x03, 0x00}, {0x43}},
    {"get_channel", {0x04}, {0x04, 0x0B}},
    {"status_bit7", {0x05}, {0x85, 0x00}},
    {"read_array_refused", {0x0B, 0x00, 0x00, 0x10}, {0x4B}},
    {"read_radio_id", {0x0C}, {0x0C, 0x56, 0x4B, 0x00, 0x01, 0x23, 0x45, 0x67, 0x89}},
    {"write_byte", {0x21, 0x00, 0x40, 0x12}, {0x21}},
    {"write_byte_past_end", {0x21, 0x08, 0x00, 0x12}, {0x61}},
    {"write_word", {0x22, 0x00, 0x40, 0x12, 0x34}, {0x22}},
    {"write_block", {0x23, 0x00, 0x40, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {0x23}},
    {"set_channel", {0x24, 0x05}, {0x24}},
    {"set_channel_zero", {0x24, 0x00}, {0x64}},
    {"rf_power", {0x25, 0x00, 0x02}, {0x25}},
    {"ptt", {0x26, 0x01}, {0x26}},
    {"step_up_bit7", {0x29}, {0xA9, 0x0C}},
    {"step_down_bit7", {0x2A}, {0xAA, 0x0A}},
    {"write_array_refused", {0x2B, 0x00, 0x00, 0x01, 0x55}, {0x6B}},
    {"write_radio_id", {0x2C, 1, 2, 3, 4, 5, 6, 7, 8}, {0x2C}},
    {"volume_one_byte", {0x2F, 0x05}, {0x2F}},
    {"test_mode", {0x38, 0x01}, {0x38}},
    {"prog_mode_one_byte", {0x39}, {0x39}},
    {"firmware_text", {0x3A}, {0x3A, 'K', 'e', 's', 't', 'a', 'l', ' ', 'U', 'H', 'F', ' ', 'C', 'B', 0x00}},
    {"baud_rate_refused", {0x3B, 0x00, 0xE1, 0x00}, {0x7B}},
    {"reset_one_byte", {0x3F}, {0x3F}},
    {"peek", {0x34, 0x01, 0x00, 0x10}, {0x34, 0x00, 0x00, 0x10, 0x00}},
    {"adc_battery", {0x34, 0x08, 0x01}, {0x34, 0x00, 0x01, 0xB4}},
    {"adc_rssi_no_signal", {0x34, 0x08, 0x04}, {0x34, 0x00, 0x04, 0x18}},
    {"adc_noise_no_signal", {0x34, 0x08, 0x05}, {0x34, 0x00, 0x05, 0xC8}},
    {"adc_channel_9_fails", {0x34, 0x08, 0x09}, {0x34, 0x01, 0x01, 0x00}},
    {"poke", {0x34, 0x81, 0x00, 0x10, 0xFF, 0x0F}, {0x34, 0x00}},
    {"tx_tone", {0x34, 0x82, 0x10}, {0x34, 0x00}},
    {"ctcss_tone", {0x34, 0x83, 0x05}, {0x34, 0x00}},
    {"write_lcd", {0x34, 0x84, '1', '2', 'H', 'E', 'L', 'L', 'O', 0x01, 0x02, 0x03}, {0x34, 0x00}},
    {"squelch_open", {0x34, 0x86, 0x01}, {0x34, 0x00}},
    {"pll_frequency", {0x34, 0x88, 0x95, 0x10}, {0x34, 0x00}},
    {"auto_align", {0x34, 0x89, 0x0F, 0x40, 0xA0, 0x04}, {0x34, 0x00}},
    {"auto_align_no_step", {0x34, 0x89, 0x0F, 0x40, 0xA0, 0x00}, {0x74}},
    {"beep_tone", {0x34, 0x8A, 0x03, 0x70}, {0x34, 0x00}},
    {"audio_samples_silent", {0x34, 0x8B, 0x03}, {0x34, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    // Offset 0 against a true offset of 3 steps: -150 Hz, AFC on pulls it to -18.
    {"frequency_error_afc", {0x34, 0x8C}, {0x34, 0x00, 0xEE, 0xFF}},
    {"afc", {0x34, 0x8D, 0x01}, {0x34, 0x00}},
    {"unknown_sub_command", {0x34, 0x07}, {0x74}},
    {"unknown_command", {0x10}, {0x50}},
};

class KestalLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(KestalLayout, ReplyMatchesLayout) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  const auto reply = sim.end->Transact(GetParam().request);
  ASSERT_TRUE(reply.has_value()) << "no reply";
  EXPECT_EQ(Hex(*reply), Hex(GetParam().reply));
}

INSTANTIATE_TEST_SUITE_P(Commands, KestalLayout, testing::ValuesIn(kKestalLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimCommands, ReadBlocksReturnMemory) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  const Bytes memory = sim.radio.Memory();
  for (int a : {0x000, 0x0E0, 0x380, 0x7F0}) {
    const auto reply = sim.end->Transact({0x03, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a)});
    ASSERT_TRUE(reply && reply->size() == 19u) << a;
    EXPECT_EQ(Bytes(reply->begin() + 3, reply->end()), Bytes(memory.begin() + a, memory.begin() + a + 16)) << a;
  }
}

struct WriteCase {
  const char* name;
  Bytes request;
  int address;
  Bytes expected;  // memory from address on after the write
};

const WriteCase kWrites[] = {
    {"byte", {0x21, 0x01, 0x23, 0x7E}, 0x123, {0x7E}},
    {"word", {0x22, 0x00, 0x40, 0x12, 0x34}, 0x40, {0x12, 0x34}},
    {"word_odd_address_rounds_down", {0x22, 0x00, 0x41, 0xAB, 0xCD}, 0x40, {0xAB, 0xCD}},
    {"block", {0x23, 0x07, 0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x7D}, 0x7F0,
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x7D}},
};

class SimWrites : public testing::TestWithParam<WriteCase> {};

TEST_P(SimWrites, ChangeMemory) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  const auto reply = sim.end->Transact(GetParam().request);
  ASSERT_TRUE(reply && reply->size() == 1u && (*reply)[0] == GetParam().request[0]);
  const Bytes memory = sim.radio.Memory();
  const auto& e = GetParam().expected;
  EXPECT_EQ(Bytes(memory.begin() + GetParam().address, memory.begin() + GetParam().address + e.size()), e);
}

INSTANTIATE_TEST_SUITE_P(Memory, SimWrites, testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

class SimArrays : public testing::TestWithParam<uint32_t> {};

TEST_P(SimArrays, ReadAndWriteArraysOnModelsThatHaveThem) {
  SimOnLine sim(GetParam());
  ASSERT_TRUE(sim.ready());
  Bytes write = {0x2B, 0x02, 0x00, 128};
  for (int i = 0; i < 128; ++i) write.push_back(static_cast<uint8_t>(0x70 + i));  // 7D..7F need escaping
  const auto ack = sim.end->Transact(write);
  ASSERT_TRUE(ack && *ack == Bytes{0x2B});

  const auto reply = sim.end->Transact({0x0B, 0x02, 0x00, 128});
  ASSERT_TRUE(reply && reply->size() == 4u + 128);
  EXPECT_EQ(Bytes(reply->begin(), reply->begin() + 4), (Bytes{0x0B, 0x02, 0x00, 128}));
  EXPECT_EQ(Bytes(reply->begin() + 4, reply->end()), Bytes(write.begin() + 4, write.end()));
  const Bytes memory = sim.radio.Memory();
  EXPECT_EQ(Bytes(memory.begin() + 0x200, memory.begin() + 0x280), Bytes(write.begin() + 4, write.end()));

  // A reply never outgrows the 255-byte payload, nor the memory.
  const auto big = sim.end->Transact({0x0B, 0x00, 0x00, 255});
  ASSERT_TRUE(big);
  EXPECT_EQ((*big)[3], 251);
  EXPECT_EQ(big->size(), 4u + 251);
  const auto tail = sim.end->Transact({0x0B, 0x07, 0xF8, 128});
  ASSERT_TRUE(tail);
  EXPECT_EQ((*tail)[3], 8);
}

INSTANTIATE_TEST_SUITE_P(Models, SimArrays, testing::Values(kProductTamso, kProductPinto));

struct Bit7Case {
  uint32_t product;
  uint8_t status;  // opcode byte of the status reply
  uint8_t stepUp;  // opcode byte of the step-up reply
};

class SimReplyBit7 : public testing::TestWithParam<Bit7Case> {};

TEST_P(SimReplyBit7, OnlyModelsWithoutTheErrorFlagSetIt) {
  SimOnLine sim(GetParam().product);
  ASSERT_TRUE(sim.ready());
  const auto status = sim.end->Transact({0x05});
  const auto step = sim.end->Transact({0x29});
  const auto version = sim.end->Transact({0x00});
  ASSERT_TRUE(status && step && version);
  EXPECT_EQ((*status)[0], GetParam().status);
  EXPECT_EQ((*step)[0], GetParam().stepUp);
  EXPECT_EQ((*version)[0], 0x00);  // never on other commands
}

INSTANTIATE_TEST_SUITE_P(Models, SimReplyBit7,
                         testing::Values(Bit7Case{kProductMerlo, 0x85, 0xA9}, Bit7Case{kProductKestal, 0x85, 0xA9},
                                         Bit7Case{kProductPinto, 0x85, 0xA9}, Bit7Case{kProductDravo, 0x85, 0xA9},
                                         Bit7Case{kProductSorel, 0x85, 0xA9}, Bit7Case{kProductTamso, 0x05, 0x29},
                                         Bit7Case{kProductKestalBT, 0x05, 0x29}));

struct ChannelCase {
  const char* name;
  uint32_t product;
  SimVersion version;
  int start;        // true channel before the command
  uint8_t command;  // 4 get, 41 step up
  uint8_t raw;      // raw byte in the reply
};

// The programmer's rules, written out from the command set: rule A for
// get channel, rule B for a step.
int Recover(const ChannelCase& c) {
  const auto toggle = [](int v) { return v >= 128 ? v - 128 : v + 128; };
  const int major = c.version.major;
  if (c.command == 4) return c.product == kProductDravo && major < 2 ? toggle(c.raw) : c.raw;
  const bool plain = c.product == kProductKestal || c.product == kProductTamso ||
                     ((c.product == kProductMerlo || c.product == kProductDravo) && major >= 2) ||
                     (c.product == kProductPinto && (major > 1 || (major == 1 && c.version.minor >= 1)));
  return plain ? c.raw : toggle(c.raw);
}

const ChannelCase kChannels[] = {
    {"kestal_get", kProductKestal, {3, 0, 0}, 11, 4, 0x0B},
    {"dravo1_get_toggled", kProductDravo, {1, 5, 0}, 11, 4, 0x8B},
    {"dravo2_get", kProductDravo, {2, 5, 0}, 11, 4, 0x0B},
    {"dravo1_get_rx_only", kProductDravo, {1, 5, 0}, 129, 4, 0x01},
    {"kestal_get_rx_only", kProductKestal, {3, 0, 0}, 129, 4, 0x81},
    {"kestal_step", kProductKestal, {3, 0, 0}, 11, 41, 0x0C},
    {"tamso_step", kProductTamso, {1, 0x10, 0}, 11, 41, 0x0C},
    {"sorel_step_toggled", kProductSorel, {1, 2, 0}, 4, 41, 0x85},
    {"kestal_bt_step_toggled", kProductKestalBT, {1, 0, 0}, 11, 41, 0x8C},
    {"merlo1_step_toggled", kProductMerlo, {1, 0x20, 0}, 11, 41, 0x8C},
    {"merlo2_step", kProductMerlo, {2, 0x10, 0}, 11, 41, 0x0C},
    {"dravo1_step_toggled", kProductDravo, {1, 5, 0}, 80, 41, 0x81},
    {"pinto100_step_toggled", kProductPinto, {1, 0, 0}, 11, 41, 0x8C},
    {"pinto101_step", kProductPinto, {1, 1, 0}, 11, 41, 0x0C},
};

class SimChannelRules : public testing::TestWithParam<ChannelCase> {};

TEST_P(SimChannelRules, RawBytesRecoverTheTrueChannel) {
  const ChannelCase& c = GetParam();
  SimOnLine sim(c.product, c.version);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetChannel(c.start);
  const auto reply = sim.end->Transact({c.command});
  ASSERT_TRUE(reply && reply->size() == 2u);
  EXPECT_EQ((*reply)[1], c.raw);
  EXPECT_EQ(Recover(c), sim.radio.State().channel);
}

INSTANTIATE_TEST_SUITE_P(Models, SimChannelRules, testing::ValuesIn(kChannels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SimCommands, StepsWrapWithinTheirBand) {
  SimOnLine sim(kProductTamso);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetChannel(80);
  ASSERT_TRUE(sim.end->Transact({0x29}));
  EXPECT_EQ(sim.radio.State().channel, 1);
  ASSERT_TRUE(sim.end->Transact({0x2A}));
  EXPECT_EQ(sim.radio.State().channel, 80);
  sim.radio.SetChannel(81);
  ASSERT_TRUE(sim.end->Transact({0x2A}));
  EXPECT_EQ(sim.radio.State().channel, 180);
}

TEST(SimCommands, BaudRateSwitchFollowsTheNewRateAfterItsReply) {
  SimOnLine sim(kProductPinto);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetCheckLineRate(true);
  EXPECT_EQ(*sim.end->Transact({0x3B, 0x00, 0x30, 0x39}), Bytes{0x7B});  // 12345 baud: refused
  const auto reply = sim.end->Transact({0x3B, 0x00, 0xE1, 0x00});
  ASSERT_TRUE(reply);
  EXPECT_EQ(*reply, (Bytes{0x3B, 0x00, 0xE1, 0x00}));
  EXPECT_EQ(sim.radio.LineRate(), 57600u);

  // Still at 9600, the programmer's bytes are garbage to the radio.
  EXPECT_FALSE(sim.end->Transact({0x00}, 200));
  EXPECT_GT(sim.radio.Counters().rateMismatches, 0);
  ASSERT_TRUE(sim.end->SetSpeed(B57600));
  ASSERT_TRUE(sim.end->Transact({0x00}));

  // A reset brings the radio back at 9600, once its reply is out.
  ASSERT_TRUE(sim.end->Transact({0x3F}));
  EXPECT_EQ(sim.radio.LineRate(), 9600u);
}

TEST(SimCommands, ProgrammingModeUntilReset) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x39}));
  ASSERT_TRUE(sim.end->Transact({0x38, 0x01}));
  ASSERT_TRUE(sim.end->Transact({0x24, 0x21}));          // channel 33
  ASSERT_TRUE(sim.end->Transact({0x21, 0x00, 0x1F, 20}));  // "Last Channel" 20
  EXPECT_TRUE(sim.radio.State().progMode);
  EXPECT_EQ(sim.radio.State().channel, 33);

  ASSERT_TRUE(sim.end->Transact({0x3F}));
  const SimState s = sim.radio.State();
  EXPECT_FALSE(s.progMode);
  EXPECT_EQ(s.testMode, 0);
  EXPECT_EQ(s.channel, 20);  // the restarted radio takes its memory's channel
}

TEST(SimCommands, IdentityCommandsFollowTheRadio) {
  SimOnLine sim(kProductDravo, {1, 0x05, 'b'});
  ASSERT_TRUE(sim.ready());
  EXPECT_EQ(*sim.end->Transact({0x00}), (Bytes{0x00, 0x01, 0x05, 'b'}));
  ASSERT_TRUE(sim.end->Transact({0x2C, 9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(*sim.end->Transact({0x0C}), (Bytes{0x0C, 9, 8, 7, 6, 5, 4, 3, 2}));
  sim.radio.SetFirmwareText("Dravo 1.05b firmware");  // kept to 16 characters
  const auto text = sim.end->Transact({0x3A});
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(text->begin() + 1, text->end()), std::string("Dravo 1.05b firm") + '\0');
}

TEST(SimEngineering, PokeThenPeekSeesTheMaskedValue) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x34, 0x81, 0x12, 0x34, 0xAB, 0xFF}));
  ASSERT_TRUE(sim.end->Transact({0x34, 0x81, 0x12, 0x34, 0x00, 0x0F}));
  EXPECT_EQ(*sim.end->Transact({0x34, 0x01, 0x12, 0x34}), (Bytes{0x34, 0x00, 0x12, 0x34, 0xA0}));
}

TEST(SimEngineering, SignalRaisesRssiAndStatus) {
  SimOnLine sim(kProductTamso);
  ASSERT_TRUE(sim.ready());
  sim.radio.SetSignal(true);
  EXPECT_EQ(*sim.end->Transact({0x05}), (Bytes{0x05, 0x21}));
  EXPECT_EQ(*sim.end->Transact({0x34, 0x08, 0x04}), (Bytes{0x34, 0x00, 0x04, 0x9C}));
  EXPECT_EQ(*sim.end->Transact({0x34, 0x08, 0x05}), (Bytes{0x34, 0x00, 0x05, 0x28}));
  sim.radio.SetSignal(false);
  ASSERT_TRUE(sim.end->Transact({0x34, 0x86, 0x01}));  // squelch forced open: open, no signal
  EXPECT_EQ(*sim.end->Transact({0x05}), (Bytes{0x05, 0x01}));
}

TEST(SimEngineering, FrequencyErrorFollowsTheReceiveOffset) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x34, 0x8D, 0x00}));  // AFC off
  EXPECT_EQ(*sim.end->Transact({0x34, 0x8C}), (Bytes{0x34, 0x00, 0x6A, 0xFF}));  // -150 Hz
  ASSERT_TRUE(sim.end->Transact({0x21, 0x00, 0x1B, 0x03}));  // "Rx ADC Offset" 3
  EXPECT_EQ(*sim.end->Transact({0x34, 0x8C}), (Bytes{0x34, 0x00, 0x00, 0x00}));
}

TEST(SimEngineering, AudioSamplesAreTheSignedTestTone) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x34, 0x82, 16}));  // 1 kHz
  const auto reply = sim.end->Transact({0x34, 0x8B, 200});
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->size(), 1u + 2 * 126);  // at most 126 samples
  const auto sample = [&](int i) { return static_cast<int16_t>((*reply)[1 + 2 * i] << 8 | (*reply)[2 + 2 * i]); };
  EXPECT_EQ(sample(0), 0);
  EXPECT_EQ(sample(2), 8000);  // a quarter period at 8 kHz sampling, 0 dB deviation
  EXPECT_EQ(sample(6), -8000);
}

TEST(SimEngineering, AutoAlignStoresTheBestStepAtTheTunedFrequency) {
  SimOnLine sim(kProductKestal);
  ASSERT_TRUE(sim.ready());
  ASSERT_TRUE(sim.end->Transact({0x34, 0x89, 0x01, 0x40, 0xA0, 0x04}));  // T1 at F2 (on a channel)
  EXPECT_EQ(sim.radio.MemoryByte(6), 0x68);  // peak 0x69, nearest step from 0x40 by 4
  ASSERT_TRUE(sim.end->Transact({0x34, 0x88, 0x8C, 0xA0}));  // 450 MHz: F1
  ASSERT_TRUE(sim.end->Transact({0x34, 0x89, 0x02, 0x90, 0xA0, 0x01}));
  EXPECT_EQ(sim.radio.MemoryByte(3), 0x90);  // T2 peak 0x8A lies below the window: its edge
}

}  // namespace
