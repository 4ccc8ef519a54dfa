// The engineering panel driven like a user would, against the simulated
// radio on a real pseudo-terminal: the bytes each action sends, what it
// logs, what it refuses before sending anything, and the chart.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QChart>
#include <QValueAxis>
#include <ostream>

#include "eng.h"
#include "frmengineering.h"
#include "frmsampleschart.h"
#include "keyboard_check.h"
#include "modal_answerer.h"
#include "radio.h"
#include "service_rig.h"

namespace {

using Rig = ServiceRig<TfrmEngineering>;

constexpr uint8_t kEng = 0x80 | OP_ENGINEERING;

QStringList Log(Rig& r) {
  return r.Find<QPlainTextEdit>("memoEng")->toPlainText().split('\n');
}

// The requests after the showing's own (volume, contrast read).
struct Panel : Rig {
  explicit Panel(const char* family = "Kestal") : Rig(family) {
    Show();
    Sim().ClearRequests();
  }
  std::vector<std::vector<uint8_t>> Payloads() {
    std::vector<std::vector<uint8_t>> out;
    for (const SimRequest& r : Sim().Requests()) out.push_back(r.payload);
    return out;
  }
  void SelectStep(int index) {
    auto* combo = Find<QComboBox>("cbFreqStep");
    combo->setFocus();
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  }
  int PllRequests() {
    int n = 0;
    for (const SimRequest& r : Sim().Requests())
      if (r.payload.size() >= 2 && r.payload[1] == ENG_PLL_FREQUENCY) ++n;
    return n;
  }
};

TEST(EngineeringPanel, ShowingSetsTheVolumeAndReceiveAndShowsTheFrequency) {
  Rig r("Kestal");
  r.Show();
  EXPECT_EQ(r.Window().windowTitle(), "Development");
  EXPECT_EQ(r.Text("editFreq"), "477.000000");
  EXPECT_EQ(r.Find<QLabel>("lblTxRx")->text(), "RECEIVE");
  EXPECT_EQ(r.Text("edtVolume"), "0");
  EXPECT_EQ(r.Find<QComboBox>("cbBaudRate")->currentText(), "9600");
  EXPECT_EQ(r.Find<QComboBox>("cbBaudRate")->count(), 4);
  EXPECT_EQ(r.Find<QComboBox>("cbFreqStep")->currentText(), "12.5 kHz");
  // The opener checked the port: the showing's volume goes out at once.
  const auto log = r.Sim().Requests();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].payload, (std::vector<uint8_t>{0x80 | OP_SET_VOLUME, 0}));
  // Kestal has no LCD contrast to set.
  EXPECT_FALSE(r.Find<QPushButton>("btnSetContrast")->isEnabled());
}

TEST(EngineeringPanel, HoldingPlusStepsAfterOneSecondThenEveryTenthOfASecond) {
  Panel p;
  p.SelectStep(3);  // 1.000 MHz
  auto* plus = p.Find<QPushButton>("btnFreqInc");
  auto* repeat = p.Find<QTimer>("TimerKeyHeld");
  QElapsedTimer clock;
  clock.start();
  QTest::mousePress(plus, Qt::LeftButton);
  EXPECT_EQ(p.Text("editFreq"), "478.000000");
  ASSERT_EQ(p.Payloads().size(), 1u);
  EXPECT_EQ(p.Payloads()[0], (std::vector<uint8_t>{kEng, ENG_PLL_FREQUENCY, 38240 >> 8,
                                                   38240 & 0xFF}));
  EXPECT_EQ(Log(p), (QStringList{"Update PLL...", "OK"}));
  // The pace is the timer's; a loaded machine may only make it later.
  EXPECT_TRUE(repeat->isActive());
  EXPECT_EQ(repeat->interval(), 1000);

  ASSERT_TRUE(Rig::WaitFor([&] { return p.Text("editFreq") == "479.000000"; }));
  EXPECT_GE(clock.elapsed(), 980);
  EXPECT_EQ(repeat->interval(), 100);
  const qint64 first = clock.elapsed();
  ASSERT_TRUE(Rig::WaitFor([&] { return p.Text("editFreq") == "481.000000"; }));
  EXPECT_GE(clock.elapsed() - first, 190);

  QTest::mouseRelease(plus, Qt::LeftButton);
  EXPECT_FALSE(repeat->isActive());
  const int sent = p.PllRequests();
  const QString shown = p.Text("editFreq");
  QCoreApplication::processEvents();
  EXPECT_EQ(p.PllRequests(), sent);
  EXPECT_EQ(p.Text("editFreq"), shown);
}

