// "Read radio", "Write radio" and "Firmware Version" through the real main
// window, clicked like a user would, against a simulated radio on a
// pseudo-terminal registered as an extra port.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "radio_window.h"
#include "frmfirmware.h"
#include "frmreadwrite.h"
#include "mainstatusbar.h"
#include "params.h"
#include "transferflows.h"
#include "transfer_rig.h"
#include "wait_for.h"

namespace {

constexpr const char* kRadioData = "Current (or modified) radio data loaded.";

// Calls `tick` every few milliseconds while a modal window runs.
class Watcher {
 public:
  explicit Watcher(std::function<void()> tick) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
    timer_.start(3);
  }

 private:
  QTimer timer_;
};

// The requests of a read: the checks, programming mode, identity, the
// blocks (`count` of them, `step` apart) and the reset.
std::vector<Req> ReadRequests(int productIdAddress, int count, int command = OP_READ_BLOCK,
                              int step = kBlockSize, std::vector<Req> beforeBlocks = {}) {
  std::vector<Req> r{{OP_READ_WORD, productIdAddress},
                     {OP_ENTER_PROG_MODE},
                     {OP_READ_FIRMWARE_TEXT},
                     {OP_GET_VERSION}};
  r.insert(r.end(), beforeBlocks.begin(), beforeBlocks.end());
  AppendBlocks(r, command, count, step);
  r.push_back({OP_RESET});
  return r;
}

TEST_F(RadioWindow, ReadRadioCopiesTheRadioAndTheWindowShowsIt) {
  StartWithRadio();
  QString title;
  Watcher watch([&] {
    if (Dialog().isVisible()) title = Dialog().windowTitle();
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);

  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "All current edit data will be lost.");
  EXPECT_EQ(seen[0].caption, "Read From Radio?");
  EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);

  // The dialog closed by itself, full.
  EXPECT_EQ(title, "Reading from Radio");
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  EXPECT_EQ(Progress(), 2047);

  ASSERT_TRUE(ClosingStepsDone());
  EXPECT_EQ(ImageBytes(), Memory());
  EXPECT_EQ(Log(), ReadRequests(ProductIdAddress(), 128));
  EXPECT_EQ(Window().StatusText(3), kRadioData);
  EXPECT_EQ(Window().StatusText(2),
            QString("Radio: %1 v3.00").arg(QString::fromStdString(Sim().FirmwareText())));
  auto* radioPanel = Window().findChild<QLabel*>("StatusPanel2");
  EXPECT_LE(radioPanel->fontMetrics().horizontalAdvance(radioPanel->text()),
            radioPanel->contentsRect().width())
      << "the radio's text is shown whole";
  for (const char* name : {"btnWriteRadio", "btnScan", "btnCTCSS", "btnSquelch", "btnOptions",
                           "btnChannelData", "btnAlign"})
    EXPECT_TRUE(Button(name)->isEnabled()) << name;
  EXPECT_TRUE(boxes.Take().empty()) << "a Kestal 3.00 gets no version notice";
}

