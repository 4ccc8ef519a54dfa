// The auto-detect probe against simulated radios over pseudo-terminals.
#include <gtest/gtest.h>

#include "monitor_rig.h"
#include "radioprobe.h"
#include "simmodels.h"
#include "simradio.h"

namespace {

struct ProbeCase {
  const char* name;
  const char* build;
  uint32_t radio;  // 0: no radio answers
  ProbeVerdict verdict;
};

class Probe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(Probe, TellsTheBuildsRadioFromOthers) {
  const ProbeCase& c = GetParam();
  const BuildConfig build = BuildConfig::ForFamily(c.build, false);
  SimulatedRadio sim(c.radio ? c.radio : kProductKestal);
  if (!c.radio) {
    SimFaults silent;
    silent.silentAfter = 0;
    sim.SetFaults(silent);
  }
  ASSERT_TRUE(sim.Start());
  MonitorRig rig(build.productId);
  const int number = rig.shared.port.Ports().AddExtraDevice(sim.DevicePath());

  const ProbeResult r = ProbePort(rig.shared.port, rig.shared.radio, number, build);
  EXPECT_EQ(r.verdict, c.verdict);
  // The port stays open on the probed port.
  EXPECT_TRUE(rig.shared.port.IsOpen());
  EXPECT_EQ(rig.shared.port.DevicePath(), sim.DevicePath());
  if (!c.radio) return;
  const std::string firmware = DefaultFirmwareText(c.radio);
  const std::string version = "Firmware: v" + SimVersionText(sim.Version());
  EXPECT_EQ(AnsweredRadioLines(number, r),
            (std::vector<std::string>{"Radio found on COM97", firmware, version}));
  EXPECT_EQ(r.productId, static_cast<int>(c.radio));
}

INSTANTIATE_TEST_SUITE_P(
    Radios, Probe,
    ::testing::Values(ProbeCase{"KestalOnKestal", "Kestal", kProductKestal, ProbeVerdict::kFound},
                      ProbeCase{"MerloOnKestal", "Kestal", kProductMerlo, ProbeVerdict::kOtherModel},
                      // Same first six letters; only the product ID tells them apart.
                      ProbeCase{"KestalBTOnKestal", "Kestal", kProductKestalBT, ProbeVerdict::kOtherModel},
                      ProbeCase{"MerloOnAllModels", "All", kProductMerlo, ProbeVerdict::kFound},
                      ProbeCase{"Silent", "Kestal", 0, ProbeVerdict::kNoRadio}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProbeText, UnreadFirmwareAndVersion) {
  ProbeResult r;
  EXPECT_EQ(AnsweredRadioLines(3, r), (std::vector<std::string>{"Radio found on COM3", "-", "Firmware: n/a"}));
}

TEST(ProbeText, FirmwareNamesModelByItsFirstSixLetters) {
  EXPECT_TRUE(FirmwareNamesModel("Kestal UHF CB", "Kestal"));
  EXPECT_TRUE(FirmwareNamesModel("Kestal-BT", "Kestal"));
  EXPECT_TRUE(FirmwareNamesModel("Pinto UHF", "Pinto"));
  EXPECT_FALSE(FirmwareNamesModel("Kest", "Kestal"));
  EXPECT_FALSE(FirmwareNamesModel("Merlo UHF", "Kestal"));
  EXPECT_FALSE(FirmwareNamesModel("anything", ""));
}

TEST(ProbeText, PortThatWillNotOpenHasNoRadio) {
  MonitorRig rig(kProductKestal);
  const int number = rig.shared.port.Ports().AddExtraDevice("/dev/no-such-lead");
  const ProbeResult r = ProbePort(rig.shared.port, rig.shared.radio, number,
                                  BuildConfig::ForFamily("Kestal", false));
  EXPECT_EQ(r.verdict, ProbeVerdict::kNoRadio);
  EXPECT_FALSE(rig.shared.port.IsOpen());
}

}  // namespace
