// The main window and the About box from the keyboard and through the
// accessibility interface: access letters and shortcuts, names for every
// control and picture, links that Enter opens, named status panels and
// message-box icons.
#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "aboutbox.h"
#include "app_fixture.h"
#include "keyboard_check.h"
#include "programwindows.h"

namespace {

std::string Lines(const QStringList& problems) { return problems.join("\n").toStdString(); }

// Keys reach only the active window.
void Activate(QWidget& window) {
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

class UrlSink : public QObject {
  Q_OBJECT
 public:
  explicit UrlSink(const QString& scheme) : scheme_(scheme) {
    QDesktopServices::setUrlHandler(scheme_, this, "Open");
  }
  ~UrlSink() override { QDesktopServices::unsetUrlHandler(scheme_); }
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }

 private:
  QString scheme_;
};

TEST_F(AppFixture, EveryMenuItemHasItsOwnAccessLetterAndTheFileCommandsHaveShortcuts) {
  Start(BuildConfig::ForFamily("Kestal", true));  // the engineering build shows every item
  EXPECT_EQ(Lines(keyboard_check::MenusWithoutAccessLetters(Window().menuBar())), "");
  const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
      {"mnuReadFile", QKeySequence::Open},
      {"mnuFileWriteFile", QKeySequence::Save},
      {"mnuPrint", QKeySequence::Print},
      {"mnuFileExit", QKeySequence::Quit}};
  for (const auto& [name, key] : keys)
    EXPECT_EQ(Action(name)->shortcut(), QKeySequence(key)) << name;
}

TEST_F(AppFixture, TheMainWindowNamesEveryControlAndTabReachesEveryInput) {
  WriteFile(Path("a&b.mem"), Image(0x5A02));
  chooser.answers = {Path("a&b.mem")};
  Start();
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);
  EXPECT_EQ(Lines(keyboard_check::UnnamedControls(&Window())), "");
  EXPECT_EQ(Lines(keyboard_check::InputsTabCannotReach(&Window())), "");
  EXPECT_EQ(Lines(keyboard_check::SharedAccessKeys(&Window())), "");
  // Each panel says its role and what it shows, never the bare role.
  EXPECT_EQ(Lines(keyboard_check::LabelsHidingTheirText(&Window())), "");
  auto panel = [&](int i) { return Window().findChild<QLabel*>(QString("StatusPanel%1").arg(i)); };
  EXPECT_EQ(keyboard_check::AccessibleName(panel(0)), "Port: " + panel(0)->text());
  EXPECT_TRUE(panel(0)->text().startsWith("COM"));
  EXPECT_EQ(keyboard_check::AccessibleName(panel(1)), "Port state: " + panel(1)->text());
  EXPECT_TRUE(keyboard_check::AccessibleName(panel(3)).startsWith("Data: File: "));
  EXPECT_TRUE(keyboard_check::AccessibleName(panel(3)).endsWith("a&b.mem"));
  EXPECT_EQ(Window().findChild<QWidget*>("imgBackgroundKestal")->accessibleName(),
            "Picture of the radio, labelled KESTAL");
}

TEST_F(AppFixture, EnterOnTheWebLinkOpensTheSite) {
  Start();
  Activate(Window());
  UrlSink http("http");
  auto* link = Window().findChild<QLabel*>("lblWebLink");
  link->setFocus();
  ASSERT_TRUE(link->hasFocus()) << "the link takes the focus";
  QTest::keyClick(link, Qt::Key_Return);
  QTest::keyClick(link, Qt::Key_Space);
  ASSERT_EQ(http.urls.size(), 2);
  EXPECT_EQ(http.urls[0].toString(), "http://www.vornradio.example");
}

TEST_F(AppFixture, ReadFileFromTheKeyboardAlone) {
  WriteFile(Path("radio.mem"), Image(0x5A02));
  chooser.answers = {Path("radio.mem")};
  Start();
  Activate(Window());
  QTest::keySequence(&Window(), QKeySequence(QKeySequence::Open));
  EXPECT_EQ(Window().DataSource(), kFileData);
  EXPECT_EQ(Window().CurrentFileName(), Path("radio.mem"));
}

// Reads the name of the icon of the first message box, as it goes away:
// named by then, however the box was answered.
class BoxIconName : public QObject {
 public:
  BoxIconName() { qApp->installEventFilter(this); }
  ~BoxIconName() override { qApp->removeEventFilter(this); }
  QString name;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (!box || event->type() != QEvent::Hide || !name.isEmpty()) return false;
    if (auto* icon = box->findChild<QLabel*>("qt_msgboxex_icon_label"))
      name = icon->accessibleName();
    return false;
  }
};

