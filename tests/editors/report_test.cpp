// The configuration report's lines, its text file, and its printed pages
// (checked in a real PDF reader's text).
#include "report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "buildconfig.h"
#include "pdf_reader.h"
#include "eeprom.h"
#include "radioinfo.h"
#include "reportpages.h"
#include "param_by_name.h"

namespace {

const std::string kSeparator(48, '_');
const char* const kDate = "10-Dec-2026";

struct ReportImage {
  explicit ReportImage(const char* family) : build(BuildConfig::ForFamily(family, false)) {
    info.SelectModel(build.productId);
    image.Fill(0xFF);
    image.SetWord(info.GetParamAddress("Product ID"), static_cast<int>(build.productId));
  }
  void SetByte(const char* name, int value) { image.SetByte(info.GetParamAddress(ParamByName(name)), value); }
  void SetChannel(int record, int steps, const char* tag) {
    const int a = info.GetParamAddress("Rx-only Channels") + kRxChannelRecordSize * record;
    image.SetWord(a, steps);
    image.SetAlphaTag(a + 2, tag);
  }
  std::vector<std::string> Lines(const ReportOptions& options, const ReportSource& source = {}) const {
    return ReportLines(image, info, build, source, options, kDate);
  }
  BuildConfig build;
  TradioInfo info;
  EEPROM image;
};

int Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

TEST(Report, WholeReportOfAMerloWithEverySectionInOrder) {
  ReportImage m("Merlo");
  const char* const values[][2] = {{"Mod", "41"},      {"Bal", "7"},          {"PLL FRef", "130"},
                                   {"S1 Cal", "22"},   {"S10 Cal", "200"},    {"RF Power Hi", "180"},
                                   {"RF Power Lo", "60"}, {"Sql Level", "4"}, {"Sql Open Debounce", "12"},
                                   {"Sql Min Open", "25"}, {"Rx CTCSS Tone", "0"}, {"Tx CTCSS Tone", "51"},
                                   {"Rx Bank", "1"}};
  for (const auto& v : values) m.SetByte(v[0], std::atoi(v[1]));
  m.SetChannel(4, 38114, "ALPHA");   // bank A, channel 85
  m.SetChannel(20, 6080, "LOW");     // bank B, channel 81: 76 MHz
  m.SetChannel(39, 38000, "HIDE");   // bank B, slot 19: never listed

  const std::vector<std::string> expected = {
      "Vorn Merlo Report", kSeparator, "",
      "Radio type: ", "Merlo", " (80 channel CB land-based transceiver with selcall, compact, 5W)",
      "Date: 10-Dec-2026", "File: /mem/shop.mem", kSeparator, "",
      "Alignment calibration settings:", "     Modulation = 41", "     Balance = 7",
      "     Centre Frequency = 130", "     S-Meter S1 = 22", "     S-Meter S9+ = 200",
      "     RF Power (5W) = 180", "     RF Power (1W) = 60", "", kSeparator, "",
      "Receive Only Channels:", "Active bank: RX-B", "",
      "---- Bank RX-A ----", "CH85     476.4250MHz     ALPHA", "",
      "---- Bank RX-B ----", "CH81     076.0000MHz     LOW", "",
      "---- Bank RX-C ----", "", "---- Bank RX-D ----", "", "---- Bank RX-E ----", "",
      "", kSeparator, "",
      "Subtone:", "     Rx tone = OFF", "     Tx tone = DT001 - 023", "", kSeparator, "",
      "Squelch:", "", "     Squelch level = 4", "     Mute Open Debounce Time = 12",
      "     Minimum Mute Open Time = 25", "", kSeparator, "",
      "Selcall Memories:", "", kSeparator, ""};
  ReportSource file;
  file.state = 1;
  file.fileName = "/mem/shop.mem";
  EXPECT_EQ(m.Lines({true, true, true}, file), expected);
}

struct SourceCase {
  const char* name;
  ReportSource source;
  const char* line;  // the data-source line, nullptr when none
};

class ReportSourceTest : public ::testing::TestWithParam<SourceCase> {};

TEST_P(ReportSourceTest, DataSourceLineFollowsTheDate) {
  const SourceCase& c = GetParam();
  const auto lines = ReportImage("Kestal").Lines({}, c.source);
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[6], "Date: 10-Dec-2026");
  EXPECT_EQ(lines[7], c.line ? c.line : kSeparator);
  EXPECT_FALSE(HasPrefix(lines, c.line && c.line[0] == 'F' ? "Radio: " : "File: "));
  if (!c.line) {
    EXPECT_FALSE(HasPrefix(lines, "Radio: "));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ReportSourceTest,
    ::testing::Values(SourceCase{"Nothing", {0, "/ignored.mem", "v2.05", 2}, nullptr},
                      SourceCase{"File", {1, "/home/tech/a b.mem", "", -1}, "File: /home/tech/a b.mem"},
                      SourceCase{"Radio", {2, "/old.mem", "v2.05B", 2}, "Radio: v2.05B"},
                      SourceCase{"RadioWithoutVersion", {2, "", "", -1}, "Radio: n/a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Report, UnknownModelRowGivesAnEmptyNameAndABlankBeforeTheDash) {
  ReportImage m("Kestal");
  m.info.ResetModel();
  const auto lines = m.Lines({true, true, true});
  EXPECT_EQ(lines[3], "Radio type: ");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], " (-)");
  // The unknown row keeps none of the values.
  EXPECT_EQ(Count(lines, "     Squelch level = n/a"), 1);
  EXPECT_EQ(Count(lines, "     No receive-only channels"), 1);
}

TEST(Report, ModelWithoutBanksListsRecords0To18UnderNoHeading) {
  ReportImage k("Kestal");
  k.SetByte("Rx Bank", 3);  // a Kestal shows no banks, whatever the byte says
  k.SetChannel(0, 38000, "ONE");
  k.SetChannel(18, 38001, "LAST");
  k.SetChannel(19, 38002, "SLOT");  // slot 19
  k.SetChannel(20, 38003, "BANKB");
  const auto lines = k.Lines({false, true, false});
  const auto it = std::find(lines.begin(), lines.end(), "Active bank: RX-A");
  ASSERT_NE(it, lines.end());
  const std::vector<std::string> listed(it + 2, it + 5);
  EXPECT_EQ(listed, (std::vector<std::string>{"CH81     475.0000MHz     ONE",
                                              "CH99     475.0125MHz     LAST", ""}));
  EXPECT_FALSE(HasPrefix(lines, "---- Bank"));
  EXPECT_FALSE(HasPrefix(lines, "CH100"));
}

TEST(Report, NoChannelLineAtAllSaysSoOnceAfterTheEmptyBanks) {
  ReportImage m("Merlo");
  for (int bank = 0; bank < 5; ++bank) m.SetChannel(bank * 20 + 19, 38000, "RSVD");
  const auto lines = m.Lines({false, true, false});
  EXPECT_EQ(Count(lines, "     No receive-only channels"), 1);
  EXPECT_FALSE(HasPrefix(lines, "CH"));
  const auto it = std::find(lines.begin(), lines.end(), "---- Bank RX-E ----");
  ASSERT_NE(it, lines.end());
  EXPECT_EQ(*(it + 1), "");
  EXPECT_EQ(*(it + 2), "     No receive-only channels");
}

TEST(Report, BanksFollowTheImagesProductIdNotTheBuilds) {
  // A Merlo image read in a Kestal build: listed in banks by its own model.
  ReportImage m("Merlo");
  m.image.SetWord(m.info.GetParamAddress("Product ID"), static_cast<int>(kProductKestal));
  EXPECT_FALSE(HasPrefix(m.Lines({false, true, false}), "---- Bank"));
  m.image.SetWord(m.info.GetParamAddress("Product ID"), static_cast<int>(kProductMerlo));
  EXPECT_TRUE(HasPrefix(m.Lines({false, true, false}), "---- Bank RX-E ----"));
}

TEST(Report, SqlMinOpenIsPrintedAsStoredIn10msUnits) {
  ReportImage k("Kestal");
  k.SetByte("Sql Min Open", 25);
  EXPECT_EQ(Count(k.Lines({}), "     Minimum Mute Open Time = 25"), 1);
}

TEST(Report, SelcallMemoryIsAHeadingOnly) {
  ReportImage m("Merlo");
  const auto without = m.Lines({});
  const auto with = m.Lines({false, false, true});
  ASSERT_EQ(with.size(), without.size() + 4);
  EXPECT_TRUE(std::equal(without.begin(), without.end(), with.begin()));
  EXPECT_EQ(std::vector<std::string>(with.end() - 4, with.end()),
            (std::vector<std::string>{"Selcall Memories:", "", kSeparator, ""}));
}

TEST(Report, OptionsTheBuildHidesAreNeverTicked) {
  const ReportOptionsShown kestal = ReportOptionsShown::For(kProductKestal);
  EXPECT_TRUE(kestal.rxChannels);
  EXPECT_FALSE(kestal.selcallMemories);
  const ReportOptions limited = kestal.Limit({true, true, true});
  EXPECT_TRUE(limited.calibration);
  EXPECT_TRUE(limited.rxChannels);
  EXPECT_FALSE(limited.selcallMemories);
  EXPECT_FALSE(ReportOptionsShown::For(kProductTamso).Limit({true, true, true}).rxChannels);
}

TEST(Report, DateIsDayMonthYear) {
  EXPECT_EQ(ReportDateText(3, "Mar", 2027), "03-Mar-2027");
  EXPECT_EQ(ReportDateText(31, "déc.", 2026), "31-déc.-2026");
}

// ---- files ----

class ReportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn-report-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir_;
};

