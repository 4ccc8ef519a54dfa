// The progress dialog with real widgets, clicked like a user would, and
// a whole read through it against the simulated radio.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "accessibility_events.h"
#include "frmreadwrite.h"
#include "platform.h"
#include "progress.h"
#include "transfer_rig.h"

namespace {

struct Dialog {
  TfrmReadWrite form;
  QLabel* label = form.findChild<QLabel*>("lblAction");
  QFrame* panel = form.findChild<QFrame*>("Panel1");
  QProgressBar* gauge = form.findChild<QProgressBar*>("gaugeProgress");
  QPushButton* button = form.findChild<QPushButton*>("btnCancel");
};

TEST(TfrmReadWrite, HasItsControlsWithTheirNames) {
  Dialog d;
  ASSERT_TRUE(d.label && d.panel && d.gauge && d.button);
  EXPECT_EQ(d.gauge->parentWidget(), d.panel);
  EXPECT_TRUE(d.label->wordWrap());
  EXPECT_TRUE(d.label->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(d.gauge->orientation(), Qt::Horizontal);
}

TEST(TfrmReadWrite, ShowingClearsTextAndProgress) {
  Dialog d;
  d.form.SetRange(0, 2047);
  d.form.SetProgress(900);
  d.form.SetActionText("Timeout reading from radio");
  d.form.show();
  EXPECT_EQ(d.label->text(), "");
  EXPECT_EQ(d.gauge->value(), 0);
  d.form.hide();
}

TEST(TfrmReadWrite, ProgressAboveTheMaximumShowsTheBarFull) {
  Dialog d;
  d.form.SetRange(0, 2047);
  d.form.show();
  const std::pair<int, int> cases[] = {{16, 16}, {2032, 2032}, {2048, 2047}, {99999, 2047}, {-5, 0}};
  for (auto [given, shown] : cases) {
    d.form.SetProgress(given);
    EXPECT_EQ(d.gauge->value(), shown) << given;
  }
  d.form.hide();
}

TEST(TfrmReadWrite, TheButtonSetsTheCancelEventAndClosesInEitherMode) {
  for (bool closeMode : {false, true}) {
    SCOPED_TRACE(closeMode);
    Dialog d;
    Event cancel;
    d.form.SetCancelMode();
    EXPECT_EQ(d.button->text(), "Cancel");
    if (closeMode) d.form.SetCloseMode();
    EXPECT_EQ(d.button->text(), closeMode ? "Close" : "Cancel");
    d.form.SetCancelEvent(&cancel);
    d.form.show();
    QTest::mouseClick(d.button, Qt::LeftButton);
    EXPECT_TRUE(cancel.IsSet());
    EXPECT_FALSE(d.form.isVisible());
    EXPECT_EQ(d.form.CancelEvent(), nullptr) << "a closed dialog forgets the event";
  }
}

TEST(TfrmReadWrite, EscapeCancelsLikeTheButtonButACompletedTransferDoesNot) {
  Dialog d;
  Event cancel;
  d.form.SetCancelEvent(&cancel);
  d.form.show();
  QTest::keyClick(&d.form, Qt::Key_Escape);
  EXPECT_TRUE(cancel.IsSet());
  EXPECT_FALSE(d.form.isVisible());

  cancel.Reset();
  d.form.SetCancelEvent(&cancel);
  d.form.show();
  d.form.CloseProgress();
  EXPECT_FALSE(cancel.IsSet());
  EXPECT_FALSE(d.form.isVisible());
  d.form.SetProgress(512);  // a late message of a closed dialog
  EXPECT_FALSE(d.form.isVisible());
}

// What ended the transfer is said to assistive tools when it happens: a
// failure's text (and the focus goes to Close), or that it completed, said
// before the dialog closes by itself.
TEST(TfrmReadWrite, AnnouncesAFailureAndACompletion) {
  Dialog d;
  d.form.SetRange(0, 2047);
  d.form.show();
  AccessibilityEvents events;
  d.form.SetCloseMode();
  d.form.SetActionText("Timeout reading from radio");
  EXPECT_TRUE(events.Alerted(d.label));
  EXPECT_EQ(events.Alerts(), QStringList{"Transfer: Timeout reading from radio"});
  EXPECT_EQ(d.form.focusWidget(), d.button);
  d.form.hide();

  for (int direction : {kDirectionRead, kDirectionWrite}) {
    events.Clear();
    d.form.SetDirection(direction);
    d.form.show();
    EXPECT_TRUE(events.Alerts().isEmpty()) << "showing says nothing of the last transfer";
    d.form.CloseProgress();
    EXPECT_FALSE(d.form.isVisible());
    EXPECT_EQ(events.Alerts(), QStringList{direction == kDirectionRead
                                               ? "Transfer: Read from radio complete."
                                               : "Transfer: Write to radio complete."});
  }
}

// ---- A whole transfer through the dialog ---------------------------------

// The window the worker posts to, as the main window does it: posted Qt
// events handled on this thread.
class PostedEvent : public QEvent {
 public:
  PostedEvent(unsigned m, intptr_t w, intptr_t l) : QEvent(Type()), message(m), wParam(w), lParam(l) {}
  static QEvent::Type Type() {
    static const int type = QEvent::registerEventType();
    return static_cast<QEvent::Type>(type);
  }
  unsigned message;
  intptr_t wParam, lParam;
};

class GuiWindow : public QObject, public MessageReceiver {
 public:
  void PostMessage(unsigned m, intptr_t w, intptr_t l) override {
    QCoreApplication::postEvent(this, new PostedEvent(m, w, l));
  }
  bool event(QEvent* e) override {
    if (e->type() != PostedEvent::Type()) return QObject::event(e);
    auto* p = static_cast<PostedEvent*>(e);
    flows->HandleMessage(p->message, p->wParam, p->lParam, *dialog);
    return true;
  }
  TransferFlows* flows = nullptr;
  TfrmReadWrite* dialog = nullptr;
};

// The scripted host with the real dialog in place of its pump.
class DialogHost : public ScriptedHost {
 public:
  void RunTransfer(const ProgressSetup& s, const std::function<bool()>& start) override {
    log.push_back("RunTransfer:" + s.caption);
    RunTransferDialog(*dialog, s, start);
  }
  void DeliverPendingMessages() override { QCoreApplication::sendPostedEvents(window); }
  TfrmReadWrite* dialog = nullptr;
  GuiWindow* window = nullptr;
};

struct GuiRig : SharedObjects {
  explicit GuiRig(const BuildConfig& b)
      : SharedObjects(b.productId), build(b), sim(b.productId),
        flows(RadioObjectsOf(*this, build), state, host, &window) {
    info.SelectModel(b.productId);
    host.Attach(flows);
    host.dialog = &dialog.form;
    host.window = &window;
    window.flows = &flows;
    window.dialog = &dialog.form;
    if (sim.Start()) state.portNumber = port.Ports().AddExtraDevice(sim.DevicePath());
    std::vector<uint8_t> bytes = RandomBytes(40);
    PutProductId(bytes, info.GetParamAddress(kParamProductId), b.productId);
    sim.SetMemory(bytes);
  }
  ~GuiRig() { flows.FinishPreviousTransfer(); }
  std::vector<uint8_t> Image() const { return {image.Data(), image.Data() + kImageSize}; }

  BuildConfig build;
  SimulatedRadio sim;
  TransferState state;
  DialogHost host;
  GuiWindow window;
  Dialog dialog;
  TransferFlows flows;
};

TEST(TransferDialog, ACompletedReadClosesTheDialogWithoutAClick) {
  GuiRig rig(BuildConfig::ForFamily("Kestal", false));
  AccessibilityEvents events;
  ASSERT_TRUE(rig.flows.ReadRadio());  // returns only once the dialog closed
  EXPECT_EQ(events.Alerts(), QStringList{"Transfer: Read from radio complete."});
  EXPECT_FALSE(rig.dialog.form.isVisible());
  EXPECT_EQ(rig.dialog.gauge->value(), 2047);
  EXPECT_EQ(rig.dialog.form.windowTitle(), "Reading from Radio");
  EXPECT_EQ(rig.dialog.form.result(), QDialog::Accepted);
  QCoreApplication::sendPostedEvents(&rig.window);  // the worker's closing message
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.Image(), rig.sim.Memory());
  EXPECT_EQ(rig.host.dataSource, 2);
}

TEST(TransferDialog, ATimeoutLeavesTheTextAndACloseButtonUntilClicked) {
  GuiRig rig(BuildConfig::ForFamily("Kestal", false));
  SimFaults f;
  f.silentOpcode = OP_WRITE_BLOCK;
  f.silentOpcodeAfter = 3;
  rig.sim.SetFaults(f);
  rig.radio.CountRadioRead();
  std::vector<uint8_t> bytes = RandomBytes(41);
  PutProductId(bytes, rig.info.GetParamAddress(kParamProductId), kProductKestal);
  rig.image.WriteBlock(0, bytes.data(), kImageSize);
  QString seen;
  QTimer clicker;
  QObject::connect(&clicker, &QTimer::timeout, [&] {
    if (rig.dialog.button->text() != "Close" || rig.dialog.label->text().isEmpty()) return;
    seen = rig.dialog.label->text();
    QTest::mouseClick(rig.dialog.button, Qt::LeftButton);
  });
  clicker.start(10);

  AccessibilityEvents events;
  ASSERT_TRUE(rig.flows.WriteRadio());
  clicker.stop();

  EXPECT_EQ(seen.toStdString(), "Timeout writing to radio\n" + PartialWriteText(""));
  EXPECT_TRUE(events.Alerts().contains("Transfer: " + seen));
  EXPECT_TRUE(rig.cancel.IsSet()) << "Close sets the event too; the next transfer resets it";
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferFailed);
  rig.sim.SetFaults({});
  ASSERT_TRUE(rig.flows.WriteRadio());
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCompleted);
  EXPECT_EQ(rig.sim.Memory(), bytes);
}

TEST(TransferDialog, CancelClickedDuringAReadStopsItAndTheRadioIsReset) {
  GuiRig rig(BuildConfig::ForFamily("Kestal", false));
  SimFaults f;
  f.replyDelayMs = 3;
  rig.sim.SetFaults(f);
  QTimer clicker;
  QObject::connect(&clicker, &QTimer::timeout, [&] {
    if (rig.dialog.form.isVisible() && rig.dialog.gauge->value() >= 64)
      QTest::mouseClick(rig.dialog.button, Qt::LeftButton);
  });
  clicker.start(5);
  ASSERT_TRUE(rig.flows.ReadRadio());
  clicker.stop();
  EXPECT_EQ(rig.dialog.form.result(), QDialog::Rejected);
  rig.flows.FinishPreviousTransfer();
  EXPECT_EQ(rig.flows.LastOutcome().result, kTransferCancelled);
  EXPECT_EQ(rig.dialog.label->text(), "Reading from radio cancelled");
  const std::vector<Req> log = Summarise(rig.sim.Requests());
  EXPECT_EQ(log.back(), Req{OP_RESET});
  EXPECT_LT(log.size(), 4u + 128u + 1u);
}

}  // namespace
