// The radio options window driven like a user would: what each model
// shows, what OK stores and what it keeps, Cancel and Escape, the zero
// minimum volume rule, the help area, and "Write contrast" against a
// simulated radio on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <random>
#include <ostream>
#include <set>

#include "buildconfig.h"
#include "windowcontext.h"
#include "frmoptions.h"
#include "modal_answerer.h"
#include "portmap.h"
#include "sharedobjects.h"
#include "simradio.h"
#include "param_by_name.h"

namespace {

std::vector<uint8_t> RandomImage(uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(kImageSize);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

class OptionsWindow {
 public:
  explicit OptionsWindow(const char* family)
      : build_(BuildConfig::ForFamily(family, false)), shared_(build_.productId) {
    shared_.info.SelectModel(build_.productId);
    SetImage(RandomImage(build_.productId));
    window_ = std::make_unique<TfrmOptions>(context_);
  }
  ~OptionsWindow() {
    window_->hide();
    shared_.port.Close();
  }

  // A simulated radio of the same model on the session's port; the port
  // is opened by the window's port check.
  void ConnectRadio() {
    sim_ = std::make_unique<SimulatedRadio>(build_.productId);
    ASSERT_TRUE(sim_->Start());
    std::vector<uint8_t> memory = RandomImage(7);
    memory[0] = static_cast<uint8_t>(build_.productId >> 8);
    memory[1] = static_cast<uint8_t>(build_.productId);
    sim_->SetMemory(memory);
    portNumber_ = shared_.port.Ports().AddExtraDevice(sim_->DevicePath());
  }
  SimulatedRadio& Sim() { return *sim_; }

  void SetImage(const std::vector<uint8_t>& bytes) {
    shared_.image.WriteBlock(0, bytes.data(), kImageSize);
  }
  int Address(const char* name) const { return shared_.info.GetParamAddress(ParamByName(name)); }
  void Put(const char* name, int value) { shared_.image.SetByte(Address(name), value); }
  int Byte(const char* name) const { return shared_.image.GetByte(Address(name)); }
  std::vector<uint8_t> Bytes() const {
    return {shared_.image.Data(), shared_.image.Data() + kImageSize};
  }

  void Show() {
    window_->show();
    QApplication::processEvents();
  }
  // Near the left end: a box or radio button only takes clicks on its
  // mark and its caption, not on the rest of a wide row.
  void Click(const char* name) {
    QAbstractButton* button = Find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString Text(const char* edit) { return Find<QLineEdit>(edit)->text(); }
  void Key(const char* name, Qt::Key key) {
    QWidget* w = Find<QWidget>(name);
    w->setFocus();
    QTest::keyClick(w, key);
  }
  TfrmOptions& Window() { return *window_; }

  int portChecks = 0;
  bool portOpens = true;  // false: the port check fails as with a missing device

 private:
  bool PortCheck() {
    ++portChecks;
    if (shared_.port.IsOpen()) return true;
    return portOpens && portNumber_ > 0 &&
           shared_.port.Open(PortMap::ComName(portNumber_), 9600);
  }

  BuildConfig build_;
  SharedObjects shared_;
  WindowContext context_{build_, shared_, false, [this] { return PortCheck(); }};
  std::unique_ptr<SimulatedRadio> sim_;
  int portNumber_ = 0;
  std::unique_ptr<TfrmOptions> window_;
};

const char* const kFamilies[] = {"Merlo", "Kestal", "Pinto", "Dravo", "Sorel", "Tamso",
                                 "KestalBT"};

// Every field the window may write on some model.
const char* const kWindowFields[] = {
    "Status", "Options-1", "Options-2", "Options-3", "Options-4", "Options-5", "Options-6",
    "Options-7", "Options-8", "Tx Timeout", "CB Disp Options", "Rx-only Disp Options",
    "LCD Contrast", "Mic Gain", "Mic Gain Rear", "Wireless Mic Gain", "ADC Vol Min", "Beep Vol",
    "Wireless PTT Mic Sel", "Wireless Remote Key Func1", "Wireless Remote Key Func2"};

// --- OK without changes, per model ----------------------------------------

class OptionsUnchanged : public ::testing::TestWithParam<const char*> {};

TEST_P(OptionsUnchanged, OkSettlesOnlyTheWindowsOwnFieldsAndThenNothing) {
  OptionsWindow w(GetParam());
  const std::vector<uint8_t> before = w.Bytes();
  w.Show();
  w.Click("OKBtn");
  ASSERT_FALSE(w.Window().isVisible());
  const std::vector<uint8_t> after = w.Bytes();
  std::set<int> own;
  for (const char* name : kWindowFields) own.insert(w.Address(name));
  for (int a = 0; a < kImageSize; ++a) {
    if (!own.count(a)) {
      EXPECT_EQ(after[a], before[a]) << "address " << a;
    }
  }
  // The option bytes go back whole when no box was touched.
  for (const char* name : {"Status", "Options-1", "Options-2", "Options-5", "Options-6"}) {
    EXPECT_EQ(w.Byte(name), before[w.Address(name)]) << name;
  }
  w.Show();
  w.Click("OKBtn");
  EXPECT_EQ(w.Bytes(), after);
}

INSTANTIATE_TEST_SUITE_P(Models, OptionsUnchanged, ::testing::ValuesIn(kFamilies));

// --- what each model shows --------------------------------------------------

struct ShownCase {
  const char* family;
  std::vector<const char*> shown;
  std::vector<const char*> hidden;
  bool rearEnabled;
  const char* micLabel;
};
void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.family; }

class OptionsControls : public ::testing::TestWithParam<ShownCase> {};

TEST_P(OptionsControls, FollowTheModelsFeatures) {
  const ShownCase& c = GetParam();
  OptionsWindow w(c.family);
  w.Show();
  for (const char* name : c.shown) EXPECT_TRUE(w.Find<QWidget>(name)->isVisible()) << name;
  for (const char* name : c.hidden) EXPECT_FALSE(w.Find<QWidget>(name)->isVisible()) << name;
  EXPECT_EQ(w.Find<QSpinBox>("udMicGainRear")->isEnabled(), c.rearEnabled);
  EXPECT_EQ(w.Find<QLabel>("lblMicGainRear")->isEnabled(), c.rearEnabled);
  EXPECT_EQ(w.Find<QLabel>("lblMicGain")->text().remove('&'), c.micLabel);
  EXPECT_EQ(QApplication::focusWidget(), w.Find<QWidget>("OKBtn"));
}

INSTANTIATE_TEST_SUITE_P(
    Models, OptionsControls,
    ::testing::Values(
        ShownCase{"Kestal",
                  {"gbWirelessRemote", "cbRxonlyDisplay", "cbNarrowbandCB1_40", "cbDVC"},
                  {"rgDisplayMode", "udLCDContrast", "btnUpdateContrast", "chkAllowZeroMinVol",
                   "chkAllowRxAudioMute", "cbScrambler"},
                  true, "Mic Gain (front)"},
        ShownCase{"Pinto",
                  {"rgDisplayMode", "udLCDContrast", "btnUpdateContrast", "cbRxonlyDisplay"},
                  {"gbWirelessRemote", "cbNarrowbandCB1_40", "cbScrambler", "chkAllowZeroMinVol"},
                  true, "Mic Gain (internal)"},
        ShownCase{"Dravo",
                  {"rgDisplayMode", "lblLCDContrast", "btnUpdateContrast", "cbScrambler",
                   "gbWirelessRemote"},
                  {"chkAllowZeroMinVol"},
                  true, "Mic Gain (front)"},
        ShownCase{"Tamso",
                  {"chkAllowZeroMinVol", "chkAllowRxAudioMute", "cbNarrowbandCB1_40"},
                  {"cbRxonlyDisplay", "lblRxonlyDisplay", "rgDisplayMode", "gbWirelessRemote",
                   "udLCDContrast"},
                  false, "Mic Gain (front)"}));

// --- editing ------------------------------------------------------------

TEST(OptionsWindow, GainsStepWithTheArrowsAndRefuseTyping) {
  OptionsWindow w("Kestal");
  w.Put("Mic Gain", 0xF4);
  w.Put("Mic Gain Rear", 0x1F);
  w.Show();
  EXPECT_EQ(w.Text("editMicGain"), "-12");
  EXPECT_EQ(w.Text("editMicGainRear"), "0");
  w.Key("udMicGain", Qt::Key_Down);  // already at the bottom
  EXPECT_EQ(w.Text("editMicGain"), "-12");
  QTest::keyClicks(w.Find<QWidget>("udMicGainRear"), "5");
  EXPECT_EQ(w.Text("editMicGainRear"), "0");
  w.Key("udMicGainRear", Qt::Key_Up);
  w.Click("OKBtn");
  EXPECT_EQ(w.Byte("Mic Gain"), 0xF4);
  EXPECT_EQ(w.Byte("Mic Gain Rear"), 1);
}

TEST(OptionsWindow, ShowsTheStoredEntriesAndStoresTheChosenOnes) {
  OptionsWindow w("Kestal");
  w.Put("CB Disp Options", 5);
  w.Put("Rx-only Disp Options", 3);
  w.Put("Wireless Remote Key Func1", 1);
  w.Put("Wireless Remote Key Func2", 2);
  w.Put("Wireless PTT Mic Sel", 1);
  w.Put("Tx Timeout", 0xFF);
  w.Show();
  EXPECT_EQ(w.Find<QComboBox>("cbCBDisplay")->currentText(), "S-METER");
  EXPECT_EQ(w.Find<QComboBox>("cbRxonlyDisplay")->currentText(), "ALPHA");
  EXPECT_EQ(w.Find<QComboBox>("cbWPTTKeyFunctions")->currentText(), "Down/Up");
  EXPECT_EQ(w.Find<QComboBox>("cbWPTTMicSel")->currentText(), "Front");
  EXPECT_EQ(w.Text("editTxTimeout"), "180");
  w.Key("cbWPTTKeyFunctions", Qt::Key_Down);
  w.Key("cbCBDisplay", Qt::Key_Down);
  w.Key("cbWPTTMicSel", Qt::Key_Down);
  w.Key("udTxTimeOut", Qt::Key_Down);
  QTest::keyClick(&w.Window(), Qt::Key_Return);  // Enter is OK
  EXPECT_FALSE(w.Window().isVisible());
  EXPECT_EQ(w.Byte("Wireless Remote Key Func1"), 5);
  EXPECT_EQ(w.Byte("Wireless Remote Key Func2"), 4);
  EXPECT_EQ(w.Byte("CB Disp Options"), 1);
  EXPECT_EQ(w.Byte("Rx-only Disp Options"), 3);
  EXPECT_EQ(w.Byte("Wireless PTT Mic Sel"), 2);
  EXPECT_EQ(w.Byte("Tx Timeout"), 179);
}

TEST(OptionsWindow, TheBoxesAndTheDisplayModeChangeOnlyTheirBits) {
  OptionsWindow w("Dravo");
  w.Put("Status", 0xA5);  // bit 6 clear: Numeric
  w.Put("Options-1", 0x00);
  w.Put("Options-2", 0xFF);
  w.Put("Options-5", 0x00);
  w.Show();
  EXPECT_TRUE(w.Find<QRadioButton>("rgDisplayModeNumeric")->isChecked());
  EXPECT_TRUE(w.Find<QCheckBox>("cbDVC")->isChecked());
  EXPECT_FALSE(w.Find<QCheckBox>("chkPTT22_23")->isChecked());
  w.Click("rgDisplayModeAlpha");
  w.Click("cbDVC");
  w.Click("cbScrambler");
  w.Click("cbNarrowbandCB1_40");
  w.Click("chkPTT22_23");
  w.Click("chkEnableSqlTailMute");
  w.Click("cbBusyLockout");
  w.Click("OKBtn");
  EXPECT_EQ(w.Byte("Status"), 0xE5);
  EXPECT_EQ(w.Byte("Options-1"), 0x04 | 0x10 | 0x20);
  EXPECT_EQ(w.Byte("Options-2"), 0xFF & ~0x04 & ~0x08);
  EXPECT_EQ(w.Byte("Options-5"), 0x20);
}

TEST(OptionsWindow, UntickingZeroMinimumVolumeLiftsTheVolumeToOne) {
  OptionsWindow w("Tamso");
  w.Put("Options-6", 0x80);
  w.Put("ADC Vol Min", 0);
  w.Show();
  EXPECT_EQ(w.Text("editMinVolume"), "0");
  w.Click("chkAllowZeroMinVol");
  EXPECT_EQ(w.Text("editMinVolume"), "1");
  w.Key("udMinVolume", Qt::Key_Down);
  EXPECT_EQ(w.Text("editMinVolume"), "1");
  w.Click("OKBtn");
  EXPECT_EQ(w.Byte("ADC Vol Min"), 1);
  EXPECT_EQ(w.Byte("Options-6"), 0x00);

  w.Show();
  w.Click("chkAllowZeroMinVol");
  w.Key("udMinVolume", Qt::Key_Down);
  EXPECT_EQ(w.Text("editMinVolume"), "0");
  w.Click("OKBtn");
  EXPECT_EQ(w.Byte("ADC Vol Min"), 0);
  EXPECT_EQ(w.Byte("Options-6"), 0x80);
}

TEST(OptionsWindow, TheContrastIsShownUpsideDown) {
  OptionsWindow w("Dravo");
  w.Put("LCD Contrast", 0xFF);
  w.Show();
  EXPECT_EQ(w.Text("edtLCDContrast"), "4");
  w.Click("OKBtn");
  EXPECT_EQ(w.Byte("LCD Contrast"), 5);
  w.Put("LCD Contrast", 0);
  w.Show();
  EXPECT_EQ(w.Text("edtLCDContrast"), "9");
}

TEST(OptionsWindow, CancelAndEscapeStoreNothing) {
  OptionsWindow w("Dravo");
  const std::vector<uint8_t> before = w.Bytes();
  for (const bool escape : {false, true}) {
    w.Show();
    w.Key("udMicGain", Qt::Key_Up);
    w.Key("udLCDContrast", Qt::Key_Down);
    w.Click("cbBusyLockout");
    w.Click("rgDisplayModeAlpha");
    w.Key("cbWPTTKeyFunctions", Qt::Key_Down);
    if (escape) {
      QTest::keyClick(&w.Window(), Qt::Key_Escape);
    } else {
      w.Click("CancelBtn");
    }
    EXPECT_FALSE(w.Window().isVisible());
    EXPECT_EQ(w.Bytes(), before) << (escape ? "Escape" : "Cancel");
  }
}

TEST(OptionsWindow, TheHelpAreaFollowsFocusAndPointer) {
  OptionsWindow w("Dravo");
  w.Show();
  QPlainTextEdit* memo = w.Find<QPlainTextEdit>("memoHelptext");
  EXPECT_TRUE(memo->isReadOnly());
  w.Find<QWidget>("chkPTT22_23")->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(memo->toPlainText().startsWith(
      "Note: Selcall operation is always possible on CH22/23 regardless of this setting.\n"
      "Note: The ACMA Class Licence prohibits"));
  const auto enter = [](QWidget* widget) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(widget, &e);
  };
  enter(w.Find<QWidget>("btnUpdateContrast"));
  EXPECT_EQ(memo->toPlainText(),
            "To increase LCD contrast (darker), increase the value and then click on 'Write "
            "contrast'.\nTo decrease LCD contrast (lighter), decrease the value and then click "
            "on 'Write contrast'.");
  enter(w.Find<QWidget>("lblMicGainFrontdB"));
  EXPECT_EQ(memo->toPlainText(), "");
  enter(w.Find<QWidget>("lblTime"));
  EXPECT_EQ(memo->toPlainText(),
            "Set maximum transmit time (secs).\n"
            "Note: ACMA Class License requires this to be fitted to all radios.");
}

// A control without help of its own empties the area, by the focus as by
// the pointer: it never goes on showing the control before it. Each
// control's help is its accessible description too.
TEST(OptionsWindow, ControlsWithoutHelpEmptyTheAreaAndHelpIsTheirDescription) {
  OptionsWindow w("Dravo");
  w.Show();
  QPlainTextEdit* memo = w.Find<QPlainTextEdit>("memoHelptext");
  for (const char* name : {"editBeepVol", "editMinVolume", "rgDisplayModeNumeric", "cbDVC"}) {
    SCOPED_TRACE(name);
    w.Find<QWidget>("editMicGain")->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(memo->toPlainText(), "Default setting 0dB equates to 26mV at 1kHz.");
    QWidget* control = w.Find<QWidget>(name);
    if (!control) continue;
    EXPECT_TRUE(control->isVisible());
    control->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(memo->toPlainText(), "");
  }
  EXPECT_EQ(w.Find<QWidget>("chkAllowZeroMinVol")->accessibleDescription(),
            "Check this option to allow minimum volume to be set to 0, i.e. off.");
  EXPECT_EQ(w.Find<QWidget>("editTxTimeout")->accessibleDescription(),
            "Set maximum transmit time (secs).\n"
            "Note: ACMA Class License requires this to be fitted to all radios.");
  // Reading the help area itself does not empty it.
  w.Find<QWidget>("chkPTT22_23")->setFocus();
  memo->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(memo->toPlainText().startsWith("Note: Selcall"));
}

TEST(OptionsWindow, EveryInputHasAnAccessibleName) {
  OptionsWindow w("Dravo");
  w.Show();
  for (QWidget* child : w.Window().findChildren<QWidget*>()) {
    if (child->focusPolicy() == Qt::NoFocus || !child->isVisible()) continue;
    if (qobject_cast<QAbstractButton*>(child)) continue;  // named by their captions
    EXPECT_FALSE(child->accessibleName().isEmpty())
        << child->objectName().toStdString() << " " << child->metaObject()->className();
  }
}

// --- "Write contrast" ---------------------------------------------------------

TEST(WriteContrast, TheRadioTakesTheByteAndRestarts) {
  OptionsWindow w("Dravo");
  w.ConnectRadio();
  w.Put("LCD Contrast", 3);
  const std::vector<uint8_t> before = w.Bytes();
  ModalAnswerer boxes;
  w.Show();
  EXPECT_EQ(w.Text("edtLCDContrast"), "6");
  w.Key("udLCDContrast", Qt::Key_Up);
  w.Click("btnUpdateContrast");

  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_EQ(w.portChecks, 1);
  const int address = w.Address("LCD Contrast");
  EXPECT_EQ(w.Sim().MemoryByte(address), 2);
  const std::vector<SimRequest> log = w.Sim().Requests();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].command, OP_WRITE_BYTE);
  EXPECT_EQ(log[0].payload, (std::vector<uint8_t>{0x80 | OP_WRITE_BYTE, 0, uint8_t(address), 2}));
  EXPECT_EQ(log[1].command, OP_RESET);
  EXPECT_TRUE(w.Window().isVisible());

  // The image holds what the radio holds, even after Cancel.
  w.Click("CancelBtn");
  std::vector<uint8_t> expected = before;
  expected[static_cast<size_t>(address)] = 2;
  EXPECT_EQ(w.Bytes(), expected);
}

