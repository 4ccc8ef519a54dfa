// "Batch Write..." through the real main window and its batch window,
// typed into and clicked like a dealer would, against the simulated radio
// on a pseudo-terminal: radio after radio switched off and replaced on the
// same port.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "accessibility_events.h"
#include "app_fixture.h"
#include "batchlog.h"
#include "calibration.h"
#include "eeprom.h"
#include "frmbatch.h"
#include "params.h"
#include "programwindows.h"
#include "radioinfo.h"
#include "selcall.h"
#include "transfer_rig.h"
#include "wait_for.h"

namespace {

// Columns of the table, as in the log.
constexpr int kPortColumn = 1;
constexpr int kIdentBeforeColumn = 5;
constexpr int kIdentAfterColumn = 6;
constexpr int kResultColumn = 7;

std::vector<uint8_t> MerloMemory(uint32_t seed) {
  std::vector<uint8_t> bytes = RandomBytes(seed);
  PutProductId(bytes, ParamAddressOf(kProductMerlo, kParamProductId), kProductMerlo);
  return bytes;
}

class BatchWindow : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    sim_ = std::make_unique<SimulatedRadio>(kProductMerlo);
    ASSERT_TRUE(sim_->Start());
    Connect(MerloMemory(11));
    extraDevices = {sim_->DevicePath()};
    sessionPort = 97;
    Start(BuildConfig::ForFamily("Merlo", false));
    new ProgramWindows(Window());
    boxes.Take();
    // Nothing to write yet: no batch either.
    ASSERT_FALSE(Action("mnuFileBatchWrite")->isEnabled());
    config_ = MerloMemory(500);
    WriteFile(Path("dealer.mem"),
              QByteArray(reinterpret_cast<const char*>(config_.data()), qsizetype(config_.size())));
    chooser.answers = {Path("dealer.mem")};
    QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  }
  void TearDown() override {
    if (sim_) sim_->SetRequestObserver({});
    AppFixture::TearDown();
    sim_.reset();
  }

  // Another radio on the lead, switched on.
  void Connect(const std::vector<uint8_t>& memory) {
    sim_->ReplaceRadio(kProductMerlo);
    sim_->SetMemory(memory);
    sim_->SwitchOn();
  }

  // Opens the batch window from the File menu and runs `drive` while it is
  // shown; the window is closed afterwards whatever drive did.
  void WithBatchWindow(const std::function<void(TfrmBatch&)>& drive) {
    bool driven = false;
    QTimer::singleShot(0, &Window(), [&] {
      auto* batch = Window().findChild<TfrmBatch*>();
      ASSERT_NE(batch, nullptr);
      ASSERT_TRUE(WaitFor([&] { return batch->isVisible(); }));
      drive(*batch);
      driven = true;
      batch->reject();
    });
    QAction* item = Action("mnuFileBatchWrite");
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_TRUE(driven);
  }

  // Types the settings in as the dealer would and clicks Start.
  void StartBatch(TfrmBatch& batch, const QString& first, int count) {
    TypeAndStart(batch, first, count);
    ASSERT_TRUE(batch.Running());
  }
  void TypeAndStart(TfrmBatch& batch, const QString& first, int count) {
    auto* ident = batch.findChild<QLineEdit*>("edtFirstIdent");
    ASSERT_TRUE(ident->isVisible()) << "a Merlo has selcall";
    QTest::keyClicks(ident, first);
    auto* number = batch.findChild<QSpinBox*>("spnCount");
    number->selectAll();
    QTest::keyClicks(number, QString::number(count));
    ASSERT_EQ(number->value(), count);
    QTest::keyClicks(batch.findChild<QLineEdit*>("edtLog"), LogPath());
    QTest::mouseClick(batch.findChild<QPushButton*>("btnStart"), Qt::LeftButton);
  }

  static QTableWidget* Table(TfrmBatch& batch) { return batch.findChild<QTableWidget*>("tblRadios"); }
  static QString Cell(TfrmBatch& batch, int row, int column) {
    QTableWidgetItem* item = Table(batch)->item(row, column);
    return item ? item->text() : QString();
  }
  static QString PromptOf(TfrmBatch& batch) { return batch.findChild<QLabel*>("lblPrompt")->text(); }
  static bool RowsReach(TfrmBatch& batch, int rows) {
    return WaitFor([&] { return Table(batch)->rowCount() >= rows; }, 30000);
  }
  static bool PromptIs(TfrmBatch& batch, const QString& text) {
    return WaitFor([&] { return PromptOf(batch) == text; }, 30000);
  }

  QString LogPath() const { return Path("batch.csv"); }
  std::string IdentIn(const std::vector<uint8_t>& memory) {
    EEPROM image(static_cast<int>(memory.size()));
    image.WriteBlock(0, memory.data(), static_cast<int>(memory.size()));
    return LoadRadioIdent(image, Window().Shared().info);
  }
  std::string StoredIdentIn(const std::vector<uint8_t>& memory) {
    return BatchIdentText(memory.data() + Window().Shared().info.GetParamAddress("Selcall Ident"));
  }
  // The configuration but the radio's own calibration and its ident.
  void ExpectProgrammed(const std::vector<uint8_t>& memory, const std::vector<uint8_t>& own) {
    const int ident = Window().Shared().info.GetParamAddress("Selcall Ident");
    for (int a = 0; a < static_cast<int>(memory.size()); ++a) {
      if (a >= ident && a < ident + 4) continue;
      const uint8_t want = a < kCalibrationBytes ? own[a] : config_[a];
      ASSERT_EQ(memory[a], want) << "address " << a;
    }
  }

  std::unique_ptr<SimulatedRadio> sim_;
  std::vector<uint8_t> config_;
};