TEST_F(ArchivingWindow, ACompleteReadIsKeptQuietlyAndAFailedOneIsNot) {
  StartWithRadio();
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  const QStringList archived = Archived();
  ASSERT_EQ(archived.size(), 1);
  QFile kept(Path("data/Vorn/Kestal/reads/" + archived[0]));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  const QByteArray bytes = kept.readAll();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), Memory());
  EXPECT_TRUE(boxes.Take().size() == 1u) << "only the read's own question";
  EXPECT_TRUE(Window().StatusBar().NoticeText().isEmpty());

  SimFaults silent;
  silent.silentOpcode = OP_READ_BLOCK;
  silent.silentOpcodeAfter = 10;
  Sim().SetFaults(silent);
  // The failed read's dialog stays up with its reason until closed.
  Watcher closeOnFailure([&] {
    if (Dialog().isVisible() && DialogButton()->text() == "Close" && !ActionText().isEmpty())
      QTest::mouseClick(DialogButton(), Qt::LeftButton);
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  boxes.Take();
  EXPECT_EQ(Window().Flows().LastOutcome().result, kTransferFailed);
  EXPECT_EQ(Archived().size(), 1);
}

TEST_F(ArchivingWindow, AnArchiveThatCannotBeSavedIsSaidBesideTheStatusPanels) {
  WriteFile(Path("data"), "not a folder");
  StartWithRadio();
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  EXPECT_EQ(ImageBytes(), Memory()) << "the read stands";
  EXPECT_EQ(boxes.Take().size(), 1u) << "no message box beyond the read's question";
  const QString notice = Window().StatusBar().NoticeText();
  EXPECT_TRUE(
      notice.startsWith("The read was not archived: cannot create " + Path("data/Vorn/Kestal/reads")))
      << notice.toStdString();
  EXPECT_TRUE(Window().StatusText(2).startsWith("Radio: ")) << "the radio panel stays";
  EXPECT_EQ(Window().StatusText(3), "Current (or modified) radio data loaded.");
}

TEST_F(RadioWindow, AKestalOnFirmwareTwoGetsTheVersionNoticeAfterTheRead) {
  StartWithRadio();
  Sim().SetVersion(SimVersion{2, 10, ' '});
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  ASSERT_TRUE(WaitFor([&] { return boxes.Seen().size() >= 2; }));
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].caption, "Radio version check");
  EXPECT_EQ(seen[1].text,
            "Your Kestal radio does not support the latest features available on Kestal-S "
            "radios, e.g. NetScan");
  EXPECT_EQ(seen[1].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[1].buttons, QMessageBox::Ok);
  EXPECT_EQ(ImageBytes(), Memory());
  EXPECT_EQ(Window().StatusText(3), kRadioData);
}

struct WriteCase {
  QMessageBox::StandardButton answer;
  bool written;
};


// An image padded out from a short mem-file reaches a radio only on
// purpose: the question comes first, with Cancel as its default.
class ShortFileWrite : public RadioWindow, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(ShortFileWrite, AsksBeforeWritingErasedBytesOverTheRadio) {
  StartWithRadio();
  std::vector<uint8_t> config = RandomBytes(78);
  PutProductId(config, ProductIdAddress(), kProductKestal);
  config.resize(1000);
  LoadFile(config);
  ASSERT_EQ(boxes.Take().size(), 1u) << "the short-file notice";
  config.resize(2048, 0xFF);

  boxes.Answer({GetParam().answer, QMessageBox::Ok});
  QTest::mouseClick(Button("btnWriteRadio"), Qt::LeftButton);
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0].text, Path("radio.mem") +
                              " holds only 1000 of 2048 bytes; the rest reads as erased (FF).\n"
                              "Write it to the radio all the same?");
  EXPECT_EQ(seen[0].caption, "Write To Radio");
  EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(seen[0].defaultButton, QMessageBox::Cancel);

  ASSERT_TRUE(ClosingStepsDone());
  if (GetParam().written) {
    EXPECT_EQ(Sim().Memory(), config);
    EXPECT_EQ(Window().ShortFileBytes(), -1) << "the radio holds the image now";
  } else {
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(Log().empty()) << "nothing sent to the radio";
    EXPECT_EQ(Sim().Memory(), Memory());
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, ShortFileWrite,
                         ::testing::Values(WriteCase{QMessageBox::Ok, true},
                                           WriteCase{QMessageBox::Cancel, false}));