TEST(EngineeringPanel, PresetsAndMinusTuneAndSend) {
  Panel p;
  p.Click("btn_450");
  EXPECT_EQ(p.Text("editFreq"), "450.000000");
  p.Click("btnFreqDec");
  EXPECT_EQ(p.Text("editFreq"), "449.987500");
  const auto sent = p.Payloads();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], (std::vector<uint8_t>{kEng, ENG_PLL_FREQUENCY, 36000 >> 8, 36000 & 0xFF}));
  EXPECT_EQ(sent[1], (std::vector<uint8_t>{kEng, ENG_PLL_FREQUENCY, 35999 >> 8, 35999 & 0xFF}));
  EXPECT_EQ(p.Sim().State().pllSteps, 35999);
}

TEST(EngineeringPanel, AFrequencyBeyondThePllWordIsRefusedUnsent) {
  Panel p;
  p.Click("btn_504");
  p.SelectStep(4);  // 10.000 MHz
  for (int i = 0; i < 31; ++i) p.Click("btnFreqInc");
  EXPECT_EQ(p.Text("editFreq"), "814.000000");
  const size_t sent = p.Sim().Requests().size();
  p.Click("btnFreqInc");
  EXPECT_EQ(p.Text("editFreq"), "814.000000");
  EXPECT_EQ(p.Sim().Requests().size(), sent);
  EXPECT_TRUE(Log(p).join(' ').contains("outside the PLL range")) << Log(p).join('|').toStdString();
}

TEST(EngineeringPanel, PttAndSquelchToggleTheRadio) {
  Panel p;
  p.Click("btnPTT");
  EXPECT_EQ(p.Find<QLabel>("lblTxRx")->text(), "TRANSMIT");
  EXPECT_TRUE(p.Sim().State().ptt);
  p.Click("btnPTT");
  EXPECT_EQ(p.Find<QLabel>("lblTxRx")->text(), "RECEIVE");
  EXPECT_FALSE(p.Sim().State().ptt);
  p.Click("btnSquelch");
  EXPECT_TRUE(p.Sim().State().squelchForced);
  p.Click("btnSquelch");
  EXPECT_FALSE(p.Sim().State().squelchForced);
}

// A screen reader hears PTT and "Squelch open" as pressed or not, and its
// toggle action keys the radio exactly as a click does.
TEST(EngineeringPanel, PttAndSquelchOpenAreStatesAScreenReaderReports) {
  using keyboard_check::SpokenCheckOf;
  Panel p;
  auto* ptt = p.Find<QPushButton>("btnPTT");
  auto* squelch = p.Find<QPushButton>("btnSquelch");
  for (QPushButton* b : {ptt, squelch}) {
    EXPECT_TRUE(SpokenCheckOf(b).checkable) << b->objectName().toStdString();
    EXPECT_FALSE(SpokenCheckOf(b).checked) << b->objectName().toStdString();
  }
  p.Click("btnPTT");
  const auto clicked = p.Payloads();
  EXPECT_TRUE(SpokenCheckOf(ptt).checked);
  p.Click("btnPTT");
  p.Sim().ClearRequests();

  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(ptt));
  EXPECT_EQ(p.Payloads(), clicked);
  EXPECT_TRUE(p.Sim().State().ptt);
  EXPECT_TRUE(SpokenCheckOf(ptt).checked);
  EXPECT_EQ(p.Find<QLabel>("lblTxRx")->text(), "TRANSMIT");
  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(ptt));
  EXPECT_FALSE(p.Sim().State().ptt);
  EXPECT_FALSE(SpokenCheckOf(ptt).checked);

  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(squelch));
  EXPECT_TRUE(p.Sim().State().squelchForced);
  EXPECT_TRUE(SpokenCheckOf(squelch).checked);
  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(squelch));
  EXPECT_FALSE(p.Sim().State().squelchForced);
  EXPECT_FALSE(SpokenCheckOf(squelch).checked);
}

