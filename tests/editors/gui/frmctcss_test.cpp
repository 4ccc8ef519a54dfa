// "CTCSS Setup" with real widgets: what each showing loads, what the
// user's clicks and keys do to the image on OK, and that Cancel and an
// unchanged OK leave it alone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "buildconfig.h"
#include "frmctcss.h"
#include "sharedobjects.h"
#include "simradio.h"

namespace {

constexpr int kOptions5 = 38;
constexpr int kOptions9 = 42;
constexpr int kTx = 56;
constexpr int kRx = 57;
constexpr int kSilentMem = 200;

// One window over its own session; `firmwareMajor` > 0 reads that version
// from a simulated radio first, as a read from the radio would.
struct Rig {
  explicit Rig(const char* family, int firmwareMajor = 0)
      : build(BuildConfig::ForFamily(family, false)), shared(build.productId) {
    shared.info.SelectModel(build.productId);
    for (int a = 2; a < kImageSize; ++a) shared.image.SetByte(a, (a * 7) & 0xFF);
    shared.image.SetByte(kTx, 5);
    shared.image.SetByte(kRx, 5);
    shared.image.SetByte(NetScanAddress(), 20);
    if (firmwareMajor > 0) ReadVersion(firmwareMajor);
    window = std::make_unique<TfrmCtcss>(context, nullptr);
  }
  void ReadVersion(int major) {
    SimulatedRadio radio(build.productId);
    radio.SetVersion({major, 0, 0});
    versionRead = radio.Start() && shared.port.Open(radio.DevicePath(), 9600) &&
                  shared.radio.GetRadioVersion();
    shared.port.Close();
  }
  int NetScanAddress() const { return shared.info.GetParamAddress("Netscan Ctcss Tone"); }
  int Byte(int address) const { return shared.image.GetByte(address); }
  void Set(int address, int value) { shared.image.SetByte(address, value); }

  void Show() {
    window->show();
    QApplication::processEvents();
  }
  template <typename W = QWidget>
  W* Get(const char* name) const {
    W* w = window->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QCheckBox* Channel(int k) const { return Get<QCheckBox>(("chkCtcss" + std::to_string(k)).c_str()); }
  QComboBox* Tx() const { return Get<QComboBox>("cmbTxCtcss"); }
  QComboBox* NetScan() const { return Get<QComboBox>("cmbNetScanTone"); }
  QComboBox* ToneSet() const { return Get<QComboBox>("cbCTCSSToneSet"); }
  // Near the left edge: a check box answers only on its box and caption.
  void Click(const char* name) {
    QWidget* w = Get(name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(std::min(10, w->width() / 2), w->height() / 2));
  }
  void ClickOk() { Click("OKBtn"); }
  // Types the start of an entry into a closed list, as a user picks one.
  static void Type(QComboBox* box, const char* text) {
    box->setFocus();
    QTest::keyClicks(box, text);
    QTest::qWait(QApplication::keyboardInputInterval() + 50);  // end the search
  }

  BuildConfig build;
  SharedObjects shared;
  WindowContext context{build, shared, false, [] { return true; }};
  std::unique_ptr<TfrmCtcss> window;
  bool versionRead = false;
};

bool SameImage(const EEPROM& a, const EEPROM& b) {
  return std::equal(a.Data(), a.Data() + kImageSize, b.Data());
}

TEST(TfrmCtcss, ShowsItsCaptionsAndLists) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x80);  // 50-tone order: the tone set can be chosen
  r.Show();
  EXPECT_EQ(r.window->windowTitle(), "CTCSS Setup");
  const std::pair<const char*, const char*> captions[] = {
      {"chkEnableCbCtcss", "CTCSS Operation Enabled"},
      {"chkCtcssOnDup", "CTCSS on duplex channels."},
      {"chkCtcssNb", "CTCSS narrow band above 151.4Hz"},
      {"chkBusyLockout", "Busy Lockout"},
      {"chkBusyLockoutOverride", "Busy Lockout override if CTCSS tone match."},
      {"chkCTCSS_RPK", "CTCSS Reverse Phase Key"},
      {"chkCTCSS_SilentTail", "CTCSS Silent Tail"},
      {"chkCtcss80", "80"},
      {"btnCtcssSelectAll", "Select All"},
      {"btnCtcssDeselectAll", "Deselect All"},
      {"OKBtn", "OK"},
      {"CancelBtn", "Cancel"}};
  for (const auto& [name, caption] : captions) {
    auto* b = r.Get<QAbstractButton>(name);
    EXPECT_EQ(b->text().remove('&'), caption) << name;
    EXPECT_FALSE(b->accessibleName().isEmpty()) << name;
  }
  EXPECT_EQ(r.Get<QLabel>("lblCbCtcssTx")->text().remove('&'), "CTCSS/DCS Tone");
  EXPECT_EQ(r.Get<QLabel>("lblCTCSSToneSet")->text().remove('&'), "CTCSS Tone Set:");
  EXPECT_EQ(r.Get<QLabel>("lblNetScanTone")->text().remove('&'), "NetScan Tone");
  EXPECT_EQ(r.Get<QLabel>("lblCbCtcssTx")->buddy(), r.Tx());
  EXPECT_EQ(r.Get<QGroupBox>("GroupBox1")->title(), "CTCSS options");
  EXPECT_EQ(r.Get<QGroupBox>("gbCtcssMem")->title(), "Silent Channel Memory");
  EXPECT_EQ(r.ToneSet()->itemText(0), "CTCSS 1-50");
  EXPECT_EQ(r.ToneSet()->itemText(1), "CTCSS 1-38");
  EXPECT_EQ(r.Tx()->count(), 155);
  EXPECT_EQ(r.Tx()->itemText(0), "OFF");
  EXPECT_EQ(r.Tx()->itemText(2), "CTC02 - 69.4Hz");
  EXPECT_EQ(r.Tx()->itemText(51), "DT001 - 023");
  EXPECT_TRUE(r.Get<QPushButton>("OKBtn")->isDefault());
}

