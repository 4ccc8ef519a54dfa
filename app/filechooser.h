#pragma once
// Asks the user for a file name. The main window goes through this
// interface so tests can script the answer; the program uses QFileDialog.

#include <QString>

class QWidget;

struct FileDialogRequest {
  enum Kind { Open, Save } kind = Open;
  QString title;          // empty: the toolkit's own title
  QString filter;         // Qt form: "Mem files (*.mem)"
  QString defaultSuffix;  // added when the name has none ("mem")
  QString initialPath;
  bool mustExist = false;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path, or an empty string when the user cancelled.
  virtual QString Choose(QWidget* parent, const FileDialogRequest& request) = 0;
};

class DialogFileChooser : public FileChooser {
 public:
  QString Choose(QWidget* parent, const FileDialogRequest& request) override;
};
