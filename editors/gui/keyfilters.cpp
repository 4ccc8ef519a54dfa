#include "keyfilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

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

// The characters an alpha tag holds: blank to "_", less the end mark "@".
bool Showable(QChar c) { return c.unicode() >= 32 && c.unicode() <= 95 && c != u'@'; }

}  // namespace

QValidator* NewDigitsAndPointValidator(QObject* parent) {
  return new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), parent);
}

QValidator::State AlphaTagValidator::validate(QString& input, int&) const {
  for (QChar& c : input) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    if (!Showable(c)) return Invalid;
  }
  return Acceptable;
}

void OnEnterKey(QLineEdit* edit, std::function<void()> onEnter) {
  edit->installEventFilter(new EnterKeyFilter(edit, std::move(onEnter)));
}
