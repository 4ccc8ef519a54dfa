// "Selcall Options" driven with real input in Merlo, Pinto and Dravo builds
// (the Kestal has no selcall), checked on the image bytes.
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "selcall_rig.h"
#include "simimage.h"

namespace {

using Rig = SelcallRig;

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2)); }
void Ok(Rig& r) { Click(Rig::Child<QPushButton>(r.window, "OKBtn")); }
QString Shown(Rig& r, const char* name) { return Rig::Child<QLineEdit>(r.window, name)->displayText(); }

struct UnchangedCase {
  const char* family;
  bool engineering;
};

class SelcallUnchangedOk : public ::testing::TestWithParam<UnchangedCase> {};

TEST_P(SelcallUnchangedOk, RewritesNothingNew) {
  Rig r(GetParam().family, GetParam().engineering);
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.window);
  Ok(r);
  EXPECT_EQ(r.window.result(), QDialog::Accepted);
  EXPECT_FALSE(r.window.isVisible());
  EXPECT_EQ(r.Image(), before);
  EXPECT_TRUE(r.boxes.Take().empty());
}

INSTANTIATE_TEST_SUITE_P(SelcallModels, SelcallUnchangedOk,
                         ::testing::Values(UnchangedCase{"Merlo", false}, UnchangedCase{"Merlo", true},
                                           UnchangedCase{"Pinto", false}, UnchangedCase{"Pinto", true},
                                           UnchangedCase{"Dravo", false}, UnchangedCase{"Dravo", true}));

enum class Leave { kCancelButton, kEscape, kClose };

class SelcallCancel : public ::testing::TestWithParam<Leave> {};

TEST_P(SelcallCancel, ChangesNoByte) {
  Rig r;
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.window);
  Click(Rig::Child<QPushButton>(r.window, "btnSelectAll"));
  Click(Rig::Child<QCheckBox>(r.window, "chkAppendAni"));
  Rig::Child<QLineEdit>(r.window, "editRadioAlpha")->setFocus();
  Rig::Type("XY");
  switch (GetParam()) {
    case Leave::kCancelButton: Click(Rig::Child<QPushButton>(r.window, "CancelBtn")); break;
    case Leave::kEscape: Rig::Key(Qt::Key_Escape); break;
    case Leave::kClose: r.window.close(); break;
  }
  EXPECT_FALSE(r.window.isVisible());
  EXPECT_EQ(r.window.result(), QDialog::Rejected);
  EXPECT_EQ(r.Image(), before);
}

INSTANTIATE_TEST_SUITE_P(Ways, SelcallCancel,
                         ::testing::Values(Leave::kCancelButton, Leave::kEscape, Leave::kClose));

struct IdentCase {
  uint8_t stored[4];
  const char* shown;
  uint8_t written[4];
};

class SelcallIdentField : public ::testing::TestWithParam<IdentCase> {};