TEST(EngineeringPanel, EachAccessKeyIsUsedOnce) {
  Panel p;
  EXPECT_EQ(keyboard_check::SharedAccessKeys(&p.Window()).join("\n").toStdString(), "");
}

// A radio that does not answer leaves neither button claiming the state.
TEST(EngineeringPanel, PttAndSquelchOpenOnASilentRadioStayUnchecked) {
  Panel p;
  SimFaults f;
  f.silentAfter = 0;
  p.Sim().SetFaults(f);
  for (const char* name : {"btnPTT", "btnSquelch"}) {
    p.Click(name);
    EXPECT_FALSE(p.Find<QPushButton>(name)->isChecked()) << name;
    EXPECT_FALSE(keyboard_check::SpokenCheckOf(p.Find<QPushButton>(name)).checked) << name;
  }
  EXPECT_EQ(p.Find<QLabel>("lblTxRx")->text(), "RECEIVE");
}

TEST(EngineeringPanel, PttOnASilentRadioKeepsReceiveShown) {
  Panel p;
  SimFaults f;
  f.silentAfter = 0;
  p.Sim().SetFaults(f);
  p.Click("btnPTT");
  EXPECT_EQ(p.Find<QLabel>("lblTxRx")->text(), "RECEIVE");
  EXPECT_EQ(Log(p).back(), "PTT failed");
}

TEST(EngineeringPanel, TestModeLogsBothWays) {
  Panel p;
  p.Click("chkTestMode");
  EXPECT_EQ(Log(p), (QStringList{"Set test mode...", "OK"}));
  EXPECT_EQ(p.Sim().State().testMode, 1);
  p.Click("chkTestMode");
  EXPECT_EQ(Log(p), (QStringList{"Set normal mode...", "OK"}));
  EXPECT_EQ(p.Sim().State().testMode, 0);
}

TEST(EngineeringPanel, AutoAlignSendsFlagsStartStopStep) {
  Panel p;
  p.Click("chkAlignT2");
  p.Click("chkAlignT4");
  p.Click("btnAutoAlign");
  const auto sent = p.Payloads();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], (std::vector<uint8_t>{kEng, ENG_AUTO_ALIGN, 10, 0, 255, 16}));
  EXPECT_EQ(Log(p), (QStringList{"Auto Align...", "OK"}));
}

TEST(EngineeringPanel, WriteLcdSendsTextsAndIconsLowByteFirst) {
  Panel p;
  p.Type("edtIcons", "1234");
  p.Click("btnWriteLCD");
  const auto sent = p.Payloads();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], (std::vector<uint8_t>{kEng, ENG_WRITE_LCD, '8', '8', 'A', 'L', 'P', 'H', 'A',
                                           0x34, 0x12, 0}));
  EXPECT_EQ(Log(p), (QStringList{"Write LCD...", "OK"}));
  p.Type("edtIcons", "ZZ");
  p.Click("btnWriteLCD");
  EXPECT_EQ(p.Payloads().back()[9], 0);
  EXPECT_EQ(p.Payloads().back()[10], 0);
}

