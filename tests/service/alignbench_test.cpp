// The alignment bench's radio procedures against the simulated radio on a
// pseudo-terminal: what is sent, what the radio and the image end up
// holding, and what the help area is told.
#include <gtest/gtest.h>

#include "alignbench.h"
#include "bench_rig.h"
#include "radio.h"

namespace {

class Bench : public ::testing::Test {
 protected:
  explicit Bench(const char* family = "Kestal") : rig(family) {
    bench.SetLog({[this] { lines.clear(); }, [this](const std::string& l) { lines.push_back(l); }});
  }
  BenchRig rig;
  AlignBench bench{rig.shared->radio, rig.shared->image, rig.shared->info, rig.build};
  std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

TEST_F(Bench, WriteStepWritesRadioAndImageOnline) {
  bench.Open(false);
  rig.TakeCommands();
  EXPECT_TRUE(bench.WriteStep(rig.Address("PLL FRef"), 77));
  EXPECT_EQ(lines, (Lines{"Write... ", "OK"}));
  EXPECT_EQ(rig.RadioByte("PLL FRef"), 77);
  EXPECT_EQ(rig.ImageByte("PLL FRef"), 77);
  // A signed value goes as its two's complement byte.
  EXPECT_TRUE(bench.WriteStep(rig.Address("Rx ADC Offset"), -3));
  EXPECT_EQ(rig.RadioByte("Rx ADC Offset"), 0xFD);
  EXPECT_EQ(rig.TakeCommands(), (std::vector<int>{OP_WRITE_BYTE, OP_WRITE_BYTE}));
}

TEST_F(Bench, WriteStepDoesNothingOfflineOrOutsideTheCalibrationArea) {
  bench.Open(true);
  const std::vector<uint8_t> before = rig.ImageBytes();
  EXPECT_FALSE(bench.WriteStep(rig.Address("PLL FRef"), 77));
  bench.Open(false);
  rig.TakeCommands();
  EXPECT_FALSE(bench.WriteStep(33, 1));
  EXPECT_FALSE(bench.WriteStep(-1, 1));  // a parameter the model lacks
  EXPECT_TRUE(lines.empty());
  EXPECT_TRUE(rig.TakeCommands().empty());
  EXPECT_EQ(rig.ImageBytes(), before);
}

TEST_F(Bench, FailedWriteLeavesTheImageAsItWas) {
  bench.Open(false);
  SimFaults faults;
  faults.nackOpcode = OP_WRITE_BYTE;
  rig.sim->SetFaults(faults);
  const std::vector<uint8_t> before = rig.ImageBytes();
  EXPECT_FALSE(bench.WriteStep(rig.Address("S1 Cal"), 9));
  EXPECT_EQ(lines, (Lines{"Write... ", "fail"}));
  EXPECT_EQ(rig.ImageBytes(), before);
}

TEST_F(Bench, OpeningOnlineTakesTheRadiosChannelAndStatus) {
  rig.sim->SetChannel(41);
  rig.sim->SetSignal(true);
  bench.Open(false);
  EXPECT_EQ(bench.Channel(), 41);
  EXPECT_TRUE(bench.Busy());
  EXPECT_EQ(bench.RefreshView().text, "CB-41");
  bench.Step(true);
  EXPECT_EQ(bench.Channel(), 42);
  EXPECT_EQ(rig.sim->State().channel, 42);
}

TEST_F(Bench, OfflineStartsOnChannelOneAndWrapsWithinTheCbChannels) {
  bench.Open(true);
  EXPECT_EQ(bench.Channel(), 1);
  bench.Step(false);
  EXPECT_EQ(bench.Channel(), 80);
  bench.Step(true);
  EXPECT_EQ(bench.Channel(), 1);
  bench.ToggleSquelch();
  EXPECT_TRUE(bench.Busy());
  EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST_F(Bench, SilentRadioLeavesTheChannelAndSaysSo) {
  bench.Open(false);
  const int channel = bench.Channel();
  rig.Silence();
  bench.Step(true);
  EXPECT_EQ(bench.Channel(), channel);
  EXPECT_EQ(lines, (Lines{"Channel step... fail"}));
}

TEST_F(Bench, PttCarriesTheMicrophoneChoice) {
  bench.Open(false);
  rig.TakeCommands();
  bench.SetPtt(kPttExternal);
  EXPECT_TRUE(bench.Transmitting());
  EXPECT_TRUE(rig.sim->State().ptt);
  const std::vector<SimRequest> requests = rig.sim->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].payload.at(1), kPttExternal);
  bench.SetPtt(kPttOff);
  EXPECT_FALSE(rig.sim->State().ptt);
}

TEST_F(Bench, ModulationArrowDragsTheBalanceAlong) {
  rig.Put("Mod", 12);
  rig.Put("Bal", 10);
  bench.Open(false);
  bench.LoadModBal();
  bench.ModArrow(true, true);
  EXPECT_EQ(bench.ModStep(), 11);
  EXPECT_EQ(bench.BalStep(), 9);
  EXPECT_EQ(rig.RadioByte("Mod"), 11);
  EXPECT_EQ(rig.RadioByte("Bal"), 9);
  // The keyboard path moves the modulation alone.
  bench.StepMod(false);
  EXPECT_EQ(bench.ModStep(), 12);
  EXPECT_EQ(rig.RadioByte("Bal"), 9);
}

TEST_F(Bench, ModulationStepsStopAtTheEnds) {
  rig.Put("Mod", 0);
  bench.Open(false);
  bench.LoadModBal();
  bench.StepMod(true);
  EXPECT_EQ(bench.ModStep(), 0);
  bench.TypeMod(-20);
  EXPECT_EQ(bench.ModStep(), 24);
  bench.StepMod(false);
  EXPECT_EQ(bench.ModStep(), 24);
  EXPECT_EQ(rig.RadioByte("Mod"), 24);
}

TEST_F(Bench, AutoAdjustLandsOnTheReceiversTrueOffset) {
  rig.Put("Rx ADC Offset", 10);  // 7 steps (350 Hz) away
  rig.sim->SetSignal(true);
  bench.Open(false);
  rig.TakeCommands();
  ASSERT_TRUE(bench.SignalPresent());
  int waits = 0;
  const AutoAdjustResult r = bench.AutoAdjust([&waits](int ms) {
    EXPECT_EQ(ms, 50);
    ++waits;
  });
  EXPECT_EQ(r.outcome, AutoAdjustOutcome::kAdjusted);
  EXPECT_EQ(r.average, 350);
  EXPECT_EQ(r.newOffset, 3);
  EXPECT_EQ(waits, 8);
  EXPECT_EQ(rig.RadioByte("Rx ADC Offset"), 3);
  EXPECT_EQ(rig.ImageByte("Rx ADC Offset"), 3);
  EXPECT_TRUE(rig.sim->State().afc);
  std::vector<int> expected{OP_GET_STATUS, 0x100 + ENG_AFC};
  expected.insert(expected.end(), 8, 0x100 + ENG_FREQUENCY_ERROR);
  expected.push_back(OP_WRITE_BYTE);
  expected.push_back(0x100 + ENG_AFC);
  EXPECT_EQ(rig.TakeCommands(), expected);
}

TEST_F(Bench, AutoAdjustNeedsASignal) {
  bench.Open(false);
  EXPECT_FALSE(bench.SignalPresent());
  rig.Silence();
  EXPECT_FALSE(bench.SignalPresent());
}

TEST_F(Bench, AutoAdjustWithTooFewSamplesWritesNothing) {
  rig.sim->SetSignal(true);
  bench.Open(false);
  SimFaults faults;
  faults.silentOpcode = OP_ENGINEERING;
  faults.silentOpcodeAfter = 4;  // AFC off and three samples
  rig.sim->SetFaults(faults);
  const std::vector<uint8_t> before = rig.ImageBytes();
  const AutoAdjustResult r = bench.AutoAdjust({});
  EXPECT_EQ(r.outcome, AutoAdjustOutcome::kTooFewSamples);
  EXPECT_EQ(rig.ImageBytes(), before);
}

TEST_F(Bench, SMeterCalibrationStoresTheAverageRssi) {
  rig.sim->SetSignal(true);
  bench.Open(false);
  rig.TakeCommands();
  const SMeterResult r = bench.CalibrateSMeter(2);
  EXPECT_TRUE(r.complete);
  ASSERT_TRUE(r.value.has_value());
  EXPECT_EQ(*r.value, 0x9C);
  EXPECT_EQ(rig.RadioByte("S10 Cal"), 0x9C);
  EXPECT_EQ(rig.ImageByte("S10 Cal"), 0x9C);
  EXPECT_EQ(rig.TakeCommands().size(), 17u);
}

TEST_F(Bench, SMeterCalibrationStopsAtTheFirstFailedRead) {
  bench.Open(false);
  rig.TakeCommands();
  SimFaults faults;
  faults.silentAfter = 5;
  rig.sim->SetFaults(faults);
  const std::vector<uint8_t> before = rig.ImageBytes();
  const SMeterResult r = bench.CalibrateSMeter(1);
  EXPECT_FALSE(r.complete);
  EXPECT_FALSE(r.value.has_value());
  EXPECT_EQ(rig.ImageBytes(), before);
  // The unanswered request may still be on its way into the radio's log
  // when the calibration has given up on it.
  ASSERT_TRUE(rig.sim->WaitForRequests(6, 10000));
  EXPECT_EQ(rig.sim->Requests().size(), 6u);
}

TEST_F(Bench, SMeterCalibrationDoesNothingOffline) {
  bench.Open(true);
  EXPECT_FALSE(bench.CalibrateSMeter(1).value.has_value());
  EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST_F(Bench, AdReadingsOnlineOfflineAndSilent) {
  bench.Open(false);
  AdReading r = bench.PollAd();
  EXPECT_EQ(r.noise, "200");
  EXPECT_EQ(r.rssi, "24");
  bench.Open(true);
  r = bench.PollAd();
  EXPECT_EQ(r.noise, "128");
  EXPECT_EQ(r.rssi, "128");
  bench.Open(false);
  rig.TakeCommands();
  rig.Silence();
  r = bench.PollAd();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.noise, "-");
  EXPECT_EQ(r.rssi, "-");
  EXPECT_EQ(rig.TakeCommands().size(), 1u);  // no RSSI read after the noise failed
}

TEST_F(Bench, MicGainIsStoredAndSentEvenOffline) {
  bench.Open(true);
  bench.WriteMicGain(false, -12);
  EXPECT_EQ(rig.ImageByte("Mic Gain"), 0xF4);
  EXPECT_EQ(rig.RadioByte("Mic Gain"), 0xF4);
  EXPECT_EQ(lines, (Lines{"OK"}));
}

class TamsoBench : public Bench {
 protected:
  TamsoBench() : Bench("Tamso") {}
};

TEST_F(TamsoBench, PowerUsesTheLowPowerCommand) {
  bench.Open(false);
  rig.TakeCommands();
  bench.SelectPower(true);
  EXPECT_EQ(lines, (Lines{"Lo power... ", "OK"}));
  EXPECT_TRUE(rig.sim->State().lowPower);
  bench.PowerHighBeforeClose();
  EXPECT_FALSE(rig.sim->State().lowPower);
  EXPECT_EQ(rig.TakeCommands(), (std::vector<int>{0x100 + ENG_AFC, 0x100 + ENG_AFC}));
}

TEST_F(Bench, PowerUsesTheRfPowerCommandElsewhere) {
  bench.Open(false);
  bench.SelectPower(true);
  EXPECT_EQ(rig.sim->State().rfPowerLevel, 2);
  bench.SelectPower(false);
  EXPECT_EQ(lines, (Lines{"Hi power... ", "OK"}));
  EXPECT_EQ(rig.sim->State().rfPowerLevel, 0);
}

}  // namespace
