// The main window's "Selcall" button opens the selcall settings over the
// loaded image, in a build whose model has selcall.
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app_fixture.h"
#include "programwindows.h"

namespace {

TEST_F(AppFixture, SelcallButtonOpensTheSelcallOptionsModally) {
  Start(BuildConfig::ForFamily("Merlo", false));
  QByteArray image = Image(0x5A01);
  const int ident = Window().Shared().info.GetParamAddress("Selcall Ident");
  ASSERT_GT(ident, 0);
  image[ident] = 0x00;
  image[ident + 1] = 0x01;
  image[ident + 2] = 0x23;
  image[ident + 3] = 0x45;
  WriteFile(Path("merlo.mem"), image);
  chooser.answers = {Path("merlo.mem")};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  ASSERT_TRUE(boxes.Take().empty());
  new ProgramWindows(Window());

  QString caption;
  QString shownIdent;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    caption = modal->windowTitle();
    if (auto* edit = modal->findChild<QLineEdit*>("MaskEditRadioIdent")) shownIdent = edit->text();
    modal->close();
  });
  QTest::mouseClick(Button("btnSelcall"), Qt::LeftButton);
  EXPECT_EQ(caption, "Selcall Options");
  EXPECT_EQ(shownIdent, "12345");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
