#include "workerlane.h"

#include <utility>

WorkerLane::WorkerLane(TRadio& radio, EEbuffer& image, SerialPort& port)
    : worker_(radio, image, port) {}

WorkerLane::~WorkerLane() { Stop(); }

int WorkerLane::Start(const TransferFields& fields, Ending ending) {
  Finish();
  return Began(worker_.Start(fields), fields.cancelEvent, std::move(ending));
}

int WorkerLane::StartJob(std::function<void()> job, MessageReceiver* window, Event* cancel,
                         Ending ending) {
  Finish();
  return Began(worker_.StartJob(std::move(job), window), cancel, std::move(ending));
}

int WorkerLane::Began(int number, Event* cancel, Ending ending) {
  if (number == 0) return 0;
  runningCancel_ = cancel;
  pending_ = true;
  pendingNumber_ = number;
  ending_ = std::move(ending);
  return number;
}

void WorkerLane::Closed(intptr_t number) {
  // A late message of a run whose closing steps already ran is spent.
  if (pending_ && number == pendingNumber_) RunClosingSteps();
}

void WorkerLane::Finish() {
  worker_.WaitUntilEnded();
  if (!pending_) return;
  // A copy: the delivery ends the run, and with it the run's Ending.
  const std::function<void()> deliver = ending_.deliverPending;
  if (deliver) deliver();
  if (pending_) RunClosingSteps();
}

void WorkerLane::Stop() {
  // Closing the program mid-transfer: stop at the next block rather than
  // keep the program alive for the rest of the image.
  if (worker_.IsRunning() && runningCancel_) runningCancel_->Set();
  worker_.WaitUntilEnded();
}

void WorkerLane::RunClosingSteps() {
  worker_.WaitUntilEnded();  // it has posted its last message; let it return
  pending_ = false;
  // The steps may show a message box and so run events: take them first.
  Ending ending = std::move(ending_);
  ending_ = {};
  if (ending.closingSteps) ending.closingSteps(worker_.LastOutcome());
}
