#include "inputrule.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <memory>

namespace {

// 0 for characters outside 7-bit ASCII, which no rule takes.
char Ascii(QChar c) { return c.unicode() < 128 ? static_cast<char>(c.unicode()) : 0; }

char Mapped(InputRule::Rule rule, QChar c) { return Ascii(c) ? rule(Ascii(c)) : 0; }

bool TypesACharacter(const QKeyEvent* key) {
  return key->text().size() == 1 && key->text()[0].isPrint() &&
         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

InputRule::InputRule(QLineEdit* edit, Rule rule) : QObject(edit), edit_(edit), rule_(rule) {
  edit->installEventFilter(this);
  shown_ = edit->text();
  connect(edit, &QLineEdit::textChanged, this, &InputRule::TextSet);
}

void InputRule::Install(QLineEdit* edit, Rule rule) { new InputRule(edit, rule); }

void InputRule::Load(QLineEdit* edit, const QString& text) {
  // No meta-object of its own, so not findChild: that would take any child.
  InputRule* rule = nullptr;
  for (QObject* child : edit->children())
    if (!rule) rule = dynamic_cast<InputRule*>(child);
  if (rule) rule->loading_ = true;
  edit->setText(text);
  if (!rule) return;
  rule->loading_ = false;
  rule->loaded_ = edit->text();
}

// What the user typed, pasted or dropped has passed the rule already and
// marks the box modified. A text set from outside (setText, as an
// assistive tool's value or inserted text arrives) leaves it unmodified
// and is held to the rule here: the part that differs from what the box
// showed, so loaded characters around it stay as they are.
void InputRule::TextSet(const QString& text) {
  const QString before = shown_;
  shown_ = text;
  if (loading_ || forwarding_ || edit_->isModified() || text == loaded_) return;
  qsizetype head = 0;
  while (head < text.size() && head < before.size() && text[head] == before[head]) ++head;
  qsizetype tail = 0;
  while (tail < text.size() - head && tail < before.size() - head &&
         text[text.size() - 1 - tail] == before[before.size() - 1 - tail])
    ++tail;
  const QString kept =
      text.left(head) + Kept(rule_, text.mid(head, text.size() - head - tail)) + text.right(tail);
  if (kept == text) return;
  forwarding_ = true;
  edit_->setText(kept);
  forwarding_ = false;
  shown_ = edit_->text();
}

bool InputRule::Takes(Rule rule, const QString& keyText) {
  if (keyText.size() != 1 || !keyText[0].isPrint()) return true;
  return Mapped(rule, keyText[0]) != 0;
}

QString InputRule::Kept(Rule rule, const QString& text) {
  QString kept;
  for (QChar c : text) {
    if (const char mapped = Mapped(rule, c)) kept += QChar(mapped);
  }
  return kept;
}

void InputRule::Paste(const QString& text) {
  const QString kept = Kept(rule_, text);
  if (!kept.isEmpty() && !edit_->isReadOnly()) edit_->insert(kept);
}

bool InputRule::Key(QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->matches(QKeySequence::Paste)) {
    Paste(QApplication::clipboard()->text());
    return true;
  }
  if (!TypesACharacter(key)) return false;
  const char mapped = Mapped(rule_, key->text()[0]);
  if (mapped == 0) return true;
  if (QChar(mapped) == key->text()[0]) return false;
  QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::ShiftModifier,
                    QString(QChar(mapped)), key->isAutoRepeat());
  QApplication::sendEvent(edit_, &changed);
  return true;
}

// Text dragged in from elsewhere reaches the box as what the rule keeps of
// it, so the box's own drop (caret, selection, undo) handles it; a move
// inside the box brings no new character and is left to the box.
bool InputRule::Drop(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  if (drop->source() == edit_ || !drop->mimeData()->hasText()) return false;
  const QString kept = Kept(rule_, drop->mimeData()->text());
  if (kept.isEmpty()) {
    drop->ignore();
    return true;
  }
  QMimeData keptData;
  keptData.setText(kept);
  QDropEvent changed(drop->position(), drop->possibleActions(), &keptData, drop->buttons(),
                     drop->modifiers());
  changed.setDropAction(drop->dropAction());
  forwarding_ = true;
  QApplication::sendEvent(edit_, &changed);
  forwarding_ = false;
  drop->setDropAction(changed.dropAction());
  drop->setAccepted(changed.isAccepted());
  return true;
}

// A read-only box takes nothing an input method sends it.
bool InputRule::InputMethod(QEvent* event) {
  if (edit_->isReadOnly()) return true;
  auto* input = static_cast<QInputMethodEvent*>(event);
  const QString kept = Kept(rule_, input->commitString());
  if (kept == input->commitString()) return false;
  QInputMethodEvent changed(input->preeditString(), input->attributes());
  changed.setCommitString(kept, input->replacementStart(), input->replacementLength());
  forwarding_ = true;
  QApplication::sendEvent(edit_, &changed);
  forwarding_ = false;
  return true;
}

bool InputRule::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || forwarding_) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      return Key(event);
    case QEvent::Drop:
      return Drop(event);
    case QEvent::InputMethod:
      return InputMethod(event);
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::MiddleButton) return false;
      if (QApplication::clipboard()->supportsSelection()) {
        edit_->setCursorPosition(edit_->cursorPositionAt(mouse->position().toPoint()));
        Paste(QApplication::clipboard()->text(QClipboard::Selection));
      }
      return true;
    }
    case QEvent::ContextMenu: {
      // The standard menu, with its Paste going through the rule too.
      std::unique_ptr<QMenu> menu(edit_->createStandardContextMenu());
      if (auto* paste = menu->findChild<QAction*>("edit-paste")) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this,
                [this] { Paste(QApplication::clipboard()->text()); });
      }
      menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
    default:
      return false;
  }
}

char DigitKey(char c) { return c >= '0' && c <= '9' ? c : 0; }

char DigitOrPointKey(char c) { return c == '.' ? c : DigitKey(c); }

char SignedDecimalKey(char c) { return c == '-' ? c : DigitOrPointKey(c); }