TEST_F(ReportFiles, SaveWritesEachLineNewlineEndedAndReplacesTheFile) {
  const std::string path = Path("report.txt");
  std::ofstream(path) << "an older and much longer report\nthat must not survive\n";
  std::string reason;
  ASSERT_TRUE(SaveReport(path, {"Vorn Kestal Report", "", "Date: 01-Jan-2027"}, reason)) << reason;
  EXPECT_EQ(Read(path), "Vorn Kestal Report\n\nDate: 01-Jan-2027\n");
}

TEST_F(ReportFiles, SaveFailureNamesTheSystemsReason) {
  std::string reason;
  EXPECT_FALSE(SaveReport(Path("no-such-folder/report.txt"), {"x"}, reason));
  EXPECT_EQ(reason, "No such file or directory");
  std::filesystem::create_directory(Path("folder"));
  EXPECT_FALSE(SaveReport(Path("folder"), {"x"}, reason));
  EXPECT_EQ(reason, "it is a directory, not a regular file");
}

TEST(ReportPages, LayoutKeepsTheMarginsAndPitchOnPaper) {
  // 600 dpi: the margin and the pitch are 200 and 80 dots.
  const ReportPageLayout fine = LayOutReportPage(6600, 600);
  EXPECT_DOUBLE_EQ(fine.margin, 200);
  EXPECT_DOUBLE_EQ(fine.pitch, 80);
  EXPECT_EQ(fine.linesPerPage, 77);  // (6600 - 400) / 80 = 77.5
  const ReportPageLayout coarse = LayOutReportPage(1100, 100);
  EXPECT_EQ(coarse.linesPerPage, fine.linesPerPage);
  EXPECT_EQ(LayOutReportPage(10, 600).linesPerPage, 1);
}

