#pragma once
// "Selcall Options": the radio's own selcall ident and name, how received
// calls are alerted, group calls, the appended ANI, the transmit lead-in, the
// user's permissions, the selcall quiet memory and, in the engineering
// build, the tone period. Its memories open in their own window.

#include <QDialog>
#include <array>
#include <utility>
#include <vector>

#include "windowcontext.h"
#include "selcall.h"

class HelpMemo;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TfrmSelcallIdents;
class NumberField;

class TfrmSelcall : public QDialog {
  Q_OBJECT

 public:
  TfrmSelcall(WindowContext& context, TfrmSelcallIdents& memories, QWidget* parent);
  ~TfrmSelcall() override;

  // The number of ident digits the window edits and hands to the memories.
  static constexpr int kIdentLength = kRadioIdentLength;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // frmselcall_layout.cpp
  void BuildControls();
  QWidget* BuildTopPanel();
  QGroupBox* BuildGeneralOptions();
  QGroupBox* BuildReceiveOptions();
  QGroupBox* BuildTransmitOptions();
  QGroupBox* BuildQuietMemory();
  QWidget* BuildBottomPanel();
  QCheckBox* FlagBox(const char* name, const char* caption, SelcallFlag flag);
  void RegisterHelp();

  // frmselcall.cpp
  void FormShow();
  void OKBtnClick();
  void AlignIdentField();
  bool IdentAccepted();
  void btnSelcallMemClick();
  void SetQuietBoxes(bool ticked);
  void GroupBoxToggled(QCheckBox* box, QComboBox* sizes);

  WindowContext& context_;
  TfrmSelcallIdents& memories_;
  SelcallForm form_;
  // The user has changed the ident since it was loaded: only then is it
  // right-aligned, and only then are its empty positions asked about.
  bool identEdited_ = false;

  QFrame* Panel2 = nullptr;
  QLabel* blbRadioIdent = nullptr;
  QLineEdit* MaskEditRadioIdent = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* editRadioAlpha = nullptr;
  QPushButton* btnSelcallMem = nullptr;

  QGroupBox* gbGeneralOptions = nullptr;
  QLabel* lblTonePeriod = nullptr;
  QComboBox* comboTonePeriod = nullptr;
  QLabel* Label8 = nullptr;

  QGroupBox* GroupBox2 = nullptr;
  QLabel* lblAlertDuration = nullptr;
  NumberField* udAlertDuration = nullptr;
  QCheckBox* chkAcceptGroupCalls = nullptr;
  QLabel* lblRxGroupSize = nullptr;
  QComboBox* comboRxGrpSize = nullptr;

  QGroupBox* GroupBox3 = nullptr;
  QLabel* lblLeadInDelayl = nullptr;
  NumberField* udLeadInDelay = nullptr;
  QCheckBox* chkSendGroupCalls = nullptr;
  QLabel* lblTxGroupSize = nullptr;
  QComboBox* comboTxGrpSize = nullptr;

  QGroupBox* gbQuietMem = nullptr;
  std::array<QCheckBox*, kQuietMemChannels> quietBoxes_{};
  QPushButton* btnSelectAll = nullptr;
  QPushButton* btnDeselectAll = nullptr;

  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPlainTextEdit* memoHelpText = nullptr;
  HelpMemo* help_ = nullptr;

  // The check boxes that each own one option bit.
  std::vector<std::pair<SelcallFlag, QCheckBox*>> flagBoxes_;
};
