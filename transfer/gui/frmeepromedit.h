#pragma once
// "EEPROM": the whole memory image as a grid of addresses, parameter names
// and raw values in binary, decimal or hexadecimal, as bytes or words. It
// works on a private working copy of the image handed in before showing
// and copies it back only on OK. The radio commands (one address, the
// whole memory, reset, programming mode) go to the radio directly; the
// whole-memory ones run on the session's worker lane with the progress
// dialog.

#include <QDialog>
#include <memory>

#include "eepromworker.h"
#include "platform.h"
#include "qtmessagereceiver.h"

class EEbuffer;
class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class TfrmReadWrite;
struct WindowContext;

class TfrmEEpromEdit : public QDialog {
  Q_OBJECT
 public:
  // `lane` must outlive every run the window starts.
  TfrmEEpromEdit(WindowContext& context, WorkerLane& lane, QWidget* parent = nullptr);
  ~TfrmEEpromEdit() override;

  // The image the window edits; set before each showing.
  void SetSource(EEbuffer* source) { source_ = source; }

  int Base() const { return base_; }
  int DataSize() const { return dataSize_; }
  // The working copy while the window is open, else null.
  const EEbuffer* WorkingCopy() const { return workingCopy_.get(); }
  // Whether the last closing changed a byte of the source: the owner of
  // the image marks it as no longer what was loaded.
  bool ChangedSource() const { return changedSource_; }

  // Every way of closing: a worker still finishing ends first; OK takes the
  // grid back and copies it into the source; the working copy goes.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction (frmeepromedit.cpp).
  void BuildControls();
  QPushButton* AddButton(const char* name, const QString& caption, void (TfrmEEpromEdit::*click)());
  void FormShow();
  void Message(const QString& text, const QString& caption, int icon);
  void LogStart(const QString& line);
  void LogReplace(const QString& line);

  // The grid (frmeepromedit_grid.cpp).
  void LayOutGrid();
  void ShowNames();
  void ShowData();
  bool TakeBackGrid();
  void CheckViewButtons();
  void ChangeView(int base, int dataSize);
  void btnEraseClick();
  void btnOKClick();

  // The radio (frmeepromedit_radio.cpp).
  void FinishWorker();
  void OneAddress(bool write);
  void btnReadAddrClick() { OneAddress(false); }
  void btnWriteAddrClick() { OneAddress(true); }
  void btnReadAllClick() { ReadWriteAll(kDirectionRead); }
  void btnWriteAllClick() { ReadWriteAll(kDirectionWrite); }
  void ReadWriteAll(int direction);
  void WorkerClosingSteps(int direction, const TransferOutcome& outcome);
  void btnResetClick();
  void btnProgrModeClick();
  void HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam);

  WindowContext& context_;
  WorkerLane& lane_;
  EepromWorker worker_;
  QtMessageReceiver receiver_{this};
  Event cancel_;
  EEbuffer* source_ = nullptr;
  std::unique_ptr<EEbuffer> workingCopy_;
  bool changedSource_ = false;
  int base_ = 1;      // decimal
  int dataSize_ = 0;  // 8-bit

  QTableWidget* sg_eeprom_ = nullptr;
  QButtonGroup* rgBase_ = nullptr;
  QButtonGroup* rgDataSize_ = nullptr;
  QGroupBox* gbOptions_ = nullptr;
  QPlainTextEdit* memoEE_ = nullptr;
  TfrmReadWrite* frmReadWrite_ = nullptr;
};
