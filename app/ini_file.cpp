#include "ini_file.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string Trim(const std::string& s) {
  const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
  size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// "[name]" -> name; anything else -> no section header.
bool SectionName(const std::string& line, std::string& name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  name = Trim(t.substr(1, t.size() - 2));
  return true;
}

// "key=value" -> key; comments and other lines -> no key.
bool KeyName(const std::string& line, std::string& key, std::string& value) {
  const std::string t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#') return false;
  const size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

}  // namespace

std::string ReadIniValue(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& fallback) {
  bool inSection = false;
  for (const std::string& line : SplitLines(text)) {
    std::string name, k, v;
    if (SectionName(line, name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyName(line, k, v) && SameName(k, key)) {
      return v;
    }
  }
  return fallback;
}

std::string WriteIniValue(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& value) {
  std::vector<std::string> lines = SplitLines(text);
  const std::string entry = key + "=" + value;
  bool inSection = false;
  long sectionEnd = -1;  // index after the last line of the wanted section
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (SectionName(lines[i], name)) {
      if (inSection) break;
      inSection = SameName(name, section);
      if (inSection) sectionEnd = static_cast<long>(i) + 1;
    } else if (inSection) {
      if (KeyName(lines[i], k, v) && SameName(k, key)) {
        lines[i] = entry;
        sectionEnd = -2;
        break;
      }
      if (!Trim(lines[i]).empty()) sectionEnd = static_cast<long>(i) + 1;
    }
  }
  if (sectionEnd == -1) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back("");
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  } else if (sectionEnd >= 0) {
    lines.insert(lines.begin() + sectionEnd, entry);
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string Utf8Prefix(const std::string& text, size_t maxChars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // Continuation bytes belong to the character before them.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars == maxChars) return text.substr(0, i);
    ++chars;
  }
  return text;
}