TEST_F(BatchWindow, TwoRadiosInTurnFillTheTableWithConsecutiveIdents) {
  const std::vector<uint8_t> first = MerloMemory(11);
  const std::vector<uint8_t> second = MerloMemory(12);
  std::vector<uint8_t> firstProgrammed, secondProgrammed;
  AccessibilityEvents events;
  WithBatchWindow([&](TfrmBatch& batch) {
    StartBatch(batch, "00041", 2);
    // Start is disabled now: the focus is on what is left to do.
    EXPECT_EQ(batch.focusWidget(), batch.findChild<QPushButton*>("btnStop"));
    ASSERT_TRUE(RowsReach(batch, 1));
    EXPECT_EQ(PromptOf(batch),
              "Radio 1 of 2: OK, ident 00041. Switch it off and connect the next radio.");
    // Each prompt and the radio done were said, not only shown.
    const QStringList said = events.Alerts();
    EXPECT_TRUE(said.contains("Next step: Radio 1 of 2: connect it and switch it on."))
        << said.join("\n").toStdString();
    EXPECT_TRUE(said.contains("Next step: Radio 1 of 2: OK, ident 00041. Switch it off and "
                              "connect the next radio."))
        << said.join("\n").toStdString();
    // The progress bar said which transfer it was counting each time it began again.
    const QStringList stages = events.SaidBy(batch.findChild<QProgressBar*>("prbTransfer"));
    EXPECT_EQ(stages.mid(0, 3), (QStringList{"Transfer progress: Reading",
                                             "Transfer progress: Writing",
                                             "Transfer progress: Verifying"}));
    firstProgrammed = sim_->Memory();
    sim_->SwitchOff();
    // Only once the batch has seen the first radio gone does the next go on.
    ASSERT_TRUE(PromptIs(batch, "Radio 2 of 2: connect it and switch it on."));
    Connect(second);
    ASSERT_TRUE(WaitFor([&] { return !batch.Running(); }, 30000));
    secondProgrammed = sim_->Memory();

    ASSERT_EQ(Table(batch)->rowCount(), 2);
    const std::vector<std::string> columns = BatchLogColumns();
    ASSERT_EQ(Table(batch)->columnCount(), static_cast<int>(columns.size()));
    EXPECT_EQ(Table(batch)->horizontalHeaderItem(kIdentAfterColumn)->text().toStdString(),
              columns[kIdentAfterColumn]);
    for (int row = 0; row < 2; ++row) {
      EXPECT_EQ(Cell(batch, row, kResultColumn), "OK");
      EXPECT_EQ(Cell(batch, row, kPortColumn), "COM97");
    }
    EXPECT_EQ(Cell(batch, 0, kIdentAfterColumn), "00041");
    EXPECT_EQ(Cell(batch, 1, kIdentAfterColumn), "00042");
    EXPECT_EQ(Cell(batch, 0, kIdentBeforeColumn).toStdString(), StoredIdentIn(first));
    EXPECT_EQ(Cell(batch, 1, kIdentBeforeColumn).toStdString(), StoredIdentIn(second));
    EXPECT_EQ(PromptOf(batch), "2 of 2 radios OK, 0 failed.");
    EXPECT_EQ(events.Alerts().last(), "Next step: 2 of 2 radios OK, 0 failed.");
    EXPECT_TRUE(batch.findChild<QPushButton*>("btnStart")->isEnabled());
    EXPECT_FALSE(batch.findChild<QPushButton*>("btnStop")->isEnabled());
  });
  ExpectProgrammed(firstProgrammed, first);
  ExpectProgrammed(secondProgrammed, second);
  EXPECT_EQ(IdentIn(firstProgrammed), "00041");
  EXPECT_EQ(IdentIn(secondProgrammed), "00042");

  // The log holds the same rows as the table.
  std::vector<BatchRow> logged;
  std::string error;
  ASSERT_TRUE(ReadBatchLog(LogPath().toStdString(), logged, error)) << error;
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[1].identAfter, "00042");
  EXPECT_EQ(logged[1].result, "OK");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(logged[0].archive)));
  // The configuration is still the one loaded: the batch worked on a copy,
  // and nothing put it back afterwards. Each radio kept its own Status
  // byte (it lies in the calibration area) and had it written once more
  // on its own, so a single write reaching the session's image would show.
  const int status = Window().Shared().info.GetParamAddress(kParamStatus);
  ASSERT_GE(status, 0);
  ASSERT_LT(status, kCalibrationBytes);
  EXPECT_NE(secondProgrammed[static_cast<size_t>(status)], config_[static_cast<size_t>(status)]);
  const EEPROM& image = Window().Shared().image;
  EXPECT_EQ(std::vector<uint8_t>(image.Data(), image.Data() + image.GetLength()), config_);
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(BatchWindow, StopBetweenRadiosEndsTheBatch) {
  WithBatchWindow([&](TfrmBatch& batch) {
    StartBatch(batch, "7", 3);
    // As the Selcall window does, it asks before storing empty positions.
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              "The Radio Ident has 4 empty positions of 5; each is stored as digit F, so the "
              "radio's ident becomes FFFF7.\n\nStart the batch with this ident?");
    EXPECT_EQ(seen[0].defaultButton, QMessageBox::Cancel);
    ASSERT_TRUE(RowsReach(batch, 1));
    EXPECT_EQ(Cell(batch, 0, kIdentAfterColumn), "FFFF7");
    // The radio stays on: the batch waits for it to go, and Stop ends it.
    QTest::mouseClick(batch.findChild<QPushButton*>("btnStop"), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !batch.Running(); }, 30000));
    EXPECT_EQ(Table(batch)->rowCount(), 1);
    EXPECT_EQ(PromptOf(batch), "1 of 3 radios OK, 0 failed, stopped.");
  });
}

