#pragma once
// "Configure serial port": the existing ports to choose from and, on
// models that switch rates for transfers, the highest rate to use. The
// main window sets both values before showing it and takes them back
// after OK.

#include <QDialog>

#include "buildconfig.h"

class PortMap;
class QComboBox;
class QLabel;
class QPushButton;

class TfrmPorts : public QDialog {
  Q_OBJECT
 public:
  TfrmPorts(const BuildConfig& build, const PortMap& ports, QWidget* parent = nullptr);

  void SetSelectedPort(int number) { selectedPort_ = number; }
  int SelectedPort() const { return selectedPort_; }
  void SetMaxBaudRate(int rate) { maxBaudRate_ = rate; }
  int MaxBaudRate() const { return maxBaudRate_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void btnOKClick();
  void Warn(const QString& text, const QString& caption);

  const BuildConfig build_;  // a copy: a dialog must not outlive the value it was built with
  const PortMap& ports_;
  int selectedPort_ = 1;
  int maxBaudRate_ = 9600;

  QComboBox* cbPort_ = nullptr;
  QLabel* lblMaxBaudRate_ = nullptr;
  QComboBox* cbBaud_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};
