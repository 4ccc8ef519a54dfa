#pragma once
// "Restore Radio...": the read archive's reads of this build's models,
// newest first, to choose the one the radio goes back to.

#include <QDialog>
#include <string>
#include <vector>

#include "restorelist.h"

class QPushButton;
class QTreeWidget;

class TfrmRestoreRadio : public QDialog {
 public:
  TfrmRestoreRadio(const std::vector<RestoreCandidate>& reads, bool showIdent, QWidget* parent);
  // The chosen read's path; empty when none is chosen.
  std::string ChosenPath() const;

 private:
  QTreeWidget* list_ = nullptr;
  QPushButton* restore_ = nullptr;
  std::vector<RestoreCandidate> reads_;
};
