// The main window's central area on its own: the buttons in their rows,
// the picture of the build's radio, and the style sheet it takes from the
// program's resources.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "background.h"
#include "buildconfig.h"
#include "maincentralarea.h"
#include "mainstyle.h"

namespace {

QStringList RowOf(const MainCentralArea& area, const char* row) {
  QStringList names;
  // Left to right, as the rows are laid out.
  QList<QPushButton*> buttons = area.findChildren<QPushButton*>();
  std::sort(buttons.begin(), buttons.end(),
            [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
  for (QPushButton* button : buttons)
    if (button->property("row").toString() == row && button->y() == area.Button("btnReadRadio")->y())
      names << button->objectName();
  return names;
}

TEST(MainCentralArea, HoldsEveryCommandButtonWithItsCaptionAndHint) {
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  MainCentralArea area(build);
  area.resize(800, 550);
  area.show();
  const std::pair<const char*, const char*> expected[] = {
      {"btnReadRadio", "Read radio"},   {"btnWriteRadio", "Write radio"},
      {"btnReadFile", "Read file"},     {"btnWriteFile", "Write file"},
      {"btnChannelData", "Channels"},   {"btnScan", "Scan/Duplex"},
      {"btnSelcall", "Selcall"},        {"btnCTCSS", "CTCSS/DCS"},
      {"btnSquelch", "Squelch"},        {"btnOptions", "Options"},
      {"btnAlign", "Align"},            {"btnAdvanced", "Advanced"},
      {"btnDevelopment", "Development"}, {"btnEEPROM", "EEPROM"},
  };
  ASSERT_EQ(area.Buttons().size(), static_cast<qsizetype>(std::size(expected)));
  for (const auto& [name, caption] : expected) {
    QPushButton* button = area.Button(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), caption);
    EXPECT_FALSE(button->toolTip().isEmpty()) << name;
    EXPECT_EQ(button->focusPolicy(), Qt::TabFocus) << name;
  }
  EXPECT_EQ(RowOf(area, "main"),
            (QStringList{"btnReadRadio", "btnWriteRadio", "btnReadFile", "btnWriteFile"}));
  EXPECT_LT(area.Button("btnReadRadio")->y(), area.Button("btnScan")->y());
  EXPECT_LT(area.Button("btnScan")->y(), area.Button("btnAlign")->y());
  EXPECT_EQ(area.Button("btnNoSuch"), nullptr);

  area.ShowTitles("Kestal Programmer", "v2.00 ");
  EXPECT_EQ(area.findChild<QLabel*>("lblProgramName")->text(), "Kestal Programmer");
  EXPECT_EQ(area.findChild<QLabel*>("lblVersion")->text(), "v2.00 ");
}

TEST(MainCentralArea, ShowsTheBuildsPictureAndTheBlueToothMarkOnlyForIt) {
  for (const char* family : {"Kestal", "Merlo"}) {
    const BuildConfig build = BuildConfig::ForFamily(family, false);
    MainCentralArea area(build);
    area.show();
    const QStringList shown = BackgroundsForModelFlag(build.modelFlag);
    int count = 0;
    const BackgroundStyle* styles = BackgroundStyles(count);
    for (int i = 0; i < count; ++i) {
      QWidget* picture = area.findChild<QWidget*>(styles[i].objectName);
      ASSERT_NE(picture, nullptr) << styles[i].objectName;
      EXPECT_EQ(picture->isVisible(), shown.contains(styles[i].objectName))
          << family << " " << styles[i].objectName;
    }
    EXPECT_EQ(area.findChild<QLabel*>("lblBlueTooth")->isVisible(), build.modelFlag == 64);
  }
}

TEST(MainWindowStyleSheet, ComesFromTheResourcesWithTheAccentFilledIn) {
  const QString sheet = MainWindowStyleSheet("#e8892b");
  for (const char* part : {"#centralArea", "#MainMenu", "#StatusBar", "#StatusNotice"})
    EXPECT_TRUE(sheet.contains(part)) << part;
  EXPECT_TRUE(sheet.contains("#lblWebLink { color: #e8892b;"));
  EXPECT_FALSE(sheet.contains("@accent"));
  EXPECT_TRUE(MainWindowStyleSheet().contains("border-color: palette(highlight);"));
}

TEST(MainCentralArea, TakesTheStyleSheetWithItsModelsAccent) {
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  MainCentralArea area(build);
  EXPECT_EQ(area.styleSheet(),
            MainWindowStyleSheet(BackgroundStyleForModelFlag(build.modelFlag).accent));
  area.show();
  // The version's own colour wins over the labels' common one.
  EXPECT_EQ(area.findChild<QLabel*>("lblVersion")->palette().color(QPalette::WindowText),
            QColor("#9aa0a8"));
  EXPECT_EQ(area.findChild<QLabel*>("lblProgramName")->palette().color(QPalette::WindowText),
            QColor("#e6e6e6"));
}

}  // namespace
