#pragma once
// One build's shared objects with a factory-fresh image of its model, and
// the context an editor window is built with. Also drives the modal
// dialogs a window opens from its own handlers.

#include <QApplication>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "buildconfig.h"
#include "windowcontext.h"
#include "eeprom.h"
#include "sharedobjects.h"
#include "simimage.h"
#include "param_by_name.h"

struct EditorRig {
  explicit EditorRig(const char* family, bool engineering = false)
      : build(BuildConfig::ForFamily(family, engineering)),
        shared(std::make_unique<SharedObjects>(build.productId)),
        context{build, *shared, false, [] { return true; }} {
    shared->info.SelectModel(build.productId);
    MakeDefaultImage(build.productId, shared->image);
  }
  EEPROM& Image() { return shared->image; }
  int Address(const char* name) const { return shared->info.GetParamAddress(ParamByName(name)); }
  int Byte(const char* name) const { return shared->image.GetByte(Address(name)); }
  void SetByte(const char* name, int value) { shared->image.SetByte(Address(name), value); }

  BuildConfig build;
  std::unique_ptr<SharedObjects> shared;
  WindowContext context;
};

inline bool SameImage(const EEPROM& a, const EEPROM& b) {
  return std::equal(a.Data(), a.Data() + kImageSize, b.Data());
}

// Runs each step, in order, once a dialog of type D is the visible modal
// window; a step usually ends by closing it.
template <typename D>
class ModalDriver : public QObject {
 public:
  ModalDriver() {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::Poll);
    timer_.start(5);
  }
  void Then(std::function<void(D&)> step) { steps_.push_back(std::move(step)); }
  bool Done() const { return steps_.empty(); }

 private:
  void Poll() {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || steps_.empty() || running_) return;
    running_ = true;
    auto step = std::move(steps_.front());
    steps_.pop_front();
    step(*dialog);
    running_ = false;
  }
  QTimer timer_;
  std::deque<std::function<void(D&)>> steps_;
  bool running_ = false;
};
