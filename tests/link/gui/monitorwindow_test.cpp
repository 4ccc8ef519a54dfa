// The three traffic monitor windows over a simulated radio.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "bytemonitorform.h"
#include "modal_answerer.h"
#include "portmap.h"
#include "sharedobjects.h"
#include "simradio.h"
#include "spin.h"
#include "vorniipacketmonitor.h"
#include "vornipacketmonitor.h"

namespace {

const QString kTime = R"(\[\d\d:\d\d:\d\d\.\d\d\d\] )";

bool Matches(const QString& line, const QString& pattern) {
  return QRegularExpression("^" + pattern + "$").match(line).hasMatch();
}

class MonitorWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Start());
    shared_.info.SelectModel(kProductKestal);
    const int number = shared_.port.Ports().AddExtraDevice(sim_.DevicePath());
    ASSERT_TRUE(shared_.port.Open(PortMap::ComName(number), 9600));
  }
  static QPushButton* Button(QWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }

  SimulatedRadio sim_{kProductKestal};
  SharedObjects shared_{kProductKestal};
  TbyteMonitorForm bytes_{shared_.port};
  TvornIIPacketMonitorForm packetsII_{shared_.radio.ProtocolII()};
  TvornIPacketMonitorForm packetsI_{shared_.radio.ProtocolI()};
};

TEST_F(MonitorWindows, VersionRequestInAllThreeAndAsciiDecoding) {
  for (TrafficMonitorWindow* w : {static_cast<TrafficMonitorWindow*>(&bytes_),
                                  static_cast<TrafficMonitorWindow*>(&packetsII_),
                                  static_cast<TrafficMonitorWindow*>(&packetsI_)})
    w->show();
  EXPECT_EQ(bytes_.windowTitle(), "Byte Monitor");
  EXPECT_EQ(packetsII_.windowTitle(), "Vorn II Packet Monitor");
  EXPECT_EQ(packetsI_.windowTitle(), "Vorn I Packet Monitor");
  EXPECT_FALSE(Button(bytes_, "byteMonStart")->isEnabled());
  EXPECT_TRUE(Button(bytes_, "byteMonPause")->isEnabled());
  EXPECT_FALSE(Button(packetsII_, "startButton")->isEnabled());

  QTest::mouseClick(bytes_.findChild<QCheckBox*>("chkDecodeASCII"), Qt::LeftButton);
  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  ASSERT_TRUE(Spin([&] { return packetsII_.Lines().size() >= 3 && bytes_.Lines().size() >= 3; }));

  const QStringList b = bytes_.Lines();
  EXPECT_EQ(b[0], "------ running ------");
  EXPECT_TRUE(Matches(b[1], kTime + R"(Tx\[6:6\] 7E 02 01 80 7F 7F \[~\.\.\.\.\.\])")) << b[1].toStdString();
  EXPECT_TRUE(Matches(b[2], kTime + R"(Rx\[\d+:\d+\] 7E 02 .*)")) << b[2].toStdString();
  const QStringList p = packetsII_.Lines();
  EXPECT_TRUE(Matches(p[0], kTime + "------ running ------")) << p[0].toStdString();
  EXPECT_TRUE(Matches(p[1], kTime + R"(Tx\[1\] 80 )")) << p[1].toStdString();
  EXPECT_TRUE(Matches(p[2], kTime + R"(Rx\[\d+\] 00 ([0-9A-F]{2} )+)")) << p[2].toStdString();
  EXPECT_EQ(packetsI_.Lines().size(), 1);
}

TEST_F(MonitorWindows, PauseStartAndClear) {
  packetsII_.show();
  QTest::mouseClick(Button(packetsII_, "pauseButton"), Qt::LeftButton);
  EXPECT_TRUE(Button(packetsII_, "startButton")->isEnabled());
  EXPECT_FALSE(Button(packetsII_, "pauseButton")->isEnabled());
  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  QTest::qWait(100);
  QStringList lines = packetsII_.Lines();
  ASSERT_EQ(lines.size(), 2);  // running, paused: no data while paused
  EXPECT_TRUE(Matches(lines[1], kTime + "------ paused ------"));

  QTest::mouseClick(Button(packetsII_, "startButton"), Qt::LeftButton);
  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  ASSERT_TRUE(Spin([&] { return packetsII_.Lines().size() == 5; }));
  EXPECT_TRUE(Matches(packetsII_.Lines()[2], kTime + "------ running ------"));

  QTest::mouseClick(Button(packetsII_, "btnClear"), Qt::LeftButton);
  EXPECT_TRUE(packetsII_.Lines().isEmpty());
}

TEST_F(MonitorWindows, ClosedWindowSeesNothingAndShowingAgainStartsFresh) {
  bytes_.show();
  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  ASSERT_TRUE(Spin([&] { return bytes_.Lines().size() >= 3; }));
  QTest::mouseClick(Button(bytes_, "byteMonClose"), Qt::LeftButton);
  EXPECT_FALSE(bytes_.isVisible());
  EXPECT_FALSE(bytes_.IsRunning());
  EXPECT_TRUE(Button(bytes_, "byteMonStart")->isEnabled());
  const QStringList kept = bytes_.Lines();

  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  QTest::qWait(100);
  EXPECT_EQ(bytes_.Lines(), kept);  // the memo stays until the next showing
  uint8_t tap[16];
  EXPECT_EQ(shared_.port.ReadTxTap(tap, sizeof tap), 0);

  bytes_.show();
  EXPECT_EQ(bytes_.Lines(), QStringList{"------ running ------"});
  // Escape closes it as "close" does.
  QTest::keyClick(&bytes_, Qt::Key_Escape);
  EXPECT_FALSE(bytes_.isVisible());
  EXPECT_FALSE(bytes_.IsRunning());
}

TEST_F(MonitorWindows, SaveWritesTheLinesToATextFile) {
  QTemporaryDir dir;
  ModalAnswerer boxes;
  packetsII_.show();
  ASSERT_TRUE(shared_.radio.GetRadioVersion());
  ASSERT_TRUE(Spin([&] { return packetsII_.Lines().size() == 3; }));

  const QString path = dir.filePath("trace.txt");
  packetsII_.chooseSaveFile = [&](QWidget*) { return path; };
  QTest::mouseClick(Button(packetsII_, "btnSave"), Qt::LeftButton);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(file.readAll()), packetsII_.Lines().join('\n') + '\n');

  // A file that cannot be written is reported, not taken for saved.
  packetsII_.chooseSaveFile = [&](QWidget*) { return dir.filePath("no/such/folder/trace.txt"); };
  QTest::mouseClick(Button(packetsII_, "btnSave"), Qt::LeftButton);
  ASSERT_TRUE(Spin([&] { return !boxes.Seen().empty(); }));
  EXPECT_EQ(boxes.Seen()[0].caption, "Error");
  EXPECT_TRUE(boxes.Seen()[0].text.startsWith("Unable to save the monitor lines to "));

  // Cancelling the file dialog writes nothing and says nothing.
  packetsII_.chooseSaveFile = [](QWidget*) { return QString(); };
  QTest::mouseClick(Button(packetsII_, "btnSave"), Qt::LeftButton);
  QTest::qWait(20);
  EXPECT_EQ(boxes.Take().size(), 1u);
}

}  // namespace
