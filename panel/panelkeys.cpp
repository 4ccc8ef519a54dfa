#include "panelkeys.h"

const std::vector<PanelKey>& PanelKeys() {
  static const std::vector<PanelKey> keys = {
      {"btnChanDown", "-", "Channel down", 0, false},
      {"btnChanUp", "+", "Channel up", 1, false},
      {"btnA", "", "A", 2, false},
      {"btnF1", "", "F1", 3, false},
      {"btnF3", "", "F3", 4, false},
      {"btnF4", "", "F4", 5, false},
      {"btnPanelPTT", "PTT", "PTT", 6, false},
      {"btnCall", "call", "Call", 7, false},
      {"btnB", "", "B", 8, false},
      {"btnF2", "", "F2", 9, false},
      {"btnF5", "", "F5", 10, true},
      {"btnSqlUp", "+", "Squelch up", 1, true},
      {"btnSqlDown", "-", "Squelch down", 0, true},
  };
  return keys;
}

KeyKind KindOf(int code) { return code == 0 || code == 1 ? KeyKind::Repeat : KeyKind::LongPress; }

void FrontPanelKeys::Down(int code) {
  if (KindOf(code) == KeyKind::Repeat) {
    repeatKey_ = code;
    repeat_.Start(kRepeatFirstMs);
  } else {
    heldKey_ = code;
    downKey_ = code;
    hold_.Start(kHoldMs);
  }
  send_(code, kKeyPressed);
}

void FrontPanelKeys::Up(int code) {
  if (KindOf(code) == KeyKind::Repeat) {
    // The radio steps on presses only: letting go says nothing.
    repeat_.Stop();
    return;
  }
  // Only a key that is down can be let go: closing the window already let
  // go of it, and the button's own release may still follow.
  if (code != downKey_) return;
  hold_.Stop();
  heldKey_ = -1;
  downKey_ = -1;
  send_(code, kKeyReleased);
}

void FrontPanelKeys::RepeatTick() {
  repeat_.Start(kRepeatNextMs);
  send_(repeatKey_, kKeyPressed);
}

void FrontPanelKeys::HoldTick() {
  hold_.Stop();
  if (heldKey_ < 0) return;
  send_(heldKey_, kKeyHeld);
  heldKey_ = -1;
}

void FrontPanelKeys::Stop() {
  repeat_.Stop();
  hold_.Stop();
  heldKey_ = -1;
  if (downKey_ >= 0) {
    const int code = downKey_;
    downKey_ = -1;
    send_(code, kKeyReleased);
  }
}