TEST(EngineeringPanel, PokeThenPeekOneByte) {
  Panel p;
  p.Type("edit_memaddr", "1A");
  p.Type("edit_memdata", "5C");
  p.Type("edit_memmask", "FF");
  p.Click("btnMemWrite");
  EXPECT_EQ(Log(p), (QStringList{"Write memory...", "OK"}));
  EXPECT_EQ(p.Payloads()[0], (std::vector<uint8_t>{kEng, ENG_POKE, 0x00, 0x1A, 0x5C, 0xFF}));
  p.Type("edit_memdata", "00");
  p.Click("btnMemRead");
  EXPECT_EQ(Log(p), (QStringList{"Read memory...", "OK"}));
  EXPECT_EQ(p.Text("edit_memdata"), "5C");
}

TEST(EngineeringPanel, RadioIdBothWays) {
  Panel p;
  p.Type("edtID", "0123456789ABCDEF");
  p.Click("btnWriteID");
  EXPECT_EQ(Log(p), (QStringList{"Write ID...", "OK"}));
  const std::array<uint8_t, 8> id{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(p.Sim().RadioId(), id);
  EXPECT_EQ(p.Payloads()[0],
            (std::vector<uint8_t>{0x80 | OP_WRITE_RADIO_ID, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
                                  0xCD, 0xEF}));

  p.Sim().SetRadioId({0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10});
  p.Click("btnReadID");
  EXPECT_EQ(p.Text("edtID"), "FEDCBA9876543210");
  EXPECT_EQ(Log(p), (QStringList{"Read ID...", "OK"}));
  p.Sim().SetRadioId(id);
  p.Click("btnReadID");
  EXPECT_EQ(p.Text("edtID"), "0123456789ABCDEF");
}

struct RawCase {
  const char* name;
  QString text;
  std::vector<uint8_t> sent;  // as the radio receives them
};
void PrintTo(const RawCase& c, std::ostream* os) { *os << c.name; }

class RawRequest : public ::testing::TestWithParam<RawCase> {};

TEST_P(RawRequest, SendsTheTypedBytesAndLogsNothing) {
  const RawCase& c = GetParam();
  Panel p;
  const QString logBefore = p.Find<QPlainTextEdit>("memoEng")->toPlainText();
  p.Type("edtSendVornII", c.text);
  p.Click("btnSendVornIICommand");
  ASSERT_TRUE(p.Sim().WaitForRequests(1, 10000));
  EXPECT_EQ(p.Payloads()[0], c.sent);
  EXPECT_EQ(p.Find<QPlainTextEdit>("memoEng")->toPlainText(), logBefore);
}

std::vector<uint8_t> TwentyOf(uint8_t b) {
  std::vector<uint8_t> v(20, b);
  v[0] |= 0x80;
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RawRequest,
    ::testing::Values(RawCase{"three", "01 02 0A", {0x81, 0x02, 0x0A}},
                      RawCase{"sixty_one", QString("05 ").repeated(20) + "05",
                              TwentyOf(0x05)},
                      RawCase{"one", "00", {0x80}}));

TEST(EngineeringPanel, ArrayWriteAlwaysCarriesTheWholePattern) {
  Panel p("Pinto");  // a model that moves arrays
  ModalAnswerer boxes;
  p.Type("edtArrayAddress", "0x40");
  p.Type("edtArrayNumBytes", "16");
  p.Click("btnWriteArray");
  EXPECT_EQ(p.Text("edtArrayAddress"), "64");
  EXPECT_EQ(p.Text("edtArrayNumBytes"), "16");
  const auto sent = p.Payloads();
  ASSERT_EQ(sent.size(), 1u);
  std::vector<uint8_t> expected{0x80 | OP_WRITE_ARRAY, 0x00, 0x40, 128};
  const std::vector<uint8_t> pattern = ArrayTestPattern();
  expected.insert(expected.end(), pattern.begin(), pattern.end());
  EXPECT_EQ(sent[0], expected);
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Wrote 128 bytes\n");
  EXPECT_EQ(seen[0].caption, "Write Array");
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(p.Sim().MemoryByte(0x40 + 127), 127);
}

TEST(EngineeringPanel, ArrayReadShowsTheBytes) {
  Panel p("Pinto");
  std::vector<uint8_t> memory(kImageSize, 0xFF);
  memory[0x10] = 0x0A;
  memory[0x11] = 0xB1;
  memory[0x12] = 0x00;
  p.Sim().SetMemory(memory);
  ModalAnswerer boxes;
  p.Type("edtArrayAddress", "16");
  p.Type("edtArrayNumBytes", "3");
  p.Click("btnReadArray");
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Got 3 bytes\n 0A B1 00");
  EXPECT_EQ(seen[0].caption, "Read Array");
}

struct RefusedCase {
  const char* name;
  const char* edit;
  QString text;
  const char* button;
  QString message;
  QString caption;  // empty: the application's title
  QMessageBox::Icon icon;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedInput : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedInput, SaysWhyAndSendsNothing) {
  const RefusedCase& c = GetParam();
  Panel p;
  ModalAnswerer boxes;
  p.Type(c.edit, c.text);
  p.Click(c.button);
  QTest::qWait(50);
  EXPECT_TRUE(p.Sim().Requests().empty());
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, c.message);
  EXPECT_EQ(seen[0].caption, c.caption.isEmpty() ? QString("Vorn Kestal Programmer") : c.caption);
  EXPECT_EQ(seen[0].icon, c.icon);
}

