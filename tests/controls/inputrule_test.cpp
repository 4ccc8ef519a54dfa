// The input rule every rule-bound edit box uses: typing, pasting, dropping
// and an input method's text all keep what the rule keeps, change what it
// changes, and never touch the text the window loaded.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "inputrule.h"
#include "rxchannels.h"

namespace {

enum class Way {
  kTyped,
  kPastedByKey,
  kDropped,
  kInputMethod,
  kAccessibleInsert,  // an assistive tool inserting at the end
  kAccessibleValue,   // an assistive tool setting the whole value
};

// A drag enters the box before it drops there, as the pointer brings it.
void Drop(QLineEdit* edit, QDropEvent* drop) {
  QDragEnterEvent enter(drop->position().toPoint(), drop->possibleActions(), drop->mimeData(),
                        drop->buttons(), drop->modifiers());
  QApplication::sendEvent(edit, &enter);
  QApplication::sendEvent(edit, drop);
}

void PutIn(QLineEdit* edit, Way way, const QString& text) {
  switch (way) {
    case Way::kTyped:
      QTest::keyClicks(edit, text);
      return;
    case Way::kPastedByKey:
      QApplication::clipboard()->setText(text);
      QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
      return;
    case Way::kDropped: {
      QMimeData data;
      data.setText(text);
      const QPointF end(edit->width() - 2, edit->height() / 2.0);  // past the text
      QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      Drop(edit, &drop);
      return;
    }
    case Way::kInputMethod: {
      QInputMethodEvent input;
      input.setCommitString(text);
      QApplication::sendEvent(edit, &input);
      return;
    }
    case Way::kAccessibleInsert: {
      QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit);
      ASSERT_NE(box, nullptr);
      ASSERT_NE(box->editableTextInterface(), nullptr);
      box->editableTextInterface()->insertText(static_cast<int>(edit->text().size()), text);
      return;
    }
    case Way::kAccessibleValue: {
      QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit);
      ASSERT_NE(box, nullptr);
      box->setText(QAccessible::Value, edit->text() + text);
      return;
    }
  }
}

struct WayCase {
  const char* what;
  Way way;
  bool readOnly;
  const char* shown;
};

class InputRuleWay : public ::testing::TestWithParam<WayCase> {};

// "x@" breaks the alpha tag rule twice (a small letter, an "@"): loaded, it
// is shown as it is and the rule holds only what is put in after it.
TEST_P(InputRuleWay, KeepsWhatTheRuleKeepsAndLeavesTheLoadedTextAlone) {
  const WayCase& c = GetParam();
  QLineEdit edit;
  edit.setFixedWidth(200);
  InputRule::Install(&edit, AlphaTagKey);
  edit.setReadOnly(c.readOnly);
  edit.show();
  edit.setFocus();
  InputRule::Load(&edit, "x@");
  EXPECT_EQ(edit.text(), "x@");
  edit.end(false);
  PutIn(&edit, c.way, "ab@c{d");
  EXPECT_EQ(edit.text(), c.shown) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InputRuleWay,
    ::testing::Values(WayCase{"typed", Way::kTyped, false, "x@ABCD"},
                      WayCase{"pasted", Way::kPastedByKey, false, "x@ABCD"},
                      WayCase{"dropped", Way::kDropped, false, "x@ABCD"},
                      WayCase{"input method", Way::kInputMethod, false, "x@ABCD"},
                      WayCase{"assistive insert", Way::kAccessibleInsert, false, "x@ABCD"},
                      WayCase{"assistive value", Way::kAccessibleValue, false, "x@ABCD"},
                      WayCase{"typed, read-only", Way::kTyped, true, "x@"},
                      WayCase{"pasted, read-only", Way::kPastedByKey, true, "x@"},
                      WayCase{"dropped, read-only", Way::kDropped, true, "x@"},
                      WayCase{"input method, read-only", Way::kInputMethod, true, "x@"}));

// An assistive tool replacing the whole text is held to the rule like a
// user typing it; the window's own setText of a loaded value is not.
TEST(InputRule, AnAssistiveToolsWholeValueGoesThroughTheRule) {
  QLineEdit edit;
  edit.setMaxLength(5);
  InputRule::Install(&edit, AlphaTagKey);
  edit.show();
  InputRule::Load(&edit, "VAN-7");
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&edit);
  ASSERT_NE(box, nullptr);
  box->setText(QAccessible::Value, "ab@c");
  EXPECT_EQ(edit.text(), "ABC");
  ASSERT_NE(box->editableTextInterface(), nullptr);
  box->editableTextInterface()->replaceText(1, 2, "{z}");
  EXPECT_EQ(edit.text(), "AZC");
  InputRule::Load(&edit, "x@");
  EXPECT_EQ(edit.text(), "x@");
}

TEST(InputRule, ADropOfNothingTheRuleKeepsIsRefused) {
  QLineEdit edit;
  InputRule::Install(&edit, DigitKey);
  edit.setText("12");
  QMimeData data;
  data.setText("abc");
  QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  Drop(&edit, &drop);
  EXPECT_FALSE(drop.isAccepted());
  EXPECT_EQ(edit.text(), "12");
}

struct RuleCase {
  InputRule::Rule rule;
  const char* in;
  const char* kept;
};

class NumberRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(NumberRule, KeepsOnlyItsCharacters) {
  const RuleCase& c = GetParam();
  EXPECT_EQ(InputRule::Kept(c.rule, c.in), c.kept) << c.in;
}

INSTANTIATE_TEST_SUITE_P(Rules, NumberRule,
                         ::testing::Values(RuleCase{DigitKey, "1-2.5 x9", "1259"},
                                           RuleCase{DigitOrPointKey, "4a7-6.43", "476.43"},
                                           RuleCase{SignedDecimalKey, "-1.5 dB", "-1.5"},
                                           RuleCase{SignedDecimalKey, "\u00e9+2", "2"}));

}  // namespace
