#pragma once
// One line of a comma-separated list as spreadsheet programs write it:
// fields may be quoted, a doubled quote inside quotes is one quote, and a
// comma inside quotes belongs to the field. The channel lists and the batch
// log are both read through here, so both take the same files.

#include <string>
#include <vector>

// Splits line into fields; false when a quote is left open at the end.
bool SplitCsvLine(const std::string& line, std::vector<std::string>& fields);

// One field as SplitCsvLine reads it back: in quotes (a quote doubled) when
// always is set or the text holds a comma, a quote, or a blank at either
// end (a reader may trim those). A line end would cut the line in two for
// every line-by-line reader, so CR and LF go out as blanks.
std::string CsvField(const std::string& text, bool always = false);
