// The main window's safer writes and the unsaved-changes state: the title's
// modified mark, the question before unsaved changes are lost, "Write
// Changes To Radio" and "Restore Radio...".

#include <QAction>
#include <QMessageBox>
#include <QPushButton>

#include "excerpt.h"
#include "frmmain.h"
#include "groupwrite.h"
#include "mainmenubar.h"
#include "memfile.h"
#include "restoredialog.h"
#include "transferflows.h"
#include "userfile.h"

namespace {
// Written only on purpose: never by "Write Changes To Radio".
const GroupSet kRadiosOwn = GroupSet().With(ImageGroup::kCalibration).With(ImageGroup::kIdentity);
}  // namespace

void TfrmMain::SetDataSource(DataSourceState source) {
  dataSource_ = source;
  if (source != kRadioData) return;
  // The radio's memory now matches the image: no longer a short file's.
  shortFileBytes_ = -1;
  const TransferOutcome outcome = flows_->LastOutcome();
  if (outcome.result != kTransferCompleted) return;
  const EEPROM& image = context_.shared.image;
  if (outcome.direction == kDirectionRead)
    baseline_.Loaded(image);
  else
    baseline_.Written(image);
}

GroupSet TfrmMain::ChangesToWrite() const {
  const SharedObjects& shared = context_.shared;
  return baseline_.ChangedGroups(shared.image, ImageGroupMap::ForModel(shared.info.modelIndex))
      .Minus(kRadiosOwn);
}

void TfrmMain::RefreshModified() {
  setWindowModified(baseline_.Modified(context_.shared.image));
  const bool writable = dataSource_ != kNothingLoaded && !ChangesToWrite().Empty();
  SetEnabled("mnuFileWriteChanges", writable);
}

bool TfrmMain::ConfirmUnsavedChanges(const std::string& doing) {
  if (!baseline_.Modified(context_.shared.image)) return true;
  QMessageBox box(QMessageBox::Warning, "Unsaved Changes",
                  QString::fromStdString("The configuration has changes that are not saved in a "
                                         "file.\nSave them before " +
                                         doing + "?"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  // Losing work is the choice to make on purpose.
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save: return SaveConfiguration();
    case QMessageBox::Discard: return true;
    default: return false;
  }
}

bool TfrmMain::SaveConfiguration() {
  if (dataSource_ == kFileData && !currentFileName_.isEmpty())
    return SaveConfigurationTo(currentFileName_);
  return SaveConfigurationAs();
}

bool TfrmMain::SaveConfigurationTo(const QString& path) {
  // A save that fails must not pass for one that worked: the name and the
  // data source stay as they were, and the old file is left intact.
  const EEPROM& image = context_.shared.image;
  std::string why;
  if (!SaveUserFile(path.toStdString(), image.Data(), static_cast<size_t>(image.GetLength()), why)) {
    ShowMessage("Unable to write file " + ShownPath(path.toStdString()) + ": " + why,
                "File Save Error", PromptIcon::Warning);
    return false;
  }
  currentFileName_ = path;
  dataSource_ = kFileData;
  baseline_.Saved(image);
  UpdateStatusBar();
  return true;
}

void TfrmMain::mnuWriteChangesClick() {
  const GroupSet groups = ChangesToWrite();
  if (groups.Empty()) return;
  const SharedObjects& shared = context_.shared;
  const GroupWriteReport report = WriteGroups(
      *flows_, shared.image, ImageGroupMap::ForModel(shared.info.modelIndex), groups);
  if (report.ending == GroupWriteReport::Ending::kWritten ||
      report.ending == GroupWriteReport::Ending::kNothingToWrite)
    baseline_.Written(shared.image);
  ReportGroupWrite(report, "Write Changes To Radio");
}

void TfrmMain::mnuRestoreRadioClick() {
  const std::vector<RestoreCandidate> reads =
      RestoreCandidates(archive_, context_.build.modelFlag);
  if (reads.empty()) {
    ShowMessage("The read archive holds no read of a " + context_.build.modelName +
                    " radio to restore.\n(" + ShownPath(archive_.Folder()) + ")",
                "Restore Radio", PromptIcon::Information);
    return;
  }
  const bool selcall = context_.build.AllModels() ||
                       TradioInfo::HasSelcall(context_.build.productId);
  TfrmRestoreRadio dialog(reads, selcall, this);
  if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().empty()) return;
  EEPROM read;
  TradioInfo info;
  const MemFileResult loaded = CheckedLoadMemFile(read, info, kAllModelsFlag, dialog.ChosenPath());
  if (loaded.status == MemFileStatus::OpenFailed) {
    ShowMessage(loaded.message, loaded.caption, PromptIcon::Warning);
    return;
  }
  info.SelectModel(loaded.productId);
  ReportGroupWrite(RestoreRead(*flows_, read, ImageGroupMap::ForModel(info.modelIndex)),
                   "Restore Radio");
}

void TfrmMain::ReportGroupWrite(const GroupWriteReport& report, const std::string& caption) {
  using E = GroupWriteReport::Ending;
  RefreshModified();
  // The port, model and read steps said why they stopped.
  if (report.ending == E::kNotStarted) return;
  if (report.ending == E::kWritten || report.ending == E::kNothingToWrite) {
    ShowMessage(report.Summary(), caption, PromptIcon::Information);
    return;
  }
  if (report.backupPath.empty()) {
    ShowMessage(report.Summary(), caption, PromptIcon::Warning);
    return;
  }
  if (!AskOkCancel(QuestionId::kRestoreAfterCutWrite,
                   report.Summary() + "\n\nPut the radio back as it was before the write, from " +
                       ShownPath(report.backupPath) + "?",
                   caption, PromptIcon::Warning))
    return;
  EEPROM before;
  TradioInfo info;
  const MemFileResult loaded =
      CheckedLoadMemFile(before, info, kAllModelsFlag, report.backupPath);
  if (loaded.status == MemFileStatus::OpenFailed) {
    ShowMessage(loaded.message, loaded.caption, PromptIcon::Warning);
    return;
  }
  info.SelectModel(loaded.productId);
  const GroupWriteReport restored =
      RestoreRead(*flows_, before, ImageGroupMap::ForModel(info.modelIndex));
  if (restored.ending != E::kNotStarted)
    ShowMessage(restored.Summary(), "Restore Radio",
                restored.ending == E::kWritten || restored.ending == E::kNothingToWrite
                    ? PromptIcon::Information
                    : PromptIcon::Warning);
}