const QString kRawHelp =
    "Type each byte as two hexadecimal digits, one character apart (for example 01 02 0A).";

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedInput,
    ::testing::Values(
        RefusedCase{"raw_not_hex", "edtSendVornII", "01 0G", "btnSendVornIICommand", kRawHelp,
                    "Error", QMessageBox::Warning},
        RefusedCase{"raw_empty", "edtSendVornII", "", "btnSendVornIICommand", kRawHelp, "Error",
                    QMessageBox::Warning},
        RefusedCase{"id_short", "edtID", "0123456789ABCDE", "btnWriteID",
                    "The radio ID must be 16 hexadecimal digits.", "Error", QMessageBox::Warning},
        RefusedCase{"id_not_hex", "edtID", "0123456789ABCDEX", "btnWriteID",
                    "The radio ID must be 16 hexadecimal digits.", "Error", QMessageBox::Warning},
        RefusedCase{"seven_seg_short", "edit7seg", "8", "btnWriteLCD",
                    "The 7-seg text must be 2 characters.", "Error", QMessageBox::Warning},
        RefusedCase{"alpha_short", "editAlphaText", "ALP", "btnWriteLCD",
                    "The alpha text must be 5 characters.", "Error", QMessageBox::Warning},
        RefusedCase{"align_start", "editAlignStart", "1O", "btnAutoAlign",
                    "'1O' is not a valid integer value", "", QMessageBox::Critical},
        RefusedCase{"align_step_empty", "editAlignStep", "", "btnAutoAlign",
                    "'' is not a valid integer value", "", QMessageBox::Critical},
        RefusedCase{"memory_address", "edit_memaddr", "G1", "btnMemRead",
                    "'0xG1' is not a valid integer value", "", QMessageBox::Critical},
        RefusedCase{"memory_write_address", "edit_memaddr", "1 2", "btnMemWrite",
                    "'0x1 2' is not a valid integer value", "", QMessageBox::Critical},
        RefusedCase{"array_count", "edtArrayNumBytes", "twelve", "btnReadArray",
                    "'twelve' is not a valid integer value", "", QMessageBox::Critical},
        RefusedCase{"array_read_too_many", "edtArrayNumBytes", "129", "btnReadArray",
                    "The number of bytes to read must be 1 to 128.", "Read Array",
                    QMessageBox::Warning},
        RefusedCase{"array_write_address", "edtArrayAddress", "4k", "btnWriteArray",
                    "'4k' is not a valid integer value", "", QMessageBox::Critical}));

