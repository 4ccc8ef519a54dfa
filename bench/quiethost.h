#pragma once
// A transfer host with nothing to show and no one to ask: every question
// is answered Cancel and every notice goes nowhere. Benchmarks derive from
// it and override only what they watch.

#include <functional>
#include <string>

#include "transferhost.h"

class QuietHost : public TransferHost {
 public:
  void ShowMessage(const std::string&, const std::string&, PromptIcon) override {}
  bool AskOkCancel(QuestionId, const std::string&, const std::string&, PromptIcon) override {
    return false;
  }
  void RunTransfer(const ProgressSetup&, const std::function<bool()>&) override {}
  void DeliverPendingMessages() override {}
};
