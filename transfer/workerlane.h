#pragma once
// The one lane for whole-memory workers. TRadio serves one command at a
// time, so every worker that copies the memory (the main transfer, the
// EEPROM editor's Read All and Write All) runs on this lane's one
// TransferWorker, and every radio command, from any window, first lets
// whatever ran before end and have its closing steps carried out.
//
// A run ends twice: its thread returns, and its window carries out the
// closing steps that touch windows when the worker's WM_TRANSFER_CLOSED
// arrives. A Cancel click lets the user go on before either, so Finish()
// does both at once when a radio command comes first.

#include <cstdint>
#include <functional>

#include "transferworker.h"

class EEbuffer;
class SerialPort;
class TRadio;

class WorkerLane {
 public:
  // How one run ends on the user-interface thread.
  struct Ending {
    // Hands the messages the worker posted to its window over to the
    // window's handler now, so they run in their usual order (the last one
    // calls Closed). May be empty.
    std::function<void()> deliverPending;
    // The window's closing steps, given what the worker found out.
    std::function<void(const TransferOutcome&)> closingSteps;
  };

  // `image` is what a run copies when its fields name none.
  WorkerLane(TRadio& radio, EEbuffer& image, SerialPort& port);
  ~WorkerLane();  // stops a running worker (see Stop)
  WorkerLane(const WorkerLane&) = delete;
  WorkerLane& operator=(const WorkerLane&) = delete;

  // Finishes the previous run, then starts `fields`. Returns the run's
  // number, or 0 when no thread could be started (nothing is pending then).
  int Start(const TransferFields& fields, Ending ending);
  // The same for a job that runs radio commands of its own on the lane's
  // thread (a batch of radios); cancel is what stops it early.
  int StartJob(std::function<void()> job, MessageReceiver* window, Event* cancel, Ending ending);

  // The worker's WM_TRANSFER_CLOSED (lParam = its number) reached its
  // window: that run's closing steps, unless they already ran.
  void Closed(intptr_t number);

  // Before any radio command: waits for a running worker, then makes sure
  // its closing steps have been carried out.
  void Finish();

  // The program is closing: a running worker is asked to stop at its next
  // block and waited for. No closing steps run.
  void Stop();

  // A worker is copying the memory: a timer tick or other command that
  // is not the user's passes rather than wait for it on the GUI thread.
  bool Busy() const { return worker_.IsRunning(); }
  bool ClosePending() const { return pending_; }
  TransferWorker& Worker() { return worker_; }

 private:
  int Began(int number, Event* cancel, Ending ending);
  void RunClosingSteps();

  TransferWorker worker_;
  Event* runningCancel_ = nullptr;
  bool pending_ = false;
  int pendingNumber_ = 0;
  Ending ending_;
};