TEST(EngineeringPanel, AudioSamplesArePlottedAndLogged) {
  Panel p;
  p.Find<QSpinBox>("udSelcall")->setValue(16);  // the simulated radio's 1 kHz test tone
  p.Click("btnSelcall");
  bool charted = false;
  int points = 0;
  double low = 0, high = 0;
  QString title;
  QTimer::singleShot(0, [&] {
    Rig::WaitFor([&] { return QApplication::activeModalWidget() == &p.Window().SamplesChart(); });
    TfrmSamplesChart& chart = p.Window().SamplesChart();
    charted = chart.isVisible();
    title = chart.windowTitle();
    points = static_cast<int>(chart.Series().count());
    auto* axis = qobject_cast<QValueAxis*>(chart.Chart().axes(Qt::Vertical).front());
    low = axis->min();
    high = axis->max();
    chart.findChild<QPushButton*>("btnClose")->click();
  });
  p.Click("btnAudioSamples");
  EXPECT_TRUE(charted);
  EXPECT_EQ(title, "Audio Samples");
  EXPECT_EQ(points, kAudioSampleCount);
  EXPECT_EQ(low, -32768);
  EXPECT_EQ(high, 32768);
  const QStringList log = Log(p);
  ASSERT_EQ(log.size(), 4);
  EXPECT_EQ(log[0], "Read audio samples...");
  EXPECT_EQ(log[1], "Samples:");
  EXPECT_TRUE(log[2].startsWith("0:"));
  EXPECT_TRUE(log[2].contains(" 125:"));
  EXPECT_EQ(log[3], "OK");
  // The chart's points are the samples as logged.
  const QPointF second = p.Window().SamplesChart().Series().at(1);
  EXPECT_TRUE(log[2].contains(QString(" 1:%1 ").arg(static_cast<int>(second.y()))));
  EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(EngineeringPanel, SilentRadioFailsSamplesAndResetWithTheirMessages) {
  Panel p;
  SimFaults f;
  f.silentAfter = 0;
  p.Sim().SetFaults(f);
  ModalAnswerer boxes;
  p.Click("btnAudioSamples");
  p.Click("btnReset");
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "Failed to read audio samples");
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen[1].text, "Radio Response Timeout.");
  EXPECT_EQ(seen[1].caption, "Comms Error");
  EXPECT_EQ(seen[1].icon, QMessageBox::Warning);
  EXPECT_EQ(Log(p), (QStringList{"Read audio samples...", "failed", "Reset req.."}));
  EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(EngineeringPanel, VolumeIsThirtyOneLessThePosition) {
  Panel p;
  auto* bar = p.Find<QSlider>("tbVolume");
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_End);
  QTest::keyClick(bar, Qt::Key_Home);
  const int position = bar->value();
  EXPECT_EQ(p.Text("edtVolume"), QString::number(31 - position));
  EXPECT_EQ(p.Sim().State().volume, 31 - position);
  EXPECT_EQ(Log(p), (QStringList{"Set volume...", "OK"}));
  p.Click("btnRefreshVolume");
  EXPECT_EQ(Log(p), (QStringList{"Refresh volume...", "OK"}));
}

// The panel shown over a Dravo whose LCD Contrast byte holds 6.
int ShowWithContrastSix(Rig& r) {
  const int address = r.Address("LCD Contrast");
  std::vector<uint8_t> memory = r.Bytes();
  memory[static_cast<size_t>(address)] = 0x06;
  r.Sim().SetMemory(memory);
  r.Show();
  return address;
}

