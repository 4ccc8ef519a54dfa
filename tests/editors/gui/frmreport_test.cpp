// The report window driven like a user would: the memo holds the report of
// the image and the data source, the boxes add their sections, Save writes
// the text or says why it could not, Print puts every line on paper (a
// PDF read back by poppler), and nothing touches the image.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "editor_rig.h"
#include "frmreport.h"
#include "image_file.h"
#include "modal_answerer.h"
#include "pdf_reader.h"
#include "reportpages.h"

namespace {

std::string Today() {
  const QDate d = QDate::currentDate();
  return ReportDateText(d.day(), QLocale().monthName(d.month(), QLocale::ShortFormat).toStdString(),
                        d.year());
}

class ReportWindow {
 public:
  explicit ReportWindow(const char* family) : rig(family) {
    window = std::make_unique<TfrmReport>(rig.context, [this] { return source; });
  }
  ~ReportWindow() { window->hide(); }

  void Show() {
    window->show();
    QApplication::processEvents();
  }
  void Click(const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
    QApplication::processEvents();
  }
  QCheckBox* Box(const char* name) { return window->findChild<QCheckBox*>(name); }
  void Tick(const char* box) { QTest::mouseClick(Box(box), Qt::LeftButton); }
  QString Memo() { return window->findChild<QPlainTextEdit*>("memo_report")->toPlainText(); }
  std::vector<std::string> Expected(const ReportOptions& options) {
    return ReportLines(rig.Image(), rig.shared->info, rig.build, source, options, Today());
  }
  static QString Joined(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& l : lines) text << QString::fromStdString(l);
    return text.join('\n');
  }
  // Every receive-only slot holds a channel.
  void FillAllBanks() {
    const int base = rig.Address("Rx-only Channels");
    for (int record = 0; record < kRxOnlyChannelCount; ++record) {
      rig.Image().SetWord(base + kRxChannelRecordSize * record, 38000 + record);
      rig.Image().SetAlphaTag(base + kRxChannelRecordSize * record + 2, "FULL");
    }
  }

  EditorRig rig;
  ReportSource source{1, "/shop/radio.mem", "", -1};
  std::unique_ptr<TfrmReport> window;
};

struct ShowCase {
  const char* family;
  bool rxShown;
  bool selcallShown;
};

class ReportShowTest : public ::testing::TestWithParam<ShowCase> {};

TEST_P(ReportShowTest, ShowsTheModelsBoxesAndTheReportOfTheImage) {
  const ShowCase& c = GetParam();
  ReportWindow w(c.family);
  const EEPROM before = w.rig.Image();
  w.Show();
  EXPECT_TRUE(w.Box("chkCalibration")->isVisible());
  EXPECT_EQ(w.Box("chkRxChannels")->isVisible(), c.rxShown);
  EXPECT_EQ(w.Box("chkSelcallMem")->isVisible(), c.selcallShown);
  EXPECT_EQ(w.Memo(), ReportWindow::Joined(w.Expected({})));
  EXPECT_EQ(w.window->Lines(), w.Expected({}));

  // Ticking the boxes takes effect on "Update".
  w.Tick("chkCalibration");
  if (c.rxShown) w.Tick("chkRxChannels");
  if (c.selcallShown) w.Tick("chkSelcallMem");
  EXPECT_EQ(w.window->Lines(), w.Expected({}));
  w.Click("btnCreate");
  const ReportOptions all{true, c.rxShown, c.selcallShown};
  EXPECT_EQ(w.Memo(), ReportWindow::Joined(w.Expected(all)));
  // The boxes keep their state; the report is rebuilt on the next showing.
  w.Click("btnClose");
  EXPECT_FALSE(w.window->isVisible());
  w.source = {2, "", "", -1};
  w.Show();
  EXPECT_TRUE(w.Box("chkCalibration")->isChecked());
  EXPECT_EQ(w.window->Lines(), w.Expected(all));
  EXPECT_TRUE(w.Memo().contains("\nRadio: n/a\n"));
  EXPECT_TRUE(SameImage(w.rig.Image(), before));
}

INSTANTIATE_TEST_SUITE_P(Models, ReportShowTest,
                         ::testing::Values(ShowCase{"Kestal", true, false},
                                           ShowCase{"Merlo", true, true},
                                           ShowCase{"Tamso", false, false}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST(ReportWindowTest, OptionsMenuFollowsTheBoxes) {
  ReportWindow w("Merlo");
  w.Show();
  QMenu* options = nullptr;
  for (QAction* a : w.window->findChild<QMenuBar*>()->actions())
    if (a->text() == "&Options") options = a->menu();
  ASSERT_NE(options, nullptr);
  ASSERT_EQ(options->actions().size(), 3);
  QAction* calibration = options->actions()[0];
  EXPECT_EQ(calibration->text(), "C&alibration Area");
  calibration->trigger();
  EXPECT_TRUE(w.Box("chkCalibration")->isChecked());
  w.Tick("chkCalibration");
  EXPECT_FALSE(calibration->isChecked());
}

TEST(ReportWindowTest, EnterAndEscapeCloseTheWindow) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    ReportWindow w("Kestal");
    w.Show();
    QTest::keyClick(w.Box("chkCalibration"), key);
    EXPECT_FALSE(w.window->isVisible()) << key;
  }
}

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void SaveVia(ReportWindow& w, const char* menuItem, const QString& answer) {
    w.window->SetSaveNameChooser([this, answer](QWidget*, const QString&) {
      ++asked;
      return answer;
    });
    w.window->findChild<QAction*>(menuItem)->trigger();
    QApplication::processEvents();
  }
  QTemporaryDir dir;
  ModalAnswerer boxes;
  int asked = 0;
};

