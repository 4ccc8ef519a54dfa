#pragma once
// A line edit's input rule: each character the user puts in is passed
// through `rule`, which may change it (capitals) or refuse it (0). Typed
// keys, text typed through an input method, and text pasted (by key, menu
// or middle button) or dropped all go through the same rule and lose what
// it refuses, and so does text set from anywhere else (an assistive tool
// setting the box's value or inserting text). Text the window loads with
// Load() is left as it is, never refused or changed, so a stored
// character the rule would refuse is shown and never blocks editing the
// rest.

#include <QObject>

class QLineEdit;
class QString;

class InputRule : public QObject {
 public:
  using Rule = char (*)(char);

  // Becomes a child of `edit` and holds its input to `rule` from now on.
  static void Install(QLineEdit* edit, Rule rule);

  // Shows text the window loaded in `edit` as it is, past its rule.
  static void Load(QLineEdit* edit, const QString& text);

  // True when `keyText` types no character (left to the widget) or one the
  // rule takes.
  static bool Takes(Rule rule, const QString& keyText);

  // What is left of `text` under `rule`.
  static QString Kept(Rule rule, const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  InputRule(QLineEdit* edit, Rule rule);
  bool Key(QEvent* event);
  bool Drop(QEvent* event);
  bool InputMethod(QEvent* event);
  void Paste(const QString& text);
  void TextSet(const QString& text);

  QLineEdit* edit_;
  Rule rule_;
  bool forwarding_ = false;  // the edit is handling the kept text
  bool loading_ = false;     // Load() is setting the window's text
  QString shown_;            // the text after the last change
  QString loaded_;           // what the window loaded last (undo may bring it back)
};

// The number rules.
char DigitKey(char c);         // 0-9
char DigitOrPointKey(char c);  // 0-9 and "."
char SignedDecimalKey(char c); // 0-9, "." and "-"
