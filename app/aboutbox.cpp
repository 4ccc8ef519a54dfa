#include "aboutbox.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "background.h"
#include "buildconfig.h"
#include "clicklabel.h"
#include "maker.h"

namespace {

// A read-only memo that reads like text on the dialog: no frame, no
// scroll bars, tall enough for its lines.
QPlainTextEdit* Memo(const char* name, int lines, const QFont& font, QWidget* parent) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setFont(font);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setStyleSheet("background: transparent;");
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->document()->setDocumentMargin(1);
  memo->setFixedHeight(QFontMetrics(font).lineSpacing() * lines + 6);
  return memo;
}

}  // namespace

TAboutBox::TAboutBox(const BuildConfig& build, bool advanced, QWidget* parent)
    : QDialog(parent), modelName_(QString::fromStdString(build.modelName)) {
  setObjectName("AboutBox");
  setWindowTitle("About...");
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  QFont headingFont = font();
  headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
  headingFont.setBold(true);
  mmoHeading_ = Memo("mmoHeading", 2, headingFont, this);
  mmoHeading_->clear();
  mmoHeading_->appendPlainText(modelName_ + " UHF Transceiver");
  mmoHeading_->appendPlainText("Programmer Software");
  mmoHeading_->moveCursor(QTextCursor::Start);
  mmoHeading_->setAccessibleName(modelName_ + " UHF Transceiver Programmer Software");

  // The radio from the main window, cut down to a banner.
  auto* banner = new BackgroundPicture(BackgroundStyleForModelFlag(build.modelFlag), this,
                                       QRectF(120, 92, 560, 236));
  banner->setObjectName("imgRadio");
  banner->setFixedHeight(160);
  banner->setAccessibleName("Picture of the " + modelName_ + " radio");

  lblVersion_ = new QLabel(QString::fromStdString(ShortVersionText(build)), this);
  lblVersion_->setObjectName("lblVersion");
  lblBuildDate_ = new QLabel(
      advanced ? QString::fromStdString("Last build: " + BuildDateText(build)) : QString(), this);
  lblBuildDate_->setObjectName("lblBuildDate");
  // Only advanced mode has a build date to show; an empty line is noise.
  lblBuildDate_->setVisible(advanced);
  lblCompanyInfo_ = new QLabel(
      QString("%1\n%2\n%3").arg(kMakerName, kMakerYearLine, kMakerAddress), this);
  lblCompanyInfo_->setObjectName("lblCompanyInfo");

  const QString linkStyle = "color: #1a5fb4; text-decoration: underline;";
  lblWebSite_ = new ClickLabel(kMakerWebAddress, this);
  lblWebSite_->setObjectName("lblWebSite");
  lblWebSite_->setStyleSheet(linkStyle);
  lblEmail_ = new ClickLabel(kMakerSupportEmail, this);
  lblEmail_->setObjectName("lblEmail");
  lblEmail_->setStyleSheet(linkStyle);
  lblWebSite_->setAccessibleName("Web site " + QString(kMakerWebAddress));
  lblEmail_->setAccessibleName("E-mail support " + QString(kMakerSupportEmail));
  connect(lblWebSite_, &ClickLabel::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl(WebUrl())); });
  connect(lblEmail_, &ClickLabel::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl(MailUrl())); });

  mmoModelsInfo_ = Memo("mmoModelsInfo", 1, font(), this);
  mmoModelsInfo_->setAccessibleName("Supported models");
  btnClose_ = new QPushButton("Close", this);
  btnClose_->setObjectName("btnClose");
  btnClose_->setDefault(true);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 16, 20, 14);
  layout->addWidget(banner);
  layout->addWidget(mmoHeading_);
  layout->addWidget(lblVersion_);
  layout->addWidget(lblBuildDate_);
  layout->addSpacing(8);
  layout->addWidget(lblCompanyInfo_);
  layout->addSpacing(4);
  layout->addWidget(lblWebSite_);
  layout->addWidget(lblEmail_);
  layout->addSpacing(8);
  layout->addWidget(mmoModelsInfo_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnClose_);
  layout->addLayout(buttons);
  setFixedWidth(420);
}

void TAboutBox::SetModelsInfo(const QString& line) {
  mmoModelsInfo_->clear();
  mmoModelsInfo_->appendPlainText(line);
  mmoModelsInfo_->moveCursor(QTextCursor::Start);
}

QString TAboutBox::WebUrl() const { return QString("http://") + kMakerWebAddress; }

QString TAboutBox::MailUrl() const {
  return QString("mailto:") + kMakerSupportEmail + "?subject=" + modelName_ +
         " dealer software support";
}

void TAboutBox::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  btnClose_->setFocus();
}
