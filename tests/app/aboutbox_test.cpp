// The About box and the text shown when a port will not open.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <cerrno>

#include "aboutbox.h"
#include "buildconfig.h"
#include "portmessages.h"

namespace {

class UrlSink : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

TEST(AboutBox, TextsAndLinks) {
  const BuildConfig build = BuildConfig::ForFamily("Kestal", false);
  TAboutBox box(build, /*advanced=*/true);
  box.SetModelsInfo("This programmer supports Kestal only.");
  EXPECT_EQ(box.windowTitle(), "About...");
  EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(box.findChild<QPlainTextEdit*>("mmoHeading")->toPlainText(),
            "Kestal UHF Transceiver\nProgrammer Software");
  EXPECT_EQ(box.findChild<QPlainTextEdit*>("mmoModelsInfo")->toPlainText(),
            "This programmer supports Kestal only.");
  EXPECT_EQ(box.findChild<QLabel*>("lblVersion")->text(), "v2.00 ");
  EXPECT_EQ(box.findChild<QLabel*>("lblBuildDate")->text(), "Last build: Feb 24 2014 09:29:13");
  EXPECT_EQ(box.findChild<QLabel*>("lblCompanyInfo")->text().count('\n'), 2);

  UrlSink sink;
  QDesktopServices::setUrlHandler("http", &sink, "Open");
  QDesktopServices::setUrlHandler("mailto", &sink, "Open");
  QTest::mouseClick(box.findChild<QLabel*>("lblWebSite"), Qt::LeftButton);
  QTest::mouseClick(box.findChild<QLabel*>("lblEmail"), Qt::LeftButton);
  QDesktopServices::unsetUrlHandler("http");
  QDesktopServices::unsetUrlHandler("mailto");
  ASSERT_EQ(sink.urls.size(), 2);
  EXPECT_EQ(sink.urls[0].toString(), "http://www.vornradio.example");
  EXPECT_EQ(sink.urls[1].scheme(), "mailto");
  EXPECT_EQ(sink.urls[1].path(), "support@vornradio.example");
  EXPECT_EQ(QUrlQuery(sink.urls[1]).queryItemValue("subject", QUrl::FullyDecoded),
            "Kestal dealer software support");

  // Close has the focus and closes the box.
  QTimer::singleShot(0, &box, [&box] {
    EXPECT_EQ(box.focusWidget(), box.findChild<QPushButton*>("btnClose"));
    QTest::mouseClick(box.findChild<QPushButton*>("btnClose"), Qt::LeftButton);
  });
  EXPECT_EQ(box.exec(), QDialog::Accepted);
}

TEST(AboutBox, BuildDateOnlyInAdvancedMode) {
  TAboutBox box(BuildConfig::ForFamily("Kestal", false), /*advanced=*/false);
  EXPECT_EQ(box.findChild<QLabel*>("lblBuildDate")->text(), "");
}

TEST(OpenPortText, AddsTheReasonAndForPermissionTheRemedy) {
  struct Case {
    int error;
    bool remedy;
  };
  for (const Case& c : {Case{EACCES, true}, Case{EPERM, true}, Case{ENOENT, false},
                        Case{EBUSY, false}}) {
    const std::string text = OpenPortFailureText("COM3", "the reason", c.error);
    EXPECT_EQ(text.rfind("Unable to open COM3.\nthe reason", 0), 0u) << text;
    EXPECT_EQ(text.find("dialout") != std::string::npos, c.remedy) << c.error;
  }
  EXPECT_EQ(OpenPortFailureText("COM3", "", 0), "Unable to open COM3.");
}

}  // namespace

#include "aboutbox_test.moc"
