#include "monitorwindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextStream>
#include <QVBoxLayout>

#include "excerpt.h"
#include "userfile.h"

namespace {
// A monitor left running for a day must not eat the machine's memory; the
// oldest lines go first.
constexpr int kMaxLines = 200000;

MonitorTime Now() { return std::chrono::system_clock::now(); }
}  // namespace

TrafficMonitorWindow::TrafficMonitorWindow(std::unique_ptr<TrafficMonitor> core, const QString& title,
                                           const Names& names, QWidget* parent)
    : QDialog(parent), core_(std::move(core)) {
  setWindowTitle(title);
  setModal(false);
  setSizeGripEnabled(true);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(names.memo);
  memo_->setReadOnly(true);
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setMaximumBlockCount(kMaxLines);
  memo_->setAccessibleName(title + " lines");
  memo_->setMinimumSize(560, 300);

  auto makeButton = [this](const char* caption, const char* name, void (TrafficMonitorWindow::*click)()) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setAccessibleName(QString(caption).remove('&'));
    connect(b, &QPushButton::clicked, this, click);
    return b;
  };
  start_ = makeButton("&start", names.start, &TrafficMonitorWindow::StartClick);
  pause_ = makeButton("&pause", names.pause, &TrafficMonitorWindow::PauseClick);
  QPushButton* clear = makeButton("c&lear", names.clear, &TrafficMonitorWindow::ClearClick);
  QPushButton* save = makeButton("Sa&ve...", "btnSave", &TrafficMonitorWindow::SaveClick);
  QPushButton* close = makeButton("&close", names.close, &TrafficMonitorWindow::CloseClick);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {start_, pause_, clear, save}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close);
  optionsRow_ = new QHBoxLayout;
  auto* column = new QVBoxLayout(this);
  column->addWidget(memo_, 1);
  column->addLayout(optionsRow_);
  column->addLayout(buttons);

  chooseSaveFile = [title](QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, "Save " + title, QString(), "Text files (*.txt);;All files (*)");
  };
  UpdateButtons();
}

TrafficMonitorWindow::~TrafficMonitorWindow() {
  // The source outlives this window: it must stop posting here first.
  core_->Detach();
  receiver_.Detach();
}

QStringList TrafficMonitorWindow::Lines() const {
  const QString text = memo_->toPlainText();
  return text.isEmpty() ? QStringList() : text.split('\n');
}

void TrafficMonitorWindow::UpdateButtons() {
  start_->setEnabled(!core_->IsRunning());
  pause_->setEnabled(core_->IsRunning());
}

void TrafficMonitorWindow::AddLine(const std::string& line) {
  memo_->appendPlainText(QString::fromStdString(line));
}

bool TrafficMonitorWindow::event(QEvent* e) {
  if (e->type() != VornMessageEvent::EventType()) return QDialog::event(e);
  const auto* m = static_cast<VornMessageEvent*>(e);
  if (const auto line = core_->Handle(m->message, m->wParam, m->lParam, Now())) AddLine(*line);
  return true;
}

void TrafficMonitorWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TrafficMonitorWindow::FormShow() {
  memo_->clear();
  AddLine(core_->Attach(&receiver_, Now()));
  UpdateButtons();
}

void TrafficMonitorWindow::FormClose() {
  core_->Detach();
  UpdateButtons();
}

void TrafficMonitorWindow::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TrafficMonitorWindow::StartClick() {
  if (const auto line = core_->Start(Now())) AddLine(*line);
  UpdateButtons();
}

void TrafficMonitorWindow::PauseClick() {
  if (const auto line = core_->Pause(Now())) AddLine(*line);
  UpdateButtons();
}

void TrafficMonitorWindow::CloseClick() { close(); }

void TrafficMonitorWindow::ClearClick() { memo_->clear(); }

bool TrafficMonitorWindow::SaveLines(const QString& path, QString* why) const {
  QString text;
  for (const QString& line : Lines()) text += line + '\n';
  const QByteArray bytes = text.toUtf8();
  // Replaced in one step, and a FIFO or a device is refused, not waited on.
  std::string reason;
  if (SaveUserFile(path.toStdString(), bytes.constData(), static_cast<size_t>(bytes.size()), reason))
    return true;
  if (why) *why = QString::fromStdString(reason);
  return false;
}

void TrafficMonitorWindow::SaveClick() {
  const QString path = chooseSaveFile ? chooseSaveFile(this) : QString();
  if (path.isEmpty()) return;
  QString why;
  if (!SaveLines(path, &why))
    QMessageBox::warning(this, "Error",
                         QString::fromStdString("Unable to save the monitor lines to " +
                                                ShownPath(path.toStdString()) + ": ") +
                             why + ".",
                         QMessageBox::Ok);
}
