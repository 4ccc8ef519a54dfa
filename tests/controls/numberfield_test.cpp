// The number field every window uses: typed or only stepped, its range and
// step, a loaded value outside the range shown and stepped only toward it,
// the Up and Down keys and the wheel, and its names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <climits>
#include <memory>

#include "numberfield.h"

namespace {

enum class Step { kUpKey, kDownKey, kWheelUp, kWheelDown };

void Do(NumberField* field, Step step) {
  switch (step) {
    case Step::kUpKey:
      QTest::keyClick(field, Qt::Key_Up);
      return;
    case Step::kDownKey:
      QTest::keyClick(field, Qt::Key_Down);
      return;
    case Step::kWheelUp:
    case Step::kWheelDown: {
      const QPointF at(field->width() / 2.0, field->height() / 2.0);
      const int delta = step == Step::kWheelUp ? 120 : -120;
      QWheelEvent wheel(at, field->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(field, &wheel);
      return;
    }
  }
}

struct StepCase {
  const char* what;
  NumberFieldSetup setup;
  int loaded;
  Step step;
  const char* shown;
};

class NumberFieldStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(NumberFieldStep, ShowsTheLoadedValueAndStepsOnlyTowardTheRange) {
  const StepCase& c = GetParam();
  QWidget window;
  auto* field = MakeNumberField(&window, c.setup, "Field");
  window.show();
  field->setValue(c.loaded);
  EXPECT_EQ(field->Edit()->text(), QString::number(c.loaded)) << c.what;
  field->setFocus();
  Do(field, c.step);
  EXPECT_EQ(field->Edit()->text(), c.shown) << c.what;
}

constexpr NumberFieldSetup kTyped{"udTyped", "editTyped", 0, 10, true};
constexpr NumberFieldSetup kTens{"udTens", "editTens", 0, 2550, true, 10};
constexpr NumberFieldSetup kHundreds{"udHundreds", "editHundreds", 100, 2000, false, 100, 10};
constexpr NumberFieldSetup kHighLoad{"udHigh", "editHigh", 0, 25, false, 1, INT_MAX, 30};

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFieldStep,
    ::testing::Values(
        StepCase{"up key", kTyped, 5, Step::kUpKey, "6"},
        StepCase{"down key", kTyped, 5, Step::kDownKey, "4"},
        StepCase{"wheel up", kTyped, 5, Step::kWheelUp, "6"},
        StepCase{"wheel down", kTyped, 5, Step::kWheelDown, "4"},
        StepCase{"top stays", kTyped, 10, Step::kUpKey, "10"},
        StepCase{"bottom stays", kTyped, 0, Step::kWheelDown, "0"},
        StepCase{"between tens, up", kTens, 255, Step::kUpKey, "260"},
        StepCase{"between tens, down", kTens, 255, Step::kDownKey, "250"},
        StepCase{"below the range, down", kHundreds, 10, Step::kDownKey, "10"},
        StepCase{"below the range, wheel down", kHundreds, 10, Step::kWheelDown, "10"},
        StepCase{"below the range, up", kHundreds, 10, Step::kUpKey, "100"},
        StepCase{"below the range, wheel up", kHundreds, 10, Step::kWheelUp, "100"},
        StepCase{"between hundreds, up", kHundreds, 250, Step::kUpKey, "300"},
        StepCase{"between hundreds, down", kHundreds, 250, Step::kWheelDown, "200"},
        StepCase{"above the range, up", kHighLoad, 30, Step::kUpKey, "30"},
        StepCase{"above the range, down", kHighLoad, 30, Step::kWheelDown, "25"}));

TEST(NumberField, CarriesBothNamesAndTheAccessibleNameOnBoth) {
  QWidget window;
  auto* field = MakeNumberField(&window, kTyped, "Typed (ms)");
  EXPECT_EQ(window.findChild<QSpinBox*>("udTyped"), field);
  auto* edit = window.findChild<QLineEdit*>("editTyped");
  ASSERT_EQ(edit, field->Edit());
  EXPECT_EQ(field->accessibleName(), "Typed (ms)");
  EXPECT_EQ(edit->accessibleName(), "Typed (ms)");
  field->SetAccessibleName("Renamed");
  EXPECT_EQ(edit->accessibleName(), "Renamed");
}

TEST(NumberField, AReadOnlyFieldRefusesTypingButStillSteps) {
  for (bool typing : {true, false}) {
    QWidget window;
    auto* field = MakeNumberField(&window, {"ud", "edit", 0, 10, typing}, "Field");
    window.show();
    field->setValue(3);
    field->setFocus();
    field->Edit()->selectAll();
    QTest::keyClicks(field, "7");
    EXPECT_EQ(field->Edit()->text(), typing ? "7" : "3") << typing;
    QTest::keyClick(field, Qt::Key_Up);
    EXPECT_EQ(field->Edit()->text(), typing ? "8" : "4") << typing;
  }
}

TEST(NumberField, MovingTheStepRangeLetsTheArrowsReachTheNewFloor) {
  QWidget window;
  auto* field = MakeNumberField(&window, {"ud", "edit", 1, 9, false}, "Field");
  window.show();
  field->setValue(1);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Down);
  EXPECT_EQ(field->Edit()->text(), "1");
  field->SetStepRange(0, 9);
  QTest::keyClick(field, Qt::Key_Down);
  EXPECT_EQ(field->Edit()->text(), "0");
  field->SetStepRange(1, 9);  // a shown 0 is lifted onto the new floor
  EXPECT_EQ(field->Edit()->text(), "1");
}

}  // namespace
