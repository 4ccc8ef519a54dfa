#pragma once
// "CTCSS Setup": CTCSS on or off, the subtone of the CB channels and of
// NetScan, the tone set, the CTCSS options and the silent channel memory.
// Works on the image only; every showing reloads it, OK stores it.

#include <QDialog>
#include <array>

#include "ctcss.h"
#include "windowcontext.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class HelpMemo;

class TfrmCtcss : public QDialog {
  Q_OBJECT

 public:
  TfrmCtcss(WindowContext& context, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildOptions();
  void BuildSilentMemory();
  void BuildBottom();
  void BuildHelp();

  void FormShow();
  void ShowToneList(QComboBox* box, const ToneChoice& choice);
  ToneChoice ChoiceOf(const QComboBox* box, const ToneChoice& shown) const;
  void ApplyEnabling();
  void SetAllSilent(bool ticked);
  void cbCTCSSToneSetChange(int index);
  void OKBtnClick();

  WindowContext& context_;
  CtcssModel model_;
  CtcssSettings settings_;  // the copies taken on showing

  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* chkEnableCbCtcss = nullptr;
  QCheckBox* chkCtcssOnDup = nullptr;
  QCheckBox* chkCtcssNb = nullptr;
  QCheckBox* chkBusyLockout = nullptr;
  QCheckBox* chkBusyLockoutOverride = nullptr;
  QCheckBox* chkCTCSS_RPK = nullptr;
  QCheckBox* chkCTCSS_SilentTail = nullptr;
  QLabel* lblCbCtcssTx = nullptr;
  QComboBox* cmbTxCtcss = nullptr;
  QLabel* lblCTCSSToneSet = nullptr;
  QComboBox* cbCTCSSToneSet = nullptr;
  QLabel* lblNetScanTone = nullptr;
  QComboBox* cmbNetScanTone = nullptr;
  QGroupBox* gbCtcssMem = nullptr;
  std::array<QCheckBox*, kSilentChannels> chkCtcss{};
  QPushButton* btnCtcssSelectAll = nullptr;
  QPushButton* btnCtcssDeselectAll = nullptr;
  QPlainTextEdit* memoHelpText = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  HelpMemo* help_ = nullptr;
};
