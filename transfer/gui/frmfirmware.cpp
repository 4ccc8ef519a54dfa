#include "frmfirmware.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "firmware.h"
#include "prompts.h"

TfrmFirmware::TfrmFirmware(TRadio& radio, TradioInfo& info, const BuildConfig& build,
                           UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), radio_(radio), info_(info), build_(build), prompts_(prompts) {
  setObjectName("frmFirmware");
  setWindowTitle(tr("Firmware Version"));
  auto* grid = new QGridLayout(this);
  lblRadioTypeInfo_ = AddRow(0, "lblRadioType", tr("Radio Type:"), "lblRadioTypeInfo");
  lblProductIDInfo_ = AddRow(1, "lblProductID", tr("Product ID:"), "lblProductIDInfo");
  lblPCBRevInfo_ = AddRow(2, "lblPCBRev", tr("PCB Rev.:"), "lblPCBRevInfo");
  lblFirmwareInfo_ = AddRow(3, "lblFirmware", tr("Firmware:"), "lblFirmwareInfo");
  btnOK_ = new QPushButton(tr("OK"), this);
  btnOK_->setObjectName("btnOK");
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(btnOK_, 4, 0, 1, 2, Qt::AlignHCenter);
}

QLabel* TfrmFirmware::AddRow(int row, const char* captionName, const QString& caption,
                             const char* valueName) {
  auto* grid = static_cast<QGridLayout*>(layout());
  auto* label = new QLabel(caption, this);
  label->setObjectName(captionName);
  auto* value = new QLabel(this);
  value->setObjectName(valueName);
  value->setMinimumWidth(140);
  grid->addWidget(label, row, 0);
  grid->addWidget(value, row, 1);
  return value;
}

void TfrmFirmware::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Refresh();
}

void TfrmFirmware::Refresh() {
  for (QLabel* value : {lblRadioTypeInfo_, lblProductIDInfo_, lblPCBRevInfo_, lblFirmwareInfo_})
    value->clear();
  const FirmwareInfo fw = ReadFirmwareInfo(radio_, info_, build_);
  if (!fw.ok) {
    prompts_.ShowMessage(kFirmwareFailText, kFirmwareFailCaption, PromptIcon::Warning);
    return;
  }
  lblRadioTypeInfo_->setText(QString::fromStdString(fw.radioType));
  lblProductIDInfo_->setText(QString::fromStdString(fw.productId));
  lblPCBRevInfo_->setText(QString::fromStdString(fw.pcbRev));
  lblFirmwareInfo_->setText(QString::fromStdString(fw.firmware));
}