struct CodeCase {
  int options5;
  int code;
  int entry;          // shown; -1 = no selection
  const char* text;   // of the shown entry
  int typed;          // an entry picked with the keyboard, -1 = none
  const char* typing;
  int written;        // "Tx CTCSS Tone" and "Rx CTCSS Tone" after OK
};
void PrintTo(const CodeCase& c, std::ostream* os) {
  *os << "Options-5 " << c.options5 << ", code " << c.code;
}
class CtcssCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CtcssCodes, ShowTheirEntryAndOkWritesTxAndRx) {
  const CodeCase& c = GetParam();
  Rig r("Kestal");
  r.Set(kOptions5, c.options5 | 0x01);
  r.Set(kTx, c.code);
  r.Set(kRx, 0x33);
  r.Show();
  EXPECT_EQ(r.Tx()->currentIndex(), c.entry);
  EXPECT_EQ(r.Tx()->currentText(), c.text);
  EXPECT_EQ(r.Tx()->placeholderText(),
            c.entry < 0 ? "Stored code " + QString::number(c.code) : QString());
  if (c.typed >= 0) {
    Rig::Type(r.Tx(), c.typing);
    EXPECT_EQ(r.Tx()->currentIndex(), c.typed);
  }
  r.ClickOk();
  EXPECT_FALSE(r.window->isVisible());
  EXPECT_EQ(r.Byte(kTx), c.written);
  EXPECT_EQ(r.Byte(kRx), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CtcssCodes,
    ::testing::Values(
        CodeCase{0x00, 0, 0, "OFF", -1, "", 0},
        CodeCase{0x00, 51, 51, "DT001 - 023", -1, "", 51},
        CodeCase{0x00, 154, 154, "DT104 - 754", -1, "", 154},
        CodeCase{0x00, 200, 0, "OFF", -1, "", 0},
        // Extended order: code 39 is tone 2.
        CodeCase{0x00, 39, 39, "CTC39 - 69.4Hz", -1, "", 39},
        CodeCase{0xC0, 51, 39, "DT001 - 023", -1, "", 51},
        CodeCase{0xC0, 0, 0, "OFF", 142, "DT104", 154},
        CodeCase{0x80, 7, 7, "CTC07 - 82.5Hz", 60, "DT010", 60},
        // A code the 38 tones lack shows no entry and stays stored...
        CodeCase{0xC0, 45, -1, "", -1, "", 45},
        // ...until the user picks one.
        CodeCase{0xC0, 45, -1, "", 2, "CTC02", 2}));

TEST(TfrmCtcss, SwitchingTo38TonesKeepsWhatTheNewSetHas) {
  const struct {
    int code;
    int entry38;
  } cases[] = {{2, 0}, {3, 2}, {60, 48}};
  for (const auto& c : cases) {
    Rig r("Kestal");
    r.Set(kOptions5, 0x81);
    r.Set(kTx, c.code);
    r.Set(r.NetScanAddress(), c.code);
    r.Show();
    ASSERT_TRUE(r.ToneSet()->isVisible());
    r.ToneSet()->setFocus();
    QTest::keyClick(r.ToneSet(), Qt::Key_Down);
    EXPECT_EQ(r.ToneSet()->currentText(), "CTCSS 1-38");
    EXPECT_EQ(r.Tx()->count(), 143);
    EXPECT_EQ(r.Tx()->currentIndex(), c.entry38) << "code " << c.code;
    EXPECT_EQ(r.NetScan()->currentIndex(), c.entry38) << "code " << c.code;
    r.ClickOk();
    const int code = c.entry38 > 38 ? c.entry38 + 12 : c.entry38;
    EXPECT_EQ(r.Byte(kTx), code);
    EXPECT_EQ(r.Byte(kRx), code);
    EXPECT_EQ(r.Byte(r.NetScanAddress()), code);
    EXPECT_EQ(r.Byte(kOptions5), 0xC1);
  }
}

TEST(TfrmCtcss, AKeptCodeBecomesItsToneWhenThe50TonesComeBack) {
  Rig r("Kestal");
  r.Set(kOptions5, 0xC1);
  r.Set(kTx, 45);
  r.Show();
  r.ToneSet()->setFocus();
  QTest::keyClick(r.ToneSet(), Qt::Key_Up);
  EXPECT_EQ(r.Tx()->currentText(), "CTC45 - 225.7Hz");
  r.ClickOk();
  EXPECT_EQ(r.Byte(kTx), 45);
  EXPECT_EQ(r.Byte(kOptions5), 0x81);
}

TEST(TfrmCtcss, DisabledSilentBoxesKeepTheirTicks) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x01 | 0x02);  // on, on duplex channels, 5 and 35 locked
  for (int i = 0; i < 10; ++i) r.Set(kSilentMem + i, 0xFF);
  r.Show();
  EXPECT_TRUE(r.Get<QCheckBox>("chkCtcssOnDup")->isChecked());
  for (int k = 1; k <= 80; ++k)
    EXPECT_EQ(r.Channel(k)->isEnabled(), k != 5 && k != 35) << "channel " << k;

  r.Click("chkCtcssOnDup");  // CTCSS off on the duplex channels
  for (int k = 1; k <= 80; ++k) {
    const bool duplex = (k >= 1 && k <= 8) || (k >= 41 && k <= 48);
    EXPECT_EQ(r.Channel(k)->isEnabled(), !duplex && k != 35) << "channel " << k;
    EXPECT_TRUE(r.Channel(k)->isChecked()) << "channel " << k;
  }
  r.Click("btnCtcssDeselectAll");  // the disabled ones too
  for (int k = 1; k <= 80; ++k) EXPECT_FALSE(r.Channel(k)->isChecked()) << "channel " << k;
  r.Click("chkCtcss9");
  r.Click("chkCtcss1");  // disabled: no change

  r.Click("chkEnableCbCtcss");
  for (const char* name : {"chkCtcssOnDup", "chkCtcssNb", "cmbTxCtcss", "cmbNetScanTone",
                           "gbCtcssMem", "btnCtcssSelectAll", "lblCbCtcssTx"})
    EXPECT_FALSE(r.Get(name)->isEnabled()) << name;
  EXPECT_TRUE(r.Get("chkBusyLockout")->isEnabled());
  for (int k = 1; k <= 80; ++k) EXPECT_FALSE(r.Channel(k)->isEnabled()) << "channel " << k;

  r.ClickOk();
  EXPECT_EQ(r.Byte(kSilentMem), 0x00);
  EXPECT_EQ(r.Byte(kSilentMem + 1), 0x01);  // channel 9
  EXPECT_EQ(r.Byte(kOptions5) & 0x07, 0x06);  // off, not on duplex, lock kept
}

