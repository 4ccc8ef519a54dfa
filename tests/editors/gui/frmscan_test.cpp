// The scan and duplex window, driven with clicks and keys and checked on
// the image bytes.
#include "frmscan.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor_rig.h"

namespace {

constexpr const char* kAllFamilies[] = {"Kestal", "Merlo", "Pinto",   "Dravo",
                                        "Sorel",  "Tamso", "KestalBT"};

class ScanWindow {
 public:
  explicit ScanWindow(const char* family) : rig(family), window(rig.context, nullptr) {}

  void Show() {
    window.show();
    QApplication::processEvents();
  }
  template <typename W>
  W* Get(const QString& name) {
    W* w = window.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  void Click(const QString& name) { QTest::mouseClick(Get<QWidget>(name), Qt::LeftButton); }
  void Ok() { Click("OKBtn"); }
  QLineEdit* Skip() { return Get<QLineEdit>("edtScanSkipTime"); }
  void TypeSkip(const char* text, bool enter) {
    Skip()->setFocus();
    Skip()->selectAll();
    QTest::keyClick(Skip(), Qt::Key_Backspace);
    QTest::keyClicks(Skip(), text);
    if (enter) QTest::keyClick(Skip(), Qt::Key_Return);
  }
  int Bit(const char* set, int n) {
    return (rig.Image().GetByte(rig.Address(set) + n / 8) >> (n % 8)) & 1;
  }

  EditorRig rig;
  TfrmScan window;
};

// Cancel changes no byte, and on a factory-fresh image neither does an OK
// without a change: every value it rewrites is already what it would write.
class UnchangedScan : public ::testing::TestWithParam<const char*> {};

TEST_P(UnchangedScan, CancelAndAnUnchangedOkKeepEveryByte) {
  ScanWindow f(GetParam());
  const EEPROM before = f.rig.Image();
  f.Show();
  EXPECT_EQ(f.window.windowTitle(), "Scan and Duplex settings");
  f.Click("btnOsSelectAll");
  f.Click("CancelBtn");
  EXPECT_FALSE(f.window.isVisible());
  EXPECT_TRUE(SameImage(f.rig.Image(), before));
  f.Show();
  EXPECT_FALSE(f.Get<QCheckBox>("chkOs80")->isChecked());  // the showing reloads
  f.Ok();
  EXPECT_FALSE(f.window.isVisible());
  for (int a = 0; a < kImageSize; ++a)
    ASSERT_EQ(f.rig.Image().GetByte(a), before.GetByte(a)) << "address " << a;
}

INSTANTIATE_TEST_SUITE_P(Models, UnchangedScan, ::testing::ValuesIn(kAllFamilies));

struct Shown {
  const char* family;
  bool netScanPage, skipTime, userOptions;
};

class ScanControls : public ::testing::TestWithParam<Shown> {};

TEST_P(ScanControls, FollowTheFeatureQueries) {
  const Shown& c = GetParam();
  ScanWindow f(c.family);
  f.Show();
  QTabWidget* pages = f.Get<QTabWidget>("pcScanMem");
  EXPECT_EQ(pages->isTabVisible(2), c.netScanPage);
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(f.Skip()->isVisible(), c.skipTime);
  EXPECT_EQ(f.Get<QWidget>("udScanSkipTime")->isVisible(), c.skipTime);
  for (const char* name :
       {"cbScanMemory", "lblScanMemory", "chkUserModNSMem", "chkUserModScanMode"})
    EXPECT_EQ(f.Get<QWidget>(name)->isVisible(), c.userOptions) << name;
  EXPECT_FALSE(f.Get<QCheckBox>("chkScanEnabled")->isVisible());
  f.Click("CancelBtn");
}

INSTANTIATE_TEST_SUITE_P(Models, ScanControls,
                         ::testing::Values(Shown{"Kestal", true, true, false},
                                           Shown{"Merlo", true, true, true},
                                           Shown{"Tamso", true, true, true},
                                           Shown{"Sorel", false, false, false}));

TEST(ScanWindow, SkipTimeEnterRoundsAndLimitsAndOkWritesTenths) {
  ScanWindow f("Kestal");
  f.rig.SetByte("Scan Skip Time", 0xFF);
  f.Show();
  EXPECT_EQ(f.Skip()->text(), "30");
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Scan Skip Time"), 3);

  f.Show();
  f.TypeSkip("12a34", true);
  EXPECT_TRUE(f.window.isVisible());  // Enter in the box does not press OK
  EXPECT_EQ(f.Skip()->text(), "1230");
  QTest::mouseClick(f.Get<QWidget>("udScanSkipTime")->findChild<QToolButton*>("up"),
                    Qt::LeftButton);
  EXPECT_EQ(f.Skip()->text(), "1240");
  f.TypeSkip("3000", true);
  EXPECT_EQ(f.Skip()->text(), "2540");
  QTest::keyClick(f.Skip(), Qt::Key_Up);
  EXPECT_EQ(f.Skip()->text(), "2540");
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Scan Skip Time"), 254);

  // Typed without Enter: a usable whole number counts as it is.
  f.Show();
  f.TypeSkip("1234", false);
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Scan Skip Time"), 123);
  f.Show();
  f.TypeSkip("9999", false);  // more than the up-down takes: the last position stays
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Scan Skip Time"), 123);
}

TEST(ScanWindow, PriorityChannelListsTheBanksChannelsAndWritesTheChosenOne) {
  ScanWindow f("Kestal");
  f.rig.SetByte("Pri Channel", 85);
  f.rig.SetByte("Pri Chk Rate", 0);
  f.Show();
  QComboBox* pri = f.Get<QComboBox>("cmbRecallM1");
  ASSERT_EQ(pri->count(), 86);  // CB 01..80 and the six receive-only channels
  EXPECT_EQ(pri->itemText(0), "CB 01");
  EXPECT_EQ(pri->itemText(85), "RX 86");
  EXPECT_EQ(pri->currentText(), "RX 85");
  EXPECT_EQ(pri->maxVisibleItems(), 10);
  EXPECT_EQ(f.Get<QComboBox>("cmbPriChkRate")->currentText(), "1");
  pri->setFocus();
  QTest::keyClick(pri, Qt::Key_Home);
  QTest::keyClick(pri, Qt::Key_Down);
  EXPECT_EQ(pri->currentText(), "CB 02");
  QTest::keyClick(f.Get<QComboBox>("cmbPriChkRate"), Qt::Key_End);
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Pri Channel"), 2);
  EXPECT_EQ(f.rig.Byte("Pri Chk Rate"), 10);
}

TEST(ScanWindow, AStoredChannelBeyondTheListIsKeptUntilAnotherIsChosen) {
  ScanWindow f("Kestal");
  const int record99 = f.rig.Address("Rx-only Channels") + 6 * 99;
  f.rig.Image().SetWord(record99, 38000);
  f.rig.SetByte("Pri Channel", 180);  // record 99 holds a channel
  f.Show();
  QComboBox* pri = f.Get<QComboBox>("cmbRecallM1");
  EXPECT_EQ(pri->currentIndex(), -1);
  EXPECT_EQ(pri->placeholderText(), "RX 180");
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Pri Channel"), 180);

  f.rig.Image().SetWord(record99, 0xFFFF);  // now empty: CB 01
  f.Show();
  EXPECT_EQ(pri->currentText(), "CB 01");
  f.Ok();
  EXPECT_EQ(f.rig.Byte("Pri Channel"), 1);
}

TEST(ScanWindow, BoxesAndModesChangeOnlyTheirOwnBits) {
  ScanWindow f("Merlo");
  EEPROM& image = f.rig.Image();
  for (const char* name :
       {"Options-1", "Options-2", "Options-3", "Options-4", "Options-5", "Options-6"})
    f.rig.SetByte(name, 0x5A);
  for (int i = 10; i < 24; ++i) image.SetByte(f.rig.Address("Scan Mem 1") + i, 0xA5);
  const EEPROM before = image;
  f.Show();
  EXPECT_TRUE(f.Get<QRadioButton>("rbOS1")->isChecked());
  EXPECT_TRUE(f.Get<QCheckBox>("chkOs5")->isChecked());  // channels 1-40 are in memory 1
  f.Click("chkOs5");
  f.Click("chkDup41");
  f.Click("rbGS1");
  f.Click("chk3Beep");
  f.Click("chkUserModNSMem");
  f.Get<QTabWidget>("pcScanMem")->setCurrentIndex(1);
  f.Click("btnGsSelectAll");
  f.Get<QTabWidget>("pcScanMem")->setCurrentIndex(2);
  f.Click("btnNsDeselectAll");
  f.Click("btnDupDeselectAll");
  f.Click("chkDup8");
  f.Ok();

  EXPECT_EQ(f.Bit("Scan Mem 0", 4), 0);
  EXPECT_EQ(f.Bit("Scan Mem 0", 5), 1);
  for (int n = 0; n < 80; ++n) EXPECT_EQ(f.Bit("Scan Mem 1", n), 1) << n;
  for (int n = 0; n < 80; ++n) EXPECT_EQ(f.Bit("Scan Mem 2", n), 0) << n;
  for (int i = 10; i < 24; ++i)
    EXPECT_EQ(image.GetByte(f.rig.Address("Scan Mem 1") + i), 0xA5) << i;
  EXPECT_EQ(f.rig.Byte("Duplex"), 0x80);
  EXPECT_EQ(f.rig.Byte("Duplex-80"), 0x00);
  EXPECT_EQ(f.rig.Byte("Options-2"), 0x5A ^ 0x20 ^ 0x01);
  EXPECT_EQ(f.rig.Byte("Options-6"), 0x5A ^ 0x08);
  for (const char* name : {"Status", "Options-1", "Options-3", "Options-4", "Options-5"})
    EXPECT_EQ(f.rig.Byte(name), before.GetByte(f.rig.Address(name))) << name;
}

TEST(ScanWindow, ScanMemoryFromStatusBitsOrItsOwnByte) {
  ScanWindow merlo("Merlo");
  merlo.rig.SetByte("Status", 0x28 | 0x81);
  merlo.Show();
  QComboBox* memory = merlo.Get<QComboBox>("cbScanMemory");
  EXPECT_EQ(memory->currentText(), "Scan memory 2");
  memory->setFocus();
  QTest::keyClick(memory, Qt::Key_Home);
  merlo.Ok();
  EXPECT_EQ(merlo.rig.Byte("Status"), 0x81);

  ScanWindow tamso("Tamso");
  tamso.rig.SetByte("Scan Memory", 0xFF);
  tamso.rig.SetByte("Status", 0x28);
  tamso.Show();
  EXPECT_EQ(tamso.Get<QComboBox>("cbScanMemory")->currentIndex(), -1);
  tamso.Ok();
  EXPECT_EQ(tamso.rig.Byte("Scan Memory"), 0xFF);
  EXPECT_EQ(tamso.rig.Byte("Status"), 0x28);
  tamso.rig.SetByte("Scan Memory", 2);
  tamso.Show();
  EXPECT_EQ(tamso.Get<QComboBox>("cbScanMemory")->currentText(), "NetScan memory");
  tamso.Click("CancelBtn");
}

TEST(ScanWindow, HelpAreaFollowsFocusAndPointer) {
  ScanWindow f("Merlo");
  f.Show();
  f.window.activateWindow();
  QPlainTextEdit* memo = f.Get<QPlainTextEdit>("memoHelpText");
  EXPECT_TRUE(memo->isReadOnly());
  f.Get<QComboBox>("cmbPriChkRate")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(memo->toPlainText(),
            "Number of channels scanned before the priority channel is checked");
  auto enter = [](QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
  };
  enter(f.Get<QWidget>("gbDuplex"));
  EXPECT_EQ(memo->toPlainText(), "Select from channels 1 - 8 for duplex operation");
  enter(f.Get<QWidget>("tsScanMem2"));
  EXPECT_EQ(memo->toPlainText(), "Select from channels 1 - 80 for Scan Mem 2");
  enter(f.Get<QWidget>("OKBtn"));
  EXPECT_EQ(memo->toPlainText(), "");
  f.Click("CancelBtn");
}

}  // namespace
