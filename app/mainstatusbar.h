#pragma once
// The main window's status bar: four panels (the port, its state, the radio
// and the data loaded) that always keep their place, and a notice panel
// that appears beside them when something goes wrong in the background (a
// trace that cannot be written, a read that was not archived) so the
// panels are never covered and a screen reader hears the notice itself.

#include <QStatusBar>
#include <QString>

#include "transferhost.h"

class QLabel;
class QTimer;

class MainStatusBar : public QStatusBar {
 public:
  enum Panel { kPortPanel = 0, kPortStatePanel, kRadioPanel, kDataPanel, kPanelCount };

  explicit MainStatusBar(QWidget* parent = nullptr);

  void ShowPort(int portNumber, bool open);
  // The radio's firmware text and version; an empty text clears the panel.
  void ShowRadio(const QString& text);
  void ShowData(DataSourceState source, const QString& fileName);
  QString PanelText(int panel) const;

  // A notice that stays until another replaces it.
  void ShowNotice(const QString& text);
  // A notice for a while; the lasting notice, if any, comes back after it.
  void ShowNoticeFor(const QString& text, int milliseconds);
  // What the notice panel says now; empty while it is hidden.
  QString NoticeText() const;
  QLabel* NoticePanel() const { return notice_; }

 private:
  void SetNotice(const QString& text);

  QLabel* panels_[kPanelCount] = {};
  QLabel* notice_ = nullptr;
  QTimer* noticeTimer_ = nullptr;
  QString lastingNotice_;
};
