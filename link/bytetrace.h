#pragma once
// A trace file of the serial traffic, for a technician to attach to a fault
// report: every block sent and received, appended as the byte monitor's
// lines with a millisecond time stamp. The serial port writes to it from
// its reader and sending threads; each line goes to the file at once, so
// a trace of a program that then crashed is still whole.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

class MessageReceiver;

// What a user is told when the trace cannot be written: the file, the
// system's reason for errorNumber, and that the work goes on.
std::string TraceFailureText(const std::string& path, int errorNumber);

class ByteTrace {
 public:
  ByteTrace() = default;
  ~ByteTrace();
  ByteTrace(const ByteTrace&) = delete;
  ByteTrace& operator=(const ByteTrace&) = delete;

  // Opens path for appending (made when missing) and marks the start of
  // this program's traffic with the date. False, with the system's reason
  // in error, when it cannot be opened.
  bool Open(const std::string& path, const std::string& program, std::string& error);
  bool IsOpen() const;
  void Close();
  const std::string& Path() const { return path_; }

  // Where the first failed write is reported, once, as WM_TRACE_FAILED
  // with the system's error number in lParam. A failure that came before
  // the receiver (the date line of Open) is posted when it is set. The
  // trace stops writing after a failure; the traffic goes on. Set null
  // before the receiver goes away.
  void SetFailureReceiver(MessageReceiver* receiver);

  // One data line for a block (nothing for an empty one).
  void Block(bool received, const uint8_t* bytes, int count);
  // A line as it is: "Baud-rate changed to 19200".
  void Line(const std::string& text);

 private:
  void Put(const std::string& line);
  void ReportFailure();  // under lock_

  mutable std::mutex lock_;
  std::FILE* file_ = nullptr;
  std::string path_;  // set by Open, before any thread writes
  int failedErrno_ = 0;
  bool reported_ = false;
  MessageReceiver* receiver_ = nullptr;
};