struct FailureCase {
  const char* what;
  SimFaults faults;
  bool portOpens;
  size_t requests;  // what reached the radio
};
void PrintTo(const FailureCase& c, std::ostream* os) {
  for (const char* p = c.what; *p; ++p) *os << (*p == ' ' ? '_' : *p);
}

class WriteContrastFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteContrastFailure, SaysSoAndLeavesImageAndRadioAlone) {
  const FailureCase& c = GetParam();
  OptionsWindow w("Dravo");
  w.ConnectRadio();
  w.Sim().SetFaults(c.faults);
  w.portOpens = c.portOpens;
  const std::vector<uint8_t> radioBefore = w.Sim().Memory();
  const std::vector<uint8_t> before = w.Bytes();
  ModalAnswerer boxes;
  w.Show();
  w.Key("udLCDContrast", Qt::Key_Up);
  w.Click("btnUpdateContrast");

  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u) << c.what;
  EXPECT_EQ(seen[0].text, "Unable to write LCD contrast to radio");
  EXPECT_EQ(seen[0].caption, "Vorn Dravo Programmer");
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(w.Bytes(), before) << c.what;
  EXPECT_EQ(w.Sim().Memory(), radioBefore) << c.what;
  const std::vector<SimRequest> log = w.Sim().Requests();
  EXPECT_EQ(log.size(), c.requests) << c.what;
  for (const SimRequest& r : log) EXPECT_NE(r.command, OP_RESET) << c.what;
  EXPECT_TRUE(w.Window().isVisible());
}

SimFaults SilentRadio() {
  SimFaults f;
  f.silentAfter = 0;
  return f;
}
SimFaults RefusedWrites() {
  SimFaults f;
  f.nackOpcode = OP_WRITE_BYTE;
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Radios, WriteContrastFailure,
    ::testing::Values(FailureCase{"silent radio", SilentRadio(), true, 1},
                      FailureCase{"refused write", RefusedWrites(), true, 1},
                      FailureCase{"no port", SimFaults{}, false, 0}));

}  // namespace
