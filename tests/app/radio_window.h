#pragma once
// The main window on a simulated radio registered as an extra port, and
// the same with a read archive of the test's own.

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <memory>
#include <vector>

#include "app_fixture.h"
#include "frmreadwrite.h"
#include "params.h"
#include "transferflows.h"
#include "transfer_rig.h"
#include "wait_for.h"

class RadioWindow : public AppFixture {
 protected:
  // The window on a radio of the build's model holding random memory.
  void StartWithRadio(const BuildConfig& build = Kestal()) {
    sim_ = std::make_unique<SimulatedRadio>(build.productId);
    ASSERT_TRUE(sim_->Start());
    memory_ = RandomBytes(build.productId);
    PutProductId(memory_, ParamAddressOf(build.productId, kParamProductId), build.productId);
    sim_->SetMemory(memory_);
    extraDevices = {sim_->DevicePath()};
    sessionPort = 97;
    Start(build);
    sim_->ClearRequests();
  }

  SimulatedRadio& Sim() { return *sim_; }
  const std::vector<uint8_t>& Memory() const { return memory_; }
  std::vector<Req> Log() { return Summarise(sim_->Requests()); }
  int ProductIdAddress() { return Window().Shared().info.GetParamAddress(kParamProductId); }
  std::vector<uint8_t> ImageBytes() {
    const EEPROM& image = Window().Shared().image;
    return {image.Data(), image.Data() + image.GetLength()};
  }

  TfrmReadWrite& Dialog() { return Window().ReadWriteDialog(); }
  QPushButton* DialogButton() { return Dialog().findChild<QPushButton*>("btnCancel"); }
  QString ActionText() { return Dialog().findChild<QLabel*>("lblAction")->text(); }
  int Progress() { return Dialog().findChild<QProgressBar*>("gaugeProgress")->value(); }

  // The worker has ended and the window has carried out its closing steps.
  bool ClosingStepsDone() {
    return WaitFor([&] { return !Window().Flows().ClosePending(); });
  }

  // Loads `bytes` as a mem-file through "Read file".
  void LoadFile(const std::vector<uint8_t>& bytes) {
    WriteFile(Path("radio.mem"),
              QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    chooser.answers = {Path("radio.mem")};
    QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  }

 private:
  std::unique_ptr<SimulatedRadio> sim_;
  std::vector<uint8_t> memory_;
};

// The read archive follows XDG_DATA_HOME as the window finds it when made.
class ArchivingWindow : public RadioWindow {
 protected:
  void SetUp() override {
    RadioWindow::SetUp();
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", Path("data").toUtf8());
  }
  void TearDown() override {
    qputenv("XDG_DATA_HOME", oldDataHome_);
    RadioWindow::TearDown();
  }
  QStringList Archived() const {
    return QDir(Path("data/Vorn/Kestal/reads")).entryList(QDir::Files, QDir::Name);
  }

 private:
  QByteArray oldDataHome_;
};