// A write first reads the radio whole (for the archive), so a fresh
// session's write has read the radio and asks nothing.
TEST_F(RadioWindow, AWriteReadsTheRadioFirstAndAsksNothing) {
  StartWithRadio();
  std::vector<uint8_t> config = RandomBytes(77);
  PutProductId(config, ProductIdAddress(), kProductKestal);
  LoadFile(config);
  ASSERT_TRUE(boxes.Take().empty());
  ASSERT_TRUE(Button("btnWriteRadio")->isEnabled());

  QTest::mouseClick(Button("btnWriteRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  for (const SeenBox& box : boxes.Take())
    ADD_FAILURE() << "asked: " << box.caption.toStdString() << ": " << box.text.toStdString();
  EXPECT_EQ(Dialog().windowTitle(), "Writing to Radio");
  EXPECT_EQ(Sim().Memory(), config);
  const std::vector<Req> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(std::count(log.begin(), log.end(), Req{OP_READ_BLOCK, 0}), 1) << "one read first";
  EXPECT_EQ(log.back(), Req{OP_RESET});
  EXPECT_EQ(Window().StatusText(3), kRadioData);
}

// A radio that cannot be read first is not written.
TEST_F(RadioWindow, AWriteWhoseReadFailsWritesNothing) {
  StartWithRadio();
  std::vector<uint8_t> config = RandomBytes(78);
  PutProductId(config, ProductIdAddress(), kProductKestal);
  LoadFile(config);
  SimFaults silent;
  silent.silentOpcode = OP_READ_BLOCK;
  silent.silentOpcodeAfter = 10;
  Sim().SetFaults(silent);
  Watcher closeOnFailure([&] {
    if (Dialog().isVisible() && DialogButton()->text() == "Close")
      QTest::mouseClick(DialogButton(), Qt::LeftButton);
  });
  QTest::mouseClick(Button("btnWriteRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().text, "The radio could not be read before the write: nothing was written.");
  EXPECT_EQ(Sim().Memory(), Memory());
  const std::vector<Req> log = Log();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const Req& r) { return r.command == OP_WRITE_BLOCK; }), 0);
}

// A read that does not bring the whole memory leaves what the user had
// loaded exactly as it was: its bytes, its name, its state and the buttons.
struct InterruptedCase {
  const char* name;
  bool cancel;         // the user cancels at block 5; else the radio falls silent there
  const char* action;  // the progress dialog's last words
};

class InterruptedRead : public RadioWindow, public ::testing::WithParamInterface<InterruptedCase> {};

TEST_P(InterruptedRead, LeavesTheLoadedFileAsItWas) {
  const InterruptedCase& c = GetParam();
  StartWithRadio();
  std::vector<uint8_t> file = RandomBytes(0x77);
  PutProductId(file, ProductIdAddress(), kProductKestal);
  LoadFile(file);
  ASSERT_EQ(Window().DataSource(), kFileData);
  const QString status = Window().StatusText(3);
  boxes.Take();
  SimFaults faults;
  if (c.cancel) {
    faults.pace = true;  // slow enough to cancel in the middle
  } else {
    faults.silentOpcode = OP_READ_BLOCK;
    faults.silentOpcodeAfter = 5;
  }
  Sim().SetFaults(faults);

  QString text;
  Watcher watch([&] {
    if (!Dialog().isVisible() || !text.isEmpty()) return;
    if (c.cancel && Progress() >= 80) {
      text = ActionText();
      QTest::mouseClick(DialogButton(), Qt::LeftButton);
    } else if (!c.cancel && DialogButton()->text() == "Close" && !ActionText().isEmpty()) {
      text = ActionText();
      QTest::mouseClick(DialogButton(), Qt::LeftButton);
    }
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());

  if (!c.cancel) {
    EXPECT_EQ(text, c.action);
  }
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(ImageBytes(), file) << "no half-read image";
  EXPECT_EQ(Window().DataSource(), kFileData);
  EXPECT_EQ(Window().CurrentFileName(), Path("radio.mem"));
  EXPECT_EQ(Window().StatusText(3), status);
  EXPECT_TRUE(Button("btnWriteRadio")->isEnabled());
  EXPECT_EQ(Log().back(), Req{OP_RESET}) << "the radio is still reset";
  EXPECT_EQ(boxes.Take().size(), 1u) << "the question only: the reset was answered";
}

INSTANTIATE_TEST_SUITE_P(Reads, InterruptedRead,
                         ::testing::Values(InterruptedCase{"Silent", false,
                                                           "Timeout reading from radio"},
                                           InterruptedCase{"Cancelled", true, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// Cancel closes the dialog while the worker still finishes its block and
// resets the radio; a command clicked at once must wait for it.
TEST_F(RadioWindow, CancelThenReadAgainWaitsForTheFirstWorker) {
  StartWithRadio();
  SimFaults paced;
  paced.pace = true;  // 9600 baud wire time: a full read takes seconds
  Sim().SetFaults(paced);

  int cancelAt = 64;
  bool closedWhileRunning = false;
  Watcher watch([&] {
    if (cancelAt < 0 || !Dialog().isVisible() || Progress() < cancelAt) return;
    QTest::mouseClick(DialogButton(), Qt::LeftButton);
    closedWhileRunning = !Dialog().isVisible() && Window().Flows().Worker().IsRunning();
    cancelAt = -1;
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  EXPECT_TRUE(closedWhileRunning) << "the dialog closed at once, before the worker ended";
  EXPECT_EQ(Dialog().result(), QDialog::Rejected);

  cancelAt = 32;  // the second read is cancelled too, to keep the test short
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());

  // Two whole command sequences, one after the other, nothing interleaved.
  const std::vector<Req> log = Log();
  const auto firstReset = std::find(log.begin(), log.end(), Req{OP_RESET});
  ASSERT_NE(firstReset, log.end());
  const std::vector<Req> first(log.begin(), firstReset + 1);
  const std::vector<Req> second(firstReset + 1, log.end());
  const int pid = ProductIdAddress();
  EXPECT_GE(first.size(), 4u + 4 + 1);
  EXPECT_EQ(first, ReadRequests(pid, static_cast<int>(first.size()) - 5));
  EXPECT_GE(second.size(), 4u + 2 + 1);
  EXPECT_EQ(second, ReadRequests(pid, static_cast<int>(second.size()) - 5));
  EXPECT_LT(second.size(), 4u + 128 + 1);
  EXPECT_EQ(boxes.Take().size(), 2u) << "one question per read, nothing else";
}

// A file read at once after a Cancel must not be marked as radio data by
// the cancelled transfer's late closing steps.
TEST_F(RadioWindow, AFileReadRightAfterACancelStaysAFile) {
  StartWithRadio();
  SimFaults paced;
  paced.pace = true;
  Sim().SetFaults(paced);
  Watcher watch([&] {
    if (Dialog().isVisible() && Progress() >= 32) QTest::mouseClick(DialogButton(), Qt::LeftButton);
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);

  std::vector<uint8_t> config = RandomBytes(5);
  PutProductId(config, ProductIdAddress(), kProductKestal);
  LoadFile(config);
  ASSERT_TRUE(ClosingStepsDone());
  QTest::qWait(50);  // any late message of the transfer
  EXPECT_EQ(Window().StatusText(3).toStdString(), ("File: " + Path("radio.mem")).toStdString());
  EXPECT_EQ(ImageBytes(), config);
  EXPECT_EQ(Log().back(), Req{OP_RESET});
}

struct FirmwareCase {
  const char* name;
  bool radio;          // a port with a radio behind it
  bool silent;         // the radio answers nothing
  const char* message; // the one box shown, "" for none
  bool windowOpens;
};

class FirmwareVersion : public RadioWindow, public ::testing::WithParamInterface<FirmwareCase> {};

TEST_P(FirmwareVersion, ChecksThePortThenShowsTheRadiosFacts) {
  const FirmwareCase& c = GetParam();
  if (c.radio) {
    StartWithRadio();
  } else {
    Start();
  }
  boxes.Take();
  if (c.radio) Sim().SetPcbRevision(3);
  if (c.silent) {
    SimFaults faults;
    faults.silentAfter = 0;
    Sim().SetFaults(faults);
  }

  QStringList shown;
  bool opened = false;
  Watcher watch([&] {
    auto* form = qobject_cast<TfrmFirmware*>(QApplication::activeModalWidget());
    if (!form) return;
    opened = true;
    for (const char* name :
         {"lblRadioTypeInfo", "lblProductIDInfo", "lblPCBRevInfo", "lblFirmwareInfo"})
      shown << form->findChild<QLabel*>(name)->text();
    QTest::mouseClick(form->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
  });
  Action("mnuFirmware")->trigger();

  EXPECT_EQ(opened, c.windowOpens);
  const std::vector<SeenBox> seen = boxes.Take();
  if (QString(c.message).isEmpty()) {
    EXPECT_TRUE(seen.empty());
  } else {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].text.startsWith(c.message)) << seen[0].text.toStdString();
  }
  if (!c.radio) {
    // The window's fuller text: the system's reason on a second line.
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_GT(seen[0].text.split('\n').size(), 1);
  } else if (c.silent) {
    EXPECT_EQ(seen[0].caption, "Read Error");
    EXPECT_EQ(shown.join("|").toStdString(), "|||");
  } else {
    EXPECT_EQ(shown.join("|").toStdString(), Sim().FirmwareText() + "|5A02|03|v3.00");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Radios, FirmwareVersion,
    ::testing::Values(FirmwareCase{"NoPort", false, false, "Unable to open COM1.\n", false},
                      FirmwareCase{"SilentRadio", true, true, "Unable to read from radio", true},
                      FirmwareCase{"Radio", true, false, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Closing the program mid-transfer stops the worker at the next block; the
// window's end waits for it, and the radio is still reset.
class CloseDuringTransfer : public RadioWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(CloseDuringTransfer, StopsTheWorkerAndResetsTheRadio) {
  const bool cancelFirst = GetParam();
  StartWithRadio();
  SimFaults paced;
  paced.pace = true;
  Sim().SetFaults(paced);
  bool done = false;
  Watcher watch([&] {
    if (done || !Dialog().isVisible() || Progress() < 64) return;
    done = true;
    if (cancelFirst) QTest::mouseClick(DialogButton(), Qt::LeftButton);
    Window().close();
  });
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  EXPECT_TRUE(done);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_FALSE(Window().isVisible());

  CloseWindow();
  const std::vector<Req> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), Req{OP_RESET});
  EXPECT_LT(log.size(), 4u + 128 + 1) << "the read stopped early";
  EXPECT_EQ(Stored("ComPort").toInt(), 1) << "settings saved, the session port not among them";
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseDuringTransfer, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "CancelThenClose" : "Close"; });

// Pinto radios take arrays and a raised rate; the engineering build's menu
// item decides about arrays instead of the model.
struct ArrayCase {
  const char* name;
  bool engineering;
  bool toggleArrayItem;
  int command;
  int step;
};

class ArrayRead : public RadioWindow, public ::testing::WithParamInterface<ArrayCase> {};

TEST_P(ArrayRead, FollowsTheModelOrTheMenuItem) {
  const ArrayCase& c = GetParam();
  Store("MaxBdRate", 38400);
  StartWithRadio(BuildConfig::ForFamily("Pinto", c.engineering));
  if (c.toggleArrayItem) Action("mnuSetupEngArrayRdWr")->trigger();
  QTest::mouseClick(Button("btnReadRadio"), Qt::LeftButton);
  ASSERT_TRUE(ClosingStepsDone());

  EXPECT_EQ(ImageBytes(), Memory());
  const int count = kImageSize / c.step;
  EXPECT_EQ(Log(), ReadRequests(ProductIdAddress(), count, c.command, c.step,
                                {{OP_SET_BAUD_RATE, 38400}}));
  EXPECT_TRUE(Window().BaudRaised());
  EXPECT_EQ(Window().CurrentBaudRate(), 9600) << "back to the normal rate after the transfer";
  EXPECT_EQ(Window().Shared().port.CurrentBaudRate(), 9600u);
}

INSTANTIATE_TEST_SUITE_P(
    Builds, ArrayRead,
    ::testing::Values(ArrayCase{"PintoArrays", false, false, OP_READ_ARRAY, kArrayBlockSize},
                      ArrayCase{"EngineeringArraysOff", true, true, OP_READ_BLOCK, kBlockSize}),
    [](const auto& info) { return std::string(info.param.name); });

// "Align" reads the calibration area into the image before the alignment
// window opens; a radio that does not answer is offered offline.
struct AlignCase {
  const char* name;
  SimFaults faults;
  QMessageBox::StandardButton answer;  // to the offline question, if asked
  std::vector<QString> boxes;          // "caption: text" of each box shown
  std::vector<bool> opened;            // the offline flag the window got
  int blocksCopied;                    // calibration blocks now in the image
};

SimFaults NackOf(int opcode) {
  SimFaults f;
  f.nackOpcode = opcode;
  return f;
}
SimFaults BlocksAnswered(int count) {
  SimFaults f;
  f.silentOpcode = OP_READ_BLOCK;
  f.silentOpcodeAfter = count;
  return f;
}

const QString kOffline = "Comms Error: Unable to read radio calibration.\nContinue in offline mode?";

class AlignCommand : public RadioWindow, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(AlignCommand, ReadsTheCalibrationOrOffersOffline) {
  const AlignCase& c = GetParam();
  StartWithRadio();
  std::vector<bool> opened;
  Window().Openers().align = [&](bool offline) { opened.push_back(offline); };
  Sim().SetFaults(c.faults);

  boxes.Answer({c.answer});
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);

  std::vector<QString> seen;
  for (const SeenBox& box : boxes.Take()) seen.push_back(box.caption + ": " + box.text);
  EXPECT_EQ(seen, c.boxes);
  EXPECT_EQ(opened, c.opened);
  const std::vector<uint8_t> image = ImageBytes();
  const size_t copied = static_cast<size_t>(c.blocksCopied) * kBlockSize;
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + copied, Memory().begin()));
  EXPECT_TRUE(std::all_of(image.begin() + copied, image.end(), [](uint8_t b) { return b == 0xFF; }))
      << "nothing beyond the calibration blocks read";
  EXPECT_EQ(Window().DataSource(), kNothingLoaded);
}

INSTANTIATE_TEST_SUITE_P(
    Radios, AlignCommand,
    ::testing::Values(
        AlignCase{"Online", {}, QMessageBox::Ok, {}, {false}, 2},
        AlignCase{"VersionRefusedGoOffline", NackOf(OP_GET_VERSION), QMessageBox::Ok, {kOffline},
                  {true}, 0},
        AlignCase{"VersionRefusedCancel", NackOf(OP_GET_VERSION), QMessageBox::Cancel,
                  {kOffline}, {}, 0},
        AlignCase{"CalibrationUnreadable", NackOf(OP_READ_BLOCK), QMessageBox::Ok,
                  {"Comms Error: Error reading radio calibration."}, {}, 0},
        AlignCase{"SecondBlockUnreadable", BlocksAnswered(1), QMessageBox::Ok,
                  {"Comms Error: Error reading radio calibration."}, {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RadioWindow, AlignAsksTheRadioInOrder) {
  StartWithRadio();
  Window().Openers().align = [](bool) {};
  QTest::mouseClick(Button("btnAlign"), Qt::LeftButton);
  EXPECT_EQ(Log(), (std::vector<Req>{{OP_READ_WORD, ProductIdAddress()},
                                     {OP_GET_VERSION},
                                     {OP_READ_BLOCK, 0},
                                     {OP_READ_BLOCK, 16}}));
}

}  // namespace
