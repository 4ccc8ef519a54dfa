#include "csvline.h"

bool SplitCsvLine(const std::string& line, std::vector<std::string>& fields) {
  fields.assign(1, "");
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return !quoted;
}

std::string CsvField(const std::string& text, bool always) {
  const bool blankAtEnd = !text.empty() && (text.front() == ' ' || text.back() == ' ');
  if (!always && !blankAtEnd && text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c == '\r' || c == '\n' ? ' ' : c;
  }
  return out + "\"";
}
