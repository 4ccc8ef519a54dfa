#include "mainstatusbar.h"

#include <QLabel>
#include <QTimer>

#include "controls.h"
#include "mainstyle.h"

namespace {

struct PanelLook {
  const char* role;  // what a screen reader says before the text
  int width;         // 0: takes the room left
  bool widens;       // may grow past `width` for a text that does not fit
};
constexpr PanelLook kPanels[MainStatusBar::kPanelCount] = {
    {"Port", 50, false},
    {"Port state", 60, false},
    // The radio panel widens for a firmware text and version that do not
    // fit rather than cut them off.
    {"Radio", 120, true},
    {"Data", 0, false},
};
const char* const kNoticeRole = "Notice";
constexpr int kFileNameShown = 85;  // longer names show their last 85 characters

QString DataText(DataSourceState source, const QString& fileName) {
  switch (source) {
    case kFileData:
      return "File: " + (fileName.size() > kFileNameShown ? "..." + fileName.right(kFileNameShown)
                                                          : fileName);
    case kRadioData: return "Current (or modified) radio data loaded.";
    default: return "No data loaded.";
  }
}

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  setAccessibleName("Status");
  setSizeGripEnabled(false);
  setStyleSheet(MainWindowStyleSheet());
  for (int i = 0; i < kPanelCount; ++i) {
    QLabel* panel = panels_[i] = new QLabel(this);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    // Read out as "Port: COM97", not a bare "COM97" nor a bare "Port".
    SetSpokenText(panel, kPanels[i].role, QString());
    if (kPanels[i].width == 0) {
      addWidget(panel, 1);
      continue;
    }
    if (kPanels[i].widens)
      panel->setMinimumWidth(kPanels[i].width);
    else
      panel->setFixedWidth(kPanels[i].width);
    addWidget(panel);
  }
  notice_ = new QLabel(this);
  notice_->setObjectName("StatusNotice");
  // Takes the room the data panel leaves; the whole text is in its tip and
  // its accessible name.
  notice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  notice_->hide();
  addWidget(notice_, 1);
  noticeTimer_ = new QTimer(this);
  noticeTimer_->setSingleShot(true);
  connect(noticeTimer_, &QTimer::timeout, this, [this] { SetNotice(lastingNotice_); });
}

void MainStatusBar::ShowPort(int portNumber, bool open) {
  SetSpokenText(panels_[kPortPanel], kPanels[kPortPanel].role, QString("COM%1").arg(portNumber));
  SetSpokenText(panels_[kPortStatePanel], kPanels[kPortStatePanel].role,
                open ? "Open" : "Not open");
}

void MainStatusBar::ShowRadio(const QString& text) {
  SetSpokenText(panels_[kRadioPanel], kPanels[kRadioPanel].role, text);
}

void MainStatusBar::ShowData(DataSourceState source, const QString& fileName) {
  SetSpokenText(panels_[kDataPanel], kPanels[kDataPanel].role, DataText(source, fileName));
}

QString MainStatusBar::PanelText(int panel) const {
  return panel >= 0 && panel < kPanelCount ? panels_[panel]->text() : QString();
}

void MainStatusBar::ShowNotice(const QString& text) {
  noticeTimer_->stop();
  lastingNotice_ = text;
  SetNotice(text);
}

void MainStatusBar::ShowNoticeFor(const QString& text, int milliseconds) {
  SetNotice(text);
  noticeTimer_->start(milliseconds);
}

QString MainStatusBar::NoticeText() const {
  return notice_->isHidden() ? QString() : notice_->text();
}

void MainStatusBar::SetNotice(const QString& text) {
  SetSpokenText(notice_, kNoticeRole, text);
  notice_->setToolTip(text);
  notice_->setVisible(!text.isEmpty());
}
