#pragma once
// What the three traffic monitor windows share: the memo of lines in a
// fixed-pitch font, start/pause/clear/close, "Save..." to a text file,
// attaching to the source on showing and detaching on closing. The
// lines come from the window's TrafficMonitor.

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "qtmessagereceiver.h"
#include "trafficmonitor.h"

class QHBoxLayout;
class QPlainTextEdit;
class QPushButton;

class TrafficMonitorWindow : public QDialog {
  Q_OBJECT
 public:
  // Control names as each window's form has them.
  struct Names {
    const char* memo;
    const char* start;
    const char* pause;
    const char* close;
    const char* clear;
  };
  ~TrafficMonitorWindow() override;

  QStringList Lines() const;
  bool IsRunning() const { return core_->IsRunning(); }

  // Asks where "Save..." writes; a file dialog unless replaced (tests).
  std::function<QString(QWidget* parent)> chooseSaveFile;
  // Writes the memo's lines; false, with why set when given, when the file
  // cannot be written.
  bool SaveLines(const QString& path, QString* why = nullptr) const;

  void done(int result) override;

 protected:
  TrafficMonitorWindow(std::unique_ptr<TrafficMonitor> core, const QString& title, const Names& names,
                       QWidget* parent);
  // A row under the buttons for a window's own controls.
  QHBoxLayout* OptionsRow() const { return optionsRow_; }
  TrafficMonitor& Core() { return *core_; }

  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void FormClose();
  void StartClick();
  void PauseClick();
  void CloseClick();
  void ClearClick();
  void SaveClick();
  void AddLine(const std::string& line);
  void UpdateButtons();

  std::unique_ptr<TrafficMonitor> core_;
  QtMessageReceiver receiver_{this};
  QPlainTextEdit* memo_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* pause_ = nullptr;
  QHBoxLayout* optionsRow_ = nullptr;
};
