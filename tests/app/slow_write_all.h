#pragma once
// The EEPROM editor's Write All on the session's worker lane against a
// slow simulated radio: it holds the lane for many seconds, the case in
// which no timer tick may wait for it on the user-interface thread.

#include <vector>

#include "eeprom.h"
#include "eepromworker.h"
#include "messagequeue.h"
#include "messages.h"
#include "transferflows.h"
#include "simradio.h"
#include "workerlane.h"

class SlowWriteAll {
 public:
  SlowWriteAll(WorkerLane& lane, SimulatedRadio& radio) : lane_(lane), radio_(radio), worker_(lane) {}

  // Slows the radio, starts the worker and waits until it is under way.
  bool Start() {
    SimFaults slow;
    slow.replyDelayMs = 60;
    radio_.SetFaults(slow);
    WorkerLane::Ending ending;
    ending.deliverPending = [this] {
      QueuedMessage m;
      while (queue_.Take(m, 0))
        if (m.message == WM_TRANSFER_CLOSED) lane_.Closed(m.lParam);
    };
    ending.closingSteps = [this](const TransferOutcome& o) { results.push_back(o.result); };
    const size_t before = radio_.Requests().size();
    return worker_.Start(kDirectionWrite, copy_, &queue_, cancel_, std::move(ending)) &&
           radio_.WaitForRequests(before + 2, 10000);
  }
  // Cancel, as the progress dialog's button does; then the lane's finish,
  // as the next radio command does. The radio answers at speed again.
  void CancelAndFinish(TransferFlows& flows) {
    cancel_.Set();
    flows.FinishPreviousTransfer();
    radio_.SetFaults(SimFaults{});
  }

  std::vector<int> results;  // each run's outcome, from its closing steps

 private:
  WorkerLane& lane_;
  SimulatedRadio& radio_;
  EepromWorker worker_;
  EEPROM copy_;
  MessageQueue queue_;
  Event cancel_;
};
