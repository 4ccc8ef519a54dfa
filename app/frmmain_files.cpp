// The main window's mem-file commands: read, write, and the default file.

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "configtext.h"
#include "excerpt.h"
#include "filechooser.h"
#include "frmmain.h"
#include "memfile.h"
#include "params.h"
#include "transferflows.h"
#include "userfile.h"

namespace {
const char* const kMemFilter = "Mem files (*.mem)";
const char* const kTextFilter = "Configuration text (*.yaml *.yml)";
const char* const kNothingToExportText =
    "No configuration is loaded: read it from the radio or from a file first.";
const char* const kDefaultFileFilter = "Programming Files (*.mem);;All Files (*)";
}  // namespace

bool TfrmMain::LoadMemFile(const QString& path) {
  SharedObjects& shared = context_.shared;
  const MemFileResult result =
      CheckedLoadMemFile(shared.image, shared.info, context_.build.modelFlag, path.toStdString());
  if (result.status == MemFileStatus::OpenFailed) {
    ShowMessage(result.message, result.caption, PromptIcon::Warning);
    return false;
  }
  // The bytes are in the image now, even when they belong to another model.
  dataSource_ = kFileData;
  baseline_.Loaded(shared.image);
  currentFileName_ = path;
  shortFileBytes_ = result.bytesRead < shared.image.GetLength() ? result.bytesRead : -1;
  // Whatever is said next is said over a window that shows what is loaded.
  UpdateStatusBar();
  UpdateEditButtons();
  if (result.status == MemFileStatus::WrongRadioType) {
    ShowMessage(result.message, result.caption, PromptIcon::Warning);
    return false;
  }
  if (shortFileBytes_ >= 0) ShowMessage(ShortFileText(path), "Reading Mem-file", PromptIcon::Warning);
  return true;
}

std::string TfrmMain::ShortFileText(const QString& path) const {
  return ShownPath(path.toStdString()) + " holds only " + std::to_string(shortFileBytes_) + " of " +
         std::to_string(context_.shared.image.GetLength()) +
         " bytes; the rest reads as erased (FF).";
}

bool TfrmMain::ConfirmWriteOfShortFile() {
  if (shortFileBytes_ < 0 || dataSource_ != kFileData) return true;
  QMessageBox box(QMessageBox::Warning, "Write To Radio",
                  QString::fromStdString(ShortFileText(currentFileName_) +
                                         "\nWrite it to the radio all the same?"),
                  QMessageBox::Ok | QMessageBox::Cancel, this);
  // Writing erased bytes over a radio's settings is the choice to make on purpose.
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

void TfrmMain::SelectModelOfImage() {
  SharedObjects& shared = context_.shared;
  const int id = shared.image.GetParamWord(shared.info, kParamProductId);
  shared.info.SelectModel(id < 0 ? kNoProductId : static_cast<uint32_t>(id));
}

void TfrmMain::btnReadFileClick() {
  if (!ConfirmUnsavedChanges("reading another file")) return;
  FileDialogRequest request;
  request.kind = FileDialogRequest::Open;
  request.filter = kMemFilter;
  request.initialPath = currentFileName_;
  const QString path = context_.chooser.Choose(this, request);
  if (!path.isEmpty()) ReadFileFrom(path);
  UpdateEditButtons();
}

void TfrmMain::ReadFileFrom(const QString& path) {
  if (LoadMemFile(path)) {
    // The all-models build follows the model of the file it loaded.
    if (context_.build.AllModels())
      SelectModelOfImage();
    else
      context_.shared.info.SelectModel(context_.build.productId);
  }
  UpdateStatusBar();
}

void TfrmMain::OpenHandedFile(const QString& path) {
  BringToFront();
  // A transfer, or an editor or dialog holding its own copy of the data,
  // must not have the image replaced under it.
  if (flows_->Worker().IsRunning() || QApplication::activeModalWidget()) {
    ShowMessage(ShownPath(path.toStdString()) +
                    " was not opened: the programmer is busy. Finish the transfer or close the "
                    "open window, then open the file again.",
                "Read file", PromptIcon::Warning);
    return;
  }
  // Unsaved changes get the question that can save them; data that is
  // saved gets the usual one.
  if (baseline_.Modified(context_.shared.image)) {
    if (!ConfirmUnsavedChanges("opening " + ShownPath(path.toStdString()))) return;
  } else if (dataSource_ != kNothingLoaded &&
      !AskOkCancel(QuestionId::kLoadOverData,
                   "Load file '" + ShownPath(path.toStdString()) +
                       "' ?\nAll current data will be lost.",
                   "Read file", PromptIcon::Question))
    return;
  ReadFileFrom(path);
  UpdateEditButtons();
}

void TfrmMain::btnWriteFileClick() { SaveConfigurationAs(); }

bool TfrmMain::SaveConfigurationAs() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Save;
  request.filter = kMemFilter;
  request.defaultSuffix = "mem";
  const QString path = context_.chooser.Choose(this, request);
  if (path.isEmpty()) return false;
  if (QFileInfo::exists(path) &&
      !AskOkCancel(QuestionId::kOverwriteFile, "File already exists. Overwrite?",
                   "Saving Program File...", PromptIcon::Warning))
    return false;
  return SaveConfigurationTo(path);
}

