// vornprog report: the report lines of a mem-file on standard output or
// as a PDF, the option switches, and the files it cannot read.
#include <clocale>
#include <ctime>
#include <sstream>

#include "cli_fixture.h"
#include "eeprom.h"
#include "image_file.h"
#include "pdf_reader.h"
#include "report.h"
#include "simimage.h"

namespace {

// Today as vornprog dates the report (its environment is ours).
std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::setlocale(LC_TIME, "");
  char month[64] = "";
  std::strftime(month, sizeof month, "%b", &local);
  std::setlocale(LC_TIME, "C");
  return ReportDateText(local.tm_mday, month, local.tm_year + 1900);
}

class CliReportTest : public CliTest {
 protected:
  // A factory image of `productId` with a few receive-only channels, saved.
  std::string SaveImage(uint32_t productId, const char* name = "van.mem") {
    MakeDefaultImage(productId, image);
    info.SelectModel(kProductKestal);
    const std::string path = dir.Path(name);
    SaveImageFile(image, path.c_str());
    return path;
  }
  std::vector<std::string> Expected(const std::string& path, const ReportOptions& options) {
    ReportSource source;
    source.state = 1;
    source.fileName = path;
    return ReportLines(image, info, CompiledBuildConfig(), source, options, Today());
  }
  EEPROM image;
  TradioInfo info;
};

struct SwitchCase {
  std::vector<std::string> switches;
  ReportOptions options;
};

TEST_F(CliReportTest, PrintsTheReportLinesForEachSetOfSwitches) {
  const std::string path = SaveImage(kProductKestal);
  const SwitchCase cases[] = {
      {{}, {}},
      {{"--calibration"}, {true, false, false}},
      {{"--rx-channels", "--calibration"}, {true, true, false}},
  };
  for (const SwitchCase& c : cases) {
    std::vector<std::string> args = {"report", path};
    args.insert(args.end(), c.switches.begin(), c.switches.end());
    const ToolResult r = RunTool(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, ReportFileText(Expected(path, c.options)));
  }
  // The factory channels are listed.
  EXPECT_TRUE(Contains(RunTool({"report", path, "--rx-channels"}).out, "\nCH81     "));
}

TEST_F(CliReportTest, SelcallSwitchOnAModelWithoutSelcallIsIgnoredWithANote) {
  const std::string path = SaveImage(kProductKestal);
  const ToolResult r = RunTool({"report", path, "--selcall"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "--selcall ignored: the Kestal has no selcall memories")) << r.err;
  EXPECT_EQ(r.out, ReportFileText(Expected(path, {})));
}

TEST_F(CliReportTest, FileOfAnotherModelIsReportedAfterTheLoadersNote) {
  const std::string path = SaveImage(kProductMerlo);
  const ToolResult r = RunTool({"report", path});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Reading Mem-file: Incorrect radio type (5A01)")) << r.err;
  EXPECT_EQ(r.out, ReportFileText(Expected(path, {})));
}

TEST_F(CliReportTest, UnreadableFileGivesTheLoadersMessageAndStatus1) {
  const std::string path = dir.Path("missing.mem");
  const ToolResult r = RunTool({"report", path});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Contains(r.err, "File Open Error: Unable to open file " + path)) << r.err;
}

TEST_F(CliReportTest, PdfHoldsTheSameLines) {
  const std::string path = SaveImage(kProductKestal);
  const std::string pdf = dir.Path("report.pdf");
  const ToolResult r = RunTool({"report", path, "--calibration", "--rx-channels", "--pdf", pdf});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  ASSERT_TRUE(pdf_reader::ToolsInstalled()) << "poppler-utils missing: run scripts/install-deps.sh";
  const auto lines = Expected(path, {true, true, false});
  ASSERT_EQ(pdf_reader::PageCount(pdf), 1);
  EXPECT_EQ(pdf_reader::PageLines(pdf, 1), pdf_reader::Expected(lines, 0, lines.size()));
}

TEST_F(CliReportTest, PdfThatCannotBeWrittenSaysWhy) {
  const std::string path = SaveImage(kProductKestal);
  const std::string pdf = dir.Path("no-folder/report.pdf");
  const ToolResult r = RunTool({"report", path, "--pdf", pdf});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "Unable to write file " + pdf + ": No such file or directory"))
      << r.err;
}

}  // namespace
