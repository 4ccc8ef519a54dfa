#pragma once
// "Report": the configuration report of the image in a read-only memo,
// rebuilt on every showing and on "Update", saved as a text file or
// printed page after page. Reads the image only.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "report.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
struct WindowContext;

class TfrmReport : public QDialog {
  Q_OBJECT
 public:
  // What the main window knows of the image besides its bytes: the data
  // source state and the current file name (the radio's version is the
  // window's own question).
  using SourceQuery = std::function<ReportSource()>;
  // The file to save to, empty when the user cancelled.
  using SaveNameChooser = std::function<QString(QWidget* parent, const QString& lastPath)>;
  // Sets the printer up with the user; false when cancelled.
  using PrintSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;

  TfrmReport(WindowContext& context, SourceQuery source, QWidget* parent = nullptr);

  // The desktop's dialogs unless replaced (tests script them).
  void SetSaveNameChooser(SaveNameChooser chooser) { chooseSaveName_ = std::move(chooser); }
  void SetPrintSetup(PrintSetup setup) { setUpPrinter_ = std::move(setup); }

  const std::vector<std::string>& Lines() const { return lines_; }
  // Prints every line, starting a new page when the next would pass the
  // bottom margin; false when the printer refused.
  bool PrintReport(QPrinter& printer) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void BuildControls();
  void FormShow();
  void btnCreateClick();
  void btnPrintClick();
  void SaveAs1Click();
  std::string DateText() const;

  WindowContext& context_;
  SourceQuery source_;
  SaveNameChooser chooseSaveName_;
  PrintSetup setUpPrinter_;
  std::vector<std::string> lines_;
  QString lastSavePath_;

  QPlainTextEdit* memo_report = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* chkCalibration = nullptr;
  QCheckBox* chkRxChannels = nullptr;
  QCheckBox* chkSelcallMem = nullptr;
  QPushButton* btnCreate = nullptr;
  QPushButton* btnPrint = nullptr;
  QPushButton* btnClose = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QAction* mnuRxChannels_ = nullptr;
  QAction* mnuSelcallMem_ = nullptr;
};