TEST(ReportPages, EveryLineStartsOnOnePage) {
  EXPECT_EQ(ReportPageStarts(0, 10), std::vector<int>());
  EXPECT_EQ(ReportPageStarts(10, 10), std::vector<int>{0});
  EXPECT_EQ(ReportPageStarts(11, 10), (std::vector<int>{0, 10}));
  EXPECT_EQ(ReportPageStarts(3, 0), (std::vector<int>{0, 1, 2}));
}

TEST_F(ReportFiles, LongReportPdfHasEveryLineOnItsPages) {
  ReportImage m("Merlo");
  for (int record = 0; record < 100; ++record) m.SetChannel(record, 38000 + record, "FULL");
  const auto lines = m.Lines({true, true, true});
  const int perPage = LayOutReportPage(kPdfPageHeight, 72).linesPerPage;
  ASSERT_GT(static_cast<int>(lines.size()), perPage);
  const std::string path = Path("report.pdf");
  std::string reason;
  ASSERT_TRUE(SaveReportPdf(path, lines, reason)) << reason;

  ASSERT_TRUE(pdf_reader::ToolsInstalled()) << "poppler-utils missing: run scripts/install-deps.sh";
  const int pages = static_cast<int>((lines.size() + perPage - 1) / perPage);
  ASSERT_EQ(pdf_reader::PageCount(path), pages);
  for (int page = 1; page <= pages; ++page)
    EXPECT_EQ(pdf_reader::PageLines(path, page),
              pdf_reader::Expected(lines, static_cast<size_t>((page - 1) * perPage),
                                   static_cast<size_t>(perPage)))
        << "page " << page;
  // The report's last words reached the last page.
  const auto last = pdf_reader::PageLines(path, pages);
  ASSERT_GE(last.size(), 2u);
  EXPECT_EQ(last[last.size() - 2], "Selcall Memories:");
  EXPECT_EQ(last.back(), kSeparator);
}

}  // namespace
