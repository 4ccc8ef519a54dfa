#include "keyfilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "rxchannels.h"

namespace {

class EnterKeyFilter : public QObject {
 public:
  EnterKeyFilter(QLineEdit* edit, std::function<void()> onEnter)
      : QObject(edit), onEnter_(std::move(onEnter)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    onEnter_();
    return true;
  }

 private:
  std::function<void()> onEnter_;
};

}  // namespace

QValidator* NewDigitsAndPointValidator(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), parent);
}

QValidator::State AlphaTagValidator::validate(QString& input, int&) const {
  for (QChar& c : input) {
    const char key = c.unicode() < 128 ? AlphaTagKey(static_cast<char>(c.unicode())) : 0;
    if (key == 0) return Invalid;
    c = QChar(key);
  }
  return Acceptable;
}

void OnEnterKey(QLineEdit* edit, std::function<void()> onEnter) {
  edit->installEventFilter(new EnterKeyFilter(edit, std::move(onEnter)));
}
