#include "batchlog.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "csvline.h"
#include "excerpt.h"
#include "filereplace.h"
#include "selcall.h"
#include "userfile.h"

namespace {

// A log holds one short line per radio: this is tens of thousands of them.
constexpr size_t kMaxLogBytes = 8 * 1024 * 1024;
// A path in a message: long enough to tell two logs of one bench apart.
constexpr size_t kQuotedPathChars = 60;
// The leading stored digits the Selcall window never shows (it stores them
// as zeros), before its five positions.
constexpr size_t kHiddenIdentDigits = kSelcallIdentDigits - kRadioIdentLength;
// Positions of the columns a cut last line must reach to prove anything.
constexpr size_t kIdentAfterColumn = 6;
constexpr size_t kResultColumn = 7;

std::vector<std::string BatchRow::*> Fields() {
  return {&BatchRow::time,        &BatchRow::port,       &BatchRow::productId,
          &BatchRow::firmware,    &BatchRow::version,    &BatchRow::identBefore,
          &BatchRow::identAfter,  &BatchRow::result,     &BatchRow::archive};
}

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields;
  SplitCsvLine(line, fields);
  return fields;
}

std::string WithoutCr(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// What a last line without its line end proves. Fields before the last
// are whole (a comma follows them); the last may be cut anywhere.
void ReadCutLine(const std::string& line, BatchLogContents& contents) {
  contents.cutLine = true;
  const std::vector<std::string> fields = SplitCsv(line);
  const auto members = Fields();
  BatchRow row;
  for (size_t i = 0; i < fields.size() && i < members.size(); ++i) row.*members[i] = fields[i];
  const std::string start = "the log's last line has no line end (cut short, as by a full disk)";
  if (fields.size() <= kIdentAfterColumn + 1) {
    contents.cutIdentUnknown = true;
    contents.cutNote = start + ", and is cut before its ident is whole: which ident its radio took "
                               "cannot be known from the log";
    return;
  }
  contents.rows.push_back(row);
  const std::string ident = BatchIdentText(row.identAfter);
  const bool resultWhole = fields.size() > kResultColumn + 1;
  // "O" is what is left of an "OK" cut after its first letter.
  const bool maybeOk = row.result == kBatchOk || (!resultWhole && std::string(kBatchOk).rfind(row.result, 0) == 0);
  if (ident.empty()) {
    contents.cutNote = start + "; its radio took no ident";
  } else if (maybeOk) {
    contents.taken.insert(ident);
    contents.cutNote = start + "; its ident " + ident +
                       (resultWhole ? " ended OK" : " may have ended OK") + " and is not given again";
  } else {
    contents.cutNote = start + "; its radio did not end OK, so its ident " + ident + " stays free";
  }
  contents.cutNote += ". The next row starts on a line of its own";
}

std::string CannotReadText(const std::string& path, const std::string& reason) {
  return "cannot read the log " + QuotedLogPath(path) + ": " + reason;
}

}  // namespace

std::string QuotedLogPath(const std::string& path) { return QuotedExcerpt(path, kQuotedPathChars); }

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
    line += (first ? "" : ",") + CsvField(row.*field);
    first = false;
  }
  return line;
}

bool ParseBatchLogLine(std::string line, BatchRow& row) {
  // A log edited in a spreadsheet may come back with CRLF line ends.
  line = WithoutCr(line);
  const std::vector<std::string> fields = SplitCsv(line);
  const auto members = Fields();
  if (fields.size() != members.size() || line == BatchLogHeader()) return false;
  for (size_t i = 0; i < members.size(); ++i) row.*members[i] = fields[i];
  return true;
}

bool ParseBatchLog(const std::string& text, BatchLogContents& contents, std::string& error) {
  contents = BatchLogContents();
  if (text.empty()) return true;
  // A spreadsheet may have saved it with a UTF-8 byte-order mark.
  const size_t bom = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  const size_t headerEnd = text.find('\n', bom);
  if (WithoutCr(text.substr(bom, headerEnd == std::string::npos ? std::string::npos
                                                                : headerEnd - bom)) !=
      BatchLogHeader()) {
    error = "its first line is not the log's header (" + BatchLogHeader() + ")";
    return false;
  }
  size_t start = headerEnd == std::string::npos ? text.size() : headerEnd + 1;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      ReadCutLine(text.substr(start), contents);
      break;
    }
    BatchRow row;
    if (ParseBatchLogLine(text.substr(start, end - start), row)) contents.rows.push_back(row);
    start = end + 1;
  }
  for (const std::string& ident : IdentsLoggedOk(contents.rows)) contents.taken.insert(ident);
  return true;
}

