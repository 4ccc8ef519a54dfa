// "AutoDetect" over simulated radios and silent pseudo-terminals; the
// machine's own ports are hidden behind an empty device folder.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "frmautodetect.h"
#include "pty_peer.h"
#include "sharedobjects.h"
#include "simmodels.h"
#include "simradio.h"
#include "spin.h"

namespace {

class AutoDetect : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    shared_.port.Ports().SetRoots(dir_.filePath("dev").toStdString(), dir_.filePath("sys").toStdString());
  }
  // The next port (COM97 onwards) holds a Kestal.
  SimulatedRadio& AddRadio(uint32_t product = kProductKestal) {
    radios_.push_back(std::make_unique<SimulatedRadio>(product));
    EXPECT_TRUE(radios_.back()->Start());
    shared_.port.Ports().AddExtraDevice(radios_.back()->DevicePath());
    return *radios_.back();
  }
  // The next port holds nothing that answers.
  void AddSilentPort() {
    peers_.push_back(std::make_unique<PtyPeer>());
    shared_.port.Ports().AddExtraDevice(peers_.back()->SlavePath());
  }
  QStringList Memo() const {
    const QString text = dialog_.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
  }
  QPushButton* CloseButton() { return dialog_.findChild<QPushButton*>("btnClose"); }
  bool ScanEnded() { return !dialog_.IsScanning(); }

  QTemporaryDir dir_;
  SharedObjects shared_{kProductKestal};
  BuildConfig build_ = BuildConfig::ForFamily("Kestal", false);
  std::vector<std::unique_ptr<SimulatedRadio>> radios_;
  std::vector<std::unique_ptr<PtyPeer>> peers_;
  TfrmAutoDetect dialog_{build_, shared_};
};

TEST_F(AutoDetect, StopsAtTheLowerOfTwoRadios) {
  AddSilentPort();                      // COM97
  SimulatedRadio& first = AddRadio();   // COM98
  AddSilentPort();                      // COM99
  SimulatedRadio& second = AddRadio();  // COM100
  dialog_.show();
  EXPECT_EQ(dialog_.windowTitle(), "AutoDetect");
  EXPECT_EQ(CloseButton()->text(), "Cancel");
  ASSERT_TRUE(Spin([&] { return ScanEnded(); }, 8000));

  EXPECT_EQ(dialog_.FoundPort(), 98);
  EXPECT_EQ(Memo(), (QStringList{"Radio found on COM98",
                                 QString::fromStdString(DefaultFirmwareText(kProductKestal)),
                                 "Firmware: v" + QString::fromStdString(SimVersionText(first.Version()))}));
  EXPECT_EQ(CloseButton()->text(), "Close");
  EXPECT_TRUE(CloseButton()->hasFocus());
  EXPECT_EQ(second.Counters().requests, 0);
  // The port stays open on the radio found.
  EXPECT_EQ(shared_.port.DevicePath(), first.DevicePath());
  EXPECT_TRUE(shared_.port.IsOpen());

  QTest::mouseClick(CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(dialog_.FoundPort(), 98);
}

TEST_F(AutoDetect, ThreePortsWithoutRadioEndNotFound) {
  for (int i = 0; i < 3; ++i) AddSilentPort();
  dialog_.show();
  ASSERT_TRUE(Spin([&] { return ScanEnded(); }, 8000));
  EXPECT_EQ(Memo(), (QStringList{"Radio not found.", "Ensure radio is switched on.", "Check programming leads."}));
  EXPECT_EQ(dialog_.FoundPort(), 0);
  EXPECT_EQ(CloseButton()->text(), "Close");
  // Left open on the last port tried.
  EXPECT_EQ(shared_.port.DevicePath(), peers_.back()->SlavePath());
}

// A radio that answers but is of another model is named with its port:
// "not found" would send the technician checking a radio that is on.
TEST_F(AutoDetect, ARadioOfAnotherModelIsNamedWithItsPort) {
  AddSilentPort();  // COM97
  AddRadio(kProductKestalBT);  // COM98
  dialog_.show();
  ASSERT_TRUE(Spin([&] { return ScanEnded(); }, 8000));
  EXPECT_EQ(dialog_.FoundPort(), 0);
  EXPECT_EQ(Memo(), (QStringList{"A Kestal-BT answered on COM98.",
                                 "This program is for the Kestal: it cannot program that radio."}));
}

TEST_F(AutoDetect, CancelEndsTheScanAtOnce) {
  for (int i = 0; i < 3; ++i) AddSilentPort();
  SimulatedRadio& radio = AddRadio();
  dialog_.show();
  ASSERT_TRUE(Spin([&] { return Memo() == QStringList{"Checking COM97"}; }));
  QTest::mouseClick(CloseButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_TRUE(ScanEnded());
  QTest::qWait(300);
  EXPECT_EQ(Memo(), QStringList{"Checking COM97"});
  EXPECT_EQ(dialog_.FoundPort(), 0);
  EXPECT_EQ(radio.Counters().requests, 0);
  EXPECT_EQ(shared_.port.DevicePath(), peers_.front()->SlavePath());
}

TEST_F(AutoDetect, NoPortsSaysSoAndStartsNothing) {
  dialog_.show();
  EXPECT_EQ(Memo(), QStringList{"No serial ports found - check your system configuration"});
  EXPECT_TRUE(ScanEnded());
  EXPECT_EQ(dialog_.FoundPort(), 0);
  QTest::keyClick(&dialog_, Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(AutoDetect, ShowingAgainStartsAFreshScan) {
  SimulatedRadio& radio = AddRadio();
  dialog_.show();
  ASSERT_TRUE(Spin([&] { return ScanEnded(); }, 8000));
  EXPECT_EQ(dialog_.FoundPort(), 97);
  dialog_.close();
  SimFaults silent;
  silent.silentAfter = 0;
  radio.SetFaults(silent);
  dialog_.show();
  ASSERT_TRUE(Spin([&] { return ScanEnded(); }, 8000));
  EXPECT_EQ(dialog_.FoundPort(), 0);
  EXPECT_EQ(Memo().front(), "Radio not found.");
}

}  // namespace