void TfrmMain::mnuExportTextClick() {
  if (dataSource_ == kNothingLoaded) {
    ShowMessage(kNothingToExportText, "Export As Text", PromptIcon::Warning);
    return;
  }
  FileDialogRequest request;
  request.kind = FileDialogRequest::Save;
  request.filter = kTextFilter;
  request.defaultSuffix = "yaml";
  const QString path = context_.chooser.Choose(this, request);
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path) &&
      !AskOkCancel(QuestionId::kOverwriteFile, "File already exists. Overwrite?", "Export As Text",
                   PromptIcon::Warning))
    return;
  const std::string text = ExportConfigText(context_.shared.image);
  std::string why;
  if (!SaveUserFile(path.toStdString(), text.data(), text.size(), why))
    ShowMessage("Unable to write file " + ShownPath(path.toStdString()) + ": " + why,
                "File Save Error", PromptIcon::Warning);
}

// The text changes only what it names, as one change to the loaded
// configuration, the way an editor's OK writes the image; a refused text
// changes nothing.
void TfrmMain::mnuImportTextClick() {
  if (dataSource_ == kNothingLoaded) {
    ShowMessage(kNothingToExportText, "Import Text", PromptIcon::Warning);
    return;
  }
  FileDialogRequest request;
  request.kind = FileDialogRequest::Open;
  request.filter = kTextFilter;
  const QString path = context_.chooser.Choose(this, request);
  if (path.isEmpty()) return;
  EEPROM& image = context_.shared.image;
  EEPROM result;
  ConfigTextError error;
  if (!ImportConfigTextFile(path.toStdString(), &image, result, error)) {
    ShowMessage(error.Text(ShownPath(path.toStdString())), "Import Text", PromptIcon::Warning);
    return;
  }
  for (int a = 0; a < image.GetLength() && a < result.GetLength(); ++a)
    image.SetByte(a, result.GetByte(a));
  UpdateStatusBar();
  UpdateEditButtons();
}

void TfrmMain::mnuSetDefaultFilenameClick() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Open;
  request.title = "Set Default Filename.";
  request.filter = kDefaultFileFilter;
  request.initialPath = defaultFile_;
  request.mustExist = true;
  const QString path = context_.chooser.Choose(this, request);
  if (path.isEmpty()) return;
  defaultFile_ = path;
  if (!AskOkCancel(QuestionId::kLoadOverData,
                   "Load file '" + ShownPath(path.toStdString()) +
                       "' ?\nAll current data will be lost.",
                   "Load Default File.", PromptIcon::Question))
    return;
  if (LoadMemFile(defaultFile_)) {
    // The all-models build follows the model of the file it loaded.
    if (context_.build.AllModels()) SelectModelOfImage();
    UpdateEditButtons();
  }
  UpdateStatusBar();
}

void TfrmMain::mnuRemoveDefaultFilenameClick() { defaultFile_.clear(); }
