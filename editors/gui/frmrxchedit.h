#pragma once
// The dialog that adds or edits one receive-only channel: its number, its
// frequency, its scan, quiet and silent memberships and, on models with an
// alphanumeric display, its name.

#include <QDialog>
#include <cstdint>
#include <vector>

#include "eeprom.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class UpDown;

class TfrmRxChEdit : public QDialog {
  Q_OBJECT
 public:
  TfrmRxChEdit(uint32_t productId, QWidget* parent);

  // Called in this order before each showing: the mode (1 add, 0 edit), in
  // add mode the spare channel numbers, then the record to start from.
  void SetMode(uint8_t mode);
  void SetChannelList(const std::vector<int>& channels);
  void SetRecord(const RX_CH_DATA_STRUCT& record, int channel);
  // After OK: fills `record` and gives the channel number, or -1 when the
  // frequency does not parse (the record is then left as it was).
  int GetRecord(RX_CH_DATA_STRUCT& record) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildForm();
  void FormShow();
  void btnOKClick();
  void editFreqEnter();
  void udFreqClick(bool up);
  void ShowHz(int64_t hz);

  uint32_t productId_;
  uint8_t mode_ = 1;
  int channel_ = 0;
  RX_CH_DATA_STRUCT record_;

  QLabel* lblChannel_ = nullptr;
  QComboBox* cbChannel_ = nullptr;
  QLineEdit* editChannel_ = nullptr;
  QLineEdit* editFreq_ = nullptr;
  UpDown* udFreq_ = nullptr;
  QCheckBox* chkScan1_ = nullptr;
  QCheckBox* chkScan2_ = nullptr;
  QCheckBox* chkQuiet_ = nullptr;
  QCheckBox* chkSilent_ = nullptr;
  QLabel* lblAlphaTag_ = nullptr;
  QLineEdit* editAlphaTag_ = nullptr;
};
