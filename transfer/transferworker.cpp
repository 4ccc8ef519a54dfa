#include "transferworker.h"

#include <algorithm>
#include <system_error>

#include "eebuff.h"
#include "messages.h"
#include "radio.h"
#include "serialport.h"

TransferWorker::TransferWorker(TRadio& radio, EEbuffer& image, SerialPort& port)
    : radio_(radio), image_(image), port_(port) {}

TransferWorker::~TransferWorker() { WaitUntilEnded(); }

int TransferWorker::Start(const TransferFields& fields) {
  return Launch([this, fields](int number) { Run(fields, number); });
}

int TransferWorker::StartJob(std::function<void()> job, MessageReceiver* window) {
  return Launch([this, job = std::move(job), window](int number) {
    job();
    {
      std::lock_guard<std::mutex> g(outcomeLock_);
      outcome_ = TransferOutcome{number, kDirectionWrite, kTransferCompleted, false};
    }
    running_ = false;
    PostTo(window, WM_TRANSFER_CLOSED, 0, number);
  });
}

int TransferWorker::Launch(std::function<void(int number)> body) {
  std::lock_guard<std::mutex> g(lock_);
  if (thread_.joinable()) thread_.join();
  const int number = number_ + 1;
  running_ = true;
  try {
    thread_ = std::thread(std::move(body), number);
  } catch (const std::system_error&) {
    running_ = false;
    return 0;
  }
  number_ = number;
  return number;
}

void TransferWorker::WaitUntilEnded() {
  std::lock_guard<std::mutex> g(lock_);
  if (thread_.joinable()) thread_.join();
}

TransferOutcome TransferWorker::LastOutcome() const {
  std::lock_guard<std::mutex> g(outcomeLock_);
  return outcome_;
}

// The first failed command ends the loop: no retries, and the image keeps
// the blocks that arrived before it.
int TransferWorker::CopyBlocks(const TransferFields& f, EEbuffer& image, int& stoppedAt) {
  const bool chosen = !f.onlyBlocks.empty();
  const int blockSize = f.arrayFlag && !chosen ? kArrayBlockSize : kBlockSize;
  uint8_t buffer[kArrayBlockSize] = {};
  int address = f.startAddress;
  for (;;) {
    const size_t block = static_cast<size_t>(address / kBlockSize);
    if (chosen && (block >= f.onlyBlocks.size() || !f.onlyBlocks[block])) {
      address += blockSize;
      if (address >= f.endAddress) return kTransferCompleted;
      continue;
    }
    stoppedAt = address;
    if (f.cancelEvent && f.cancelEvent->IsSet()) {
      f.cancelEvent->Reset();
      return kTransferCancelled;
    }
    bool ok;
    if (f.direction == kDirectionRead) {
      if (f.arrayFlag) {
        // A reply that carries fewer bytes than asked for fails the block:
        // the rest of it would keep bytes that are not the radio's.
        ok = radio_.ReadMemoryArray(address, blockSize, buffer) == blockSize;
        if (ok) image.WriteBlock(address, buffer, blockSize);
      } else {
        ok = radio_.ReadMemoryBlock(address, buffer);
        if (ok) image.WriteBlock(address, buffer, kBlockSize);
      }
    } else {
      image.ReadBlock(address, buffer, blockSize);
      if (f.testModeBeforeWrite) radio_.SetTestMode(1);  // its answer is not needed
      ok = f.arrayFlag ? radio_.WriteMemoryArray(address, blockSize, buffer)
                       : radio_.WriteMemoryBlock(address, buffer);
    }
    if (!ok) return kTransferFailed;
    stoppedAt = -1;
    address += blockSize;
    const bool last = address >= f.endAddress;
    PostTo(f.window, WM_TRANSFER, kTransferProgress, address);
    if (last) return kTransferCompleted;
  }
}

void TransferWorker::Run(TransferFields f, int number) {
  EEbuffer& image = f.image ? *f.image : image_;
  int stoppedAt = -1;
  const int result = CopyBlocks(f, image, stoppedAt);
  PostTo(f.window, WM_TRANSFER, kTransferFinished, result);

  if (f.direction == kDirectionWrite && f.statusAddress >= 0) {
    // The radio acts on its Status byte when it is written on its own.
    const int value = image.GetByte(f.statusAddress);
    if (value >= 0) radio_.WriteMemoryByte(f.statusAddress, value);
  }
  const bool resetOk = radio_.ResetRadio();
  if (f.baudRaised) port_.SetBaudRate(kDefaultBaudRate);

  {
    std::lock_guard<std::mutex> g(outcomeLock_);
    outcome_ = TransferOutcome{number, f.direction, result, !resetOk, stoppedAt};
  }
  running_ = false;
  PostTo(f.window, WM_TRANSFER_CLOSED, resetOk ? 0 : kClosedResetFailed, number);
}
