#pragma once
// The read-only help area of an editor: it shows the fixed text of the
// control that gets the focus or the pointer. A repeated event from the
// control whose text is shown changes nothing; an event from a control
// registered as a clearer (the window, its buttons, plain groups) empties
// the area. Each control's text is also its accessible description, so a
// screen reader gives it without the user going to the area.

#include <QObject>
#include <QString>
#include <vector>

class QPlainTextEdit;
class QWidget;

class HelpMemo : public QObject {
 public:
  enum Trigger { kFocus = 1, kPointer = 2, kFocusAndPointer = 3 };

  explicit HelpMemo(QPlainTextEdit* memo);

  void Add(QWidget* control, const QString& text, Trigger trigger = kFocusAndPointer);
  void Add(std::initializer_list<QWidget*> controls, const QString& text,
           Trigger trigger = kFocusAndPointer);
  void AddClearer(QWidget* control);
  // Every control of `window` not added so far empties the area, by the
  // focus and the pointer alike: no control is left showing another's text.
  void AddClearersForTheRest(QWidget* window);

  // The control whose text is shown, nullptr when none.
  const QWidget* Shown() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    QWidget* control;
    QString text;
    int trigger;
  };
  void Show(QWidget* control, const QString& text);

  QPlainTextEdit* memo_;
  std::vector<Entry> entries_;
  const QWidget* shown_ = nullptr;
};
