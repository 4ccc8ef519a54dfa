// Where the main window goes on screens of every size: whole and centred
// where it fits, cut to fit with its frame on the screen where it does not.
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QStatusBar>

#include "app_fixture.h"
#include "windowfit.h"

namespace {

struct FitCase {
  const char* what;
  QRect available;
  QMargins frame;
  QPoint position;
  QSize size;
  bool scrolls;
};

const QSize kWanted(800, 594);
const QMargins kNoFrame;
const QMargins kTitled(4, 30, 4, 4);

const FitCase kCases[] = {
    {"the offscreen platform's 800x600", {0, 0, 800, 600}, kNoFrame, {0, 3}, {800, 594}, false},
    {"a full HD screen", {0, 0, 1920, 1080}, kNoFrame, {560, 243}, {800, 594}, false},
    {"full HD with a frame", {0, 0, 1920, 1080}, kTitled, {556, 226}, {800, 594}, false},
    {"a second screen right of the first", {1920, 0, 1280, 1024}, kNoFrame, {2160, 215},
     {800, 594}, false},
    {"1600x1000 at scale 2", {0, 0, 800, 500}, kNoFrame, {0, 0}, {800, 500}, true},
    {"1600x1000 at scale 2, a top panel and a frame", {0, 27, 800, 473}, kTitled, {0, 27},
     {792, 439}, true},
    {"fits without its frame only", {0, 0, 800, 600}, kTitled, {0, 0}, {792, 566}, true},
    {"too narrow, tall enough", {0, 0, 640, 1024}, kNoFrame, {0, 215}, {640, 594}, true},
    {"a screen smaller than the frame", {0, 0, 6, 20}, kTitled, {0, 0}, {0, 0}, true},
};

TEST(WindowFit, EveryScreenGetsTheWholeWindowOrOneCutToIt) {
  for (const FitCase& c : kCases) {
    const WindowFit fit = FitWindow(kWanted, c.available, c.frame);
    EXPECT_EQ(fit.position, c.position) << c.what;
    EXPECT_EQ(fit.size, c.size) << c.what;
    EXPECT_EQ(fit.scrolls, c.scrolls) << c.what;
    const QRect outer(fit.position, fit.size.grownBy(c.frame));
    if (outer.width() <= c.available.width() && outer.height() <= c.available.height())
      EXPECT_TRUE(c.available.contains(outer)) << c.what << ": the frame stays on the screen";
  }
}

QRect OnScreen(const QWidget* widget) {
  return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QMargins FrameOf(const QWidget& window) {
  const QRect inner = window.geometry();
  const QRect outer = window.frameGeometry();
  return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                  outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// The window on the screen a scale factor of 2 leaves of 1600x1000: its
// menu bar and status bar on the screen, every button reachable by
// scrolling; on a screen it fits again, it is whole once more.
TEST_F(AppFixture, OnAScaledScreenTheMenuAndStatusBarsStayInReach) {
  Start();
  const QRect scaled(0, 0, 800, 500);
  Window().FitInto(scaled);
  Window().layout()->activate();
  EXPECT_EQ(Window().size(), scaled.size().shrunkBy(FrameOf(Window())));
  EXPECT_EQ(Window().minimumSize(), Window().maximumSize()) << "still a fixed size";
  EXPECT_TRUE(scaled.contains(Window().frameGeometry()));
  EXPECT_TRUE(scaled.contains(OnScreen(Window().menuBar())));
  EXPECT_TRUE(scaled.contains(OnScreen(Window().statusBar())));
  EXPECT_GT(Window().statusBar()->height(), 0);
  EXPECT_EQ(Window().menuBar()->y(), 0);

  auto* scroller = qobject_cast<QScrollArea*>(Window().centralWidget());
  ASSERT_NE(scroller, nullptr);
  QTRY_VERIFY(scroller->verticalScrollBar()->isVisible());
  QWidget* lowest = Window().findChild<QWidget*>("lblWebLink");
  const auto inView = [&] {
    return scroller->viewport()->rect().contains(
        QRect(lowest->mapTo(scroller->viewport(), QPoint(0, 0)), lowest->size()));
  };
  EXPECT_FALSE(inView());
  scroller->ensureWidgetVisible(lowest);
  EXPECT_TRUE(inView());
  QTest::mouseClick(Button("btnReadFile"), Qt::LeftButton);  // still a working button
  EXPECT_EQ(chooser.requests.size(), 1u);

  const QRect large(0, 0, 1920, 1080);
  Window().FitInto(large);
  EXPECT_EQ(Window().size(), QSize(800, 594));
  EXPECT_EQ(Window().centralWidget()->objectName(), "centralArea");
  const QRect frame = Window().frameGeometry();
  EXPECT_TRUE(large.contains(frame));
  EXPECT_LE(std::abs((frame.left() - large.left()) - (large.right() - frame.right())), 1);
  EXPECT_LE(std::abs((frame.top() - large.top()) - (large.bottom() - frame.bottom())), 1);
}

}  // namespace
