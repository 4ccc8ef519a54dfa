#include "keyfiltervalidator.h"

namespace {

// 0 for characters outside 7-bit ASCII, which no filter takes.
char Ascii(QChar c) { return c.unicode() < 128 ? static_cast<char>(c.unicode()) : 0; }

}  // namespace

QValidator::State KeyFilterValidator::validate(QString& input, int&) const {
  for (QChar& c : input) {
    const char mapped = Ascii(c) ? filter_(Ascii(c)) : 0;
    if (mapped == 0) return Invalid;
    c = QChar(mapped);
  }
  return Acceptable;
}

bool KeyFilterValidator::Takes(Filter filter, const QString& keyText) {
  if (keyText.size() != 1 || !keyText[0].isPrint()) return true;
  const char c = Ascii(keyText[0]);
  return c != 0 && filter(c) != 0;
}