BatchLogFile::~BatchLogFile() { Close(); }

void BatchLogFile::Close() {
  if (fd_ >= 0) close(fd_);  // the lock goes with the descriptor
  fd_ = -1;
}

std::string BatchLogFile::CannotWrite(const std::string& reason) const {
  return "cannot write the log " + QuotedLogPath(path_) + ": " + reason;
}

bool BatchLogFile::Open(const std::string& path, const std::vector<std::string>& configPaths,
                        std::string& error) {
  Close();
  path_ = path;
  for (const std::string& config : configPaths)
    if (!config.empty() && SameFile(path, config)) {
      error = "the log " + QuotedLogPath(path) + " is the configuration's file " +
              QuotedLogPath(config) + " itself";
      return false;
    }
  const bool existed = access(path.c_str(), F_OK) == 0;
  UserFileError why;
  const int fd = OpenUserFileForReadAppend(path, why);
  if (fd < 0) {
    error = CannotWrite(why.reason);
    return false;
  }
  fd_ = fd;
  // flock, not fcntl: an flock lock also keeps out a second open of the
  // log in this same process (two windows' batches).
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int failure = errno;
    Close();
    error = failure == EWOULDBLOCK
                ? "the log " + QuotedLogPath(path) + " is in use by another batch"
                : CannotWrite(ErrnoText(failure));
    return false;
  }
  std::string text;
  BatchLogContents contents;
  if (!ReadAll(text, error) || !ParseBatchLog(text, contents, error)) {
    if (error.rfind("its first line", 0) == 0)
      error = QuotedLogPath(path) + " is not a batch log: " + error;
    Close();
    return false;
  }
  if (text.empty() && !WriteAll(BatchLogHeader() + "\n", error)) {
    // Only this batch could have written to it: leave no half header.
    if (ftruncate(fd_, 0) != 0) {}
    Close();
    if (!existed) unlink(path.c_str());
    return false;
  }
  return true;
}

bool BatchLogFile::ReadAll(std::string& text, std::string& error) {
  text.clear();
  struct stat st {};
  if (fstat(fd_, &st) != 0) {
    error = CannotReadText(path_, ErrnoText(errno));
    return false;
  }
  if (static_cast<uint64_t>(st.st_size) > kMaxLogBytes) {
    error = CannotReadText(path_, TooLargeReason(std::to_string(st.st_size) + " bytes",
                                                 kMaxLogBytes, "a batch log"));
    return false;
  }
  char buffer[64 * 1024];
  for (off_t at = 0;;) {
    const ssize_t n = pread(fd_, buffer, sizeof buffer, at);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = CannotReadText(path_, ErrnoText(errno));
      return false;
    }
    text.append(buffer, static_cast<size_t>(n));
    at += n;
    if (text.size() > kMaxLogBytes) {
      error = CannotReadText(path_, TooLargeReason("more than 8 MiB", kMaxLogBytes, "a batch log"));
      return false;
    }
  }
  return true;
}

bool BatchLogFile::Read(BatchLogContents& contents, std::string& error) {
  std::string text;
  return ReadAll(text, error) && ParseBatchLog(text, contents, error);
}

bool BatchLogFile::WriteAll(const std::string& text, std::string& error) {
  int failure = WriteWhole(fd_, text.data(), text.size()) ? 0 : errno;
  // The log is what the next batch trusts: a row is not written until it
  // is on the disk.
  if (failure == 0 && fdatasync(fd_) != 0) failure = errno;
  if (failure != 0) {
    error = CannotWrite(ErrnoText(failure));
    return false;
  }
  return true;
}