TEST_F(BatchWindow, StopDuringAWriteCancelsItAndLogsTheRadioCancelled) {
  // The radio holds its answer to the fifth block written until Stop has
  // been clicked, so the click lands inside the write.
  std::mutex lock;
  std::condition_variable clicked;
  bool stopClicked = false;
  std::atomic<int> written{0};
  sim_->SetRequestObserver([&](const SimRequest& request) {
    if (request.command != OP_WRITE_BLOCK) return;
    if (++written != 5) return;
    std::unique_lock<std::mutex> g(lock);
    clicked.wait_for(g, std::chrono::seconds(30), [&] { return stopClicked; });
  });
  WithBatchWindow([&](TfrmBatch& batch) {
    StartBatch(batch, "00100", 2);
    ASSERT_TRUE(WaitFor([&] { return written >= 5; }, 30000));
    QTest::mouseClick(batch.findChild<QPushButton*>("btnStop"), Qt::LeftButton);
    {
      std::lock_guard<std::mutex> g(lock);
      stopClicked = true;
    }
    clicked.notify_all();
    ASSERT_TRUE(WaitFor([&] { return !batch.Running(); }, 30000));
    ASSERT_EQ(Table(batch)->rowCount(), 1);
    EXPECT_EQ(Cell(batch, 0, kResultColumn), "cancelled");
    EXPECT_EQ(PromptOf(batch), "0 of 2 radios OK, 1 failed, stopped.");
  });
  sim_->SetRequestObserver({});
  EXPECT_LT(written.load(), 128) << "the write stopped part way";
  // A cancelled write still resets the radio.
  const std::vector<SimRequest> requests = sim_->Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().command, OP_RESET);
}

