#include "filechooser.h"

#include <QFileDialog>

QString DialogFileChooser::Choose(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, request.title);
  dialog.setNameFilter(request.filter);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.initialPath.isEmpty()) dialog.selectFile(request.initialPath);
  if (request.kind == FileDialogRequest::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The window asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}
