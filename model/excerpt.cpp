#include "excerpt.h"

#include <cstdio>

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string QuotedExcerpt(const std::string& text, size_t maxChars) {
  std::string out = "\"";
  size_t chars = 0, i = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    // The byte bound holds for stray continuation bytes, which start no character.
    if ((!IsContinuation(c) && chars++ == maxChars) || i == 4 * maxChars) break;
    if (IsControl(c)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
  if (i < text.size()) out += "... (" + std::to_string(text.size()) + " bytes)";
  return out;
}

std::string ShownPath(const std::string& path) {
  size_t chars = 0;
  for (const char c : path) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (IsControl(byte)) return QuotedExcerpt(path, kShownPathChars);
    if (!IsContinuation(byte)) ++chars;
  }
  return chars <= kShownPathChars ? path : QuotedExcerpt(path, kShownPathChars);
}
