// The advanced options window driven like a user would: deviations typed
// in hertz, the inverted option bits, what each model shows, what OK
// rewrites and keeps, Cancel, and the noise-volts reading from the
// simulated radio.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <random>

#include "engoptions.h"
#include "frmengoptions.h"
#include "service_rig.h"

namespace {

using Rig = ServiceRig<TfrmEngOptions>;

QCheckBox* Box(Rig& r, const char* name) { return r.Find<QCheckBox>(name); }

void Enter(Rig& r, const char* edit, const QString& text) {
  r.Type(edit, text);
  QTest::keyClick(r.Find<QLineEdit>(edit), Qt::Key_Return);
}

TEST(EngOptionsWindow, DeviationIsTypedInHertzAndSnapsToSteps) {
  Rig r("Kestal");
  r.Put("CTCSS Dev", 122);
  r.Show();
  EXPECT_EQ(r.Window().windowTitle(), "Advanced Options");
  EXPECT_EQ(r.Text("editCTCSS_Hz"), "500");
  Enter(r, "editCTCSS_Hz", "500");
  EXPECT_EQ(r.Text("editCTCSS_Hz"), "500");
  EXPECT_TRUE(r.Window().isVisible());  // Enter confirms the text, not the window
  Enter(r, "editCTCSS_Hz", "2000");
  EXPECT_EQ(r.Text("editCTCSS_Hz"), "1046");
  Enter(r, "editCTCSS_Hz", "");
  EXPECT_EQ(r.Text("editCTCSS_Hz"), "0");
  Enter(r, "editCTCSS_Hz", "503");
  EXPECT_EQ(r.Text("editCTCSS_Hz"), "504");  // 123 steps
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("CTCSS Dev"), 123);
}

TEST(EngOptionsWindow, LettersNeverReachTheDeviationText) {
  Rig r("Kestal");
  r.Show();
  r.Type("editDCS_Hz", "4a0b");
  EXPECT_EQ(r.Text("editDCS_Hz"), "40");
}

TEST(EngOptionsWindow, ArrowsMoveOneStepFromTheKeptValue) {
  Rig r("Kestal");
  r.Put("DCS Dev", 254);
  r.Show();
  auto* edit = r.Find<QLineEdit>("editDCS_Hz");
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(r.Text("editDCS_Hz"), "1046");
  QTest::keyClick(edit, Qt::Key_Up);  // at the top already
  EXPECT_EQ(r.Text("editDCS_Hz"), "1046");
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("DCS Dev"), 255);
}

TEST(EngOptionsWindow, UnconfirmedTextCountsOnOk) {
  Rig r("Kestal");
  r.Show();
  r.Type("editCTCSS_Hz", "500");
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("CTCSS Dev"), 122);
}

TEST(EngOptionsWindow, CheckedBoxesClearTheirBits) {
  Rig r("Kestal");
  r.Put("Options-5", 0x82);
  r.Show();
  EXPECT_FALSE(Box(r, "chkCTCSS_5_35")->isChecked());
  EXPECT_FALSE(Box(r, "chkCTCSS38Ext")->isChecked());
  r.Click("chkCTCSS_5_35");
  r.Click("chkCTCSS38Ext");
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("Options-5"), 0x00);
  EXPECT_FALSE(r.Window().isVisible());
}

struct ShownCase {
  const char* family;
  bool engineering;
  bool txOnRxOnly;
  bool ctcss38Ext;
  bool thresholds;
};
void PrintTo(const ShownCase& c, std::ostream* os) {
  *os << c.family << (c.engineering ? "_engineering" : "");
}

class EngOptionsModels : public ::testing::TestWithParam<ShownCase> {};

