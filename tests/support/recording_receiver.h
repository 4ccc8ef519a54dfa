#pragma once
// A MessageReceiver that records every posted message, for tests.

#include <mutex>
#include <vector>

#include "platform.h"

struct PostedMessage {
  unsigned message;
  intptr_t wParam;
  intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

class RecordingReceiver : public MessageReceiver {
 public:
  void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) override {
    std::lock_guard<std::mutex> g(lock_);
    messages_.push_back({message, wParam, lParam});
  }
  std::vector<PostedMessage> Messages() const {
    std::lock_guard<std::mutex> g(lock_);
    return messages_;
  }
  std::vector<PostedMessage> Messages(unsigned message) const {
    std::lock_guard<std::mutex> g(lock_);
    std::vector<PostedMessage> out;
    for (const auto& m : messages_)
      if (m.message == message) out.push_back(m);
    return out;
  }
  void Clear() {
    std::lock_guard<std::mutex> g(lock_);
    messages_.clear();
  }

 private:
  mutable std::mutex lock_;
  std::vector<PostedMessage> messages_;
};
