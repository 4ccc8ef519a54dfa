// The editors' help area: focus and pointer bring a control's text,
// clearers empty it, and a repeated event changes nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpmemo.h"

namespace {

struct HelpForm {
  HelpForm() {
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* w : {static_cast<QWidget*>(focusOnly), static_cast<QWidget*>(both),
                       static_cast<QWidget*>(ok), static_cast<QWidget*>(memo)})
      layout->addWidget(w);
    help.Add(focusOnly, "focus text", HelpMemo::kFocus);
    help.Add(both, "both text");
    help.AddClearer(ok);
    window.show();
    window.activateWindow();
  }
  static void Enter(QWidget* w) {
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
  }
  QWidget window;
  QCheckBox* focusOnly = new QCheckBox("a", &window);
  QCheckBox* both = new QCheckBox("b", &window);
  QPushButton* ok = new QPushButton("OK", &window);
  QPlainTextEdit* memo = new QPlainTextEdit(&window);
  HelpMemo help{memo};
};

TEST(HelpMemo, FocusAndPointerShowTheirControlsText) {
  HelpForm f;
  EXPECT_TRUE(f.memo->isReadOnly());
  f.focusOnly->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(f.memo->toPlainText(), "focus text");
  HelpForm::Enter(f.both);
  EXPECT_EQ(f.memo->toPlainText(), "both text");
  EXPECT_EQ(f.help.Shown(), f.both);
}

TEST(HelpMemo, PointerOverAFocusOnlyControlChangesNothing) {
  HelpForm f;
  HelpForm::Enter(f.both);
  HelpForm::Enter(f.focusOnly);
  EXPECT_EQ(f.memo->toPlainText(), "both text");
}

TEST(HelpMemo, AClearerEmptiesTheAreaAndARepeatKeepsWhatTheUserTyped) {
  HelpForm f;
  HelpForm::Enter(f.both);
  // A repeated event from the shown control does not rewrite the area.
  f.memo->setPlainText("scrolled");
  HelpForm::Enter(f.both);
  EXPECT_EQ(f.memo->toPlainText(), "scrolled");
  HelpForm::Enter(f.ok);
  EXPECT_EQ(f.memo->toPlainText(), "");
  EXPECT_EQ(f.help.Shown(), nullptr);
  HelpForm::Enter(f.both);
  EXPECT_EQ(f.memo->toPlainText(), "both text");
}

}  // namespace
