// The Channel Data window's CSV lists: the same format, rules and messages
// as "vornprog channels", through the same functions.

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

#include "rxchdata.h"

namespace {

const char* const kListFilter = "Channel lists (*.csv);;All files (*)";
// Five banks of nineteen rows are a few kilobytes; anything far larger is
// not a channel list, and an endless file must not be read to its end.
constexpr qint64 kMaxListBytes = 1024 * 1024;

QString DesktopListFile(QWidget* parent, bool save) {
  QFileDialog dialog(parent, save ? "Export Channels" : "Import Channels", QString(), kListFilter);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setDefaultSuffix("csv");
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().first()
             : QString();
}

// The list's text, or why it cannot be had.
bool ReadList(const QString& path, std::string& text, QString& why) {
  const QFileInfo info(path);
  if (!info.exists()) {
    why = "Unable to open file " + path;
    return false;
  }
  if (!info.isFile()) {
    why = path + " is not a regular file";
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    why = "Unable to open file " + path + ": " + file.errorString();
    return false;
  }
  const QByteArray bytes = file.read(kMaxListBytes + 1);
  if (bytes.size() > kMaxListBytes) {
    why = path + " is too large for a channel list";
    return false;
  }
  if (bytes.trimmed().isEmpty()) {
    why = path + " is empty";
    return false;
  }
  text = bytes.toStdString();
  return true;
}

}  // namespace

void TfrmRxChData::btnImportClick() {
  const QString path = chooseListFile_ ? chooseListFile_(this, false) : DesktopListFile(this, false);
  if (path.isEmpty()) return;
  std::string text;
  QString why;
  if (!ReadList(path, text, why)) {
    QMessageBox::warning(this, "Import Channels", why, QMessageBox::Ok);
    return;
  }
  RxChannelList imported = list_;
  const std::vector<CsvFault> faults = ChannelsFromCsv(text, banksEnabled_, imported);
  if (!faults.empty()) {
    QString lines;
    for (const CsvFault& f : faults)
      lines += "\n" + path + " line " + QString::number(f.line) + ": " +
               QString::fromStdString(f.reason);
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
  const QByteArray bytes = QByteArray::fromStdString(ChannelsCsv(list_, banksEnabled_));
  // Replaced in one step: a failed export leaves an older list whole.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    QMessageBox::warning(this, "Export Channels",
                         "Unable to write file " + path + ": " + file.errorString(),
                         QMessageBox::Ok);
}
