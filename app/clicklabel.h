#pragma once
// A label that acts like a link: hand cursor, clicked() on a left click,
// and, so it serves the keyboard too, a place in the tab order with Enter,
// Return and Space also giving clicked().

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
  }

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
      emit clicked();
      return;
    }
    QLabel::keyPressEvent(e);
  }
};
