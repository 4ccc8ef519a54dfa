#pragma once
// "Check Lead": why the lead does not answer, one line per finding with
// what to do, and "Save Report..." for support. The checks are the
// Qt-free lead check one folder up; the window only shows them. The
// program's own port is closed for the check and opened again after.

#include <QDialog>
#include <functional>
#include <string>

#include "buildconfig.h"
#include "leadreport.h"

class QPlainTextEdit;
class QPushButton;
struct SharedObjects;

class TfrmCheckLead : public QDialog {
  Q_OBJECT
 public:
  TfrmCheckLead(const BuildConfig& build, SharedObjects& shared, QWidget* parent = nullptr);

  // Where /sys, /proc, /dev, /run and /etc are read ("/" unless a test
  // points it at a prepared tree).
  void SetSystemRoot(const std::string& root) { root_ = root; }
  // The trace file being kept, "" for none: its end goes into the report.
  void SetTracePath(const std::string& path) { tracePath_ = path; }
  // Asks for the report's file name; an empty answer saves nothing.
  void SetReportFileChooser(std::function<QString()> choose) { chooseReportFile_ = std::move(choose); }

  bool HasChecked() const { return checked_; }
  const DoctorReport& Report() const { return report_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void RunCheck();
  void btnCheckClick();
  void btnSaveClick();

  const BuildConfig build_;
  SharedObjects& shared_;
  std::string root_ = "/";
  std::string tracePath_;
  std::function<QString()> chooseReportFile_;
  DoctorReport report_;
  bool checked_ = false;

  QPlainTextEdit* Memo1_ = nullptr;
  QPushButton* btnCheck_ = nullptr;
  QPushButton* btnSave_ = nullptr;
  QPushButton* btnClose_ = nullptr;
};