TEST_F(AppFixture, MessageBoxIconsAreNamed) {
  Start();
  BoxIconName icon;
  Window().ShowMessage("Something to say.", "Caption", PromptIcon::Warning);
  EXPECT_EQ(icon.name, "Warning");
}

TEST(AboutBoxKeyboard, NamesEveryPartAndOpensItsLinksWithEnter) {
  for (bool advanced : {false, true}) {
    TAboutBox box(BuildConfig::ForFamily("Kestal", false), advanced);
    box.SetModelsInfo("This programmer supports Kestal only.");
    box.show();
    EXPECT_EQ(Lines(keyboard_check::UnnamedControls(&box)), "") << advanced;
    EXPECT_EQ(Lines(keyboard_check::InputsTabCannotReach(&box)), "") << advanced;
    EXPECT_EQ(box.findChild<QWidget*>("lblBuildDate")->isVisibleTo(&box), advanced)
        << "no empty line without a build date";
    UrlSink http("http"), mail("mailto");
    QTest::keyClick(box.findChild<QLabel*>("lblWebSite"), Qt::Key_Return);
    QTest::keyClick(box.findChild<QLabel*>("lblEmail"), Qt::Key_Enter);
    EXPECT_EQ(http.urls.size(), 1);
    EXPECT_EQ(mail.urls.size(), 1);
  }
}

// The window-wide access-key check on the two ways a letter was shared: a
// pair of Select All buttons in front at once, and a tab and a button.
// Buttons on different pages of one tab widget, or hidden, never meet.
TEST(SharedAccessKeys, FindsALetterTwiceInOneWindowButNotAcrossTabPages) {
  QDialog window;
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QPushButton("&Select All", &window));
  layout->addWidget(new QPushButton("&Select All", &window));
  auto* tabs = new QTabWidget(&window);
  layout->addWidget(tabs);
  auto* first = new QWidget;
  auto* second = new QWidget;
  (new QVBoxLayout(first))->addWidget(new QPushButton("&Deselect All", first));
  (new QVBoxLayout(second))->addWidget(new QPushButton("&Deselect All", second));
  tabs->addTab(first, "Scan Memory &1");
  tabs->addTab(second, "S&quelch");
  layout->addWidget(new QPushButton("S&QL", &window));
  auto* hidden = new QPushButton("&Select All", &window);
  layout->addWidget(hidden);
  hidden->hide();
  window.show();

  const QStringList problems = keyboard_check::SharedAccessKeys(&window);
  ASSERT_EQ(problems.size(), 2) << Lines(problems);
  EXPECT_TRUE(problems[0].startsWith("Alt+S twice")) << Lines(problems);
  EXPECT_TRUE(problems[1].startsWith("Alt+Q twice")) << Lines(problems);
  EXPECT_TRUE(problems[1].contains("S&quelch")) << Lines(problems);
}

// Every window the program builds, shown over a loaded configuration for
// each kind of model: named controls, and every enabled input in the tab
// order. A new window joins this walk by being built.
class EveryWindow : public AppFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryWindow, NamesEveryControlAndTabReachesEveryInput) {
  const BuildConfig build = BuildConfig::ForFamily(GetParam(), true);
  Start(build);
  WriteFile(Path("config.mem"), Image(static_cast<uint16_t>(build.productId)));
  chooser.answers = {Path("config.mem")};
  Action("mnuReadFile")->trigger();
  boxes.Take();
  new ProgramWindows(Window());
  const QList<QDialog*> windows = Window().findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
  ASSERT_FALSE(windows.isEmpty());
  for (QDialog* window : windows) {
    if (window->objectName() == "frmReadWrite") continue;  // the progress dialog: its own test
    SCOPED_TRACE(window->metaObject()->className());
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(Lines(keyboard_check::UnnamedControls(window)), "");
    EXPECT_EQ(Lines(keyboard_check::InputsTabCannotReach(window)), "");
    EXPECT_EQ(Lines(keyboard_check::SharedAccessKeys(window)), "");
    window->hide();
  }
}

INSTANTIATE_TEST_SUITE_P(Models, EveryWindow, ::testing::Values("Kestal", "Merlo", "Tamso"));

}  // namespace

#include "keyboard_test.moc"
