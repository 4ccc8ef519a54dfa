#pragma once
// The batch log: one CSV line per radio a batch has handled, and the
// selcall idents a batch hands out, counted up in decimal digits.

#include <set>
#include <string>
#include <vector>

struct BatchRow {
  std::string time;         // "2026-12-10 15:05:31", local time
  std::string port;         // "COM3"
  std::string productId;    // "0x5A02"; empty when the radio never answered
  std::string firmware;     // the radio's firmware text
  std::string version;      // its firmware version
  std::string identBefore;  // the radio's selcall ident as read; empty: none
  std::string identAfter;   // the ident written; empty: none
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

// The rows of an existing log. A missing file is an empty log; a file
// that is not a regular file, or larger than any log of a bench's work,
// is refused with error saying why.
bool ReadBatchLog(const std::string& path, std::vector<BatchRow>& rows, std::string& error);
// Appends one row, with the header first when the log is new or empty.
bool AppendBatchLog(const std::string& path, const BatchRow& row, std::string& error);
// The idents the rows gave to radios that ended OK.
std::set<std::string> IdentsLoggedOk(const std::vector<BatchRow>& rows);

// The ident after this one in as many decimal digits ("00999" -> "01000");
// false when it has run out ("99999").
bool NextIdent(std::string& ident);
// The first ident of a batch: one to the selcall window's number of digits,
// decimal digits only, room for count radios. error says why not.
bool CheckFirstIdent(const std::string& first, int count, int maxDigits, std::string& error);
