#pragma once
// Protocol I engine: recognises front-panel frames in the shared receive
// stream, keeps the latest display state, answers announcements, and
// sends key events and display polls.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "engineloop.h"
#include "monitorframes.h"
#include "platform.h"
#include "vorniframe.h"

class SerialPort;

struct BacklightColour {
  uint16_t red = 0, green = 0, blue = 0;
};

class vornI_Protocol : private EngineLoop::Framing {
 public:
  // The most bytes of one frame a monitor line shows.
  static constexpr int kMonitorFrameSize = 100;

  explicit vornI_Protocol(SerialPort& port);
  ~vornI_Protocol() override;
  vornI_Protocol(const vornI_Protocol&) = delete;
  vornI_Protocol& operator=(const vornI_Protocol&) = delete;

  bool SendKey(uint8_t key);
  bool SendPoll(uint8_t argument);

  void SetDisplayWindow(MessageReceiver* window);
  void AttachMonitor(MessageReceiver* window);
  void DetachMonitor();
  void SetNotifyEvent(Event* event);
  Event* GetResetEvent();

  void CopyDisplayBytes(uint8_t* destination10);
  int32_t CopyBacklight();
  BacklightColour CopyBacklightColour();
  // Copy of the frame a monitor message names (its first parameter), at
  // most count bytes; the copy is then let go. -1 when it is not kept.
  int ReadRxSlot(uint8_t* destination, int count, intptr_t ticket);
  int ReadTxSlot(uint8_t* destination, int count, intptr_t ticket);

  bool Stop();

  // Runs bytes through recognition and handling as the engine thread
  // does (under the engine lock).
  void HandleBytes(const uint8_t* bytes, int n);

 private:
  // EngineLoop::Framing.
  void BytesWaiting() override;
  void DropPartialFrame() override;

  void HandleFrame(int length);
  bool SendFrame(uint8_t marker, uint8_t command, const uint8_t* payload, int n);

  SerialPort& port_;
  std::atomic<Event*> notifyEvent_{nullptr};
  std::recursive_mutex lock_;
  VornIRecogniser recogniser_;
  uint8_t display_[10] = {};
  int32_t backlight_ = 0;
  BacklightColour colour_;
  MonitorFrames rxFrames_, txFrames_;
  std::mutex txLock_;
  std::atomic<MessageReceiver*> displayWindow_{nullptr};
  std::atomic<MessageReceiver*> monitor_{nullptr};
  EngineLoop loop_;
};