TEST(TfrmCtcss, SelectAllThenOkWritesTheCbBitsAndKeepsTheReceiveOnlyBytes) {
  Rig r("Merlo");
  r.Set(kOptions5, 0x05);  // not on duplex channels: their boxes are disabled
  const EEPROM before = r.shared.image;
  r.Show();
  ASSERT_FALSE(r.Channel(1)->isEnabled());
  r.Click("btnCtcssSelectAll");
  r.ClickOk();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(r.Byte(kSilentMem + i), 0xFF) << i;
  for (int i = 10; i < 24; ++i) EXPECT_EQ(r.Byte(kSilentMem + i), before.GetByte(kSilentMem + i));
}

TEST(TfrmCtcss, EachBoxWritesItsBit) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x81);
  r.Set(kOptions9, 0x00);
  r.Show();
  const struct {
    const char* box;
    int address, mask;
  } boxes[] = {{"chkCtcssOnDup", kOptions5, 0x04},         {"chkCtcssNb", kOptions5, 0x08},
               {"chkBusyLockoutOverride", kOptions5, 0x10}, {"chkBusyLockout", kOptions5, 0x20},
               {"chkCTCSS_RPK", kOptions9, 0x01},          {"chkCTCSS_SilentTail", kOptions9, 0x02}};
  for (const auto& b : boxes) r.Click(b.box);
  r.ClickOk();
  EXPECT_EQ(r.Byte(kOptions5), 0x81 | 0x08 | 0x10 | 0x20 | 0x04);
  EXPECT_EQ(r.Byte(kOptions9), 0x03);
}