TEST_F(BatchWindow, IdentsThatWouldRunOutAreRefusedBeforeAnyRadio) {
  WithBatchWindow([&](TfrmBatch& batch) {
    sim_->ClearRequests();
    TypeAndStart(batch, "99999", 2);
    EXPECT_FALSE(batch.Running());
    EXPECT_EQ(Table(batch)->rowCount(), 0);
  });
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].text.startsWith("The idents run out")) << seen[0].text.toStdString();
  EXPECT_TRUE(seen[0].text.endsWith(": nothing written.")) << seen[0].text.toStdString();
  EXPECT_TRUE(sim_->Requests().empty()) << "no radio was asked anything";
  EXPECT_FALSE(QFile::exists(LogPath()));
}

TEST_F(BatchWindow, AShortIdentAnsweredCancelStartsNothing) {
  WithBatchWindow([&](TfrmBatch& batch) {
    sim_->ClearRequests();
    boxes.Answer({QMessageBox::Cancel});
    TypeAndStart(batch, "12", 1);
    EXPECT_FALSE(batch.Running());
  });
  EXPECT_EQ(boxes.Take().size(), 1u);
  EXPECT_TRUE(sim_->Requests().empty());
  EXPECT_FALSE(QFile::exists(LogPath()));
}

// Closing the window would take the notice of a cancelled write with it:
// it asks first, saying what the radio is left as.
TEST_F(BatchWindow, ClosingDuringAWriteAsksFirstAndSaysWhatTheRadioIsLeftAs) {
  std::mutex lock;
  std::condition_variable released;
  bool release = false;
  std::atomic<int> written{0};
  sim_->SetRequestObserver([&](const SimRequest& request) {
    if (request.command != OP_WRITE_BLOCK || ++written != 5) return;
    std::unique_lock<std::mutex> g(lock);
    released.wait_for(g, std::chrono::seconds(30), [&] { return release; });
  });
  bool closedOnOk = false;
  WithBatchWindow([&](TfrmBatch& batch) {
    StartBatch(batch, "00100", 2);
    ASSERT_TRUE(WaitFor([&] { return written >= 5; }, 30000));
    boxes.Take();
    boxes.Answer({QMessageBox::Cancel});
    batch.reject();
    EXPECT_TRUE(batch.isVisible());
    EXPECT_TRUE(batch.Running());
    const std::vector<SeenBox> seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].text.contains(
        "the radio is reset with only part of the configuration written"))
        << seen[0].text.toStdString();
    EXPECT_EQ(seen[0].defaultButton, QMessageBox::Cancel);
    boxes.Answer({QMessageBox::Ok});
    batch.reject();
    closedOnOk = !batch.isVisible();
    {
      std::lock_guard<std::mutex> g(lock);
      release = true;
    }
    released.notify_all();
  });
  sim_->SetRequestObserver({});
  EXPECT_TRUE(closedOnOk);
  EXPECT_LT(written.load(), 128) << "the write stopped part way";
  std::vector<BatchRow> logged;
  std::string error;
  ASSERT_TRUE(ReadBatchLog(LogPath().toStdString(), logged, error)) << error;
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].result, "cancelled");
}

}  // namespace
