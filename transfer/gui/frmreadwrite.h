#pragma once
// The progress dialog of a whole-memory transfer: a result line, a
// progress bar and one button, "Cancel" while the transfer runs and
// "Close" after a failure or a cancel. The window that started the
// transfer feeds it the worker's messages through ProgressView.

#include <QDialog>
#include <functional>
#include <string>

#include "progress.h"

class Event;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
struct ProgressSetup;

class TfrmReadWrite : public QDialog, public ProgressView {
  Q_OBJECT
 public:
  explicit TfrmReadWrite(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetCancelMode();
  void SetCancelEvent(Event* event);
  // The transfer's direction, for the words said when it completes.
  void SetDirection(int direction) { direction_ = direction; }
  Event* CancelEvent() const { return cancelEvent_; }

  // ProgressView.
  void SetProgress(int value) override;
  void SetCloseMode() override;
  void SetActionText(const std::string& text) override;
  void CloseProgress() override;

  // The user closed the dialog (button, close box, Escape): the transfer
  // is asked to stop, then the dialog closes.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QLabel* lblAction_;
  QFrame* Panel1_;
  QProgressBar* gaugeProgress_;
  QPushButton* btnCancel_;
  Event* cancelEvent_ = nullptr;
  int direction_ = 0;
};

// How a window runs a transfer's progress: sets the dialog up, starts the
// worker and shows the dialog modally until it closes.
void RunTransferDialog(TfrmReadWrite& dialog, const ProgressSetup& setup,
                       const std::function<bool()>& startWorker);