TEST(TfrmCtcss, CancelAndEscapeChangeNothing) {
  for (bool escape : {false, true}) {
    Rig r("Kestal");
    r.Set(kOptions5, 0x81);
    const EEPROM before = r.shared.image;
    r.Show();
    r.Click("chkCtcssNb");
    r.Click("btnCtcssSelectAll");
    Rig::Type(r.Tx(), "DT050");
    QTest::keyClick(r.ToneSet(), Qt::Key_Down);
    if (escape)
      QTest::keyClick(r.Tx(), Qt::Key_Escape);
    else
      r.Click("CancelBtn");
    EXPECT_FALSE(r.window->isVisible());
    EXPECT_TRUE(SameImage(r.shared.image, before)) << (escape ? "Escape" : "Cancel");
    // The next showing reloads from the image.
    r.Show();
    EXPECT_EQ(r.ToneSet()->currentIndex(), 0);
    EXPECT_EQ(r.Get<QCheckBox>("chkCtcssNb")->isChecked(), (before.GetByte(kOptions5) & 0x08) != 0);
  }
}

// The window system shows a window again when it is restored from the
// taskbar; that showing is no new opening and keeps what the user changed.
TEST(TfrmCtcss, ARestoredWindowKeepsItsUnsavedEdits) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x81);
  r.Show();
  r.Click("chkCtcssNb");
  r.Click("chkBusyLockout");
  ASSERT_TRUE(r.Get<QCheckBox>("chkCtcssNb")->isChecked());
  r.Set(kOptions5, 0x81);  // the image meanwhile, still without both bits

  r.window->showMinimized();
  QApplication::processEvents();
  r.window->showNormal();  // the window system shows it again
  QApplication::processEvents();
  EXPECT_TRUE(r.Get<QCheckBox>("chkCtcssNb")->isChecked());
  EXPECT_TRUE(r.Get<QCheckBox>("chkBusyLockout")->isChecked());

  r.ClickOk();
  EXPECT_FALSE(r.window->isVisible());
  EXPECT_EQ(r.Byte(kOptions5) & 0x28, 0x28);
}

TEST(TfrmCtcss, EnterIsOk) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x81);
  r.Show();
  r.Click("chkCtcssNb");
  QTest::keyClick(r.Get("chkCtcssNb"), Qt::Key_Return);
  EXPECT_FALSE(r.window->isVisible());
  EXPECT_EQ(r.Byte(kOptions5) & 0x08, 0x08);
}

struct ModelCase {
  const char* family;
  int firmwareMajor;  // 0: no version read
  int options5;
  bool enableShown, toneSetShown, netScanShown;
};
void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << c.family << " v" << c.firmwareMajor << ", Options-5 " << c.options5;
}
class CtcssModels : public ::testing::TestWithParam<ModelCase> {};

