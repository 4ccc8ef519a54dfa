#include "csvline.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct CsvCase {
  const char* name;
  const char* line;
  std::vector<std::string> fields;
  bool closed;
};

class CsvLines : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvLines, SplitAsSpreadsheetsWriteThem) {
  std::vector<std::string> fields{"left over"};
  EXPECT_EQ(SplitCsvLine(GetParam().line, fields), GetParam().closed);
  EXPECT_EQ(fields, GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvLines,
    testing::Values(CsvCase{"Empty", "", {""}, true},
                    CsvCase{"Plain", "A,0,81", {"A", "0", "81"}, true},
                    CsvCase{"EmptyFields", ",,", {"", "", ""}, true},
                    CsvCase{"QuotedComma", "\"a,b\",c", {"a,b", "c"}, true},
                    CsvCase{"DoubledQuote", "\"say \"\"hi\"\"\"", {"say \"hi\""}, true},
                    CsvCase{"BlanksKept", " x ,\" y \"", {" x ", " y "}, true},
                    CsvCase{"OpenQuote", "\"a,b", {"a,b"}, false}),
    [](const testing::TestParamInfo<CsvCase>& info) { return info.param.name; });

// What CsvField writes, the splitter reads back as it was (line ends go
// out as blanks: the readers take a file line by line).
TEST(CsvField, ReadsBackThroughTheSplitter) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},      {"a,b", "a,b"},          {"say \"hi\"", "say \"hi\""},
      {" blank ", " blank "},  {"two\r\nlines", "two  lines"}, {"", ""}};
  std::string line;
  std::vector<std::string> want;
  for (const auto& [text, back] : cases) {
    line += (line.empty() && want.empty() ? "" : ",") + CsvField(text);
    want.push_back(back);
  }
  std::vector<std::string> fields;
  ASSERT_TRUE(SplitCsvLine(line, fields)) << line;
  EXPECT_EQ(fields, want);
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("plain", true), "\"plain\"");
  EXPECT_EQ(CsvField("a\"b", true), "\"a\"\"b\"");
}

}  // namespace
