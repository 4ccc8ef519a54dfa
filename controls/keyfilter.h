#pragma once
// A line edit's key filter: each character the user types is passed through
// `filter`, which may change it (capitals) or refuse it (0). Text the user
// pastes, by key, menu, middle button or drop, goes through the same filter
// and loses what it refuses. Text the window loads is left as it is, so a
// stored character the filter would refuse never blocks editing the rest.

#include <QObject>

class QLineEdit;
class QString;

class KeyFilter : public QObject {
 public:
  using Filter = char (*)(char);

  // Becomes a child of `edit` and filters it from now on.
  static void Install(QLineEdit* edit, Filter filter);

  // True when `keyText` types no character (left to the widget) or one the
  // filter takes.
  static bool Takes(Filter filter, const QString& keyText);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KeyFilter(QLineEdit* edit, Filter filter);
  void Paste(const QString& text);

  QLineEdit* edit_;
  Filter filter_;
};
