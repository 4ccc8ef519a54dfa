#pragma once
// "AutoDetect": tries every existing port in turn, one per timer tick,
// until a radio of the build's model answers. The main window reads the
// found port number (0 = none) afterwards. The port stays open on the
// last port probed.

#include <QDialog>
#include <vector>

#include "radioprobe.h"

#include "buildconfig.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;
class QTimer;
struct SharedObjects;

class TfrmAutoDetect : public QDialog {
  Q_OBJECT
 public:
  TfrmAutoDetect(const BuildConfig& build, SharedObjects& shared, QWidget* parent = nullptr);

  int FoundPort() const { return foundPort_; }
  bool IsScanning() const;

  // Closing by any means ends the scan at once.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void TimerAutoDetectTimer();
  void btnCloseClick();
  void AddLine(const QString& line);
  void Finish();

  const BuildConfig build_;  // a copy: a dialog must not outlive the value it was built with
  SharedObjects& shared_;
  std::vector<int> ports_;
  size_t index_ = 0;
  int foundPort_ = 0;
  // The last radio of another model that answered, for the closing words.
  int otherPort_ = 0;
  ProbeResult other_;

  QFrame* Panel1_ = nullptr;
  QPlainTextEdit* Memo1_ = nullptr;
  QPushButton* btnClose_ = nullptr;
  QTimer* TimerAutoDetect_ = nullptr;
};
