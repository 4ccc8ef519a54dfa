// The main window's Channels and Scan/Duplex commands open their editors,
// modally, once the program's windows are plugged in.
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "programwindows.h"

namespace {

// Names the modal window that opens and closes it with Escape.
QString CloseNextModal(const std::function<void()>& open) {
  QString seen;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || !seen.isEmpty()) return;
    seen = dialog->objectName();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  poll.start(5);
  open();
  return seen;
}

TEST_F(AppFixture, ChannelsAndScanButtonsOpenTheirEditors) {
  Start();
  WriteFile(Path("van.mem"), Image(0x5A02));
  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();
  new ProgramWindows(Window());
  const QByteArray before(reinterpret_cast<const char*>(Window().Shared().image.Data()), 2048);

  EXPECT_EQ(CloseNextModal([&] { QTest::mouseClick(Button("btnChannelData"), Qt::LeftButton); }),
            "TfrmRxChData");
  EXPECT_EQ(CloseNextModal([&] { QTest::mouseClick(Button("btnScan"), Qt::LeftButton); }),
            "TfrmScan");
  EXPECT_EQ(CloseNextModal([&] { Action("mnuEditScan")->trigger(); }), "TfrmScan");
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Window().Shared().image.Data()), 2048),
            before);
}

}  // namespace