TEST_P(SelcallIdentField, ShowsFiveDigitsAndOkStoresThemAfterZeros) {
  const IdentCase& c = GetParam();
  Rig r;
  for (int i = 0; i < 4; ++i) r.SetByte("Selcall Ident", c.stored[i], i);
  Rig::Show(r.window);
  EXPECT_EQ(Shown(r, "MaskEditRadioIdent"), c.shown);
  Ok(r);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Byte("Selcall Ident", i), c.written[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SelcallIdentField,
    ::testing::Values(IdentCase{{0x00, 0x01, 0x23, 0x45}, "12345", {0x00, 0x01, 0x23, 0x45}},
                      IdentCase{{0x98, 0x76, 0x54, 0x32}, "65432", {0x00, 0x06, 0x54, 0x32}}));

TEST(SelcallIdentField, TakesDigitsOnly) {
  Rig r;
  Rig::Show(r.window);
  auto* ident = Rig::Child<QLineEdit>(r.window, "MaskEditRadioIdent");
  ident->setFocus();
  ident->setCursorPosition(0);
  Rig::Type("9a8-7B6x5");
  EXPECT_EQ(ident->displayText(), "98765");
  Ok(r);
  EXPECT_EQ(r.Byte("Selcall Ident", 1), 0x09);
  EXPECT_EQ(r.Byte("Selcall Ident", 2), 0x87);
  EXPECT_EQ(r.Byte("Selcall Ident", 3), 0x65);
}

TEST(SelcallIdentField, AnEmptyPositionIsStoredAsFOnlyAfterTheUserConfirms) {
  Rig r;  // ident 0,0,0,4,7,1,2,9 shows 47129
  Rig::Show(r.window);
  auto* ident = Rig::Child<QLineEdit>(r.window, "MaskEditRadioIdent");
  ident->setFocus();
  ident->setCursorPosition(3);
  Rig::Key(Qt::Key_Backspace);  // empties the third position
  EXPECT_EQ(ident->displayText(), "47 29");

  const std::vector<uint8_t> before = r.Image();
  r.boxes.Answer({QMessageBox::Cancel});
  Ok(r);
  std::vector<SeenBox> seen = r.boxes.Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Selcall Options");
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_TRUE(seen[0].text.contains("1 empty position of 5")) << seen[0].text.toStdString();
  EXPECT_TRUE(seen[0].text.contains("47F29")) << seen[0].text.toStdString();
  EXPECT_TRUE(r.window.isVisible());
  EXPECT_EQ(r.Image(), before);

  r.boxes.Answer({QMessageBox::Ok});
  Ok(r);
  EXPECT_EQ(r.boxes.Take().size(), 1u);
  EXPECT_FALSE(r.window.isVisible());
  EXPECT_EQ(r.Byte("Selcall Ident", 1), 0x04);
  EXPECT_EQ(r.Byte("Selcall Ident", 2), 0x7F);
  EXPECT_EQ(r.Byte("Selcall Ident", 3), 0x29);
}

struct TypedIdentCase {
  const char* typed;
  const char* shown;  // after leaving the field
  const char* asStored;  // in the question; null = no question
  uint8_t written[4];
};

class SelcallIdentTyped : public ::testing::TestWithParam<TypedIdentCase> {};

TEST_P(SelcallIdentTyped, AShortIdentIsShownAndStoredRightAligned) {
  const TypedIdentCase& c = GetParam();
  Rig r;
  Rig::Show(r.window);
  auto* ident = Rig::Child<QLineEdit>(r.window, "MaskEditRadioIdent");
  ident->setFocus();
  ident->selectAll();
  Rig::Key(Qt::Key_Delete);
  ident->setCursorPosition(0);
  Rig::Type(c.typed);
  Rig::Key(Qt::Key_Tab);  // leaves the field
  EXPECT_EQ(ident->displayText(), c.shown);
  r.boxes.Answer({QMessageBox::Ok});
  Ok(r);
  const std::vector<SeenBox> seen = r.boxes.Take();
  if (c.asStored) {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].text.contains(c.asStored)) << seen[0].text.toStdString();
  } else {
    EXPECT_TRUE(seen.empty());
  }
  EXPECT_FALSE(r.window.isVisible());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Byte("Selcall Ident", i), c.written[i]) << i;
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Ident") + 4), "VAN-7");
}

INSTANTIATE_TEST_SUITE_P(
    ShortFullAndEmpty, SelcallIdentTyped,
    ::testing::Values(TypedIdentCase{"123", "  123", "FF123", {0x00, 0x0F, 0xF1, 0x23}},
                      TypedIdentCase{"9", "    9", "FFFF9", {0x00, 0x0F, 0xFF, 0xF9}},
                      TypedIdentCase{"54321", "54321", nullptr, {0x00, 0x05, 0x43, 0x21}},
                      TypedIdentCase{"", "     ", "FFFFF", {0x00, 0x0F, 0xFF, 0xFF}}));