TEST(EngineeringPanel, ContrastIsReadOnShowingAndWrittenToRadioAndImage) {
  Rig r("Dravo");
  const int address = ShowWithContrastSix(r);
  EXPECT_EQ(r.Text("edtLCDContrast"), "06");
  r.Sim().ClearRequests();
  auto* edit = r.Find<QLineEdit>("edtLCDContrast");
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Up);  // 4 -> 5
  EXPECT_EQ(r.Text("edtLCDContrast"), "5");
  r.Click("btnSetContrast");
  EXPECT_EQ(r.Sim().MemoryByte(address), 5);
  EXPECT_EQ(r.Byte("LCD Contrast"), 5);
  EXPECT_EQ(r.Find<QPlainTextEdit>("memoEng")->toPlainText().split('\n').back(),
            "Wrote contrast - now reset radio");
}

TEST(EngineeringPanel, ContrastTheRadioDidNotTakeLeavesTheImageAlone) {
  Rig r("Dravo");
  const int address = ShowWithContrastSix(r);
  const std::vector<uint8_t> before = r.Bytes();
  SimFaults f;
  f.silentAfter = 0;
  r.Sim().SetFaults(f);
  auto* edit = r.Find<QLineEdit>("edtLCDContrast");
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Up);
  r.Click("btnSetContrast");
  EXPECT_EQ(r.Find<QPlainTextEdit>("memoEng")->toPlainText().split('\n').back(),
            "Failed to write contrast");
  EXPECT_EQ(r.Sim().MemoryByte(address), 0x06);
  EXPECT_EQ(r.Bytes(), before);
}

TEST(EngineeringPanel, RadioBaudRateAndPcBaudRateAreSetApart) {
  Panel p("Pinto");  // a model that switches rates
  p.Sim().SetCheckLineRate(true);
  auto* combo = p.Find<QComboBox>("cbBaudRate");
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);  // 19200
  p.Click("btnSetRadioBaudRate");
  EXPECT_EQ(Log(p), (QStringList{"Set radio to new baud-rate"}));
  ASSERT_TRUE(Rig::WaitFor([&] { return p.Sim().LineRate() == 19200; }));
  // The PC side stays at 9600 until told: the radio cannot hear it.
  p.Click("btnSetWideband");
  EXPECT_EQ(Log(p), (QStringList{"Setting to Wideband...", "failed"}));
  p.Click("btnSetPCBaudRate");
  EXPECT_EQ(Log(p), (QStringList{"Set PC to baud-rate"}));
  p.Click("btnSetWideband");
  EXPECT_EQ(Log(p), (QStringList{"Setting to Wideband...", "OK"}));
  EXPECT_TRUE(p.Sim().State().wideband);
}

TEST(EngineeringPanel, AdPollingShowsBothReadingsOrDashes) {
  Panel p;
  p.Click("chkADPolling");
  ASSERT_TRUE(Rig::WaitFor([&] { return !p.Text("editRSSI").isEmpty(); }));
  bool ok = false;
  EXPECT_GE(p.Text("editNoisevolts").toInt(&ok), 0);
  EXPECT_TRUE(ok);
  p.Text("editRSSI").toInt(&ok);
  EXPECT_TRUE(ok);
  SimFaults f;
  f.silentAfter = 0;
  p.Sim().SetFaults(f);
  ASSERT_TRUE(Rig::WaitFor([&] { return p.Text("editRSSI") == "-"; }));
  EXPECT_EQ(p.Text("editNoisevolts"), "-");
  // Closing stops the polling.
  p.Click("btnClose");
  EXPECT_FALSE(p.Window().isVisible());
  p.Sim().ClearRequests();
  QTest::qWait(500);
  EXPECT_TRUE(p.Sim().Requests().empty());
}

TEST(EngineeringPanel, CommandsWaitForThePortCheckAndSendNothingWithoutAPort) {
  Rig r("Kestal");
  r.portOpens = false;
  r.Show();
  EXPECT_EQ(r.Text("edtVolume"), "0");
  r.portChecks = 0;
  r.Click("btnSetWideband");
  EXPECT_EQ(r.Find<QPlainTextEdit>("memoEng")->toPlainText(), "Setting to Wideband...\nfailed");
  EXPECT_EQ(r.portChecks, 1);
  EXPECT_TRUE(r.Sim().Requests().empty());
}

