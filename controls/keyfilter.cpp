#include "keyfilter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace {

// 0 for characters outside 7-bit ASCII, which no filter takes.
char Ascii(QChar c) { return c.unicode() < 128 ? static_cast<char>(c.unicode()) : 0; }

char Mapped(KeyFilter::Filter filter, QChar c) { return Ascii(c) ? filter(Ascii(c)) : 0; }

bool TypesACharacter(const QKeyEvent* key) {
  return key->text().size() == 1 && key->text()[0].isPrint() &&
         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

KeyFilter::KeyFilter(QLineEdit* edit, Filter filter) : QObject(edit), edit_(edit), filter_(filter) {
  edit->setAcceptDrops(false);
  edit->installEventFilter(this);
}

void KeyFilter::Install(QLineEdit* edit, Filter filter) { new KeyFilter(edit, filter); }

bool KeyFilter::Takes(Filter filter, const QString& keyText) {
  if (keyText.size() != 1 || !keyText[0].isPrint()) return true;
  return Mapped(filter, keyText[0]) != 0;
}

void KeyFilter::Paste(const QString& text) {
  QString kept;
  for (QChar c : text) {
    if (const char mapped = Mapped(filter_, c)) kept += QChar(mapped);
  }
  if (!kept.isEmpty() && !edit_->isReadOnly()) edit_->insert(kept);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Paste)) {
        Paste(QApplication::clipboard()->text());
        return true;
      }
      if (!TypesACharacter(key)) return false;
      const char mapped = Mapped(filter_, key->text()[0]);
      if (mapped == 0) return true;
      if (QChar(mapped) == key->text()[0]) return false;
      QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::ShiftModifier,
                        QString(QChar(mapped)), key->isAutoRepeat());
      QApplication::sendEvent(edit_, &changed);
      return true;
    }
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
      // The standard menu, with its Paste going through the filter too.
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