TEST(SelcallIdentTyped, OkWithTheFocusStillInTheFieldStoresWhatIsShown) {
  Rig r;
  Rig::Show(r.window);
  auto* ident = Rig::Child<QLineEdit>(r.window, "MaskEditRadioIdent");
  ident->setFocus();
  ident->selectAll();
  Rig::Key(Qt::Key_Delete);
  ident->setCursorPosition(0);
  Rig::Type("12");
  r.boxes.Answer({QMessageBox::Cancel});
  Ok(r);
  ASSERT_EQ(r.boxes.Take().size(), 1u);
  EXPECT_EQ(ident->displayText(), "   12");  // the question is about what is shown
  EXPECT_TRUE(r.window.isVisible());
  r.boxes.Answer({QMessageBox::Ok});
  Ok(r);
  EXPECT_EQ(r.Byte("Selcall Ident", 2), 0xFF);
  EXPECT_EQ(r.Byte("Selcall Ident", 3), 0x12);
}

class SelcallOnSimulatedImage : public ::testing::TestWithParam<const char*> {};

TEST_P(SelcallOnSimulatedImage, ShowsTheFullIdentAndOkAsksNothing) {
  Rig r(GetParam());
  MakeDefaultImage(r.build.productId, r.shared.image);
  const std::vector<uint8_t> before = r.Image();
  Rig::Show(r.window);
  EXPECT_EQ(Shown(r, "MaskEditRadioIdent"), "12345");
  Ok(r);
  EXPECT_TRUE(r.boxes.Take().empty());
  EXPECT_FALSE(r.window.isVisible());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.Byte("Selcall Ident", i), before[r.At("Selcall Ident") + i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(SelcallModels, SelcallOnSimulatedImage,
                         ::testing::Values("Merlo", "Pinto", "Dravo"));

TEST(SelcallRadioName, TypedLettersBecomeCapitalsAndOtherPunctuationIsRefused) {
  Rig r;
  Rig::Show(r.window);
  auto* name = Rig::Child<QLineEdit>(r.window, "editRadioAlpha");
  name->setFocus();
  name->selectAll();
  Rig::Type("a!b.-,1*_z9");
  EXPECT_EQ(name->text(), "AB-1Z");  // five at most
  Ok(r);
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Ident") + 4), "AB-1Z");
}

TEST(SelcallRadioName, AStoredCharacterTheFilterRefusesDoesNotBlockEditing) {
  Rig r;
  r.shared.image.SetAlphaTag(r.At("Selcall Ident") + 4, "_____");  // an erased name
  Rig::Show(r.window);
  auto* name = Rig::Child<QLineEdit>(r.window, "editRadioAlpha");
  name->setFocus();
  name->end(false);
  Rig::Key(Qt::Key_Backspace);
  Rig::Type("q");
  EXPECT_EQ(name->text(), "____Q");
}

TEST(SelcallRadioName, PastedTextPassesTheSameFilter) {
  Rig r;
  Rig::Show(r.window);
  auto* name = Rig::Child<QLineEdit>(r.window, "editRadioAlpha");
  name->setFocus();
  name->selectAll();
  QApplication::clipboard()->setText("b!o.b 7");
  Rig::Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "BOB 7");
  Ok(r);
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Ident") + 4), "BOB 7");
}

struct FlagBoxCase {
  const char* box;
  const char* option;
  int bit;
};

class SelcallFlagBox : public ::testing::TestWithParam<FlagBoxCase> {};

TEST_P(SelcallFlagBox, ClickingTogglesOnlyItsBit) {
  const FlagBoxCase& c = GetParam();
  for (int stored : {0x00, 0xFF}) {
    Rig r;
    r.SetByte(c.option, stored);
    std::vector<uint8_t> expected = r.Image();
    expected[r.At(c.option)] = static_cast<uint8_t>(stored ^ (1 << c.bit));
    Rig::Show(r.window);
    auto* box = Rig::Child<QCheckBox>(r.window, c.box);
    EXPECT_EQ(box->isChecked(), stored != 0);
    Click(box);
    Ok(r);
    EXPECT_EQ(r.Image(), expected) << stored;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, SelcallFlagBox,
    ::testing::Values(FlagBoxCase{"chkAppendAni", "Options-3", 6},
                      FlagBoxCase{"chkLead_In_Tone", "Options-4", 1},
                      FlagBoxCase{"chkBeepAlarms", "Options-4", 2},
                      FlagBoxCase{"chkBeepAckEnable", "Options-4", 3},
                      FlagBoxCase{"chkReenterQuiet", "Options-4", 4},
                      FlagBoxCase{"chkUnmuteOnSelcall", "Options-4", 5},
                      FlagBoxCase{"chkAlertIndividualCall", "Options-4", 6},
                      FlagBoxCase{"chkAlertGroupCall", "Options-4", 7},
                      FlagBoxCase{"chkUserModifyOwnIdent", "Options-6", 1},
                      FlagBoxCase{"editUserModifyMemory", "Options-6", 2},
                      FlagBoxCase{"chkLeadInDelay", "Options-6", 5}));

TEST(SelcallGroupCalls, AnOddReceiveCodeLoadsAs1000AndOkWritesItsThermometerCode) {
  Rig r;
  r.SetByte("Options-3", 0x28);
  Rig::Show(r.window);
  EXPECT_TRUE(Rig::Child<QCheckBox>(r.window, "chkAcceptGroupCalls")->isChecked());
  EXPECT_EQ(Rig::Child<QComboBox>(r.window, "comboRxGrpSize")->currentText(), "1000");
  EXPECT_FALSE(Rig::Child<QCheckBox>(r.window, "chkSendGroupCalls")->isChecked());
  Ok(r);
  EXPECT_EQ(r.Byte("Options-3"), 0x38);
}

TEST(SelcallGroupCalls, UntickingAcceptClearsBits3To5WhateverTheSize) {
  for (int size = 0; size < 3; ++size) {
    Rig r;
    r.SetByte("Options-3", 0x7F);
    Rig::Show(r.window);
    Rig::Child<QComboBox>(r.window, "comboRxGrpSize")->setCurrentIndex(size);
    Click(Rig::Child<QCheckBox>(r.window, "chkAcceptGroupCalls"));
    Ok(r);
    EXPECT_EQ(r.Byte("Options-3"), 0x47) << size;
  }
}

TEST(SelcallGroupCalls, SizesAreChosenByKeyAndWrittenAsThermometerCodes) {
  Rig r;
  r.SetByte("Options-3", 0x40);  // both off
  Rig::Show(r.window);
  auto* rx = Rig::Child<QComboBox>(r.window, "comboRxGrpSize");
  auto* tx = Rig::Child<QComboBox>(r.window, "comboTxGrpSize");
  EXPECT_EQ(rx->currentIndex(), -1);
  // Ticking with no size chosen shows (and stores) the smallest.
  Click(Rig::Child<QCheckBox>(r.window, "chkAcceptGroupCalls"));
  EXPECT_EQ(rx->currentText(), "10");
  Click(Rig::Child<QCheckBox>(r.window, "chkSendGroupCalls"));
  tx->setFocus();
  Rig::Key(Qt::Key_Down);
  Rig::Key(Qt::Key_Down);
  EXPECT_EQ(tx->currentText(), "1000");
  Ok(r);
  EXPECT_EQ(r.Byte("Options-3"), 0x40 | 0x08 | 0x07);
}

TEST(SelcallGroupCalls, OffLeavesTheSizeListAsItWasAndTheNextShowingReloads) {
  Rig r;
  r.SetByte("Options-3", 0x18);
  Rig::Show(r.window);
  Click(Rig::Child<QPushButton>(r.window, "CancelBtn"));
  r.SetByte("Options-3", 0x00);
  Rig::Show(r.window);
  EXPECT_FALSE(Rig::Child<QCheckBox>(r.window, "chkAcceptGroupCalls")->isChecked());
  EXPECT_EQ(Rig::Child<QComboBox>(r.window, "comboRxGrpSize")->currentText(), "100");
  Ok(r);
  EXPECT_EQ(r.Byte("Options-3"), 0x00);
}

struct LeadCase {
  int stored;
  const char* shown;
  int written;
};

class SelcallLeadIn : public ::testing::TestWithParam<LeadCase> {};

TEST_P(SelcallLeadIn, ShownInMillisecondsAndWrittenInTens) {
  const LeadCase& c = GetParam();
  Rig r;
  r.SetByte("Lead Tone Length", c.stored);
  Rig::Show(r.window);
  EXPECT_EQ(Shown(r, "editLeadInDelay"), c.shown);
  Ok(r);
  EXPECT_EQ(r.Byte("Lead Tone Length"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Limits, SelcallLeadIn,
                         ::testing::Values(LeadCase{0, "10", 1}, LeadCase{255, "2000", 200},
                                           LeadCase{123, "1230", 123}));

TEST(SelcallLeadIn, TheUpDownStepsByHundredsAndTheTextCannotBeTyped) {
  Rig r;
  r.SetByte("Lead Tone Length", 0);
  Rig::Show(r.window);
  auto* edit = Rig::Child<QLineEdit>(r.window, "editLeadInDelay");
  edit->setFocus();
  Rig::Type("5");
  Rig::Key(Qt::Key_Down);  // already below the range: stays
  EXPECT_EQ(edit->displayText(), "10");
  Rig::Key(Qt::Key_Up);  // to the hundreds, not 110
  EXPECT_EQ(edit->displayText(), "100");
  Rig::Key(Qt::Key_Up);
  EXPECT_EQ(edit->displayText(), "200");
  Rig::Key(Qt::Key_Down);
  EXPECT_EQ(edit->displayText(), "100");
  for (int i = 0; i < 25; ++i) Rig::Key(Qt::Key_Up);
  EXPECT_EQ(edit->displayText(), "2000");
  Rig::Key(Qt::Key_Down);
  Ok(r);
  EXPECT_EQ(r.Byte("Lead Tone Length"), 190);
}

struct LeadStepCase {
  int stored;  // tens of milliseconds
  Qt::Key key;
  const char* shown;
  int written;
};

class SelcallLeadInStep : public ::testing::TestWithParam<LeadStepCase> {};

TEST_P(SelcallLeadInStep, AValueBetweenTheHundredsStepsToTheNextHundred) {
  const LeadStepCase& c = GetParam();
  Rig r;
  r.SetByte("Lead Tone Length", c.stored);
  Rig::Show(r.window);
  auto* edit = Rig::Child<QLineEdit>(r.window, "editLeadInDelay");
  edit->setFocus();
  Rig::Key(c.key);
  EXPECT_EQ(edit->displayText(), c.shown);
  Ok(r);
  EXPECT_EQ(r.Byte("Lead Tone Length"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, SelcallLeadInStep,
    ::testing::Values(LeadStepCase{1, Qt::Key_Up, "100", 10}, LeadStepCase{1, Qt::Key_Down, "10", 1},
                      LeadStepCase{25, Qt::Key_Up, "300", 30}, LeadStepCase{25, Qt::Key_Down, "200", 20},
                      LeadStepCase{30, Qt::Key_Up, "400", 40}, LeadStepCase{30, Qt::Key_Down, "200", 20},
                      LeadStepCase{195, Qt::Key_Up, "2000", 200},
                      LeadStepCase{195, Qt::Key_Down, "1900", 190}));

TEST(SelcallAlert, DurationStepsZeroToTwentyFive) {
  Rig r;
  r.SetByte("Selcall Alert Time", 24);
  Rig::Show(r.window);
  auto* edit = Rig::Child<QLineEdit>(r.window, "editAlertDuration");
  EXPECT_EQ(edit->displayText(), "24");
  edit->setFocus();
  Rig::Key(Qt::Key_Up);
  Rig::Key(Qt::Key_Up);
  EXPECT_EQ(edit->displayText(), "25");
  Ok(r);
  EXPECT_EQ(r.Byte("Selcall Alert Time"), 25);
}

struct ToneCase {
  bool engineering;
  int stored;
  int written;
};

class SelcallTonePeriod : public ::testing::TestWithParam<ToneCase> {};

TEST_P(SelcallTonePeriod, ShownAndStoredOnlyInTheEngineeringBuild) {
  const ToneCase& c = GetParam();
  Rig r("Merlo", c.engineering);
  r.SetByte("Tone Length", c.stored);
  Rig::Show(r.window);
  auto* combo = Rig::Child<QComboBox>(r.window, "comboTonePeriod");
  for (const char* name : {"comboTonePeriod", "lblTonePeriod", "Label8"}) {
    EXPECT_EQ(Rig::Child<QWidget>(r.window, name)->isVisible(), c.engineering) << name;
  }
  EXPECT_EQ(combo->count(), 6);
  EXPECT_EQ(combo->currentText(), "40");
  combo->setCurrentIndex(4);  // "70", unseen outside the engineering build
  combo->setCurrentIndex(2);
  Ok(r);
  EXPECT_EQ(r.Byte("Tone Length"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Builds, SelcallTonePeriod,
                         ::testing::Values(ToneCase{true, 45, 40}, ToneCase{false, 45, 45}));

TEST(SelcallTonePeriod, EngineeringChoiceIsStored) {
  Rig r("Dravo", true);
  Rig::Show(r.window);
  auto* combo = Rig::Child<QComboBox>(r.window, "comboTonePeriod");
  EXPECT_EQ(combo->currentText(), "70");
  combo->setFocus();
  Rig::Key(Qt::Key_Down);
  Ok(r);
  EXPECT_EQ(r.Byte("Tone Length"), 100);
}

TEST(SelcallQuietMemory, BoxesFollowTheBitsAndReceiveOnlyBytesStay) {
  Rig r;
  Rig::Show(r.window);
  for (int k = 1; k <= 80; ++k) {
    const QString name = (k <= 40 ? "chkGs" : "chkQuiet") + QString::number(k);
    auto* box = r.window.findChild<QCheckBox*>(name);
    ASSERT_NE(box, nullptr) << name.toStdString();
    EXPECT_EQ(box->text(), QString::number(k));
    EXPECT_EQ(box->isChecked(), ((r.Byte("Quiet Mem", (k - 1) / 8) >> ((k - 1) % 8)) & 1) != 0);
  }
  const std::vector<uint8_t> before = r.Image();
  Click(Rig::Child<QPushButton>(r.window, "btnSelectAll"));
  Click(Rig::Child<QCheckBox>(r.window, "chkQuiet80"));
  Ok(r);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(r.Byte("Quiet Mem", i), 0xFF) << i;
  EXPECT_EQ(r.Byte("Quiet Mem", 9), 0x7F);
  const int quiet = r.At("Quiet Mem");
  for (int i = 10; i < 24; ++i) EXPECT_EQ(r.Image()[quiet + i], before[quiet + i]) << i;

  Rig::Show(r.window);
  Click(Rig::Child<QPushButton>(r.window, "btnDeselectAll"));
  Click(Rig::Child<QCheckBox>(r.window, "chkGs1"));
  Ok(r);
  EXPECT_EQ(r.Byte("Quiet Mem", 0), 0x01);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(r.Byte("Quiet Mem", i), 0x00) << i;
  for (int i = 10; i < 24; ++i) EXPECT_EQ(r.Image()[quiet + i], before[quiet + i]) << i;
}

TEST(SelcallWindow, EveryShowingReloadsFromTheImage) {
  Rig r;
  Rig::Show(r.window);
  Rig::Child<QLineEdit>(r.window, "editRadioAlpha")->setText("JUNK");
  Click(Rig::Child<QCheckBox>(r.window, "chkGs5"));
  Click(Rig::Child<QPushButton>(r.window, "CancelBtn"));
  r.shared.image.SetAlphaTag(r.At("Selcall Ident") + 4, "NEW");
  r.SetByte("Selcall Ident", 0x12, 3);
  Rig::Show(r.window);
  EXPECT_EQ(Shown(r, "editRadioAlpha"), "NEW");
  EXPECT_EQ(Shown(r, "MaskEditRadioIdent"), "47112");
  EXPECT_EQ(Rig::Child<QCheckBox>(r.window, "chkGs5")->isChecked(),
            ((r.Byte("Quiet Mem") >> 4) & 1) != 0);
}

TEST(SelcallWindow, EnterIsOkAndCaptionsAreTheSystemsOwn) {
  Rig r;
  EXPECT_EQ(r.window.windowTitle(), "Selcall Options");
  Rig::Show(r.window);
  EXPECT_EQ(Rig::Child<QLabel>(r.window, "blbRadioIdent")->text(), "Radio &Ident:");
  EXPECT_EQ(Rig::Child<QCheckBox>(r.window, "chkLeadInDelay")->text(), "Lead-in delay ");
  EXPECT_EQ(Rig::Child<QGroupBox>(r.window, "gbQuietMem")->title(), "Quiet Memory");
  EXPECT_TRUE(Rig::Child<QPushButton>(r.window, "OKBtn")->isDefault());
  Click(Rig::Child<QCheckBox>(r.window, "chkAppendAni"));
  Rig::Child<QLineEdit>(r.window, "editRadioAlpha")->setFocus();
  const int before = r.Byte("Options-3");
  Rig::Key(Qt::Key_Return);
  EXPECT_FALSE(r.window.isVisible());
  EXPECT_EQ(r.window.result(), QDialog::Accepted);
  EXPECT_EQ(r.Byte("Options-3"), before ^ 0x40);
}

TEST(SelcallWindow, FocusableControlsAreNamedAndNothingIsClipped) {
  Rig r("Merlo", true);
  Rig::Show(r.window);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "MaskEditRadioIdent");
  Rig::Key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "editRadioAlpha");
  Rig::Key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "btnSelcallMem");
  for (QWidget* w : r.window.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    if (w->focusPolicy() & Qt::TabFocus) {
      const bool named = !w->accessibleName().isEmpty() || qobject_cast<QAbstractButton*>(w) ||
                         w->objectName().startsWith("edit");  // the up-downs' text fields
      EXPECT_TRUE(named) << w->objectName().toStdString();
    }
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
      EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
      EXPECT_GE(w->height(), w->sizeHint().height()) << w->objectName().toStdString();
    }
  }
}

void Enter(QWidget* w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(w, &e);
}

TEST(SelcallHelp, PointerAndFocusShowTheControlsText) {
  Rig r;
  Rig::Show(r.window);
  auto* memo = Rig::Child<QPlainTextEdit>(r.window, "memoHelpText");
  EXPECT_TRUE(memo->isReadOnly());
  Enter(Rig::Child<QWidget>(r.window, "chkReenterQuiet"));
  EXPECT_EQ(memo->toPlainText(),
            "If no keypress or PTT occurs after receiving a selcall during the alert time, then "
            "re-enter QUIET at end of alert duration.");
  Enter(Rig::Child<QWidget>(r.window, "GroupBox2"));
  EXPECT_EQ(memo->toPlainText(), "");
  Rig::Child<QWidget>(r.window, "chkAcceptGroupCalls")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(memo->toPlainText(), "Enable radio to respond to received group calls.");
  Rig::Child<QWidget>(r.window, "editLeadInDelay")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(memo->toPlainText(), "Set the lead-in tone length.");
  // Other check boxes answer the pointer only.
  Rig::Child<QWidget>(r.window, "chkAppendAni")->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(memo->toPlainText(), "Set the lead-in tone length.");
  Enter(Rig::Child<QWidget>(r.window, "chkAppendAni"));
  EXPECT_EQ(memo->toPlainText(),
            "Append radio's own ident to transmitted selcalls.  The last N-digits of own ident "
            "are appended, where N is  the Appended ANI Length value.");
  Enter(Rig::Child<QWidget>(r.window, "CancelBtn"));
  EXPECT_EQ(memo->toPlainText(), "Exit without saving.");
}

TEST(SelcallWindow, EditSelcallMemoriesOpensTheMemoriesWithFiveDigits) {
  Rig r;
  r.memories.SetIdentLength(8);
  Rig::Show(r.window);
  bool shown = false;
  int length = -1;
  QTimer::singleShot(0, [&] {
    shown = r.memories.isVisible();
    length = r.memories.IdentLength();
    r.memories.reject();
  });
  Click(Rig::Child<QPushButton>(r.window, "btnSelcallMem"));
  EXPECT_TRUE(shown);
  EXPECT_EQ(length, 5);
  EXPECT_TRUE(r.window.isVisible());
}

// A screen reader or other assistive tool setting the radio name meets the
// same rule as typing: "ab@c" is stored as "ABC".
TEST(SelcallWindow, TheRadioNameFromAnAssistiveToolKeepsTheInputRule) {
  Rig r;
  Rig::Show(r.window);
  auto* name = Rig::Child<QLineEdit>(r.window, "editRadioAlpha");
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(name);
  ASSERT_NE(box, nullptr);
  box->setText(QAccessible::Value, "ab@c");
  EXPECT_EQ(name->text(), "ABC");
  Ok(r);
  EXPECT_FALSE(r.window.isVisible());
  EXPECT_EQ(r.shared.image.GetAlphaTag(r.At("Selcall Ident") + 4), "ABC");
}

// OK without an edit stores the ident the window loaded back as it was:
// every way of F digits among the five shown positions (shown as blanks)
// comes back in its place, with no question, whatever the focus did.
struct LoadedIdentCase {
  uint8_t stored[4];
  uint8_t written[4];
  bool asked;  // a hidden digit other than F is about to become F
};

std::vector<LoadedIdentCase> LoadedIdentCases() {
  std::vector<LoadedIdentCase> cases;
  for (int mask = 0; mask < 32; ++mask) {
    std::string digits = "00012345";
    for (int p = 0; p < 5; ++p)
      if (mask & (1 << p)) digits[3 + p] = 'F';
    LoadedIdentCase c{};
    for (int i = 0; i < 4; ++i)
      c.stored[i] = c.written[i] =
          static_cast<uint8_t>(std::stoi(digits.substr(2 * i, 2), nullptr, 16));
    cases.push_back(c);
  }
  // The first three digits are not the window's; other hidden digits are
  // stored as F once the user agrees.
  cases.push_back({{0x12, 0x34, 0x5F, 0xFF}, {0x00, 0x04, 0x5F, 0xFF}, false});
  cases.push_back({{0x00, 0x01, 0xA3, 0x4B}, {0x00, 0x01, 0xF3, 0x4F}, true});
  return cases;
}

class SelcallLoadedIdent : public ::testing::TestWithParam<LoadedIdentCase> {};

TEST_P(SelcallLoadedIdent, OkWithoutAnEditStoresTheDigitsInTheirPlaces) {
  const LoadedIdentCase& c = GetParam();
  Rig r;
  for (int i = 0; i < 4; ++i) r.SetByte("Selcall Ident", c.stored[i], i);
  Rig::Show(r.window);
  auto* ident = Rig::Child<QLineEdit>(r.window, "MaskEditRadioIdent");
  const QString shown = ident->displayText();
  // The focus passes through the field and leaves it, as a user's would.
  ident->setFocus();
  Rig::Key(Qt::Key_Tab);
  EXPECT_EQ(ident->displayText(), shown);
  r.boxes.Answer({QMessageBox::Ok});
  Ok(r);
  EXPECT_EQ(r.boxes.Take().size(), c.asked ? 1u : 0u);
  EXPECT_FALSE(r.window.isVisible());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.Byte("Selcall Ident", i), c.written[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(EveryPlaceOfF, SelcallLoadedIdent,
                         ::testing::ValuesIn(LoadedIdentCases()));

}  // namespace
