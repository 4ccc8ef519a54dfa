// Every way of using a window's controls does the same: a check mark
// changed through the accessibility interface's toggle action (as an
// assistive tool does, without a mouse or key event) leaves the window, the
// memory image and the wire as a mouse click does. The windows are built
// twice over one main window and its simulated radio: one is clicked, its
// twin toggled, control by control.
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app_fixture.h"
#include "frmautodetect.h"
#include "bytemonitorform.h"
#include "frmports.h"
#include "windowcontext.h"
#include "frmctcss.h"
#include "frmeepromedit.h"
#include "frmengoptions.h"
#include "frmoptions.h"
#include "frmreadwrite.h"
#include "frmreport.h"
#include "frmsquelch.h"
#include "keyboard_check.h"
#include "transferflows.h"
#include "frmrxchdata.h"
#include "frmscan.h"
#include "frmselcallidents.h"
#include "frmselcall.h"
#include "simimage.h"
#include "simradio.h"
#include "vorniipacketmonitor.h"
#include "vornipacketmonitor.h"

namespace {

using Maker = std::function<QDialog*(WindowContext&, TfrmMain&)>;

struct WindowCase {
  const char* name;
  Maker make;
};

QDialog* WithSource(TfrmEEpromEdit* window, EEPROM& image) {
  window->SetSource(&image);
  return window;
}

// The windows with check boxes, radio buttons or toggle buttons.
const WindowCase kWindows[] = {
    {"Options", [](WindowContext& c, TfrmMain& m) { return new TfrmOptions(c, &m); }},
    {"Scan", [](WindowContext& c, TfrmMain& m) { return new TfrmScan(c, &m); }},
    {"Ctcss", [](WindowContext& c, TfrmMain& m) { return new TfrmCtcss(c, &m); }},
    {"Selcall",
     [](WindowContext& c, TfrmMain& m) {
       return new TfrmSelcall(c, *new TfrmSelcallIdents(c, &m), &m);
     }},
    {"Report",
     [](WindowContext& c, TfrmMain& m) { return new TfrmReport(c, [] { return ReportSource{}; }, &m); }},
    {"EngOptions", [](WindowContext& c, TfrmMain& m) { return new TfrmEngOptions(c, &m); }},
    {"ByteMonitor", [](WindowContext&, TfrmMain& m) { return new TbyteMonitorForm(m.Shared().port, &m); }},
    {"Eeprom",
     [](WindowContext& c, TfrmMain& m) {
       return WithSource(new TfrmEEpromEdit(c, m.Flows().Lane(), &m), m.Shared().image);
     }},
};

// The others: named, reached by Tab and speaking what they show too.
const WindowCase kOtherWindows[] = {
    {"Squelch", [](WindowContext& c, TfrmMain& m) { return new TfrmSquelch(c, &m); }},
    {"ChannelData", [](WindowContext& c, TfrmMain& m) { return new TfrmRxChData(c, &m); }},
    {"SelcallIdents", [](WindowContext& c, TfrmMain& m) { return new TfrmSelcallIdents(c, &m); }},
    {"Ports",
     [](WindowContext&, TfrmMain& m) {
       return new TfrmPorts(m.Build(), m.Shared().port.Ports(), &m);
     }},
    {"AutoDetect",
     [](WindowContext&, TfrmMain& m) { return new TfrmAutoDetect(m.Build(), m.Shared(), &m); }},
    {"VornIMonitor",
     [](WindowContext&, TfrmMain& m) {
       return new TvornIPacketMonitorForm(m.Shared().radio.ProtocolI(), &m);
     }},
    {"VornIIMonitor",
     [](WindowContext&, TfrmMain& m) {
       return new TvornIIPacketMonitorForm(m.Shared().radio.ProtocolII(), &m);
     }},
    {"Progress",
     [](WindowContext&, TfrmMain& m) {
       auto* progress = new TfrmReadWrite(&m);
       progress->SetActionText("Reading radio memory");
       return progress;
     }},
};

std::string Lines(const QStringList& lines) { return lines.join("\n").toStdString(); }

QPushButton* OkButton(QDialog* window) {
  for (QPushButton* b : window->findChildren<QPushButton*>())
    if (b->text().remove('&') == "OK") return b;
  return nullptr;
}

class EveryWay : public AppFixture {
 protected:
  // The main window on the simulated radio, with the model's fresh image.
  void StartOnRadio() {
    radio_ = std::make_unique<SimulatedRadio>(kProductKestal);
    ASSERT_TRUE(radio_->Start());
    extraDevices = {radio_->DevicePath()};
    sessionPort = 97;
    Start(BuildConfig::ForFamily("Kestal", true));
    ASSERT_TRUE(Window().Shared().port.IsOpen());
    MakeDefaultImage(kProductKestal, Window().Shared().image);
    context_ = std::make_unique<WindowContext>(WindowContext{
        Window().Build(), Window().Shared(), true, [this] { return Window().PortCheck(); }});
  }
  QDialog* Make(const WindowCase& c) {
    QDialog* window = c.make(*context_, Window());
    window->show();
    QApplication::processEvents();
    return window;
  }
  // What reached the radio since the last call.
  std::vector<std::vector<uint8_t>> Sent() {
    std::vector<std::vector<uint8_t>> sent;
    for (const SimRequest& r : radio_->Requests()) sent.push_back(r.payload);
    radio_->ClearRequests();
    return sent;
  }
  std::vector<uint8_t> ImageBytes() {
    const EEPROM& image = Window().Shared().image;
    return {image.Data(), image.Data() + kImageSize};
  }