// OK without a change rewrites only what it always writes: "Rx CTCSS Tone"
// from the Tx code, "Options-5" bit 7 from the order in force, and the
// Pinto's always-on bit 0.
TEST_P(CtcssModels, ShowTheirControlsAndAnUnchangedOkWritesOnlyThePrescribed) {
  const ModelCase& c = GetParam();
  Rig r(c.family, c.firmwareMajor);
  if (c.firmwareMajor > 0) {
    ASSERT_TRUE(r.versionRead);
  }
  r.Set(kOptions5, c.options5);
  r.Set(kTx, 45);  // among the 38 tones only in the extended order
  r.Set(kRx, 17);
  EEPROM expected = r.shared.image;
  const bool extended = !c.toneSetShown;
  expected.SetByte(kRx, 45);
  int options5 = c.options5 & (extended ? 0x7F : 0xFF);
  if (!c.enableShown) options5 |= 0x01;
  expected.SetByte(kOptions5, options5);

  r.Show();
  EXPECT_EQ(r.Get("chkEnableCbCtcss")->isVisible(), c.enableShown);
  EXPECT_TRUE(r.Get<QCheckBox>("chkEnableCbCtcss")->isChecked() || c.enableShown);
  EXPECT_EQ(r.ToneSet()->isVisible(), c.toneSetShown);
  EXPECT_EQ(r.Get("lblCTCSSToneSet")->isVisible(), c.toneSetShown);
  EXPECT_EQ(r.NetScan()->isVisible(), c.netScanShown);
  EXPECT_EQ(r.Get("lblNetScanTone")->isVisible(), c.netScanShown);
  r.ClickOk();
  for (int a = 0; a < kImageSize; ++a)
    EXPECT_EQ(r.Byte(a), expected.GetByte(a)) << c.family << " byte " << a;
}

INSTANTIATE_TEST_SUITE_P(
    Models, CtcssModels,
    ::testing::Values(ModelCase{"Kestal", 0, 0xC3, true, true, true},
                      ModelCase{"Kestal", 0, 0x45, true, false, true},
                      ModelCase{"Merlo", 0, 0x80, true, true, true},
                      ModelCase{"Pinto", 0, 0xC0, false, false, true},
                      ModelCase{"Pinto", 0, 0x3E, false, false, true},
                      ModelCase{"Dravo", 1, 0xC1, true, true, false},
                      ModelCase{"Dravo", 2, 0xC1, true, false, true},
                      ModelCase{"Dravo", 2, 0x41, true, false, true},
                      ModelCase{"Sorel", 0, 0x81, true, true, false},
                      ModelCase{"Tamso", 0, 0xFF, true, false, true},
                      ModelCase{"KestalBT", 0, 0xC1, true, true, true}));

void Enter(QWidget* w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(w, &e);
}

TEST(TfrmCtcss, HelpAreaShowsTheTextOfTheControl) {
  Rig r("Kestal");
  r.Set(kOptions5, 0x81);
  r.Show();
  auto* memo = r.Get<QPlainTextEdit>("memoHelpText");
  EXPECT_TRUE(memo->isReadOnly());
  const std::pair<const char*, const char*> pointed[] = {
      {"chkEnableCbCtcss", "Enable CTCSS Operation"},
      {"chkCtcssOnDup", "Enable CTCSS operation on Duplex channels (1-8)"},
      {"chkCtcssNb",
       "Enable automatic shift to narrow bandwidth CTCSS above 151.4Hz.\n"
       "Gives best rejection of adjacent codes but response is slower."},
      {"lblCbCtcssTx", "Set the CTCSS tone to use for CB channels"},
      {"OKBtn", ""},
      {"lblNetScanTone", "Set the CTCSS tone to use for NetScan"},
      {"chkBusyLockout", ""},
      {"lblCTCSSToneSet", "Select CTCSS Tone Set - CCIR (38 tones) or Vorn (50 tones)"},
      {"GroupBox1", ""},
      {"gbCtcssMem", "Select from channels 1 - 80 for silent memory"},
      {"Panel1", ""}};
  for (const auto& [name, text] : pointed) {
    Enter(r.Get(name));
    EXPECT_EQ(memo->toPlainText(), text) << name;
  }
  r.window->activateWindow();
  const std::pair<const char*, const char*> focused[] = {
      {"cmbTxCtcss", "Set the CTCSS tone to use for CB channels"},
      {"chkBusyLockout", ""},
      {"cbCTCSSToneSet", "Select CTCSS Tone Set - CCIR (38 tones) or Vorn (50 tones)"},
      {"cmbNetScanTone", "Set the CTCSS tone to use for NetScan"}};
  for (const auto& [name, text] : focused) {
    QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(r.Get(name), &e);
    EXPECT_EQ(memo->toPlainText(), text) << name;
  }
}

}  // namespace
