#pragma once
// The receive-only channels window: the channels of one bank in a grid,
// with Add, Edit and Delete. It works on a private copy of the channel data
// taken from the image on every showing; only OK writes it back.

#include <QDialog>
#include <functional>

#include "windowcontext.h"
#include "rxchannels.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QTableWidget;
class TfrmRxChEdit;

class TfrmRxChData : public QDialog {
  Q_OBJECT
 public:
  TfrmRxChData(WindowContext& context, QWidget* parent);

  // The add/edit dialog, built once with the window.
  TfrmRxChEdit& EditDialog() { return *editor_; }

  // Names the CSV list to import (save false) or export (save true); empty
  // when the user cancelled. A file dialog unless another is set.
  using ListFileChooser = std::function<QString(QWidget* parent, bool save)>;
  void SetListFileChooser(ListFileChooser chooser) { chooseListFile_ = std::move(chooser); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildForm();
  void FormShow();
  void SetUpGrid();
  void RefreshGrid();
  int SelectedChannel() const;
  bool BankHasChannels() const;

  void btnAddClick();
  void btnEditClick();
  void btnDeleteClick();
  void btnClearAllClick();
  // The CSV lists of vornprog channels: Import replaces the window's copy
  // (OK still decides), Export writes the rows as they are now.
  void btnImportClick();
  void btnExportClick();
  void btnOKClick();
  void tcBanksChange(int index);

  WindowContext& context_;
  RxChannelList list_;
  int bank_ = 0;
  bool banksEnabled_ = false;
  // What the next Add starts from; every accepted Add leaves its values here.
  RX_CH_DATA_STRUCT template_;
  ListFileChooser chooseListFile_;

  TfrmRxChEdit* editor_ = nullptr;
  QTabBar* tcBanks_ = nullptr;
  QTableWidget* sgRxChEdit_ = nullptr;
  QMenu* popUpMenu_ = nullptr;
  QPushButton* btnClearAll_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
};
