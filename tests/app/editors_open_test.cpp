// The main window's edit buttons open the program's editor windows.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "programwindows.h"

namespace {

TEST_F(AppFixture, CtcssButtonOpensCtcssSetupOnTheLoadedImage) {
  Start();
  WriteFile(Path("van.mem"), Image(0x5A02));  // "Tx CTCSS Tone" 136: DCS 86
  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();
  new ProgramWindows(Window());

  QString title, tone;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    title = w->windowTitle();
    if (auto* box = w->findChild<QComboBox*>("cmbTxCtcss")) tone = box->currentText();
    if (auto* ok = w->findChild<QPushButton*>("OKBtn")) ok->click();
  });
  QTest::mouseClick(Button("btnCTCSS"), Qt::LeftButton);
  EXPECT_EQ(title, "CTCSS Setup");
  EXPECT_EQ(tone, "DT086 - 546");
  // OK stored the Tx code as the Rx code too.
  EXPECT_EQ(Window().Shared().image.GetByte(57), 136);
}

}  // namespace
