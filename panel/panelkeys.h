#pragma once
// The front-panel keys: which button sends which key code, and the timing
// rules that turn a button held down into key events. The two channel keys
// repeat while held; every other key is a long-press key that sends
// "held" once it has been down for 1.5 s, and "released" when let go.

#include <functional>
#include <vector>

inline constexpr int kKeyPressed = 0x30;
inline constexpr int kKeyReleased = 0x10;
inline constexpr int kKeyHeld = 0x50;

inline constexpr int kFlashingMs = 250;
inline constexpr int kRepeatFirstMs = 500;
inline constexpr int kRepeatNextMs = 100;
inline constexpr int kHoldMs = 1500;

enum class KeyKind { Repeat, LongPress };

struct PanelKey {
  const char* button;      // object name
  const char* caption;     // "" when the picture carries the key's marking
  const char* accessible;  // what a screen reader says
  int code;
  bool dravoOnly;
};
const std::vector<PanelKey>& PanelKeys();

// Codes 0 and 1 (channel and squelch up/down) repeat.
KeyKind KindOf(int code);

// A restartable one-shot or periodic timer the owner supplies.
class KeyTimer {
 public:
  virtual ~KeyTimer() = default;
  virtual void Start(int ms) = 0;  // (re)starts with this interval
  virtual void Stop() = 0;
};

class FrontPanelKeys {
 public:
  using Sender = std::function<void(int code, int event)>;
  // repeat: ChAutoRepTimer, hold: FrontPanelButtonDownTimer; both fire
  // into RepeatTick() and HoldTick().
  FrontPanelKeys(Sender send, KeyTimer& repeat, KeyTimer& hold)
      : send_(std::move(send)), repeat_(repeat), hold_(hold) {}

  void Down(int code);
  void Up(int code);
  void RepeatTick();
  void HoldTick();
  // The window goes: timers stop. A long-press key still down is let go,
  // so the radio is not left transmitting on a PTT nobody holds.
  void Stop();

  int HeldKey() const { return heldKey_; }
  int RepeatKey() const { return repeatKey_; }

 private:
  Sender send_;
  KeyTimer& repeat_;
  KeyTimer& hold_;
  int heldKey_ = -1;    // long-press key whose "held" is still to come
  int repeatKey_ = -1;  // channel key being repeated
  int downKey_ = -1;    // long-press key down, "released" still to come
};
