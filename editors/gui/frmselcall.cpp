#include "frmselcall.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "frmselcallidents.h"
#include "inputrule.h"
#include "numberfield.h"

TfrmSelcall::TfrmSelcall(WindowContext& context, TfrmSelcallIdents& memories, QWidget* parent)
    : QDialog(parent), context_(context), memories_(memories) {
  setObjectName("frmSelcall");
  setWindowTitle("Selcall Options");
  BuildControls();
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
  OKBtn->setDefault(true);

  connect(btnSelcallMem, &QPushButton::clicked, this, &TfrmSelcall::btnSelcallMemClick);
  connect(btnSelectAll, &QPushButton::clicked, this, [this] { SetQuietBoxes(true); });
  connect(btnDeselectAll, &QPushButton::clicked, this, [this] { SetQuietBoxes(false); });
  connect(OKBtn, &QPushButton::clicked, this, &TfrmSelcall::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(MaskEditRadioIdent, &QLineEdit::textEdited, this, [this] { identEdited_ = true; });
  connect(chkAcceptGroupCalls, &QCheckBox::toggled, this,
          [this] { GroupBoxToggled(chkAcceptGroupCalls, comboRxGrpSize); });
  connect(chkSendGroupCalls, &QCheckBox::toggled, this,
          [this] { GroupBoxToggled(chkSendGroupCalls, comboTxGrpSize); });
}

// QDialog's own destructor hides a window still shown, and the focused
// ident field then reports editingFinished to a window that is no longer
// whole: cut that one connection first.
TfrmSelcall::~TfrmSelcall() {
  disconnect(MaskEditRadioIdent, nullptr, this, nullptr);
}

void TfrmSelcall::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmSelcall::FormShow() {
  form_ = LoadSelcallForm(context_.shared.image, context_.shared.info, kIdentLength);
  MaskEditRadioIdent->setText(QString::fromStdString(form_.ident));
  identEdited_ = false;
  InputRule::Load(editRadioAlpha, QString::fromStdString(form_.radioName));
  for (const auto& [flag, box] : flagBoxes_) box->setChecked(GetSelcallFlag(form_, flag));
  udAlertDuration->setValue(form_.alertDuration);

  // Group calls off leave the size list as it was.
  chkAcceptGroupCalls->setChecked(form_.acceptGroupCalls);
  if (form_.acceptGroupCalls) comboRxGrpSize->setCurrentIndex(form_.rxGroupSize);
  chkSendGroupCalls->setChecked(form_.sendGroupCalls);
  if (form_.sendGroupCalls) comboTxGrpSize->setCurrentIndex(form_.txGroupSize);

  udLeadInDelay->setValue(form_.leadInDelayMs);

  const bool engineering = context_.build.engineering;
  for (QWidget* w : {static_cast<QWidget*>(lblTonePeriod), static_cast<QWidget*>(comboTonePeriod),
                     static_cast<QWidget*>(Label8)}) {
    w->setVisible(engineering);
  }
  const auto period = std::find(kTonePeriodsMs.begin(), kTonePeriodsMs.end(), form_.tonePeriodMs);
  comboTonePeriod->setCurrentIndex(static_cast<int>(period - kTonePeriodsMs.begin()));

  for (int k = 0; k < kQuietMemChannels; ++k) quietBoxes_[k]->setChecked(form_.quiet[k]);
  MaskEditRadioIdent->setFocus();
}

// Ticking group calls with no size chosen picks the smallest, so what the
// window shows is what OK stores.
void TfrmSelcall::GroupBoxToggled(QCheckBox* box, QComboBox* sizes) {
  if (box->isChecked() && sizes->currentIndex() < 0) sizes->setCurrentIndex(kGroupOf10);
}

void TfrmSelcall::SetQuietBoxes(bool ticked) {
  for (QCheckBox* box : quietBoxes_) box->setChecked(ticked);
}

void TfrmSelcall::btnSelcallMemClick() {
  memories_.SetIdentLength(kIdentLength);
  memories_.exec();
}

// Right-aligning is for what the user typed: text the window loaded
// keeps each digit in its place.
void TfrmSelcall::AlignIdentField() {
  if (!identEdited_) return;
  const QString aligned = QString::fromStdString(
      RadioIdentPositions(MaskEditRadioIdent->displayText().toStdString()));
  if (aligned != MaskEditRadioIdent->displayText()) MaskEditRadioIdent->setText(aligned);
}

// The field takes digits only; a position left empty goes to the radio as
// digit F, which is no selcall digit, so the user confirms that first.
bool TfrmSelcall::IdentAccepted() {
  AlignIdentField();
  const std::string positions = MaskEditRadioIdent->displayText().toStdString();
  const std::string notice = EmptyIdentNotice(positions);
  if (notice.empty()) return true;
  if (!identEdited_ && IdentKeepsStoredDigits(positions, form_.identDigits)) return true;
  const QString text = QString::fromStdString(notice) + "\n\nSave the ident as it is?";
  const auto answer = QMessageBox::warning(this, "Selcall Options", text,
                                           QMessageBox::Ok | QMessageBox::Cancel,
                                           QMessageBox::Cancel);
  if (answer == QMessageBox::Ok) return true;
  MaskEditRadioIdent->setFocus();
  return false;
}

void TfrmSelcall::OKBtnClick() {
  if (!IdentAccepted()) return;
  // Already right-aligned when the user edited it.
  form_.ident = MaskEditRadioIdent->displayText().toStdString();
  form_.radioName = editRadioAlpha->text().toStdString();
  for (const auto& [flag, box] : flagBoxes_) SetSelcallFlag(form_, flag, box->isChecked());
  form_.alertDuration = udAlertDuration->value();
  form_.acceptGroupCalls = chkAcceptGroupCalls->isChecked();
  form_.rxGroupSize = comboRxGrpSize->currentIndex();
  form_.sendGroupCalls = chkSendGroupCalls->isChecked();
  form_.txGroupSize = comboTxGrpSize->currentIndex();
  form_.leadInDelayMs = udLeadInDelay->value();
  const int period = comboTonePeriod->currentIndex();
  form_.tonePeriodMs = period < 0 ? kDefaultTonePeriodMs : kTonePeriodsMs[period];
  for (int k = 0; k < kQuietMemChannels; ++k) form_.quiet[k] = quietBoxes_[k]->isChecked();
  StoreSelcallForm(context_.shared.image, context_.shared.info, form_, context_.build.engineering);
  accept();
}
