#include "messagequeue.h"

#include <chrono>

#include "messages.h"
#include "transferflows.h"

void MessageQueue::PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) {
  {
    std::lock_guard<std::mutex> g(lock_);
    queue_.push_back({message, wParam, lParam});
  }
  posted_.notify_one();
}

bool MessageQueue::Take(QueuedMessage& out, int timeoutMs) {
  std::unique_lock<std::mutex> g(lock_);
  const auto ready = [this] { return !queue_.empty(); };
  if (timeoutMs < 0) {
    posted_.wait(g, ready);
  } else if (!posted_.wait_for(g, std::chrono::milliseconds(timeoutMs), ready)) {
    return false;
  }
  out = queue_.front();
  queue_.pop_front();
  return true;
}

bool MessageQueue::Empty() const {
  std::lock_guard<std::mutex> g(lock_);
  return queue_.empty();
}

void DeliverQueued(MessageQueue& queue, TransferFlows& flows, ProgressView& view) {
  QueuedMessage m;
  while (queue.Take(m, 0)) flows.HandleMessage(m.message, m.wParam, m.lParam, view);
}

int PumpTransferProgress(MessageQueue& queue, TransferFlows& flows, ProgressView& view,
                         const std::function<bool()>& closed) {
  QueuedMessage m;
  while (!(closed && closed())) {
    // The worker always ends with its finished message, whatever the radio does.
    queue.Take(m);
    flows.HandleMessage(m.message, m.wParam, m.lParam, view);
    if (m.message == WM_TRANSFER && m.wParam == kTransferFinished) return static_cast<int>(m.lParam);
  }
  return -1;
}

int PumpCancellingOnStop(MessageQueue& queue, TransferFlows& flows, ProgressView& view,
                         Event* cancelEvent, const std::function<bool()>& stopAsked) {
  bool cancelSent = false;
  return PumpTransferProgress(queue, flows, view, [&] {
    if (!cancelSent && cancelEvent && stopAsked()) {
      cancelEvent->Set();
      cancelSent = true;
    }
    return false;
  });
}