TEST(EngineeringPanel, KeyboardAndScreenReader) {
  Panel p;
  ExpectAccessibleNames(p.Window());
  ExpectAccessibleNames(p.Window().SamplesChart());
  QTest::keyClick(&p.Window(), Qt::Key_Escape);
  EXPECT_FALSE(p.Window().isVisible());
}

// What one way of using a control left behind: the requests sent, the
// check mark and the log.
struct Outcome {
  std::vector<std::vector<uint8_t>> sent;
  bool checked = false;
  QString log;
  bool operator==(const Outcome&) const = default;
};

Outcome Use(const QString& name, const std::function<void(QAbstractButton*)>& use) {
  Panel p;
  auto* button = p.Find<QAbstractButton>(name.toLatin1().constData());
  use(button);
  return {p.Payloads(), button->isChecked(), p.Find<QPlainTextEdit>("memoEng")->toPlainText()};
}

TEST(EngineeringPanel, EveryCheckableToggledThroughAccessibilityDoesWhatAClickDoes) {
  QStringList names;
  {
    Panel p;
    for (QAbstractButton* b : keyboard_check::CheckableControls(&p.Window()))
      names << b->objectName();
  }
  ASSERT_TRUE(names.contains("chkTestMode"));
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const Outcome clicked = Use(name, [](QAbstractButton* b) {
      QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    });
    const Outcome toggled = Use(name, [](QAbstractButton* b) {
      ASSERT_TRUE(keyboard_check::ToggleByAccessibility(b));
    });
    EXPECT_NE(clicked.checked, Panel().Find<QAbstractButton>(name.toLatin1().constData())->isChecked());
    EXPECT_EQ(toggled.checked, clicked.checked);
    EXPECT_EQ(toggled.sent, clicked.sent);
    EXPECT_EQ(toggled.log, clicked.log);
  }
}

TEST(EngineeringPanel, TestModeToggledWithoutAClickReachesTheRadio) {
  Panel p;
  auto* box = p.Find<QCheckBox>("chkTestMode");
  ASSERT_TRUE(keyboard_check::ToggleByAccessibility(box));
  EXPECT_EQ(p.Sim().State().testMode, 1);
  box->setChecked(false);
  EXPECT_EQ(p.Sim().State().testMode, 0);
}

// Enter in the raw-command box sends that command, as its button does;
// Enter in any other field sends nothing (no "+" pressed behind it). The
// button's own command after each Enter marks the end of what it sent.
TEST(EngineeringPanel, EnterInAFieldSendsOnlyThatFieldsOwnCommand) {
  Panel p;
  p.Type("edtSendVornII", "01 02 0A");
  p.Sim().ClearRequests();
  p.Click("btnSendVornIICommand");
  ASSERT_TRUE(p.Sim().WaitForRequests(1, 2000));
  const std::vector<uint8_t> raw = p.Payloads().at(0);
  const QList<QWidget*> fields = keyboard_check::TextFields(&p.Window());
  ASSERT_GE(fields.size(), 4);
  for (QWidget* field : fields) {
    SCOPED_TRACE(field->objectName().toStdString());
    p.Sim().ClearRequests();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    const bool own = field->objectName() == "edtSendVornII";
    p.Click("btnSendVornIICommand");
    ASSERT_TRUE(p.Sim().WaitForRequests(own ? 2 : 1, 2000));
    EXPECT_EQ(p.Payloads(), (std::vector<std::vector<uint8_t>>(own ? 2 : 1, raw)));
  }
}

TEST(EngineeringPanel, TheTransmitStateIsReadOutWithItsText) {
  Panel p;
  EXPECT_EQ(keyboard_check::LabelsHidingTheirText(&p.Window()).join("\n").toStdString(), "");
  EXPECT_EQ(keyboard_check::AccessibleName(p.Find<QLabel>("lblTxRx")), "Transmit state: RECEIVE");
}

}  // namespace
