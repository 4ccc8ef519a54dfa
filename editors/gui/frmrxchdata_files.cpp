// The Channel Data window's CSV lists: the same format, rules and messages
// as "vornprog channels", through the same functions.

#include <QFileDialog>
#include <QMessageBox>

#include "excerpt.h"
#include "frmrxchdata.h"
#include "userfile.h"

namespace {

const char* const kListFilter = "Channel lists (*.csv);;All files (*)";

QString DesktopListFile(QWidget* parent, bool save) {
  QFileDialog dialog(parent, save ? "Export Channels" : "Import Channels", QString(), kListFilter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setDefaultSuffix("csv");
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().first()
             : QString();
}

}  // namespace

void TfrmRxChData::btnImportClick() {
  const QString path = chooseListFile_ ? chooseListFile_(this, false) : DesktopListFile(this, false);
  if (path.isEmpty()) return;
  // Read without waiting on a FIFO or a device and only up to a list's
  // bound, as vornprog channels --import reads it.
  RxChannelList imported = list_;
  const ChannelImport done = ImportChannelsCsv(path.toStdString(), banksEnabled_, imported);
  if (!done.refused.empty()) {
    QMessageBox::warning(this, "Import Channels", QString::fromStdString(done.refused),
                         QMessageBox::Ok);
    return;
  }
  if (!done.faults.empty()) {
    QString lines;
    for (const std::string& line : CsvFaultLines(path.toStdString(), done.faults))
      lines += "\n" + QString::fromStdString(line);
    QMessageBox::warning(this, "Import Channels", "No channel was changed." + lines,
                         QMessageBox::Ok);
    return;
  }
  list_ = imported;
  RefreshGrid();
}

void TfrmRxChData::btnExportClick() {
  const QString path = chooseListFile_ ? chooseListFile_(this, true) : DesktopListFile(this, true);
  if (path.isEmpty()) return;
  const std::string csv = ChannelsCsv(list_, banksEnabled_);
  // Replaced in one step: a failed export leaves an older list whole.
  std::string why;
  if (!CheckSaveTarget(path.toStdString(), why) ||
      !SaveUserFile(path.toStdString(), csv.data(), csv.size(), why))
    QMessageBox::warning(this, "Export Channels",
                         QString::fromStdString("Unable to write file " +
                                                ShownPath(path.toStdString()) + ": " + why),
                         QMessageBox::Ok);
}
