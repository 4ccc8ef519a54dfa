#pragma once
// Reads a PDF back with poppler's command-line tools (pdfinfo, pdftotext),
// so the printed report is checked by a real reader, not by our own idea
// of what we wrote.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace pdf_reader {

inline bool ToolsInstalled() {
  return std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") == 0;
}

// A shell command's standard output.
inline std::string Run(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// -1 when pdfinfo cannot read the file.
inline int PageCount(const std::string& path) {
  const std::string info = Run("pdfinfo " + Quoted(path) + " 2>/dev/null");
  const size_t at = info.find("\nPages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
}

// The words of a line one space apart: the reader sets its own spacing.
inline std::string Words(const std::string& line) {
  std::istringstream in(line);
  std::string words;
  for (std::string word; in >> word;) words += (words.empty() ? "" : " ") + word;
  return words;
}

// The non-blank lines of page `page` (from 1), as Words.
inline std::vector<std::string> PageLines(const std::string& path, int page) {
  const std::string p = std::to_string(page);
  std::istringstream in(Run("pdftotext -layout -f " + p + " -l " + p + " " + Quoted(path) + " -"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!Words(line).empty()) lines.push_back(Words(line));
  return lines;
}

// The non-blank report lines first .. first + count - 1, as Words.
inline std::vector<std::string> Expected(const std::vector<std::string>& lines, size_t first,
                                         size_t count) {
  std::vector<std::string> out;
  for (size_t i = first; i < lines.size() && i < first + count; ++i)
    if (!Words(lines[i]).empty()) out.push_back(Words(lines[i]));
  return out;
}

}  // namespace pdf_reader
