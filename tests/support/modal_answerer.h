#pragma once
// Answers the real message boxes a window shows during a test. While it
// lives it polls for the active modal QMessageBox, records its text,
// caption, icon and buttons, and presses the next scripted button (OK when
// the script has run out). Any of the program's windows can use it.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <vector>

struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class ModalAnswerer : public QObject {
 public:
  explicit ModalAnswerer(QObject* parent = nullptr) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Poll);
    timer_.start(5);
  }

  // The buttons to press for the next boxes, in order.
  void Answer(std::initializer_list<QMessageBox::StandardButton> buttons) {
    answers_.insert(answers_.end(), buttons.begin(), buttons.end());
  }
  // Every box seen since the last Take(), oldest first.
  std::vector<SeenBox> Take() {
    std::vector<SeenBox> seen;
    seen.swap(seen_);
    answers_.clear();
    return seen;
  }
  const std::vector<SeenBox>& Seen() const { return seen_; }

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    // A box lives on its caller's stack, so the next one may reuse the
    // address: mark each box instead of remembering pointers.
    if (!box || !box->isVisible() || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    seen_.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                     box->standardButton(static_cast<QAbstractButton*>(box->defaultButton()))});
    QMessageBox::StandardButton choice = QMessageBox::Ok;
    if (!answers_.empty()) {
      choice = answers_.front();
      answers_.pop_front();
    }
    QAbstractButton* button = box->button(choice);
    if (!button) button = box->escapeButton();
    if (button) button->click();
  }

  QTimer timer_;
  std::deque<QMessageBox::StandardButton> answers_;
  std::vector<SeenBox> seen_;
};