TEST_P(EngOptionsModels, ShowWhatTheBuildHasAndOkWithoutChangesKeepsTheImage) {
  const ShownCase& c = GetParam();
  Rig r(c.family, c.engineering);
  // Random option bytes and thresholds: OK must give each back unchanged.
  std::mt19937 rng(static_cast<uint32_t>(r.Build().productId));
  for (const char* name : {"Options-1", "Options-2", "Options-3", "Options-4", "Options-5",
                           "Options-6", "Sql-0", "Sql-5", "Sql-9"})
    r.Put(name, static_cast<int>(rng() & 0xFF));
  const std::vector<uint8_t> before = r.Bytes();
  r.Show();
  EXPECT_EQ(Box(r, "chkEnableTx_RxOnly")->isVisible(), c.txOnRxOnly);
  EXPECT_EQ(Box(r, "chkCTCSS38Ext")->isVisible(), c.ctcss38Ext);
  EXPECT_TRUE(Box(r, "chkCTCSS_5_35")->isVisible());
  EXPECT_FALSE(Box(r, "CheckBox1")->isEnabled());
  for (int i = 0; i < kSquelchThresholds; ++i)
    EXPECT_EQ(r.Find<QSpinBox>(QString("udSql_%1").arg(i).toLatin1())->isVisible(), c.thresholds);
  EXPECT_TRUE(r.Find<QWidget>("gbSquelchThresholds")->isVisible());
  EXPECT_TRUE(r.Find<QWidget>("editNoiseVolts")->isVisible());
  r.Click("btnOk");
  EXPECT_EQ(r.Bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Builds, EngOptionsModels,
                         ::testing::Values(ShownCase{"Kestal", false, false, true, true},
                                           ShownCase{"Kestal", true, true, true, true},
                                           ShownCase{"Merlo", false, false, true, true},
                                           ShownCase{"Dravo", true, true, true, false},
                                           ShownCase{"Pinto", false, false, false, true},
                                           ShownCase{"Sorel", false, false, true, true},
                                           ShownCase{"Tamso", false, false, false, true},
                                           ShownCase{"KestalBT", false, false, true, true}));

TEST(EngOptionsWindow, OkStoresEveryFieldAndOnlyTheseBits) {
  Rig r("Kestal", true);
  r.Put("Options-2", 0xFF);
  r.Put("Options-5", 0xFF);
  r.Show();
  r.Click("chkEnableTx_RxOnly");
  r.Type("editCTCSS_RPK", "12");
  r.Type("editCTCSS_SilentTail", "77");
  r.Type("editSql_0", "3");
  r.Type("editSql_9", "250");
  Enter(r, "editDCS_Hz", "250");
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("Options-2"), 0xEF);
  EXPECT_EQ(r.Byte("Options-5"), 0xFF);
  EXPECT_EQ(r.Byte("Rpk Delay"), 12);
  EXPECT_EQ(r.Byte("Rpk Carrier Delay"), 77);
  EXPECT_EQ(r.Byte("Sql-0"), 3);
  EXPECT_EQ(r.Byte("Sql-9"), 250);
  EXPECT_EQ(r.Byte("DCS Dev"), 61);
}

TEST(EngOptionsWindow, FixedSquelchLeavesThresholdsUntouched) {
  Rig r("Dravo");
  r.Put("Sql-4", 0x5A);
  r.Show();
  r.Click("btnOk");
  EXPECT_EQ(r.Byte("Sql-4"), 0x5A);
}

TEST(EngOptionsWindow, CancelAndEscapeChangeNothing) {
  for (bool escape : {false, true}) {
    Rig r("Kestal", true);
    const std::vector<uint8_t> before = r.Bytes();
    r.Show();
    r.Click("chkCTCSS_5_35");
    r.Click("chkEnableTx_RxOnly");
    r.Type("editSql_3", "99");
    Enter(r, "editCTCSS_Hz", "700");
    if (escape)
      QTest::keyClick(&r.Window(), Qt::Key_Escape);
    else
      r.Click("btnCancel");
    EXPECT_FALSE(r.Window().isVisible());
    EXPECT_EQ(r.Bytes(), before) << escape;
    // The next showing starts from the image again.
    r.Show();
    EXPECT_EQ(r.Text("editCTCSS_Hz"), QString::number(DeviationHz(r.Byte("CTCSS Dev"))));
  }
}

TEST(EngOptionsWindow, NoiseVoltsPollingReadsTheRadio) {
  Rig r("Kestal");
  r.Show();
  EXPECT_EQ(r.Text("editNoiseVolts"), "");
  r.Sim().ClearRequests();
  r.Click("chkAdcPolling");
  ASSERT_TRUE(Rig::WaitFor([&] { return !r.Text("editNoiseVolts").isEmpty(); }));
  bool number = false;
  const int volts = r.Text("editNoiseVolts").toInt(&number);
  EXPECT_TRUE(number);
  EXPECT_GE(volts, 0);
  EXPECT_LE(volts, 255);
  const auto log = r.Sim().Requests();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0].payload[1], 0x08);  // A/D read
  EXPECT_EQ(log[0].payload[2], 5);     // noise volts

  SimFaults f;
  f.silentAfter = 0;
  r.Sim().SetFaults(f);
  ASSERT_TRUE(Rig::WaitFor([&] { return r.Text("editNoiseVolts") == "???"; }));
  // Polling goes on; closing ends it and sends no more.
  EXPECT_TRUE(Box(r, "chkAdcPolling")->isChecked());
  r.Click("btnCancel");
  EXPECT_FALSE(Box(r, "chkAdcPolling")->isChecked());
  const size_t sent = r.Sim().Requests().size();
  QTest::qWait(600);
  EXPECT_EQ(r.Sim().Requests().size(), sent);
}

TEST(EngOptionsWindow, KeyboardAndScreenReader) {
  Rig r("Kestal", true);
  r.Show();
  ExpectAccessibleNames(r.Window());
  EXPECT_TRUE(r.Find<QPushButton>("btnOk")->isDefault());
}

}  // namespace
