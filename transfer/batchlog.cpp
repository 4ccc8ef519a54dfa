#include "batchlog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace {

// A log holds one short line per radio: this is tens of thousands of them.
constexpr off_t kMaxLogBytes = 8 * 1024 * 1024;

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
  std::vector<std::string> fields(1);
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
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
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

bool ParseBatchLogLine(const std::string& line, BatchRow& row) {
  const std::vector<std::string> fields = SplitCsv(line);
  const auto members = Fields();
  if (fields.size() != members.size() || line == BatchLogHeader()) return false;
  for (size_t i = 0; i < members.size(); ++i) row.*members[i] = fields[i];
  return true;
}

bool ReadBatchLog(const std::string& path, std::vector<BatchRow>& rows, std::string& error) {
  rows.clear();
  // Opened without waiting, so a FIFO named by mistake cannot hang the
  // batch before its first radio.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (access(path.c_str(), F_OK) != 0) return true;  // a new log
    error = "cannot open the log " + path;
    return false;
  }
  struct stat st {};
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!regular || st.st_size > kMaxLogBytes) {
    close(fd);
    error = regular ? "the log " + path + " is too large for a batch log"
                    : "the log " + path + " is not a regular file";
    return false;
  }
  std::string text(static_cast<size_t>(st.st_size), '\0');
  size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = read(fd, text.data() + got, text.size() - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  text.resize(got);
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
  struct stat st {};
  const bool exists = stat(path.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    error = "the log " + path + " is not a regular file";
    return false;
  }
  std::ofstream out(path, std::ios::app | std::ios::binary);
  if (!out) {
    error = "cannot write the log " + path;
    return false;
  }
  if (!exists || st.st_size == 0) out << BatchLogHeader() << "\n";
  out << BatchLogLine(row) << "\n";
  out.flush();
  if (!out) {
    error = "cannot write the log " + path + " (disk full?)";
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

bool CheckFirstIdent(const std::string& first, int count, int maxDigits, std::string& error) {
  if (first.empty() || static_cast<int>(first.size()) > maxDigits ||
      first.find_first_not_of("0123456789") != std::string::npos) {
    error = "the first ident must be 1 to " + std::to_string(maxDigits) +
            " decimal digits, not \"" + first + "\"";
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
