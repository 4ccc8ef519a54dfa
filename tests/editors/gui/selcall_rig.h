#pragma once
// Both selcall windows over fresh shared objects for one build, the image
// holding a byte pattern with every selcall field in its stored form, and
// helpers to drive the windows with real input.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "buildconfig.h"
#include "windowcontext.h"
#include "modal_answerer.h"
#include "frmselcallidents.h"
#include "frmselcall.h"
#include "sharedobjects.h"
#include "param_by_name.h"

struct SelcallRig {
  explicit SelcallRig(const char* family = "Merlo", bool engineering = false)
      : build(BuildConfig::ForFamily(family, engineering)), shared(build.productId) {
    shared.info.SelectModel(build.productId);
    EEPROM& image = shared.image;
    for (int a = 2; a < kImageSize; ++a) image.SetByte(a, (a * 37 + 11) & 0xFF);
    const uint8_t ident[] = {0x00, 0x04, 0x71, 0x29};
    for (int i = 0; i < 4; ++i) SetByte("Selcall Ident", ident[i], i);
    image.SetAlphaTag(At("Selcall Ident") + 4, "VAN-7");
    SetByte("Options-3", (Byte("Options-3") & 0xC0) | 0x18 | 0x01);
    SetByte("Selcall Alert Time", 12);
    SetByte("Lead Tone Length", 30);
    SetByte("Tone Length", 70);
    const char* tags[] = {"ALPHA", "", "A", "B-2", "*_*", "     ", "12345", "Z", "_____", "Q Q"};
    for (int i = 0; i < 10; ++i) image.SetAlphaTag(At("Selcall Mem") + 8 * i + 4, tags[i]);
  }

  int At(const char* name) const { return shared.info.GetParamAddress(ParamByName(name)); }
  int Byte(const char* name, int offset = 0) const {
    return shared.image.GetByte(At(name) + offset);
  }
  void SetByte(const char* name, int value, int offset = 0) {
    shared.image.SetByte(At(name) + offset, value);
  }
  std::vector<uint8_t> Image() const {
    return {shared.image.Data(), shared.image.Data() + kImageSize};
  }

  // Shows a window as the user meets it: visible, active, loaded.
  static void Show(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  // Types into whatever has the focus, key by key, as a user would.
  static void Type(const QString& text) {
    for (QChar c : text) {
      QWidget* target = QApplication::focusWidget();
      ASSERT_NE(target, nullptr);
      QTest::keyClick(target, c.toLatin1());
      QApplication::processEvents();
    }
  }
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
    // Item views commit an edit on the next turn of the event loop.
    QApplication::processEvents();
  }
  template <typename T>
  static T* Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  BuildConfig build;
  SharedObjects shared;
  WindowContext context{build, shared, false, [] { return true; }};
  TfrmSelcallIdents memories{context, nullptr};
  TfrmSelcall window{context, memories, nullptr};
  ModalAnswerer boxes;
};
