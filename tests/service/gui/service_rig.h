#pragma once
// A service window over one build's shared objects, a factory-fresh image
// and a simulated radio of the same model on a real pseudo-terminal. The
// window's port check opens the port as the main window's would.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>

#include "buildconfig.h"
#include "windowcontext.h"
#include "portmap.h"
#include "sharedobjects.h"
#include "simimage.h"
#include "simradio.h"
#include "param_by_name.h"

template <typename W>
class ServiceRig {
 public:
  explicit ServiceRig(const char* family, bool engineering = false)
      : build_(BuildConfig::ForFamily(family, engineering)),
        shared_(build_.productId),
        sim_(build_.productId) {
    shared_.info.SelectModel(build_.productId);
    MakeDefaultImage(build_.productId, shared_.image);
    EXPECT_TRUE(sim_.Start());
    portNumber_ = shared_.port.Ports().AddExtraDevice(sim_.DevicePath());
    window_ = std::make_unique<W>(context_);
  }
  ~ServiceRig() {
    window_->hide();
    window_.reset();
    shared_.port.Close();
  }

  // As the main window opens the panel: its port check first.
  void Show() {
    PortCheck();
    window_->show();
    QApplication::processEvents();
  }
  template <typename T>
  T* Find(const char* name) {
    T* found = window_->template findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  // Replaces an edit's text the way a user would: select all, type.
  void Type(const char* edit, const QString& text) {
    QLineEdit* e = Find<QLineEdit>(edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
  }
  QString Text(const char* edit) { return Find<QLineEdit>(edit)->text(); }
  // Lets the event loop run until `done` holds; false after timeoutMs.
  static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      QTest::qWait(5);
    }
    return true;
  }

  int Address(const char* name) const { return shared_.info.GetParamAddress(ParamByName(name)); }
  int Byte(const char* name) const { return shared_.image.GetByte(Address(name)); }
  void Put(const char* name, int value) { shared_.image.SetByte(Address(name), value); }
  std::vector<uint8_t> Bytes() const {
    return {shared_.image.Data(), shared_.image.Data() + kImageSize};
  }

  W& Window() { return *window_; }
  SimulatedRadio& Sim() { return sim_; }
  SharedObjects& Shared() { return shared_; }
  const BuildConfig& Build() const { return build_; }
  int portChecks = 0;
  bool portOpens = true;

 private:
  bool PortCheck() {
    ++portChecks;
    if (shared_.port.IsOpen()) return true;
    return portOpens && shared_.port.Open(PortMap::ComName(portNumber_), 9600);
  }

  BuildConfig build_;
  SharedObjects shared_;
  SimulatedRadio sim_;
  int portNumber_ = 0;
  WindowContext context_{build_, shared_, false, [this] { return PortCheck(); }};
  std::unique_ptr<W> window_;
};

// Every control a user can reach by keyboard has a name a screen reader
// can say.
inline void ExpectAccessibleNames(QWidget& window) {
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&window)) continue;
    // Scroll bars and scroll areas' viewports speak through their area.
    if (w->inherits("QScrollBar") || (w->parentWidget() && w->parentWidget()->inherits("QAbstractScrollArea")))
      continue;
    EXPECT_FALSE(w->accessibleName().isEmpty())
        << w->metaObject()->className() << " " << w->objectName().toStdString() << " in "
        << (w->parentWidget() ? w->parentWidget()->metaObject()->className() : "");
  }
}
