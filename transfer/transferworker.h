#pragma once
// The whole-memory transfer thread. It copies the image to or from the
// radio block by block, reports through posted messages only and never
// waits for a window. After the loop it does the radio's closing steps
// (Status byte, reset, baud rate back to 9600) and posts WM_TRANSFER_CLOSED
// so the window can carry out the closing steps that touch the user
// interface on its own thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform.h"

class EEbuffer;
class SerialPort;
class TRadio;

// WM_TRANSFER_CLOSED is posted once by the worker as its very last act.
// wParam: the closing flags below; lParam: the transfer's number
// (TransferWorker::Start), so a window can tell a late message of an old
// transfer from the current one.
inline constexpr intptr_t kClosedResetFailed = 1;

// WM_TRANSFER wParam values and the finished results.
inline constexpr intptr_t kTransferProgress = 0;
inline constexpr intptr_t kTransferFinished = 1;
enum TransferResult : int { kTransferCompleted = 0, kTransferFailed = 1, kTransferCancelled = 2 };

enum TransferDirection : int { kDirectionRead = 0, kDirectionWrite = 1 };

inline constexpr int kBlockSize = 16;
inline constexpr int kArrayBlockSize = 128;
inline constexpr uint32_t kDefaultBaudRate = 9600;

struct TransferFields {
  int startAddress = 0;
  int endAddress = 2047;
  int direction = kDirectionRead;
  bool arrayFlag = false;
  bool baudRaised = false;  // put the serial port back to 9600 at the end
  int statusAddress = -1;   // write direction: the "Status" byte, -1 = none
  // The EEPROM editor's writes: test mode 1 before each block.
  bool testModeBeforeWrite = false;
  // Plain blocks only: block i (at i * kBlockSize) is copied when entry i
  // is set; empty copies every block from startAddress to endAddress.
  std::vector<bool> onlyBlocks;
  EEbuffer* image = nullptr;  // what is copied; none: the worker's own image
  MessageReceiver* window = nullptr;
  Event* cancelEvent = nullptr;
};

// What the worker found out, readable once it has ended.
struct TransferOutcome {
  int number = 0;  // the transfer's number, 0 = none has run
  int direction = kDirectionRead;
  int result = kTransferCompleted;
  bool resetFailed = false;
  // The address of the block the run stopped at (failed or cancelled);
  // every chosen block below it was copied. -1 when none stopped it.
  int stoppedAt = -1;
};

class TransferWorker {
 public:
  TransferWorker(TRadio& radio, EEbuffer& image, SerialPort& port);
  ~TransferWorker();  // waits for a running transfer to end
  TransferWorker(const TransferWorker&) = delete;
  TransferWorker& operator=(const TransferWorker&) = delete;

  // Starts one transfer on a new thread; an earlier one is waited for
  // first, so two never overlap. Returns the transfer's number (1, 2, ...)
  // or 0 when no thread could be started (nothing is posted then).
  int Start(const TransferFields& fields);
  // Runs a longer radio job on the same thread slot (a batch of radios
  // that runs transfers of its own), so it never overlaps a transfer
  // either. WM_TRANSFER_CLOSED (wParam 0) goes to window when it returns.
  int StartJob(std::function<void()> job, MessageReceiver* window);

  // Returns once no transfer thread is running. Every radio command that
  // could follow a transfer goes through this first: TRadio serves one
  // command at a time, and Cancel lets the user go on before the worker
  // has finished its closing steps.
  void WaitUntilEnded();
  bool IsRunning() const { return running_; }

  // The last transfer's outcome; meaningful after WaitUntilEnded.
  TransferOutcome LastOutcome() const;

 private:
  int Launch(std::function<void(int number)> body);
  void Run(TransferFields fields, int number);
  int CopyBlocks(const TransferFields& f, EEbuffer& image, int& stoppedAt);

  TRadio& radio_;
  EEbuffer& image_;
  SerialPort& port_;
  std::mutex lock_;  // Start/WaitUntilEnded from any thread
  std::thread thread_;
  std::atomic<bool> running_{false};
  int number_ = 0;
  mutable std::mutex outcomeLock_;
  TransferOutcome outcome_;
};
