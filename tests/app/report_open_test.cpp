// The main window's "Print..." item opens the report of the loaded image.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app_fixture.h"
#include "programwindows.h"

namespace {

TEST_F(AppFixture, PrintItemOpensTheReportOfTheLoadedFile) {
  Start();
  WriteFile(Path("van.mem"), Image(0x5A02));
  new ProgramWindows(Window());
  const auto openReport = [this] {
    QString title, text;
    QTimer::singleShot(0, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w) return;
      title = w->windowTitle();
      if (auto* memo = w->findChild<QPlainTextEdit*>("memo_report")) text = memo->toPlainText();
      if (auto* close = w->findChild<QPushButton*>("btnClose")) close->click();
    });
    Action("mnuPrint")->trigger();
    EXPECT_EQ(title, "Report");
    return text;
  };

  // Nothing loaded yet: no data-source line.
  const QString empty = openReport();
  EXPECT_TRUE(empty.startsWith("Vorn Kestal Report\n")) << empty.toStdString();
  EXPECT_FALSE(empty.contains("File: "));
  EXPECT_FALSE(empty.contains("Radio: "));

  chooser.answers = {Path("van.mem")};
  Action("mnuReadFile")->trigger();
  const QString loaded = openReport();
  EXPECT_TRUE(loaded.contains("\nKestal\n")) << loaded.toStdString();
  EXPECT_TRUE(loaded.contains("\nFile: " + Path("van.mem") + "\n")) << loaded.toStdString();
}

}  // namespace
