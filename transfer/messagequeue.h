#pragma once
// A window's message queue without windows: the worker posts into it, the
// user-interface thread of the command-line tool (or a test) takes the
// messages out and hands them to TransferFlows.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "platform.h"

class ProgressView;
class TransferFlows;

struct QueuedMessage {
  unsigned message = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

class MessageQueue : public MessageReceiver {
 public:
  void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;
  // Takes the oldest message, waiting up to timeoutMs (-1 = no limit).
  bool Take(QueuedMessage& out, int timeoutMs = -1);
  bool Empty() const;

 private:
  mutable std::mutex lock_;
  std::condition_variable posted_;
  std::deque<QueuedMessage> queue_;
};

// Hands every queued message to flows (no waiting).
void DeliverQueued(MessageQueue& queue, TransferFlows& flows, ProgressView& view);

// The progress display's life without a window: handles the worker's
// messages until the transfer finished (the display would close itself or
// show its result text) or `closed` reports the display closed (a cancel
// click). Returns the finished result, or -1 when closed first.
int PumpTransferProgress(MessageQueue& queue, TransferFlows& flows, ProgressView& view,
                         const std::function<bool()>& closed = {});

// The same, where a stop asked for (Ctrl-C, a batch's Stop) plays the
// Cancel button: the first time stopAsked holds, cancelEvent is set, so the
// worker stops before its next block and still resets the radio, and the
// pump carries on to the finished message. A stop asked for as the worker
// started is not lost in its reset of the event: it goes with the next block.
int PumpCancellingOnStop(MessageQueue& queue, TransferFlows& flows, ProgressView& view,
                         Event* cancelEvent, const std::function<bool()>& stopAsked);
