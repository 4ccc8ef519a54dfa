#pragma once
// A line edit's key filter as a validator, so typed and pasted text pass the
// same rule: each character is mapped by `filter` (which may capitalise it)
// or refused when the filter gives 0; one refused character refuses the edit.

#include <QValidator>

class KeyFilterValidator : public QValidator {
 public:
  using Filter = char (*)(char);
  KeyFilterValidator(Filter filter, QObject* parent) : QValidator(parent), filter_(filter) {}

  State validate(QString& input, int& pos) const override;

  // True when `filter` takes the key's character (mapped or not); keys that
  // type no character are left to the widget.
  static bool Takes(Filter filter, const QString& keyText);

 private:
  Filter filter_;
};
