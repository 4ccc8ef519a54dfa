#pragma once
// The thread each protocol engine runs. It listens on the serial port for
// the engine and sleeps until bytes arrive, the other engine completes a
// frame (so a partial one here is stale), or it is stopped; the engine's
// own framing does the rest.

#include <cstdint>
#include <thread>

#include "platform.h"

class SerialPort;

class EngineLoop {
 public:
  // What the loop asks of its engine, on the loop's thread.
  class Framing {
   public:
    virtual ~Framing() = default;
    // Bytes are waiting: take them with ReadWaiting and frame them.
    virtual void BytesWaiting() = 0;
    // The other engine completed a frame: drop any partial one. The
    // reset event is already clear, so a signal that lands meanwhile is
    // not lost.
    virtual void DropPartialFrame() = 0;
  };

  // Registers with the port at once, so that no byte received from now
  // on is missed; the thread starts with Start.
  explicit EngineLoop(SerialPort& port);
  ~EngineLoop();
  EngineLoop(const EngineLoop&) = delete;
  EngineLoop& operator=(const EngineLoop&) = delete;

  // framing must outlive the thread: its engine stops the loop first.
  void Start(Framing& framing);
  // Unregisters from the port (which outlives the engine) and ends the
  // thread; later calls do nothing.
  void Stop();

  // At most maximum of the bytes received for this engine; the count.
  int ReadWaiting(uint8_t* destination, int maximum);
  // Forgets the bytes received for this engine and not yet taken.
  void ClearWaiting();
  // Set by the other engine when it completes a frame.
  Event* ResetEvent() { return &resetEvent_; }

 private:
  void Run(Framing& framing);

  SerialPort& port_;
  int listenerId_ = -1;
  Event listenerEvent_, resetEvent_, stopEvent_;
  bool stopped_ = false;
  std::thread thread_;
};