  std::unique_ptr<SimulatedRadio> radio_;
  std::unique_ptr<WindowContext> context_;
};

class ToggleEveryWay : public EveryWay, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(ToggleEveryWay, ToggledThroughAccessibilityEachControlDoesWhatAClickDoes) {
  StartOnRadio();
  QDialog* clicked = Make(GetParam());
  QDialog* toggled = Make(GetParam());
  const std::vector<uint8_t> before = ImageBytes();
  Sent();
  boxes.Take();
  ASSERT_EQ(Lines(keyboard_check::ControlStates(clicked)),
            Lines(keyboard_check::ControlStates(toggled)));
  const QList<QAbstractButton*> mouse = keyboard_check::AllCheckableControls(clicked);
  const QList<QAbstractButton*> assistive = keyboard_check::AllCheckableControls(toggled);
  ASSERT_FALSE(mouse.isEmpty());
  ASSERT_EQ(mouse.size(), assistive.size());
  int used = 0;
  for (int i = 0; i < mouse.size(); ++i) {
    QAbstractButton* a = mouse[i];
    QAbstractButton* b = assistive[i];
    SCOPED_TRACE(keyboard_check::Describe(a).toStdString());
    keyboard_check::Reveal(a);
    keyboard_check::Reveal(b);
    if (!a->isVisibleTo(clicked) || !a->isEnabled()) continue;
    const bool was = a->isChecked();
    QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(qMin(6, a->width() / 2), a->height() / 2));
    const auto sentByClick = Sent();
    const auto boxesByClick = boxes.Take();
    ASSERT_TRUE(keyboard_check::ToggleByAccessibility(b));
    const auto sentByToggle = Sent();
    const auto boxesByToggle = boxes.Take();
    if (a->isChecked() != was) ++used;
    EXPECT_EQ(Lines(keyboard_check::ControlStates(toggled)),
              Lines(keyboard_check::ControlStates(clicked)));
    EXPECT_EQ(sentByToggle, sentByClick);
    ASSERT_EQ(boxesByToggle.size(), boxesByClick.size());
    for (size_t k = 0; k < boxesByClick.size(); ++k)
      EXPECT_EQ(boxesByToggle[k].text, boxesByClick[k].text);
  }
  EXPECT_GT(used, 0);
  // What each window keeps on OK is the same too.
  if (QPushButton* ok = OkButton(clicked)) {
    QTest::mouseClick(ok, Qt::LeftButton);
    const std::vector<uint8_t> byClicks = ImageBytes();
    Window().Shared().image.WriteBlock(0, before.data(), kImageSize);
    QTest::mouseClick(OkButton(toggled), Qt::LeftButton);
    EXPECT_EQ(ImageBytes(), byClicks);
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, ToggleEveryWay, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

class SpokenEveryWay : public EveryWay, public ::testing::WithParamInterface<WindowCase> {};

// A keyboard and screen-reader user meets every control by name and hears
// every label's current text.
TEST_P(SpokenEveryWay, NamesEveryControlAndSpeaksWhatItsLabelsShow) {
  StartOnRadio();
  QDialog* window = Make(GetParam());
  EXPECT_EQ(Lines(keyboard_check::UnnamedControls(window)), "");
  EXPECT_EQ(Lines(keyboard_check::InputsTabCannotReach(window)), "");
  EXPECT_EQ(Lines(keyboard_check::LabelsHidingTheirText(window)), "");
  EXPECT_EQ(Lines(keyboard_check::SharedAccessKeys(window)), "");
}

INSTANTIATE_TEST_SUITE_P(Toggling, SpokenEveryWay, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Others, SpokenEveryWay, ::testing::ValuesIn(kOtherWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
