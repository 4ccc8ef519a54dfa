// The main window never shows a state it is not in: start-up messages over
// an up-to-date window, the model of a file in the all-models build, and an
// exception in a handler shown instead of ending the program.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app_fixture.h"

namespace {

// Captures, the moment the next message box shows, whether each editor
// button is enabled and what the data panel says.
class StateUnderBox : public QObject {
 public:
  StateUnderBox(std::function<QPushButton*(const char*)> button,
                std::function<QString()> dataPanel)
      : button_(std::move(button)), dataPanel_(std::move(dataPanel)) {
    qApp->installEventFilter(this);
  }
  ~StateUnderBox() override { qApp->removeEventFilter(this); }

  bool seen = false;
  QStringList enabledUnderBox;
  QString panel;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (seen || event->type() != QEvent::Show || !qobject_cast<QMessageBox*>(watched))
      return false;
    seen = true;
    for (const char* name : {"btnScan", "btnCTCSS", "btnSquelch", "btnOptions", "btnWriteRadio"})
      if (button_(name)->isEnabled()) enabledUnderBox << name;
    panel = dataPanel_();
    return false;
  }

 private:
  std::function<QPushButton*(const char*)> button_;
  std::function<QString()> dataPanel_;
};

TEST_F(AppFixture, StartUpMessagesShowOverAWindowThatSaysNothingIsLoaded) {
  Store("DefaultFile", Path("defkestal.mem"));  // does not exist
  StateUnderBox under([this](const char* n) { return Button(n); },
                      [this] { return Window().StatusText(3); });
  const std::vector<SeenBox> seen = Start();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().text, "Unable to open file " + Path("defkestal.mem"));
  ASSERT_TRUE(under.seen);
  EXPECT_TRUE(under.enabledUnderBox.isEmpty()) << under.enabledUnderBox.join(",").toStdString();
  EXPECT_EQ(under.panel, "No data loaded.");
}

TEST_F(AppFixture, AWrongModelFileIsShownAsLoadedBeforeItsMessage) {
  Start();
  WriteFile(Path("merlo.mem"), Image(0x5A01));
  chooser.answers = {Path("merlo.mem")};
  StateUnderBox under([this](const char* n) { return Button(n); },
                      [this] { return Window().StatusText(3); });
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  ASSERT_TRUE(under.seen);
  EXPECT_EQ(under.panel, "File: " + Path("merlo.mem"));
}

TEST_F(AppFixture, AllModelsReadFileSelectsTheModelOfTheFile) {
  Start(BuildConfig::ForFamily("All", false));
  WriteFile(Path("merlo.mem"), Image(0x5A01));
  chooser.answers = {Path("merlo.mem")};
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  EXPECT_TRUE(boxes.Take().empty());
  EXPECT_STREQ(Window().Shared().info.ModelName(), "Merlo");
  // The Merlo's parameter table now reads the file's product ID.
  EXPECT_EQ(Window().Shared().image.GetParamWord(Window().Shared().info, kParamProductId), 0x5A01);
}

TEST_F(AppFixture, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  Start();
  QTimer::singleShot(0, &Window(), [] { throw std::runtime_error("handler failed: disk gone"); });
  bool later = false;
  QTimer::singleShot(20, &Window(), [&] { later = true; });
  for (int waited = 0; !later && waited < 5000; waited += 10) QTest::qWait(10);
  EXPECT_TRUE(later) << "events still flow after the box";
  const std::vector<SeenBox> seen = boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "handler failed: disk gone");
  EXPECT_EQ(seen[0].caption, "Vorn Kestal Programmer");
  EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(Window().isVisible());
}

}  // namespace
