#include "keyfilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

// Swallows the given keys in an edit box and runs `onKey` for each.
class KeyHandler : public QObject {
 public:
  KeyHandler(QLineEdit* edit, std::initializer_list<int> keys, std::function<void(int)> onKey)
      : QObject(edit), keys_(keys), onKey_(std::move(onKey)) {
    edit->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (std::find(keys_.begin(), keys_.end(), key) == keys_.end()) return false;
    onKey_(key);
    return true;
  }

 private:
  std::vector<int> keys_;
  std::function<void(int)> onKey_;
};

}  // namespace

void OnEnterKey(QLineEdit* edit, std::function<void()> onEnter) {
  new KeyHandler(edit, {Qt::Key_Return, Qt::Key_Enter},
                 [onEnter = std::move(onEnter)](int) { onEnter(); });
}

void OnArrowKeys(QLineEdit* edit, std::function<void(bool up)> step) {
  new KeyHandler(edit, {Qt::Key_Up, Qt::Key_Down},
                 [step = std::move(step)](int key) { step(key == Qt::Key_Up); });
}
