// The main window's EEPROM command (engineering build) opens the EEPROM
// window over the application image, modally, after the port check; OK
// brings the edited grid into the image and the status bar stops calling
// it the loaded file.
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "frmeepromedit.h"
#include "programwindows.h"

namespace {

TEST_F(AppFixture, TheEepromButtonAndMenuItemOpenTheEepromWindowOverTheImage) {
  Start(BuildConfig::ForFamily("Kestal", true));
  WriteFile(Path("kestal.mem"), Image(0x5A02));
  chooser.answers = {Path("kestal.mem")};
  Action("mnuReadFile")->trigger();
  new ProgramWindows(Window());
  ASSERT_TRUE(Button("btnEEPROM")->isVisible());
  boxes.Take();  // the port check's, with no serial device here

  QStringList seen;
  QString productName, firstByte;
  bool handling = false;  // one answer per showing
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->objectName() != "frmEEpromEdit") {
      handling = false;
      return;
    }
    if (handling) return;
    handling = true;
    seen << dialog->objectName();
    auto* grid = dialog->findChild<QTableWidget*>("sg_eeprom");
    productName = grid->item(0, 1)->text();
    firstByte = grid->item(0, 3)->text();
    grid->item(1, 4)->setText("77");  // address 3, decimal
    if (seen.size() == 1)
      QTest::mouseClick(dialog->findChild<QWidget*>("btnOK"), Qt::LeftButton);
    else
      QTest::keyClick(dialog, Qt::Key_Escape);
  });
  poll.start(5);

  EXPECT_EQ(Window().StatusText(3), "File: " + Path("kestal.mem"));
  QTest::mouseClick(Button("btnEEPROM"), Qt::LeftButton);
  EXPECT_EQ(seen, QStringList{"frmEEpromEdit"});
  EXPECT_EQ(Window().StatusText(3), "Current (or modified) radio data loaded.");
  EXPECT_EQ(productName, "Product ID");
  EXPECT_EQ(firstByte, "90");  // 0x5A
  EXPECT_EQ(Window().Shared().image.GetByte(3), 77);

  Window().Shared().image.SetByte(3, 5);
  // The first showing is over; no tick need have seen it gone.
  handling = false;
  Action("mnuEditEeprom")->trigger();  // Escape this time: the image stays
  EXPECT_EQ(seen, (QStringList{"frmEEpromEdit", "frmEEpromEdit"}));
  EXPECT_EQ(Window().Shared().image.GetByte(3), 5);
}

// OK over a grid that changes nothing leaves the file loaded as it was.
TEST_F(AppFixture, OkWithoutAChangeKeepsTheFileAsLoaded) {
  Start(BuildConfig::ForFamily("Kestal", true));
  WriteFile(Path("kestal.mem"), Image(0x5A02));
  chooser.answers = {Path("kestal.mem")};
  Action("mnuReadFile")->trigger();
  new ProgramWindows(Window());
  boxes.Take();
  bool pressed = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (pressed || !dialog || dialog->objectName() != "frmEEpromEdit") return;
    pressed = true;
    QTest::mouseClick(dialog->findChild<QWidget*>("btnOK"), Qt::LeftButton);
  });
  poll.start(5);
  QTest::mouseClick(Button("btnEEPROM"), Qt::LeftButton);
  EXPECT_TRUE(pressed);
  EXPECT_EQ(Window().StatusText(3), "File: " + Path("kestal.mem"));
}

}  // namespace
