// The main window's status bar: four panels that keep their place and
// their text, and a notice beside them that a screen reader hears whole.
#include <QAccessible>
#include <QLabel>
#include <QTest>

#include "app_fixture.h"
#include "bytetrace.h"
#include "file_size_limit.h"
#include "mainstatusbar.h"

namespace {

QString SpokenName(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face ? face->text(QAccessible::Name) : QString();
}

QStringList PanelTexts(const MainStatusBar& bar) {
  QStringList texts;
  for (int i = 0; i < MainStatusBar::kPanelCount; ++i) texts << bar.PanelText(i);
  return texts;
}

class StatusBarAlone : public ::testing::Test {
 protected:
  StatusBarAlone() {
    bar.resize(800, 20);
    bar.ShowPort(97, true);
    bar.ShowRadio("Radio: QP0417 2.00");
    bar.ShowData(kRadioData, QString());
    bar.show();
  }
  MainStatusBar bar;
  const QStringList panels{"COM97", "Open", "Radio: QP0417 2.00",
                           "Current (or modified) radio data loaded."};
};

TEST_F(StatusBarAlone, PanelsSayTheirRoleAndTheirText) {
  EXPECT_EQ(PanelTexts(bar), panels);
  const QStringList spoken = {"Port: COM97", "Port state: Open", "Radio: QP0417 2.00",
                              "Data: Current (or modified) radio data loaded."};
  for (int i = 0; i < MainStatusBar::kPanelCount; ++i)
    EXPECT_EQ(SpokenName(bar.findChild<QLabel*>(QString("StatusPanel%1").arg(i))), spoken[i]);
  bar.ShowRadio(QString());
  EXPECT_EQ(bar.PanelText(MainStatusBar::kRadioPanel), "");
  EXPECT_EQ(SpokenName(bar.findChild<QLabel*>("StatusPanel2")), "Radio");
}

TEST_F(StatusBarAlone, TheNoticeAppearsBesideThePanelsAndIsHeardWhole) {
  EXPECT_TRUE(bar.NoticePanel()->isHidden());
  EXPECT_EQ(bar.NoticeText(), "");
  const QString text = "Unable to write the trace file /t.txt: File too large.";
  bar.ShowNotice(text);
  EXPECT_TRUE(bar.NoticePanel()->isVisible());
  EXPECT_EQ(bar.NoticeText(), text);
  EXPECT_EQ(SpokenName(bar.NoticePanel()), "Notice: " + text);
  EXPECT_EQ(bar.NoticePanel()->toolTip(), text);
  EXPECT_EQ(PanelTexts(bar), panels);
  for (int i = 0; i < MainStatusBar::kPanelCount; ++i)
    EXPECT_TRUE(bar.findChild<QLabel*>(QString("StatusPanel%1").arg(i))->isVisible()) << i;
  EXPECT_EQ(bar.currentMessage(), "") << "no message covers the panels";
}

TEST_F(StatusBarAlone, ANoticeForAWhileGivesWayToTheLastingOne) {
  bar.ShowNoticeFor("The read was not archived: disk full", 1);
  EXPECT_EQ(bar.NoticeText(), "The read was not archived: disk full");
  QTRY_VERIFY(bar.NoticePanel()->isHidden());
  EXPECT_EQ(bar.NoticeText(), "");

  bar.ShowNotice("The trace stops here");
  bar.ShowNoticeFor("The read was not archived: disk full", 1);
  EXPECT_EQ(bar.NoticeText(), "The read was not archived: disk full");
  QTRY_COMPARE(bar.NoticeText(), QString("The trace stops here"));
  EXPECT_EQ(SpokenName(bar.NoticePanel()), "Notice: The trace stops here");
}

TEST_F(StatusBarAlone, LongFileNamesShowByTheirEnd) {
  const QString longName = "/home/dealer/" + QString(100, 'n') + ".mem";
  bar.ShowData(kFileData, longName);
  EXPECT_EQ(bar.PanelText(MainStatusBar::kDataPanel), "File: ..." + longName.right(85));
  bar.ShowData(kNothingLoaded, longName);
  EXPECT_EQ(bar.PanelText(MainStatusBar::kDataPanel), "No data loaded.");
}

// "--trace FILE" on a full disk: the window says so in the notice and the
// port, its state, the radio and the data stay in view.
TEST_F(AppFixture, ATraceThatCannotBeWrittenKeepsTheFourPanels) {
#if defined(__SANITIZE_ADDRESS__)
  // Under AddressSanitizer a file-size limit set inside a process whose
  // radio, port and window threads are running ends the process instead
  // of failing the one write; the normal build runs this test.
  GTEST_SKIP() << "file-size limit inside a running window under AddressSanitizer";
#endif
  Start();
  const QStringList before = {Window().StatusText(0), Window().StatusText(1),
                              Window().StatusText(2), Window().StatusText(3)};
  ASSERT_EQ(before[3], "No data loaded.");
  ByteTrace trace;
  const std::string path = Path("trace.txt").toStdString();
  {
    const FileSizeLimit full(0);
    std::string error;
    ASSERT_TRUE(trace.Open(path, "kestal-programmer", error)) << error;
  }
  Window().ReportTraceFailures(trace);
  MainStatusBar& bar = Window().StatusBar();
  QTRY_VERIFY(!bar.NoticeText().isEmpty());
  const QString said = QString::fromStdString(TraceFailureText(path, EFBIG));
  EXPECT_EQ(bar.NoticeText(), said);
  EXPECT_EQ(SpokenName(bar.NoticePanel()), "Notice: " + said);
  const QStringList after = {Window().StatusText(0), Window().StatusText(1),
                             Window().StatusText(2), Window().StatusText(3)};
  EXPECT_EQ(after, before);
  for (int i = 0; i < MainStatusBar::kPanelCount; ++i)
    EXPECT_TRUE(Window().findChild<QLabel*>(QString("StatusPanel%1").arg(i))->isVisible()) << i;
  EXPECT_EQ(Window().statusBar()->currentMessage(), "");
  EXPECT_EQ(SpokenName(Window().statusBar()), "Status");
}

}  // namespace
