// The squelch and options windows through the real main window: its
// buttons and menu items open them modally, and "Write contrast" uses the
// main window's port check, so it waits for a transfer that is still
// finishing before it talks to the radio.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app_fixture.h"
#include "frmhardware.h"
#include "frmreadwrite.h"
#include "params.h"
#include "programwindows.h"
#include "transferflows.h"
#include "transfer_rig.h"

namespace {

// Runs `onModal` once a modal window with this name is up, then closes it
// with Cancel (reject); records which windows came up.
class ModalWatcher {
 public:
  ModalWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(5);
  }
  std::function<void(QDialog&)> onModal;
  QStringList seen;

 private:
  void Poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    // Message boxes are the answerer's; the progress dialog is the transfer's.
    if (!dialog || !dialog->isVisible() || !dialog->objectName().startsWith("frm") ||
        dialog->objectName() == "frmReadWrite")
      return;
    seen << dialog->objectName();
    if (onModal) onModal(*dialog);
    dialog->reject();
  }
  QTimer timer_;
};

class EditorWindows : public AppFixture {
 protected:
  void LoadFile(const std::vector<uint8_t>& bytes) {
    WriteFile(Path("radio.mem"),
              QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    chooser.answers = {Path("radio.mem")};
    QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  }
};

TEST_F(EditorWindows, TheButtonsAndMenuItemsOpenTheirWindows) {
  Start();
  new ProgramWindows(Window());
  std::vector<uint8_t> image = RandomBytes(3);
  PutProductId(image, 0, kProductKestal);
  LoadFile(image);
  ASSERT_TRUE(Button("btnOptions")->isEnabled());

  ModalWatcher watcher;
  QTest::mouseClick(Button("btnSquelch"), Qt::LeftButton);
  QTest::mouseClick(Button("btnOptions"), Qt::LeftButton);
  Action("mnuEditSquelch")->trigger();
  Action("mnuEditOptions")->trigger();
  EXPECT_EQ(watcher.seen, QStringList({"frmSquelch", "frmOptions", "frmSquelch", "frmOptions"}));

  // Built with the others, opened by nothing.
  auto* hardware = Window().findChild<TfrmHardware*>();
  ASSERT_NE(hardware, nullptr);
  EXPECT_FALSE(hardware->isVisible());
  EXPECT_EQ(hardware->windowTitle(), "Hardware");
}

TEST_F(EditorWindows, WriteContrastWaitsForAFinishingReadAndThenReachesTheRadio) {
  const BuildConfig dravo = BuildConfig::ForFamily("Dravo", false);
  SimulatedRadio sim(dravo.productId);
  ASSERT_TRUE(sim.Start());
  std::vector<uint8_t> memory = RandomBytes(11);
  PutProductId(memory, 0, kProductDravo);
  memory[static_cast<size_t>(ParamAddressOf(kProductDravo, kParamLcdContrast))] = 3;
  sim.SetMemory(memory);
  extraDevices = {sim.DevicePath()};
  sessionPort = 97;
  Start(dravo);
  new ProgramWindows(Window());
  LoadFile(memory);
  ASSERT_TRUE(Button("btnOptions")->isEnabled());
  sim.ClearRequests();

  // A slow read, cancelled: its worker still finishes its block and resets
  // the radio after the progress dialog has closed.
  SimFaults paced;
  paced.pace = true;
  sim.SetFaults(paced);
  bool workerRunning = false;
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [&] {
    TfrmReadWrite& progress = Window().ReadWriteDialog();
    if (!progress.isVisible() || progress.findChild<QProgressBar*>("gaugeProgress")->value() < 32)
      return;
    canceller.stop();
    QTest::mouseClick(progress.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    // At once, while the worker still runs: the options and its write.
    workerRunning = Window().Flows().Worker().IsRunning();
    QTimer::singleShot(0, [this] { QTest::mouseClick(Button("btnOptions"), Qt::LeftButton); });
  });
  canceller.start(3);

  QString shown;
  ModalWatcher watcher;
  watcher.onModal = [&](QDialog& options) {
    shown = options.findChild<QLineEdit*>("edtLCDContrast")->text();
    QWidget* upDown = options.findChild<QWidget*>("udLCDContrast");
    upDown->setFocus();
    QTest::keyClick(upDown, Qt::Key_Up);
    QTest::mouseClick(options.findChild<QPushButton*>("btnUpdateContrast"), Qt::LeftButton);
  };
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  QElapsedTimer clock;
  clock.start();
  while (watcher.seen.isEmpty() && clock.elapsed() < 20000) QTest::qWait(10);

  EXPECT_TRUE(workerRunning) << "the write was asked for while the read still finished";
  ASSERT_EQ(watcher.seen, QStringList{"frmOptions"});
  EXPECT_EQ(shown, "6");
  const int address = ParamAddressOf(kProductDravo, kParamLcdContrast);
  EXPECT_EQ(sim.MemoryByte(address), 2);  // 9 - 7
  EXPECT_EQ(Window().Shared().image.GetByte(address), 2) << "kept after Cancel";

  // The read's own reset comes first; the contrast write and its reset after.
  const std::vector<Req> log = Summarise(sim.Requests());
  ASSERT_GE(log.size(), 3u);
  const std::vector<Req> tail(log.end() - 3, log.end());
  EXPECT_EQ(tail, (std::vector<Req>{{OP_RESET}, {OP_WRITE_BYTE, address}, {OP_RESET}}));
  EXPECT_TRUE(boxes.Take().size() <= 1) << "at most the read's question";
}

}  // namespace
