// The squelch window driven like a user would: it loads on every showing,
// OK stores what the controls hold, Cancel and Escape store nothing, typing
// beyond a range is refused, and the fixed-squelch model keeps its level.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <ostream>
#include <random>

#include "buildconfig.h"
#include "windowcontext.h"
#include "frmsquelch.h"
#include "sharedobjects.h"
#include "param_by_name.h"

namespace {

class SquelchWindow {
 public:
  explicit SquelchWindow(const char* family)
      : build_(BuildConfig::ForFamily(family, false)), shared_(build_.productId) {
    shared_.info.SelectModel(build_.productId);
    std::mt19937 rng(build_.productId);
    for (int a = 0; a < kImageSize; ++a) shared_.image.SetByte(a, static_cast<int>(rng()));
    window_ = std::make_unique<TfrmSquelch>(context_);
  }
  ~SquelchWindow() { window_->hide(); }

  void Put(const char* name, int value) { shared_.image.SetByte(Address(name), value); }
  int Byte(const char* name) const { return shared_.image.GetByte(Address(name)); }
  std::vector<uint8_t> Bytes() const {
    return {shared_.image.Data(), shared_.image.Data() + kImageSize};
  }
  void Show() {
    window_->show();
    QApplication::processEvents();
  }
  void Click(const char* button) {
    QTest::mouseClick(window_->findChild<QPushButton*>(button), Qt::LeftButton);
  }
  QLineEdit* Edit(const char* name) { return window_->findChild<QLineEdit*>(name); }
  // Replaces the edit's text by typing, as a user would.
  void Type(const char* edit, const QString& text) {
    QLineEdit* e = Edit(edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
  }
  TfrmSquelch& Window() { return *window_; }

 private:
  int Address(const char* name) const { return shared_.info.GetParamAddress(ParamByName(name)); }

  BuildConfig build_;
  SharedObjects shared_;
  WindowContext context_{build_, shared_, false, [] { return true; }};
  std::unique_ptr<TfrmSquelch> window_;
};

struct UnchangedCase {
  const char* family;
  int level;  // "Sql Level" as stored
  bool levelShown;
};
void PrintTo(const UnchangedCase& c, std::ostream* os) { *os << c.family << "_" << c.level; }

class SquelchUnchanged : public ::testing::TestWithParam<UnchangedCase> {};

TEST_P(SquelchUnchanged, OkWithoutChangesRewritesNothing) {
  const UnchangedCase& c = GetParam();
  SquelchWindow w(c.family);
  w.Put("Sql Level", c.level);
  const std::vector<uint8_t> before = w.Bytes();
  w.Show();
  EXPECT_EQ(w.Window().findChild<QGroupBox*>("gbSquelchLevel")->isVisible(), c.levelShown);
  w.Click("btnOK");
  EXPECT_FALSE(w.Window().isVisible());
  EXPECT_EQ(w.Bytes(), before);
}

// The fixed-squelch Dravo keeps even a level no other model would show.
INSTANTIATE_TEST_SUITE_P(Models, SquelchUnchanged,
                         ::testing::Values(UnchangedCase{"Kestal", 5, true},
                                           UnchangedCase{"Tamso", 9, true},
                                           UnchangedCase{"Dravo", 0, false},
                                           UnchangedCase{"Dravo", 0x37, false}));

TEST(SquelchWindow, ShowsTheStoredValuesAndStoresTheTypedOnes) {
  SquelchWindow w("Kestal");
  w.Put("Sql Level", 12);
  w.Put("Sql Open Debounce", 200);
  w.Put("Sql Min Open", 25);
  w.Show();
  EXPECT_EQ(w.Edit("editSqlLevel")->text(), "9");
  EXPECT_EQ(w.Edit("editMuteDebounce")->text(), "200");
  EXPECT_EQ(w.Edit("editMuteOpen")->text(), "250");

  w.Type("editSqlLevel", "3");
  w.Type("editMuteDebounce", "300");  // the last 0 would pass 255: refused
  w.Type("editMuteOpen", "255");
  EXPECT_EQ(w.Edit("editMuteDebounce")->text(), "30");
  QTest::keyClick(w.Edit("editMuteOpen"), Qt::Key_Return);  // Enter is OK
  EXPECT_FALSE(w.Window().isVisible());
  EXPECT_EQ(w.Byte("Sql Level"), 3);
  EXPECT_EQ(w.Byte("Sql Open Debounce"), 30);
  EXPECT_EQ(w.Byte("Sql Min Open"), 25);
}

TEST(SquelchWindow, TheArrowKeysStepTheMinimumOpenTimeByTenMilliseconds) {
  SquelchWindow w("Kestal");
  w.Put("Sql Min Open", 25);
  w.Show();
  QSpinBox* upDown = w.Window().findChild<QSpinBox*>("udMuteOpen");
  upDown->setFocus();
  QTest::keyClick(upDown, Qt::Key_Up);
  EXPECT_EQ(w.Edit("editMuteOpen")->text(), "260");
  w.Click("btnOK");
  EXPECT_EQ(w.Byte("Sql Min Open"), 26);
}

TEST(SquelchWindow, CancelAndEscapeStoreNothingAndTheNextShowingReloads) {
  SquelchWindow w("Kestal");
  w.Put("Sql Level", 4);
  const std::vector<uint8_t> before = w.Bytes();
  w.Show();
  w.Type("editSqlLevel", "7");
  w.Click("btnCancel");
  EXPECT_EQ(w.Bytes(), before);

  w.Show();
  EXPECT_EQ(w.Edit("editSqlLevel")->text(), "4");
  w.Type("editSqlLevel", "8");
  QTest::keyClick(&w.Window(), Qt::Key_Escape);
  EXPECT_FALSE(w.Window().isVisible());
  EXPECT_EQ(w.Bytes(), before);

  w.Put("Sql Level", 6);  // changed elsewhere meanwhile
  w.Show();
  EXPECT_EQ(w.Edit("editSqlLevel")->text(), "6");
}

TEST(SquelchWindow, ControlsCarryTheirNamesForScreenReaders) {
  SquelchWindow w("Kestal");
  w.Show();
  for (const char* name : {"editSqlLevel", "editMuteDebounce", "editMuteOpen"}) {
    EXPECT_FALSE(w.Edit(name)->accessibleName().isEmpty()) << name;
  }
  EXPECT_TRUE(w.Window().findChild<QPushButton*>("btnOK")->isDefault());
  EXPECT_EQ(w.Window().windowTitle(), "Squelch");
}

}  // namespace
