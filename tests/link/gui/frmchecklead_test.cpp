// "Check Lead" on a prepared machine whose lead is a simulated radio.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "fake_machine.h"
#include "frmchecklead.h"
#include "sharedobjects.h"
#include "simmodels.h"
#include "simradio.h"
#include "spin.h"

namespace {

class CheckLead : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Start());
    machine_.UsbLead("A50285BI", sim_.DevicePath());
    machine_.Login(static_cast<unsigned>(geteuid()), {});
    dialog_.SetSystemRoot(machine_.Root());
    // The program holds its port as it does after start-up.
    ASSERT_TRUE(shared_.port.Open(sim_.DevicePath(), 9600));
  }
  QString Memo() const { return dialog_.findChild<QPlainTextEdit*>("Memo1")->toPlainText(); }
  QPushButton* Button(const char* name) { return dialog_.findChild<QPushButton*>(name); }
  bool RunAndWait() { return Spin([&] { return dialog_.HasChecked(); }, 20000); }

  SimulatedRadio sim_{kProductKestal};
  FakeMachine machine_;
  SharedObjects shared_{kProductKestal};
  BuildConfig build_ = BuildConfig::ForFamily("Kestal", false);
  TfrmCheckLead dialog_{build_, shared_};
};

TEST_F(CheckLead, ShowsTheFindingsAndGivesThePortBack) {
  dialog_.show();
  EXPECT_EQ(dialog_.windowTitle(), "Check Lead");
  ASSERT_TRUE(RunAndWait());
  const QString memo = Memo();
  EXPECT_TRUE(memo.contains("USB adapter 0403:6001 FTDI FT232R USB UART")) << memo.toStdString();
  EXPECT_TRUE(memo.contains("a Kestal answers at 9600 baud")) << memo.toStdString();
  EXPECT_TRUE(memo.endsWith("A radio of this program's model answers.")) << memo.toStdString();
  EXPECT_FALSE(memo.contains("FAULT")) << memo.toStdString();
  EXPECT_TRUE(dialog_.Report().radioFound);
  EXPECT_TRUE(shared_.port.IsOpen());
  EXPECT_EQ(shared_.port.DevicePath(), sim_.DevicePath());
  // No button answers Enter: it would start the radio check again.
  for (QPushButton* b : dialog_.findChildren<QPushButton*>()) EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
}

TEST_F(CheckLead, CheckAgainFindsTheRadioSwitchedOff) {
  dialog_.show();
  ASSERT_TRUE(RunAndWait());
  sim_.SwitchOff();
  QTest::mouseClick(Button("btnCheck"), Qt::LeftButton);
  ASSERT_TRUE(RunAndWait());
  EXPECT_FALSE(dialog_.Report().radioFound);
  EXPECT_TRUE(Memo().contains("no radio answers at 9600")) << Memo().toStdString();
  EXPECT_TRUE(Memo().endsWith("No radio of this program's model answers.")) << Memo().toStdString();
}

TEST_F(CheckLead, SaveReportWritesVersionFindingsAndTrace) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString trace = dir.filePath("trace.txt");
  {
    QFile f(trace);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("12:00:01.250 Tx: AA 01 02\n");
  }
  dialog_.SetTracePath(trace.toStdString());
  const QString report = dir.filePath("report.txt");
  int asked = 0;
  dialog_.SetReportFileChooser([&] {
    ++asked;
    return report;
  });
  dialog_.show();
  EXPECT_FALSE(Button("btnSave")->isEnabled());
  ASSERT_TRUE(RunAndWait());
  ASSERT_TRUE(Button("btnSave")->isEnabled());
  QTest::mouseClick(Button("btnSave"), Qt::LeftButton);
  EXPECT_EQ(asked, 1);
  QFile f(report);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(text.contains(QString::fromStdString(VersionReport(build_, "Programmer")))) << text.toStdString();
  EXPECT_TRUE(text.contains("a Kestal answers at 9600 baud")) << text.toStdString();
  EXPECT_TRUE(text.contains("12:00:01.250 Tx: AA 01 02")) << text.toStdString();
}

}  // namespace
