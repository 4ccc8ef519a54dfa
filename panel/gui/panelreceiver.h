#pragma once
// Where the protocol I engine posts the panel's display messages. The
// engine's thread only notes which kinds of news arrived and wakes the
// window once; the window then takes the newest state of each kind on the
// user-interface thread. A burst of frames therefore costs one redraw,
// never a queue of them.

#include <QEvent>
#include <QObject>
#include <mutex>

#include "platform.h"

class PanelMessageReceiver : public MessageReceiver {
 public:
  explicit PanelMessageReceiver(QObject* target) : target_(target) {}
  // The window calls this before it goes; later posts are dropped.
  void Detach();
  void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;

  struct Pending {
    bool display = false;
    bool backlight = false;
    bool colour = false;
    // Both backlight kinds came: whether the colour was the later one.
    bool colourLast = false;
  };
  // Takes (and clears) what arrived since the last wake-up event.
  Pending Take();

  // The wake-up event's type.
  static QEvent::Type EventType();

 private:
  std::mutex lock_;
  QObject* target_;
  bool posted_ = false;
  Pending pending_;
};
