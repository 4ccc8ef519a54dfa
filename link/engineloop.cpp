#include "engineloop.h"

#include <functional>

#include "serialport.h"

EngineLoop::EngineLoop(SerialPort& port) : port_(port) {
  listenerId_ = port_.RegisterListener(&listenerEvent_);
}

EngineLoop::~EngineLoop() { Stop(); }

void EngineLoop::Start(Framing& framing) {
  if (stopped_ || thread_.joinable()) return;
  thread_ = std::thread(&EngineLoop::Run, this, std::ref(framing));
}

void EngineLoop::Stop() {
  if (stopped_) return;
  port_.UnregisterListener(listenerId_);
  stopEvent_.Set();
  if (thread_.joinable()) thread_.join();
  stopped_ = true;
}

int EngineLoop::ReadWaiting(uint8_t* destination, int maximum) {
  return port_.ReadListener(destination, maximum, listenerId_);
}

void EngineLoop::ClearWaiting() { port_.ClearListener(listenerId_); }

void EngineLoop::Run(Framing& framing) {
  for (;;) {
    const int which = WaitAny({&stopEvent_, &listenerEvent_, &resetEvent_});
    if (which == 0) {
      stopEvent_.Reset();
      return;
    }
    if (which < 0) return;
    if (which == 1) {
      framing.BytesWaiting();
    } else {
      // Reset the event first: a signal that lands while the partial frame
      // is being dropped is then not lost.
      resetEvent_.Reset();
      framing.DropPartialFrame();
    }
  }
}
