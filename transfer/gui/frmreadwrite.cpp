#include "frmreadwrite.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "announce.h"
#include "controls.h"
#include "platform.h"
#include "transferhost.h"
#include "transferworker.h"

namespace {
const QString kActionRole = "Transfer";
}  // namespace

TfrmReadWrite::TfrmReadWrite(QWidget* parent) : QDialog(parent) {
  setObjectName("frmReadWrite");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setModal(true);

  lblAction_ = new QLabel(this);
  lblAction_->setObjectName("lblAction");
  lblAction_->setAlignment(Qt::AlignCenter);
  lblAction_->setWordWrap(true);

  Panel1_ = new QFrame(this);
  Panel1_->setObjectName("Panel1");
  Panel1_->setFrameShape(QFrame::StyledPanel);
  gaugeProgress_ = new QProgressBar(Panel1_);
  gaugeProgress_->setObjectName("gaugeProgress");
  gaugeProgress_->setOrientation(Qt::Horizontal);
  gaugeProgress_->setTextVisible(false);
  // A screen reader says the percentage done after the name.
  gaugeProgress_->setAccessibleName("Progress");
  auto* panelLayout = new QVBoxLayout(Panel1_);
  panelLayout->addWidget(gaugeProgress_);

  btnCancel_ = new QPushButton(tr("Cancel"), this);
  btnCancel_->setObjectName("btnCancel");
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmReadWrite::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblAction_);
  layout->addWidget(Panel1_);
  layout->addWidget(btnCancel_, 0, Qt::AlignHCenter);
  setFixedWidth(320);
}

void TfrmReadWrite::SetRange(int minimum, int maximum) {
  gaugeProgress_->setRange(minimum, maximum);
}

void TfrmReadWrite::SetCancelMode() { btnCancel_->setText(tr("Cancel")); }
void TfrmReadWrite::SetCloseMode() { btnCancel_->setText(tr("Close")); }
void TfrmReadWrite::SetCancelEvent(Event* event) { cancelEvent_ = event; }

// The last progress message carries the end of the image, one past the
// maximum: it shows the bar full rather than being ignored.
void TfrmReadWrite::SetProgress(int value) {
  gaugeProgress_->setValue(std::clamp(value, gaugeProgress_->minimum(), gaugeProgress_->maximum()));
}

// A failure or a cancel: said at once, and the focus goes to Close so the
// next key closes the dialog the text is in.
void TfrmReadWrite::SetActionText(const std::string& text) {
  SetSpokenText(lblAction_, kActionRole, QString::fromStdString(text));
  btnCancel_->setFocus();
  Announce(lblAction_);
}

// A completed transfer closes the dialog by itself; what closed it is said
// before it goes, since nothing else on screen says it.
void TfrmReadWrite::CloseProgress() {
  cancelEvent_ = nullptr;
  SetSpokenText(lblAction_, kActionRole,
                direction_ == kDirectionWrite ? "Write to radio complete."
                                              : "Read from radio complete.");
  Announce(lblAction_);
  accept();
}

void TfrmReadWrite::reject() {
  if (cancelEvent_) cancelEvent_->Set();
  cancelEvent_ = nullptr;
  QDialog::reject();
}

void TfrmReadWrite::showEvent(QShowEvent* e) {
  SetSpokenText(lblAction_, kActionRole, QString());
  SetProgress(0);
  QDialog::showEvent(e);
}

void RunTransferDialog(TfrmReadWrite& dialog, const ProgressSetup& setup,
                       const std::function<bool()>& startWorker) {
  dialog.setWindowTitle(QString::fromStdString(setup.caption));
  dialog.SetRange(setup.minimum, setup.maximum);
  dialog.SetCancelMode();
  dialog.SetCancelEvent(setup.cancelEvent);
  dialog.SetDirection(setup.direction);
  if (!startWorker()) {
    dialog.SetCancelEvent(nullptr);
    return;
  }
  dialog.exec();
}
