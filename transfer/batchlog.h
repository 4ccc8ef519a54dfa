#pragma once
// The batch log: one CSV line per radio a batch has handled, and the
// selcall idents a batch hands out, counted up in decimal digits. The log
// is what tells a resumed batch, or a second bench, which idents are
// taken, so it is held locked for a whole batch and read again before
// each ident is given.

#include <set>
#include <string>
#include <vector>

struct BatchRow {
  std::string time;         // "2026-12-10 15:05:31", local time
  std::string port;         // "COM3"
  std::string productId;    // "0x5A02"; empty when the radio never answered
  std::string firmware;     // the radio's firmware text
  std::string version;      // its firmware version
  std::string identBefore;  // the radio's selcall ident as read (BatchIdentText); empty: none
  std::string identAfter;   // the ident written, in the same form; empty: none
  std::string result;       // "OK", "cancelled", or "refused: ..." / "failed: ..."
  std::string archive;      // the read archive's copy of the radio's read
};

inline constexpr const char* kBatchOk = "OK";

std::string BatchLogHeader();
// The log's column names, and a row's fields in the same order.
std::vector<std::string> BatchLogColumns();
std::vector<std::string> BatchRowFields(const BatchRow& row);
// One line without its line end; fields with commas or quotes are quoted.
std::string BatchLogLine(const BatchRow& row);
// false for a line with another number of fields (the header included).
bool ParseBatchLogLine(std::string line, BatchRow& row);

// What a log holds for a batch about to give idents.
struct BatchLogContents {
  std::vector<BatchRow> rows;      // every whole row, and a cut last row
  std::set<std::string> taken;     // idents no radio may be given again
  // The last line had no line end (a full disk, an interrupted write).
  bool cutLine = false;
  // A cut line that ends before its ident is whole: which ident its radio
  // took cannot be known from the log.
  bool cutIdentUnknown = false;
  std::string cutNote;             // what the user is told about the cut line
};

// Whether text is a batch log (empty, or its first line is the header),
// and what it holds. A cut last line keeps what it proves: an ident it
// shows as given, or whose result was cut short, stays taken.
bool ParseBatchLog(const std::string& text, BatchLogContents& contents, std::string& error);

// A log held for one batch: locked against every other batch (another
// process or this one) from Open until it is closed.
class BatchLogFile {
 public:
  BatchLogFile() = default;
  ~BatchLogFile();
  BatchLogFile(const BatchLogFile&) = delete;
  BatchLogFile& operator=(const BatchLogFile&) = delete;

  // Opens path as a batch log, making it (with its header) when missing.
  // Refused, with error saying why and the file untouched: a file of the
  // batch's configuration itself (configPaths), anything but
  // a regular file, a file whose first line is not the log's header, and
  // a log another batch holds.
  bool Open(const std::string& path, const std::vector<std::string>& configPaths,
            std::string& error);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // The whole log as it is now.
  bool Read(BatchLogContents& contents, std::string& error);
  // Appends one row on a line of its own (after a cut last line, on the
  // next) and flushes it to the disk.
  bool Append(const BatchRow& row, std::string& error);
  void Close();

 private:
  bool ReadAll(std::string& text, std::string& error);
  bool WriteAll(const std::string& text, std::string& error);
  std::string CannotWrite(const std::string& reason) const;

  int fd_ = -1;
  std::string path_;
};

// The path as messages quote it: short, control bytes escaped.
std::string QuotedLogPath(const std::string& path);

// The rows of an existing log, without holding it. A missing file is an
// empty log; a file that is not a regular file, not a batch log, or
// larger than any log of a bench's work, is refused with error saying why.
bool ReadBatchLog(const std::string& path, std::vector<BatchRow>& rows, std::string& error);
// Opens the log (as BatchLogFile::Open), appends one row and closes it.
bool AppendBatchLog(const std::string& path, const BatchRow& row, std::string& error);
// The idents the rows gave to radios that ended OK, in BatchIdentText form.
std::set<std::string> IdentsLoggedOk(const std::vector<BatchRow>& rows);

// The ident as the log shows it, whichever form it was given or read in:
// the radio's stored digits with an empty position as "F" and the three
// leading digits the Selcall window never shows left out while they are
// zeros ("123" given -> "FF123"; stored 00012345 -> "12345"; stored
// 98765432 -> "98765432"). Text that is no ident is returned as it is.
std::string BatchIdentText(const std::string& ident);
// The same from the radio's four stored ident bytes.
std::string BatchIdentText(const unsigned char stored[4]);

// The ident after this one, counted up in decimal within the Selcall
// window's positions ("00999" -> "01000", "9" -> "10", "99" -> "100");
// false when it has run out ("99999").
bool NextIdent(std::string& ident, int maxDigits);
// The first ident of a batch: one to the selcall window's number of digits,
// decimal digits only, room for count radios. error says why not.
bool CheckFirstIdent(const std::string& first, int count, int maxDigits, std::string& error);
