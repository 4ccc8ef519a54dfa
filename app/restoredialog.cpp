#include "restoredialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "memfile.h"

TfrmRestoreRadio::TfrmRestoreRadio(const std::vector<RestoreCandidate>& reads, bool showIdent,
                                   QWidget* parent)
    : QDialog(parent), reads_(reads) {
  setObjectName("frmRestoreRadio");
  setWindowTitle("Restore Radio");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(
      "Choose the read to put back into the radio. The radio is read first, so the "
      "restore can be taken back too.",
      this);
  label->setWordWrap(true);
  layout->addWidget(label);

  list_ = new QTreeWidget(this);
  list_->setObjectName("lstReads");
  list_->setAccessibleName("Reads in the archive, newest first");
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  QStringList headers = {"Date and time", "Model", "Product ID"};
  if (showIdent) headers << "Ident";
  headers << "File";
  list_->setHeaderLabels(headers);
  for (const RestoreCandidate& read : reads_) {
    QStringList cells = {QString::fromStdString(read.when), QString::fromStdString(read.model),
                         QString::fromStdString(HexId(read.productId))};
    if (showIdent) cells << QString::fromStdString(read.ident);
    cells << QString::fromStdString(read.path);
    list_->addTopLevelItem(new QTreeWidgetItem(cells));
  }
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  label->setBuddy(list_);
  layout->addWidget(list_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  restore_ = new QPushButton("&Restore", this);
  restore_->setObjectName("btnRestore");
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("btnCancel");
  // A radio command: Enter never starts it.
  for (QPushButton* b : {restore_, cancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  connect(restore_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { restore_->setEnabled(item != nullptr); });
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  restore_->setEnabled(list_->currentItem() != nullptr);
  list_->setFocus();
  resize(720, 360);
}

std::string TfrmRestoreRadio::ChosenPath() const {
  const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
  return row >= 0 && row < static_cast<int>(reads_.size()) ? reads_[static_cast<size_t>(row)].path
                                                           : std::string();
}
