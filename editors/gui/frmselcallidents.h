#pragma once
// "Selcall Memory": the ten selcall memories in a grid, each a run of tone
// digits (the last n shown) and a five-character alpha tag, edited in place.
// Opened from the selcall settings window, which sets n first.

#include <QDialog>

#include "windowcontext.h"
#include "selcallidents.h"

class HelpMemo;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TfrmSelcallIdents : public QDialog {
  Q_OBJECT

 public:
  TfrmSelcallIdents(WindowContext& context, QWidget* parent);

  // The number of digits the selcall column shows, kept to 0..8.
  void SetIdentLength(int n);
  int IdentLength() const { return identLength_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormShow();
  void FillGrid();
  void btnClearClick();
  void OKBtnClick();

  WindowContext& context_;
  int identLength_ = kSelcallMemoryDigits;
  SelcallMemories memories_;

  QTableWidget* sgSelcallMemory = nullptr;
  QPushButton* btnClear = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPlainTextEdit* memoHelpText = nullptr;
  HelpMemo* help_ = nullptr;
};
