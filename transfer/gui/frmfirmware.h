#pragma once
// "Firmware Version": asks the connected radio for its firmware text,
// product ID, PCB revision and firmware version each time it is shown.
// It changes nothing in the radio or the image.

#include <QDialog>

class QLabel;
class QPushButton;
class TRadio;
class TradioInfo;
class UserPrompts;
struct BuildConfig;

class TfrmFirmware : public QDialog {
  Q_OBJECT
 public:
  TfrmFirmware(TRadio& radio, TradioInfo& info, const BuildConfig& build, UserPrompts& prompts,
               QWidget* parent = nullptr);

 protected:
  // Once per showing: asking on every activation would ask again each
  // time the failure message box closes and gives the focus back.
  void showEvent(QShowEvent* e) override;

 private:
  QLabel* AddRow(int row, const char* captionName, const QString& caption,
                 const char* valueName);
  void Refresh();

  TRadio& radio_;
  TradioInfo& info_;
  const BuildConfig& build_;
  UserPrompts& prompts_;
  QLabel* lblRadioTypeInfo_;
  QLabel* lblProductIDInfo_;
  QLabel* lblPCBRevInfo_;
  QLabel* lblFirmwareInfo_;
  QPushButton* btnOK_;
};
