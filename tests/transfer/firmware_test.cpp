// What the firmware window shows, asked from the simulated radio.
#include <gtest/gtest.h>

#include "firmware.h"
#include "params.h"
#include "transfer_rig.h"

namespace {

struct FirmwareCase {
  const char* name;
  const char* family;
  uint32_t radio;
  SimFaults faults;
  FirmwareInfo expected;  // radioType filled from the radio when ok
  std::vector<int> commands;
};

SimFaults Nack(int opcode) {
  SimFaults f;
  f.nackOpcode = opcode;
  return f;
}

FirmwareInfo Info(const char* id, const char* pcb, const char* version) {
  FirmwareInfo i;
  i.ok = true;
  i.productId = id;
  i.pcbRev = pcb;
  i.firmware = version;
  return i;
}

class Firmware : public testing::TestWithParam<FirmwareCase> {};

TEST_P(Firmware, ShowsWhatTheRadioAnswers) {
  const FirmwareCase& c = GetParam();
  Rig rig(BuildConfig::ForFamily(c.family, false), c.radio);
  rig.sim.SetPcbRevision(0x1B);
  rig.sim.SetFirmwareText("Test firmware");
  rig.sim.SetFaults(c.faults);
  ASSERT_TRUE(rig.flows.PortCheck());

  const FirmwareInfo got = ReadFirmwareInfo(rig.radio, rig.info, rig.build);

  EXPECT_EQ(got.ok, c.expected.ok);
  EXPECT_EQ(got.radioType, c.expected.ok ? "Test firmware" : "");
  EXPECT_EQ(got.productId, c.expected.productId);
  EXPECT_EQ(got.pcbRev, c.expected.pcbRev);
  EXPECT_EQ(got.firmware, c.expected.firmware);
  std::vector<int> commands;
  for (const Req& r : Summarise(rig.sim.Requests())) commands.push_back(r.command);
  EXPECT_EQ(commands, c.commands) << "never programming mode";
}

const std::vector<int> kAllReads{OP_READ_FIRMWARE_TEXT, OP_READ_WORD, OP_READ_WORD,
                                 OP_GET_VERSION};

INSTANTIATE_TEST_SUITE_P(
    Cases, Firmware,
    testing::Values(
        FirmwareCase{"Kestal", "Kestal", kProductKestal, {}, Info("5A02", "1B", "v3.00"),
                     kAllReads},
        FirmwareCase{"VersionRefused", "Kestal", kProductKestal, Nack(OP_GET_VERSION),
                     Info("5A02", "1B", "n/a"), kAllReads},
        FirmwareCase{"WordsRefused", "Kestal", kProductKestal, Nack(OP_READ_WORD),
                     Info("", "", "v3.00"), kAllReads},
        FirmwareCase{"NoAnswer", "Kestal", kProductKestal, Nack(OP_READ_FIRMWARE_TEXT),
                     FirmwareInfo{}, {OP_READ_FIRMWARE_TEXT}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirmwareAllModels, TheRadiosModelBecomesTheCurrentOne) {
  Rig rig(BuildConfig::ForFamily("All", false), kProductDravo);
  rig.info.SelectModel(kProductDravo);  // where the product ID lives
  const int dravoRow = rig.info.modelIndex;
  rig.info.SelectModel(kProductKestal);
  ASSERT_EQ(rig.info.GetParamAddress(kParamProductId),
            ParamAddressOf(kProductDravo, kParamProductId));
  rig.sim.SetPcbRevision(0x44);
  ASSERT_TRUE(rig.flows.PortCheck());

  const FirmwareInfo got = ReadFirmwareInfo(rig.radio, rig.info, rig.build);

  EXPECT_EQ(got.productId, "5A04");
  EXPECT_EQ(rig.info.modelIndex, dravoRow);
  EXPECT_EQ(got.pcbRev, "44") << "read at the Dravo's own address";
}

TEST(FirmwareNoRadio, AClosedPortGivesNothing) {
  Rig rig(BuildConfig::ForFamily("Kestal", false));
  const FirmwareInfo got = ReadFirmwareInfo(rig.radio, rig.info, rig.build);
  EXPECT_FALSE(got.ok);
  EXPECT_TRUE(got.radioType.empty() && got.productId.empty() && got.pcbRev.empty() &&
              got.firmware.empty());
  EXPECT_STREQ(kFirmwareFailText, "Unable to read from radio");
  EXPECT_STREQ(kFirmwareFailCaption, "Read Error");
}

}  // namespace
