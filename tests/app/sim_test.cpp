// The main window against the simulated radio: the session-only port of
// --simulate and the product-ID check.
#include <QLabel>
#include <QTest>

#include "accessibility_events.h"
#include "app_fixture.h"
#include "keyboard_check.h"
#include "progress.h"
#include "simradio.h"
#include "simulation.h"
#include "wait_for.h"

namespace {

TEST_F(AppFixture, SimulatedRadioPortIsUsedForThisRunOnly) {
  Store("ComPort", 5);
  SimulatedRadio radio(0x5A02);
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  sessionPort = 97;
  const std::vector<SeenBox> seen = Start();
  EXPECT_TRUE(seen.empty());  // a first run: the port opens and no default file is missing
  EXPECT_EQ(Window().PortNumber(), 97);
  EXPECT_EQ(Window().StatusText(0), "COM97");
  EXPECT_EQ(Window().StatusText(1), "Open");
  CloseWindow();
  EXPECT_EQ(Stored("ComPort").toInt(), 5);
}

// The lead pulled while nothing is being sent: the status bar says the port
// is closed as soon as the device has gone, in words and to a screen reader.
TEST_F(AppFixture, AVanishedDeviceShowsThePortClosed) {
  SimulatedRadio radio(0x5A02);
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  sessionPort = 97;
  Start();
  auto panel = [&] { return Window().findChild<QLabel*>("StatusPanel1"); };
  ASSERT_EQ(Window().StatusText(1), "Open");
  EXPECT_EQ(keyboard_check::AccessibleName(panel()), "Port state: Open");

  AccessibilityEvents events;
  radio.Stop();
  ASSERT_TRUE(WaitFor([&] { return Window().StatusText(1) == "Not open"; }))
      << Window().StatusText(1).toStdString();
  // And it is said at once, not left for the next command to find.
  auto* notice = Window().findChild<QLabel*>("StatusNotice");
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->text().toStdString(), PortLostText("COM97"));
  EXPECT_TRUE(notice->isVisibleTo(&Window()));
  EXPECT_TRUE(events.Alerted(notice));
  // (its tip, the whole text, comes after as its description)
  ASSERT_FALSE(events.Alerts().isEmpty());
  EXPECT_TRUE(events.Alerts().last().startsWith("Notice: " + notice->text()))
      << events.Alerts().join("\n").toStdString();
  EXPECT_EQ(keyboard_check::AccessibleName(panel()), "Port state: Not open");
  EXPECT_FALSE(Window().Shared().port.IsOpen());
  EXPECT_EQ(Window().StatusText(0), "COM97");
}

TEST_F(AppFixture, SimulationSessionAddsItsDeviceToThePortMap) {
  SimulationSession session;
  Start();
  std::string error;
  const int number = session.Start(Kestal(), Window().Shared().port, error);
  EXPECT_GE(number, 97) << error;
  ASSERT_NE(session.Radio(), nullptr);
  EXPECT_EQ(Window().Shared().port.Ports().DevicePath(number), session.Radio()->DevicePath());
  EXPECT_EQ(session.Radio()->ProductId(), 0x5A02u);
}

struct RadioCase {
  uint32_t productId;
  bool accepted;
  QString message;
};

class ProductIdCheck : public AppFixture, public ::testing::WithParamInterface<RadioCase> {};

TEST_P(ProductIdCheck, AcceptsOnlyTheBuildsModel) {
  // An erased radio answers 0xFFFF, which names no model.
  const bool erased = GetParam().productId == 0xFFFF;
  SimulatedRadio radio(erased ? kProductKestal : GetParam().productId);
  if (erased) radio.SetMemory(std::vector<uint8_t>(kImageSize, 0xFF));
  ASSERT_TRUE(radio.Start());
  extraDevices = {radio.DevicePath()};
  sessionPort = 97;
  Start();
  const TfrmMain::ProductIdCheck check = Window().CheckProductId();
  EXPECT_EQ(check.ok, GetParam().accepted);
  if (check.ok) {
    EXPECT_EQ(check.productId, static_cast<int>(GetParam().productId));
  }
  const std::vector<SeenBox> seen = boxes.Take();
  if (GetParam().accepted) {
    EXPECT_TRUE(seen.empty());
  } else {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, GetParam().message);
    EXPECT_EQ(seen[0].caption, "Checking Product ID");
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  }
}

INSTANTIATE_TEST_SUITE_P(Radios, ProductIdCheck,
                         ::testing::Values(RadioCase{0x5A02, true, ""},
                                           RadioCase{0x5A01, false, "Incorrect radio type (5A01)"},
                                           RadioCase{0xFFFF, false, "Incorrect radio type (FFFF)"}));

}  // namespace
