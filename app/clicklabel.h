#pragma once
// A label that acts like a link: hand cursor, and clicked() on a left click.

#include <QLabel>
#include <QMouseEvent>

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
  }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
  }
};
