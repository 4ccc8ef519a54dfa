// "Configure serial port" over a prepared device folder.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "frmports.h"
#include "modal_answerer.h"
#include "portmap.h"
#include "radioinfo.h"
#include "spin.h"

namespace {

struct PortsCase {
  const char* name;
  const char* family;
  int configuredPort;
  int configuredRate;
  const char* warning;  // the message on showing, null for none
  int shownPort;        // the entry selected on showing
  bool baudShown;
  QString shownRate;
  int downKeys;         // presses of Down in the port list before OK
  int chosenPort;
  int storedRate;       // after OK
};

class PortsDialog : public ::testing::TestWithParam<PortsCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    map_.SetRoots(dir_.filePath("dev").toStdString(), dir_.filePath("sys").toStdString());
  }
  // A real UART behind ttyS(number - 1).
  void AddUart(int number) {
    const QString tty = QString("ttyS%1").arg(number - 1);
    QDir().mkpath(dir_.filePath("dev"));
    QDir().mkpath(dir_.filePath("sys/class/tty/" + tty));
    Write(dir_.filePath("dev/" + tty), "");
    Write(dir_.filePath("sys/class/tty/" + tty + "/type"), "4\n");
  }
  static void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QString Device(int number) const { return QString::fromStdString(map_.DevicePath(number)); }

  QTemporaryDir dir_;
  PortMap map_;
  ModalAnswerer boxes_;
};

TEST_P(PortsDialog, ListsExistingPortsAndTakesTheChoice) {
  const PortsCase& c = GetParam();
  for (int n : {1, 3, 12}) AddUart(n);
  const BuildConfig build = BuildConfig::ForFamily(c.family, false);
  TfrmPorts dialog(build, map_);
  dialog.SetSelectedPort(c.configuredPort);
  dialog.SetMaxBaudRate(c.configuredRate);
  dialog.show();
  auto* port = dialog.findChild<QComboBox*>("cbPort");
  auto* baud = dialog.findChild<QComboBox*>("cbBaud");
  ASSERT_TRUE(port && baud);
  EXPECT_EQ(dialog.windowTitle(), "Configure serial port");

  if (c.warning) {
    ASSERT_TRUE(Spin([&] { return !boxes_.Seen().empty(); }));
    const std::vector<SeenBox> seen = boxes_.Take();
    EXPECT_EQ(seen[0].text, c.warning);
    EXPECT_EQ(seen[0].caption, "Serial port");
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  } else {
    QTest::qWait(20);
    EXPECT_TRUE(boxes_.Take().empty());
  }
  ASSERT_EQ(port->count(), 3);
  EXPECT_EQ(port->itemText(0), "COM1  " + Device(1));
  EXPECT_EQ(port->itemText(1), "COM3  " + Device(3));
  EXPECT_EQ(port->itemText(2), "COM12  " + Device(12));
  EXPECT_EQ(port->currentData().toInt(), c.shownPort);
  EXPECT_EQ(baud->isVisible(), c.baudShown);
  EXPECT_EQ(dialog.findChild<QLabel*>("lblMaxBaudRate")->isVisible(), c.baudShown);
  if (c.baudShown) {
    EXPECT_EQ(baud->currentText(), c.shownRate);
  }

  port->setFocus();
  for (int i = 0; i < c.downKeys; ++i) QTest::keyClick(port, Qt::Key_Down);
  QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.SelectedPort(), c.chosenPort);
  EXPECT_EQ(dialog.MaxBaudRate(), c.storedRate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortsDialog,
    ::testing::Values(
        PortsCase{"ConfiguredPortGone", "Kestal", 7, 9600,
                  "Configured port no longer valid, please select correct port", 1, false, "", 0, 1, 9600},
        // No rate list on a model that cannot switch: OK stores the first rate.
        PortsCase{"KestalHasNoRateList", "Kestal", 3, 38400, nullptr, 3, false, "", 1, 12, 9600},
        PortsCase{"RateOutsideTheTable", "Pinto", 12, 25000, nullptr, 12, true, "9600", 0, 12, 9600},
        PortsCase{"RateInTheTable", "Pinto", 3, 38400, nullptr, 3, true, "38400", 1, 12, 38400}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortsDialog, NoPortsWarnsAndOkChoosesNone) {
  TfrmPorts dialog(BuildConfig::ForFamily("Kestal", false), map_);
  dialog.SetSelectedPort(7);
  dialog.SetMaxBaudRate(19200);
  dialog.show();
  ASSERT_TRUE(Spin([&] { return !boxes_.Seen().empty(); }));
  const std::vector<SeenBox> seen = boxes_.Take();
  EXPECT_EQ(seen[0].text, "No com ports to select??");
  EXPECT_EQ(seen[0].caption, "Invalid serial port");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.SelectedPort(), 7);
  EXPECT_EQ(dialog.MaxBaudRate(), 19200);
}

TEST_F(PortsDialog, CancelAndEscapeKeepBothValues) {
  for (int n : {1, 3}) AddUart(n);
  TfrmPorts dialog(BuildConfig::ForFamily("Pinto", false), map_);
  for (bool escape : {false, true}) {
    dialog.SetSelectedPort(1);
    dialog.SetMaxBaudRate(19200);
    dialog.show();
    auto* port = dialog.findChild<QComboBox*>("cbPort");
    port->setFocus();
    QTest::keyClick(port, Qt::Key_Down);
    if (escape)
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      QTest::mouseClick(dialog.findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.SelectedPort(), 1);
    EXPECT_EQ(dialog.MaxBaudRate(), 19200);
  }
  EXPECT_TRUE(boxes_.Take().empty());
}

}  // namespace