TEST_F(ReportFileTest, SaveAndSaveAsWriteTheLinesAsText) {
  for (const char* item : {"Save1", "SaveAs1"}) {
    ReportWindow w("Kestal");
    w.Show();
    const std::string path = Path(item);
    SaveVia(w, item, QString::fromStdString(path));
    EXPECT_EQ(Read(path), ReportFileText(w.window->Lines())) << item;
  }
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(ReportFileTest, CancelledSaveWritesNothing) {
  ReportWindow w("Kestal");
  w.Show();
  SaveVia(w, "SaveAs1", QString());
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(ReportFileTest, FailedSaveSaysWhichFileAndWhy) {
  ReportWindow w("Kestal");
  w.Show();
  const std::string path = Path("missing-folder/report.txt");
  SaveVia(w, "Save1", QString::fromStdString(path));
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "File Save Error");
  EXPECT_EQ(seen[0].text.toStdString(), "Unable to write file " + path + ": No such file or directory");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
}

TEST_F(ReportFileTest, PrintingALongReportPutsEveryLineOnItsPages) {
  ReportWindow w("Merlo");
  w.FillAllBanks();
  const std::string path = Path("report.pdf");
  int perPage = 0;
  w.window->SetPrintSetup([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    perPage = LayOutReportPage(printer.height(), printer.logicalDpiY()).linesPerPage;
    return true;
  });
  w.Show();
  w.Tick("chkCalibration");
  w.Tick("chkRxChannels");
  w.Tick("chkSelcallMem");
  w.Click("btnCreate");
  w.Click("btnPrint");
  EXPECT_TRUE(boxes.Take().empty());

  const auto& lines = w.window->Lines();
  ASSERT_GT(perPage, 1);
  const int pages = static_cast<int>((lines.size() + perPage - 1) / perPage);
  ASSERT_GT(pages, 1);
  ASSERT_TRUE(pdf_reader::ToolsInstalled()) << "poppler-utils missing: run scripts/install-deps.sh";
  ASSERT_EQ(pdf_reader::PageCount(path), pages);
  for (int page = 1; page <= pages; ++page)
    EXPECT_EQ(pdf_reader::PageLines(path, page),
              pdf_reader::Expected(lines, static_cast<size_t>((page - 1) * perPage),
                                   static_cast<size_t>(perPage)))
        << "page " << page;
  const auto last = pdf_reader::PageLines(path, pages);
  ASSERT_GE(last.size(), 2u);
  EXPECT_EQ(last[last.size() - 2], "Selcall Memories:");
}

TEST_F(ReportFileTest, CancelledPrintPrintsNothing) {
  ReportWindow w("Kestal");
  w.window->SetPrintSetup([&](QPrinter& printer, QWidget*) {
    printer.setOutputFileName(QString::fromStdString(Path("report.pdf")));
    return false;
  });
  w.Show();
  w.Click("btnPrint");
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
  EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(ReportFileTest, PrinterThatRefusesIsReported) {
  ReportWindow w("Kestal");
  const std::string path = Path("missing-folder/report.pdf");
  w.window->SetPrintSetup([&](QPrinter& printer, QWidget*) {
    printer.setOutputFileName(QString::fromStdString(path));
    return true;
  });
  w.Show();
  w.Click("btnPrint");
  const auto seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(seen[0].text.toStdString(), "Unable to print the report to " + path + ".");
}

#ifdef VORNPROG_PATH
TEST_F(ReportFileTest, VornprogPrintsTheWindowsLinesForTheSameFileAndOptions) {
  if (CompiledBuildConfig().productId != kProductKestal) GTEST_SKIP() << "Kestal build only";
  ReportWindow w("Kestal");
  const std::string path = Path("van.mem");
  ASSERT_EQ(SaveImageFile(w.rig.Image(), path.c_str()), kImageSize);
  w.source = {1, path, "", -1};
  w.Show();
  w.Tick("chkCalibration");
  w.Tick("chkRxChannels");
  const std::string output = pdf_reader::Run(std::string(VORNPROG_PATH) + " report " +
                                             pdf_reader::Quoted(path) + " --calibration --rx-channels");
  w.Click("btnCreate");
  EXPECT_EQ(output, ReportFileText(w.window->Lines()));
  EXPECT_NE(output.find("\nReceive Only Channels:\n"), std::string::npos);
}
#endif

}  // namespace
