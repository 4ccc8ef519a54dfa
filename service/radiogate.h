#pragma once
// One radio command at a time. TRadio has a single request and reply
// record, and a window's timers, key repeats and clicks all run on the
// user-interface thread; a nested event loop (a message box, a wait that
// keeps the window painted) could still let a tick start a command in the
// middle of another procedure. Every radio action runs through the gate:
// one that arrives while another is in progress is skipped, not queued.

class RadioGate {
 public:
  bool Busy() const { return busy_; }

  // Runs `work` unless an action is in progress; false when skipped.
  template <typename Work>
  bool Run(Work&& work) {
    if (busy_) return false;
    busy_ = true;
    struct Release {
      bool& busy;
      ~Release() { busy = false; }
    } release{busy_};
    work();
    return true;
  }

 private:
  bool busy_ = false;
};
