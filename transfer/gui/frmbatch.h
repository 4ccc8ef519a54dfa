#pragma once
// "Batch Write": the loaded configuration into radio after radio on the
// session's port, each keeping its own calibration and, on models with
// selcall, taking the next ident. The batch runs on the session's worker
// lane; this window only starts it, shows each radio's row as it ends with
// the line for the dealer, and stops it.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qtmessagereceiver.h"
#include "transferhost.h"
#include "windowcontext.h"

class BatchLaneJob;
class NumberField;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TransferFlows;

// What the window needs of the program around it besides what every
// window has (the shared objects, the build, the port check).
struct BatchWindowContext : WindowContext {
  TransferFlows& flows;  // its lane runs the batch; its archive keeps the reads
  std::function<TransferState()> state;  // the port, the rates and the arrays mark now
  std::function<QString(QWidget*)> chooseLog;  // empty: cancelled
  // The configuration's files (the one loaded, the default), never the log.
  std::function<std::vector<std::string>()> configFiles;
};

class TfrmBatch : public QDialog {
  Q_OBJECT
 public:
  TfrmBatch(BatchWindowContext context, QWidget* parent = nullptr);
  ~TfrmBatch() override;

  // Each opening: the ident field only for a configuration that gives
  // idents; the table of the last batch stays until the next starts.
  void PrepareForConfiguration();
  bool Running() const { return running_; }

 public slots:
  void reject() override;  // a running batch is stopped first

 protected:
  bool event(QEvent* e) override;

 private:
  void BuildLayout();
  void StartClick();
  void StopClick();
  void BrowseClick();
  void TakeReports();
  void AddRow(const std::vector<std::string>& fields);
  void Ended();
  void ShowRunning(bool running);
  void Say(QLabel* label, const QString& role, const QString& text);
  void ShowStage(const QString& stage);  // empty: no transfer
  void Refuse(const QString& text);
  bool ShortIdentAccepted(const std::string& first);
  bool CloseDuringTransferAccepted();

  BatchWindowContext context_;
  QtMessageReceiver receiver_{this};
  std::unique_ptr<BatchLaneJob> run_;
  bool running_ = false;
  int count_ = 0;

  QLabel* lblFirstIdent_ = nullptr;
  QLineEdit* edtFirstIdent_ = nullptr;
  NumberField* spnCount_ = nullptr;
  QLineEdit* edtLog_ = nullptr;
  QPushButton* btnBrowse_ = nullptr;
  QPushButton* btnStart_ = nullptr;
  QPushButton* btnStop_ = nullptr;
  QPushButton* btnClose_ = nullptr;
  QLabel* lblPrompt_ = nullptr;
  QLabel* lblNote_ = nullptr;
  QProgressBar* prbTransfer_ = nullptr;
  QTableWidget* tblRadios_ = nullptr;
};
