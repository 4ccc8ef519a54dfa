#pragma once
// A line edit's input rule: each character the user puts in is passed
// through `rule`, which may change it (capitals) or refuse it (0). Typed
// keys, text typed through an input method, and text pasted (by key, menu
// or middle button) or dropped all go through the same rule and lose what
// it refuses. Text the window loads is left as it is, never refused or
// changed, so a stored character the rule would refuse is shown and never
// blocks editing the rest.

#include <QObject>

class QLineEdit;
class QString;

class InputRule : public QObject {
 public:
  using Rule = char (*)(char);

  // Becomes a child of `edit` and holds its input to `rule` from now on.
  static void Install(QLineEdit* edit, Rule rule);

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

  QLineEdit* edit_;
  Rule rule_;
  bool forwarding_ = false;  // the edit is handling the kept text
};

// The number rules.
char DigitKey(char c);         // 0-9
char DigitOrPointKey(char c);  // 0-9 and "."
char SignedDecimalKey(char c); // 0-9, "." and "-"
