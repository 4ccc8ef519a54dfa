#include "batchlog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "csvline.h"
#include "excerpt.h"
#include "userfile.h"

namespace {

// A log holds one short line per radio: this is tens of thousands of them.
constexpr size_t kMaxLogBytes = 8 * 1024 * 1024;

std::vector<std::string BatchRow::*> Fields() {
  return {&BatchRow::time,        &BatchRow::port,       &BatchRow::productId,
          &BatchRow::firmware,    &BatchRow::version,    &BatchRow::identBefore,
          &BatchRow::identAfter,  &BatchRow::result,     &BatchRow::archive};
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c == '\r' || c == '\n' ? ' ' : c;
  }
  return out + "\"";
}

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields;
  SplitCsvLine(line, fields);
  return fields;
}

}  // namespace

std::string BatchLogHeader() {
  return "Time,Port,Product ID,Firmware,Version,Ident before,Ident after,Result,Archive";
}

std::vector<std::string> BatchLogColumns() { return SplitCsv(BatchLogHeader()); }

std::vector<std::string> BatchRowFields(const BatchRow& row) {
  std::vector<std::string> fields;
  for (auto field : Fields()) fields.push_back(row.*field);
  return fields;
}

std::string BatchLogLine(const BatchRow& row) {
  std::string line;
  bool first = true;
  for (auto field : Fields()) {
    line += (first ? "" : ",") + Quoted(row.*field);
    first = false;
  }
  return line;
}

bool ParseBatchLogLine(std::string line, BatchRow& row) {
  // A log edited in a spreadsheet may come back with CRLF line ends.
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const std::vector<std::string> fields = SplitCsv(line);
  const auto members = Fields();
  if (fields.size() != members.size() || line == BatchLogHeader()) return false;
  for (size_t i = 0; i < members.size(); ++i) row.*members[i] = fields[i];
  return true;
}

bool ReadBatchLog(const std::string& path, std::vector<BatchRow>& rows, std::string& error) {
  rows.clear();
  std::string text;
  UserFileError why;
  if (!ReadUserFile(path, kMaxLogBytes, "a batch log", text, why)) {
    if (why.Missing()) return true;  // a new log
    error = "cannot read the log " + ShownPath(path) + ": " + why.reason;
    return false;
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    BatchRow row;
    if (ParseBatchLogLine(text.substr(start, end - start), row)) rows.push_back(row);
    start = end + 1;
  }
  return true;
}

bool AppendBatchLog(const std::string& path, const BatchRow& row, std::string& error) {
  UserFileError why;
  const int fd = OpenUserFileForAppend(path, why);
  if (fd < 0) {
    error = "cannot write the log " + ShownPath(path) + ": " + why.reason;
    return false;
  }
  struct stat st {};
  std::string text;
  if (fstat(fd, &st) == 0 && st.st_size == 0) text = BatchLogHeader() + "\n";
  text += BatchLogLine(row) + "\n";
  // Header and row are handed over together: a full disk can cut only
  // the last line, never leave a header without its row.
  size_t done = 0;
  int failure = 0;
  while (done < text.size() && failure == 0) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n > 0) done += static_cast<size_t>(n);
    else if (n < 0 && errno != EINTR) failure = errno;
  }
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) {
    error = "cannot write the log " + ShownPath(path) + ": " + ErrnoText(failure);
    return false;
  }
  return true;
}

std::set<std::string> IdentsLoggedOk(const std::vector<BatchRow>& rows) {
  std::set<std::string> idents;
  for (const BatchRow& row : rows)
    if (row.result == kBatchOk && !row.identAfter.empty()) idents.insert(row.identAfter);
  return idents;
}

bool NextIdent(std::string& ident) {
  std::string next = ident;
  for (size_t i = next.size(); i-- > 0;) {
    if (next[i] != '9') {
      ++next[i];
      ident = next;
      return true;
    }
    next[i] = '0';
  }
  return false;
}

namespace {
// How much of a wrong ident the message quotes.
constexpr size_t kQuotedIdentChars = 20;
}  // namespace

bool CheckFirstIdent(const std::string& first, int count, int maxDigits, std::string& error) {
  if (first.empty() || static_cast<int>(first.size()) > maxDigits ||
      first.find_first_not_of("0123456789") != std::string::npos) {
    error = "the first ident must be 1 to " + std::to_string(maxDigits) +
            " decimal digits, not " + QuotedExcerpt(first, kQuotedIdentChars);
    return false;
  }
  std::string ident = first;
  for (int i = 1; i < count; ++i)
    if (!NextIdent(ident)) {
      error = "the idents run out: " + std::to_string(count) + " radios from " + first +
              " need more than " + std::to_string(first.size()) + " digits";
      return false;
    }
  return true;
}
