// The alignment window's parts on their own: the trims table, the live
// readings and the calibration runner, each over a real bench talking to
// the simulated radio on a pseudo-terminal, with the window's one-action
// gate between them and the radio.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "alignbench.h"
#include "aligncalibration.h"
#include "alignreadings.h"
#include "aligntrim.h"
#include "aligntrims.h"
#include "bench_rig.h"
#include "radiogate.h"
#include "wait_for.h"

namespace {

// A bench over the rig, the parts' parent widget and the gate they share.
struct Parts {
  explicit Parts(bool offline = false, const char* family = "Kestal")
      : rig(family),
        bench(rig.shared->radio, rig.shared->image, rig.shared->info, rig.build),
        radio([this](const std::function<void()>& work) { return gate.Run(work); }) {
    bench.SetLog({[this] { log.clear(); }, [this](const std::string& line) {
                    log.push_back(line);
                  }});
    bench.Open(offline);
    rig.TakeCommands();
  }

  BenchRig rig;
  AlignBench bench;
  RadioGate gate;
  AlignRadio radio;
  std::vector<std::string> log;
  QWidget parent;
};

// The S1 trim with both mic gains beside it, as the window lays them out,
// loaded from the image.
AlignTrim* S1WithMicGains(AlignTrims& trims, Parts& p) {
  AlignTrim* s1 = trims.Add(&p.parent, "udS1", "S1 calibration");
  trims.AddMicGain(&p.parent, false, "Mic Gain front");
  trims.AddMicGain(&p.parent, true, "Mic Gain rear");
  trims.Load(p.rig.shared->image, p.rig.shared->info);
  return s1;
}

void ClickArrow(AlignTrim* trim, bool up) {
  trim->setFocus();
  QTest::keyClick(trim, up ? Qt::Key_Up : Qt::Key_Down);
}

void TypeAndEnter(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// ---- The trims table -------------------------------------------------------------

TEST(AlignTrimsTable, LoadGivesEachTrimItsAddressAndTheImagesPosition) {
  Parts p;
  p.rig.Put("T3-F2", 100);
  p.rig.Put("Rx ADC Offset", 0xFD);  // -3
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* grid = trims.Add(&p.parent, "udTuneFreq2T3", "T3 at 477 MHz");
  AlignTrim* offset = trims.Add(&p.parent, "udRxOffset", "Receive Frequency Offset");
  trims.AddMicGain(&p.parent, false, "Mic Gain front");
  trims.AddMicGain(&p.parent, true, "Mic Gain rear");
  trims.Load(p.rig.shared->image, p.rig.shared->info);
  EXPECT_EQ(grid->Tag(), p.rig.Address("T3-F2"));
  EXPECT_EQ(grid->Edit()->text(), "100");
  EXPECT_EQ(offset->Tag(), p.rig.Address("Rx ADC Offset"));
  EXPECT_EQ(offset->Edit()->text(), "-3");
  EXPECT_TRUE(p.rig.TakeCommands().empty());  // loading sends nothing
}

TEST(AlignTrimsTable, AStepAndAnEnterWriteTheBoundByteToRadioAndImage) {
  Parts p;
  p.rig.Put("S1 Cal", 40);
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* s1 = S1WithMicGains(trims, p);
  ClickArrow(s1, true);
  EXPECT_EQ(p.rig.RadioByte("S1 Cal"), 41);
  EXPECT_EQ(p.rig.ImageByte("S1 Cal"), 41);
  TypeAndEnter(s1->Edit(), "300");
  EXPECT_EQ(s1->Edit()->text(), "255");
  EXPECT_EQ(p.rig.RadioByte("S1 Cal"), 255);
  EXPECT_EQ(p.rig.ImageByte("S1 Cal"), 255);
  EXPECT_EQ(p.log, (std::vector<std::string>{"Write... ", "OK"}));
}

TEST(AlignTrimsTable, AWriteWhileTheRadioIsBusyIsSkipped) {
  Parts p;
  p.rig.Put("S1 Cal", 40);
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* s1 = S1WithMicGains(trims, p);
  p.gate.Run([&] { ClickArrow(s1, true); });  // another action holds the radio
  EXPECT_EQ(p.rig.RadioByte("S1 Cal"), 40);
  EXPECT_EQ(p.rig.ImageByte("S1 Cal"), 40);
  EXPECT_TRUE(p.rig.TakeCommands().empty());
}

TEST(AlignTrimsTable, AStepAtTheEndOfTheRangeWritesThePositionAgain) {
  Parts p;
  p.rig.Put("S1 Cal", 255);
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* s1 = trims.Add(&p.parent, "udS1", "S1 calibration");
  trims.Load(p.rig.shared->image, p.rig.shared->info);
  ClickArrow(s1, true);
  EXPECT_EQ(s1->Edit()->text(), "255");
  EXPECT_EQ(p.log, (std::vector<std::string>{"Write... ", "OK"}));
}

TEST(AlignTrimsTable, AReadOnlyTrimShowsItsNegativeValueAndTakesNoTyping) {
  Parts p;
  p.rig.Put("Sql K", 0xF6);  // -10
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* sens = trims.Add(&p.parent, "udSqlSens", "Squelch Sensitivity");
  trims.Load(p.rig.shared->image, p.rig.shared->info);
  EXPECT_EQ(sens->Edit()->text(), "-10");
  EXPECT_TRUE(sens->Edit()->isReadOnly());
  TypeAndEnter(sens->Edit(), "5");
  EXPECT_EQ(sens->Edit()->text(), "-10");
  EXPECT_EQ(p.rig.ImageByte("Sql K"), 0xF6);
}

TEST(AlignTrimsTable, MicGainsStoreAndSendOfflineToo) {
  Parts p(true);
  AlignTrims trims(&p.parent, p.bench, p.radio);
  AlignTrim* rear = trims.AddMicGain(&p.parent, true, "Mic Gain rear");
  trims.AddMicGain(&p.parent, false, "Mic Gain front");
  trims.Load(p.rig.shared->image, p.rig.shared->info);
  TypeAndEnter(rear->Edit(), "7");
  EXPECT_EQ(p.rig.ImageByte("Mic Gain Rear"), 7);
  EXPECT_EQ(p.rig.RadioByte("Mic Gain Rear"), 7);
}

// ---- The live readings -----------------------------------------------------------

struct ReadingParts : Parts {
  explicit ReadingParts(bool offline = false)
      : Parts(offline),
        readings(&parent, bench, radio, [this](const QString& line) { lines << line; }) {
    readings.BuildAdPanel(&parent);
    frequencyErrorRow.reset(readings.BuildFrequencyErrorRow(&parent));
    readings.Reset();
  }
  QString Text(const char* name) { return parent.findChild<QLineEdit*>(name)->text(); }
  QCheckBox* Check(const char* name) { return parent.findChild<QCheckBox*>(name); }
  QTimer* Timer(const char* name) { return readings.findChild<QTimer*>(name); }

  AlignReadings readings;
  // The window puts the row in its grid; here nothing else holds it.
  std::unique_ptr<QHBoxLayout> frequencyErrorRow;
  QStringList lines;
};

TEST(AlignReadingsPart, AdPollingShowsTheRadiosReadingsAndReportsASilentRadioOnce) {
  ReadingParts p;
  p.Check("chk_rssipolling2")->setChecked(true);
  ASSERT_TRUE(WaitFor([&] { return p.Text("editNoisevolts") == "200"; }));
  EXPECT_EQ(p.Text("editRSSI"), "24");
  p.rig.Silence();
  ASSERT_TRUE(WaitFor([&] { return p.Text("editNoisevolts") == "-"; }));
  // Two more ticks of a silent radio say nothing more.
  int ticks = 0;
  QObject::connect(p.Timer("TimerRSSI"), &QTimer::timeout, [&] { ++ticks; });
  ASSERT_TRUE(WaitFor([&] { return ticks >= 2; }));
  EXPECT_EQ(p.lines, QStringList{"A/D polling... fail"});
}

TEST(AlignReadingsPart, ACalibrationPausesPollingAndResumesOnlyWhatWasAskedFor) {
  ReadingParts p(true);
  p.Check("chk_rssipolling2")->setChecked(true);
  p.readings.PauseAd();
  EXPECT_FALSE(p.Timer("TimerRSSI")->isActive());
  p.readings.ResumeAd();
  EXPECT_TRUE(p.Timer("TimerRSSI")->isActive());
  p.Check("chk_rssipolling2")->setChecked(false);
  p.readings.ResumeAd();
  EXPECT_FALSE(p.Timer("TimerRSSI")->isActive());
}

TEST(AlignReadingsPart, FrequencyErrorPollingStopsAndANewShowingStartsEmpty) {
  ReadingParts p;
  p.rig.Put("Rx ADC Offset", 11);  // 400 Hz, an eighth with AFC on
  p.Check("chkRxFreqError")->setChecked(true);
  EXPECT_TRUE(p.parent.findChild<QLineEdit*>("editFreqError")->isEnabled());
  ASSERT_TRUE(WaitFor([&] { return p.Text("editFreqError") == "50"; }));
  p.readings.StopFrequencyError();
  EXPECT_FALSE(p.Check("chkRxFreqError")->isChecked());
  EXPECT_FALSE(p.Timer("TimerFreqError")->isActive());
  EXPECT_FALSE(p.parent.findChild<QLineEdit*>("editFreqError")->isEnabled());
  p.readings.Reset();
  EXPECT_EQ(p.Text("editFreqError"), "");
}

// ---- The calibration runner ------------------------------------------------------

struct CalibrationParts : ReadingParts {
  explicit CalibrationParts(bool offline = false)
      : ReadingParts(offline),
        trims(&parent, bench, radio),
        calibration(&parent, bench, radio, readings, trims,
                    [this](const QString& text) { warnings << text; }) {
    trims.Add(&parent, "udRxOffset", "Receive Frequency Offset");
    trims.Add(&parent, "udS1", "S1 calibration");
    trims.Add(&parent, "udS10", "S9+ calibration");
    trims.AddMicGain(&parent, false, "Mic Gain front");
    trims.AddMicGain(&parent, true, "Mic Gain rear");
    trims.Load(rig.shared->image, rig.shared->info);
    calibration.MakeAfcSwitch(&parent);
    calibration.MakeAutoAdjust(&parent);
    calibration.MakeSMeterButton(&parent, 1);
    calibration.MakeSMeterButton(&parent, 2);
    calibration.SetOffline(offline);
    rig.TakeCommands();
  }
  AlignTrims trims;
  AlignCalibration calibration;
  QStringList warnings;
};

TEST(AlignCalibrationPart, TheS9PointSetsItsTrimAndTheImage) {
  CalibrationParts p;
  p.rig.sim->SetSignal(true);
  p.calibration.CalibrateSMeter(2);
  EXPECT_EQ(p.trims.Trim("udS10")->Edit()->text(), "156");
  EXPECT_EQ(p.rig.ImageByte("S10 Cal"), 156);
  EXPECT_TRUE(p.parent.findChild<QPushButton*>("btnSetS10")->isEnabled());
  EXPECT_TRUE(p.warnings.isEmpty());
  p.rig.Silence();
  p.calibration.CalibrateSMeter(1);
  EXPECT_EQ(p.warnings, QStringList{"S-Meter calibration not complete"});
}

TEST(AlignCalibrationPart, OfflineTheSMeterIsLeftAlone) {
  CalibrationParts p(true);
  const std::vector<uint8_t> image = p.rig.ImageBytes();
  p.calibration.CalibrateSMeter(1);
  EXPECT_TRUE(p.rig.TakeCommands().empty());
  EXPECT_EQ(p.rig.ImageBytes(), image);
}

TEST(AlignCalibrationPart, AutoAdjustCancelsTheErrorAndShowsIt) {
  CalibrationParts p;
  p.rig.Put("Rx ADC Offset", 10);
  p.rig.sim->SetSignal(true);
  p.calibration.AutoAdjust();
  EXPECT_EQ(p.Text("editFreqError"), "350");
  EXPECT_EQ(p.trims.Trim("udRxOffset")->Edit()->text(), "3");
  EXPECT_EQ(p.rig.RadioByte("Rx ADC Offset"), 3);
  EXPECT_EQ(p.rig.ImageByte("Rx ADC Offset"), 3);
  EXPECT_FALSE(p.Check("chkAfcDisable")->isChecked());
  EXPECT_TRUE(p.rig.sim->State().afc);
  EXPECT_TRUE(p.warnings.isEmpty());
}

TEST(AlignCalibrationPart, AutoAdjustWithoutASignalSaysSoAndChangesNothing) {
  CalibrationParts p;
  const std::vector<uint8_t> image = p.rig.ImageBytes();
  p.calibration.AutoAdjust();
  EXPECT_EQ(p.warnings,
            QStringList{"No received signal.\nCheck signal is on and BUSY displayed."});
  EXPECT_EQ(p.rig.ImageBytes(), image);
}

}  // namespace
