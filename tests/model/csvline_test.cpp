#include "csvline.h"

#include <gtest/gtest.h>

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

}  // namespace
