#include "frmreport.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "controls.h"
#include "excerpt.h"
#include "windowcontext.h"

namespace {

QString DesktopSaveName(QWidget* parent, const QString& lastPath) {
  QFileDialog dialog(parent, "Save As", lastPath, "Text files (*.txt);;All files (*)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("txt");
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().first()
             : QString();
}

bool DesktopPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

// An entry of the Options menu that follows its check box both ways.
QAction* MirrorOf(QMenu* menu, QCheckBox* box) {
  QAction* action = menu->addAction(box->text());
  action->setCheckable(true);
  QObject::connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
  QObject::connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
  return action;
}

}  // namespace

TfrmReport::TfrmReport(WindowContext& context, SourceQuery source, QWidget* parent)
    : QDialog(parent),
      context_(context),
      source_(std::move(source)),
      chooseSaveName_(DesktopSaveName),
      setUpPrinter_(DesktopPrintDialog) {
  setObjectName("frmReport");
  setWindowTitle("Report");
  BuildControls();
  BuildMenus();
  resize(720, 560);
}

void TfrmReport::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;

  memo_report = new QPlainTextEdit(this);
  memo_report->setObjectName("memo_report");
  memo_report->setAccessibleName("Report");
  memo_report->setReadOnly(true);
  memo_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_report->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The report's columns line up only in a fixed-pitch font.
  memo_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  top->addWidget(memo_report, 1);

  auto* side = new QVBoxLayout;
  GroupBox1 = MakeGroup(this, "GroupBox1", "Report Options");
  auto* boxes = new QVBoxLayout(GroupBox1);
  chkCalibration = MakeCheck(GroupBox1, "chkCalibration", "C&alibration Area");
  chkRxChannels = MakeCheck(GroupBox1, "chkRxChannels", "&Receive-only Channels");
  chkSelcallMem = MakeCheck(GroupBox1, "chkSelcallMem", "&Selcall Memory");
  boxes->addWidget(chkCalibration);
  boxes->addWidget(chkRxChannels);
  boxes->addWidget(chkSelcallMem);
  side->addWidget(GroupBox1);
  side->addStretch();
  btnCreate = MakeButton(this, "btnCreate", "&Update");
  btnPrint = MakeButton(this, "btnPrint", "&Print");
  btnClose = MakeButton(this, "btnClose", "&Close");
  // Enter closes the window, as OK would; the report changes nothing.
  btnClose->setDefault(true);
  // Not a window of radio commands: Enter on a focused button presses it,
  // as in any dialog with a default button.
  btnCreate->setAutoDefault(true);
  btnPrint->setAutoDefault(true);
  btnClose->setAutoDefault(true);
  side->addWidget(btnCreate);
  side->addWidget(btnPrint);
  side->addWidget(btnClose);
  top->addLayout(side);
  layout->addLayout(top, 1);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setAccessibleName("Help");
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 3 + 12);
  layout->addWidget(Memo1);

  setTabOrder(memo_report, chkCalibration);
  setTabOrder(chkCalibration, chkRxChannels);
  setTabOrder(chkRxChannels, chkSelcallMem);
  setTabOrder(chkSelcallMem, btnCreate);
  setTabOrder(btnCreate, btnPrint);
  setTabOrder(btnPrint, btnClose);

  connect(btnCreate, &QPushButton::clicked, this, &TfrmReport::btnCreateClick);
  connect(btnPrint, &QPushButton::clicked, this, &TfrmReport::btnPrintClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmReport::BuildMenus() {
  auto* bar = new QMenuBar(this);
  bar->setObjectName("MainMenu1");
  layout()->setMenuBar(bar);

  QMenu* file = bar->addMenu("&File");
  QAction* save = file->addAction("&Save");
  save->setObjectName("Save1");
  save->setShortcut(QKeySequence::Save);
  QAction* saveAs = file->addAction("Save &As");
  saveAs->setObjectName("SaveAs1");
  file->addSeparator();
  QAction* exit = file->addAction("E&xit");
  exit->setObjectName("Exit1");
  // Both ask for the file name: a report has no file of its own to go back to.
  connect(save, &QAction::triggered, this, &TfrmReport::SaveAs1Click);
  connect(saveAs, &QAction::triggered, this, &TfrmReport::SaveAs1Click);
  connect(exit, &QAction::triggered, this, &QDialog::reject);

  QMenu* options = bar->addMenu("&Options");
  MirrorOf(options, chkCalibration);
  mnuRxChannels_ = MirrorOf(options, chkRxChannels);
  mnuSelcallMem_ = MirrorOf(options, chkSelcallMem);
}

void TfrmReport::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmReport::FormShow() {
  const ReportOptionsShown shown = ReportOptionsShown::For(context_.build.productId);
  chkRxChannels->setVisible(shown.rxChannels);
  mnuRxChannels_->setVisible(shown.rxChannels);
  chkSelcallMem->setVisible(shown.selcallMemories);
  mnuSelcallMem_->setVisible(shown.selcallMemories);
  btnCreateClick();
  memo_report->setFocus();
}

std::string TfrmReport::DateText() const {
  const QDate today = QDate::currentDate();
  const QString month = QLocale().monthName(today.month(), QLocale::ShortFormat);
  return ReportDateText(today.day(), month.toStdString(), today.year());
}

void TfrmReport::btnCreateClick() {
  SharedObjects& shared = context_.shared;
  ReportSource source = source_ ? source_() : ReportSource{};
  if (source.state == 2) {
    shared.radio.GetVersionText(source.versionText);
    source.majorVersion = shared.radio.GetCachedVersion().major;
  }
  const ReportOptions ticked{chkCalibration->isChecked(), chkRxChannels->isChecked(),
                             chkSelcallMem->isChecked()};
  const ReportOptions options = ReportOptionsShown::For(context_.build.productId).Limit(ticked);
  lines_ = ReportLines(shared.image, shared.info, context_.build, source, options, DateText());
  QStringList text;
  for (const std::string& line : lines_) text << QString::fromStdString(line);
  memo_report->setPlainText(text.join('\n'));
}

void TfrmReport::SaveAs1Click() {
  const QString path = chooseSaveName_(this, lastSavePath_);
  if (path.isEmpty()) return;
  lastSavePath_ = path;
  std::string reason;
  if (!SaveReport(path.toStdString(), lines_, reason))
    QMessageBox::warning(this, "File Save Error",
                         QString::fromStdString("Unable to write file " +
                                                ShownPath(path.toStdString()) + ": " + reason));
}

void TfrmReport::btnPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName("Report");
  if (!setUpPrinter_(printer, this)) return;
  if (PrintReport(printer)) return;
  const QString to = printer.outputFileName().isEmpty() ? QString()
                                                        : " to " + printer.outputFileName();
  QMessageBox::warning(this, "Error", "Unable to print the report" + to + ".");
}