bool BatchLogFile::Append(const BatchRow& row, std::string& error) {
  if (fd_ < 0) {
    error = CannotWrite("it is not open");
    return false;
  }
  std::string text;
  struct stat st {};
  if (fstat(fd_, &st) != 0) {
    error = CannotWrite(ErrnoText(errno));
    return false;
  }
  char last = '\n';
  if (st.st_size == 0) {
    text = BatchLogHeader() + "\n";
  } else if (pread(fd_, &last, 1, st.st_size - 1) != 1) {
    error = CannotWrite(ErrnoText(errno));
    return false;
  }
  if (last != '\n') text += "\n";  // a cut last line keeps its own line
  text += BatchLogLine(row) + "\n";
  // Handed over in one piece: a full disk can cut only this line.
  return WriteAll(text, error);
}

bool ReadBatchLog(const std::string& path, std::vector<BatchRow>& rows, std::string& error) {
  rows.clear();
  std::string text;
  UserFileError why;
  if (!ReadUserFile(path, kMaxLogBytes, "a batch log", text, why)) {
    if (why.Missing()) return true;  // a new log
    error = CannotReadText(path, why.reason);
    return false;
  }
  BatchLogContents contents;
  if (!ParseBatchLog(text, contents, error)) {
    error = QuotedLogPath(path) + " is not a batch log: " + error;
    return false;
  }
  rows = contents.rows;
  return true;
}

bool AppendBatchLog(const std::string& path, const BatchRow& row, std::string& error) {
  BatchLogFile log;
  return log.Open(path, {}, error) && log.Append(row, error);
}

std::set<std::string> IdentsLoggedOk(const std::vector<BatchRow>& rows) {
  std::set<std::string> idents;
  for (const BatchRow& row : rows)
    if (row.result == kBatchOk && !row.identAfter.empty())
      idents.insert(BatchIdentText(row.identAfter));
  return idents;
}

std::string BatchIdentText(const std::string& ident) {
  std::string stored;
  if (ident.empty()) return ident;
  if (ident.size() == kSelcallIdentDigits &&
      ident.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos) {
    stored = ident;
  } else if (ident.size() <= kRadioIdentLength &&
             ident.find_first_not_of("0123456789F ") == std::string::npos) {
    // Typed as the Selcall window takes it, or already in this form.
    std::string positions = ident;
    if (ident.find('F') == std::string::npos) positions = RadioIdentPositions(ident);
    stored = StoredIdentText(std::string(kRadioIdentLength - positions.size(), 'F') + positions);
  } else {
    return ident;
  }
  for (char& c : stored) {
    if (c == ' ') c = 'F';
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return stored.compare(0, kHiddenIdentDigits, std::string(kHiddenIdentDigits, '0')) == 0
             ? stored.substr(kHiddenIdentDigits)
             : stored;
}

std::string BatchIdentText(const unsigned char stored[4]) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < 4; ++i) {
    text += kHex[stored[i] >> 4];
    text += kHex[stored[i] & 0x0F];
  }
  return BatchIdentText(text);
}

bool NextIdent(std::string& ident, int maxDigits) {
  std::string next = ident;
  for (size_t i = next.size(); i-- > 0;) {
    if (next[i] != '9') {
      ++next[i];
      ident = next;
      return true;
    }
    next[i] = '0';
  }
  // All nines: one digit more while the window's positions have room.
  if (static_cast<int>(next.size()) >= maxDigits) return false;
  ident = "1" + next;
  return true;
}

namespace {
// How much of a wrong ident the message quotes.
constexpr size_t kQuotedIdentChars = 20;
}  // namespace

bool CheckFirstIdent(const std::string& first, int count, int maxDigits, std::string& error) {
  if (!IsDigits(first) || static_cast<int>(first.size()) > maxDigits) {
    error = "the first ident must be 1 to " + std::to_string(maxDigits) + " decimal digits, not " +
            QuotedExcerpt(first);
    return false;
  }
  std::string ident = first;
  for (int i = 1; i < count; ++i)
    if (!NextIdent(ident, maxDigits)) {
      error = "the idents run out: " + std::to_string(count) + " radios from " + first +
              " need more than " + std::to_string(maxDigits) + " digits";
      return false;
    }
  return true;
}
