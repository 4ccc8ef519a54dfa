#include "maincentralarea.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "background.h"
#include "clicklabel.h"
#include "mainstyle.h"
#include "maker.h"

namespace {

struct ButtonLook {
  const char* name;
  const char* caption;
  const char* hint;
};
constexpr ButtonLook kMainRow[] = {
    {"btnReadRadio", "Read radio", "Reads radio configuration"},
    {"btnWriteRadio", "Write radio", "Writes current configuration to radio"},
    {"btnReadFile", "Read file", "Reads a mem-file of your choice"},
    {"btnWriteFile", "Write file", "Writes current configuration to a file of your choice"},
};
constexpr ButtonLook kEditRow[] = {
    {"btnChannelData", "Channels", "Configure receive-only channels"},
    {"btnScan", "Scan/Duplex", "Setup scan and duplex memories"},
    {"btnSelcall", "Selcall", "Configure selcall memories and options"},
    {"btnCTCSS", "CTCSS/DCS", "Configure subtones (CTCSS/DCS)"},
    {"btnSquelch", "Squelch", "Configure squelch thresholds"},
    {"btnOptions", "Options", "Configure other radio options"},
};
// The bench tools: alignment, and what advanced mode and the engineering
// build add.
constexpr ButtonLook kServiceRow[] = {
    {"btnAlign", "Align", "Perform radio alignment"},
    {"btnAdvanced", "Advanced", "Configure advanced features"},
    {"btnDevelopment", "Development", "Access development tools"},
    {"btnEEPROM", "EEPROM", "View/edit EEPROM contents"},
};
struct ButtonRow {
  const ButtonLook* buttons;
  int count;
  const char* look;  // the style sheet's row="..." property
};
constexpr ButtonRow kRows[] = {
    {kMainRow, static_cast<int>(std::size(kMainRow)), "main"},
    {kEditRow, static_cast<int>(std::size(kEditRow)), "edit"},
    {kServiceRow, static_cast<int>(std::size(kServiceRow)), "edit"},
};
// Room left for the radio's picture between the titles and the buttons.
constexpr int kPictureRoom = 236;

}  // namespace

MainCentralArea::MainCentralArea(const BuildConfig& build, QWidget* parent)
    : QWidget(parent), build_(build) {
  setObjectName("centralArea");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  BuildPictures(this);

  auto* content = new QWidget(this);
  content->setObjectName("content");
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(26, 14, 26, 10);
  column->setSpacing(10);

  lblProgramName_ = new QLabel(content);
  lblProgramName_->setObjectName("lblProgramName");
  lblBlueTooth_ = new QLabel("BT", content);
  lblBlueTooth_->setObjectName("lblBlueTooth");
  lblBlueTooth_->hide();
  lblVersion_ = new QLabel(content);
  lblVersion_->setObjectName("lblVersion");
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(lblProgramName_);
  nameRow->addWidget(lblBlueTooth_);
  nameRow->addStretch();
  column->addLayout(nameRow);
  column->addWidget(lblVersion_);
  column->addStretch(1);
  column->addSpacing(kPictureRoom);
  AddButtonRows(content);
  column->addStretch(1);

  lblWebLink_ = new ClickLabel(QString(" ") + kMakerWebAddress + " ", content);
  lblWebLink_->setObjectName("lblWebLink");
  lblWebLink_->setToolTip(QString("http://") + kMakerWebAddress);
  lblWebLink_->setAccessibleName(QString("Maker's web site: ") + kMakerWebAddress);
  lblWebLink_->setAccessibleDescription(QString("Opens http://") + kMakerWebAddress);
  connect(lblWebLink_, &ClickLabel::clicked, this, &MainCentralArea::OpenMakersSite);
  auto* linkRow = new QHBoxLayout;
  linkRow->addStretch();
  linkRow->addWidget(lblWebLink_);
  column->addLayout(linkRow);
  grid->addWidget(content, 0, 0);

  setStyleSheet(MainWindowStyleSheet(BackgroundStyleForModelFlag(build_.modelFlag).accent));
  ShowPictureForBuild();
}

void MainCentralArea::BuildPictures(QWidget* host) {
  auto* grid = static_cast<QGridLayout*>(host->layout());
  int count = 0;
  const BackgroundStyle* styles = BackgroundStyles(count);
  for (int i = 0; i < count; ++i) {
    auto* picture = new BackgroundPicture(styles[i], host);
    picture->setAccessibleName(QString("Picture of the radio, labelled %1").arg(styles[i].label));
    pictures_.insert(styles[i].objectName, picture);
    grid->addWidget(picture, 0, 0);
  }
}

void MainCentralArea::AddButtonRows(QWidget* content) {
  auto* column = static_cast<QVBoxLayout*>(content->layout());
  for (const ButtonRow& rowLook : kRows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch();
    for (int i = 0; i < rowLook.count; ++i) {
      const ButtonLook& look = rowLook.buttons[i];
      auto* button = new QPushButton(look.caption, content);
      button->setObjectName(look.name);
      button->setProperty("row", rowLook.look);
      button->setToolTip(look.hint);
      button->setFlat(true);
      button->setCursor(Qt::PointingHandCursor);
      button->setFocusPolicy(Qt::TabFocus);
      buttons_.insert(look.name, button);
      row->addWidget(button);
    }
    row->addStretch();
    column->addLayout(row);
  }
}

void MainCentralArea::ShowPictureForBuild() {
  const QStringList shown = BackgroundsForModelFlag(build_.modelFlag);
  for (auto it = pictures_.begin(); it != pictures_.end(); ++it)
    it.value()->setVisible(shown.contains(it.key()));
  lblBlueTooth_->setVisible(build_.modelFlag == 64);
}

void MainCentralArea::ShowTitles(const QString& programName, const QString& version) {
  lblProgramName_->setText(programName);
  lblVersion_->setText(version);
}

void MainCentralArea::OpenMakersSite() {
  QDesktopServices::openUrl(QUrl(QString("http://") + kMakerWebAddress));
}
