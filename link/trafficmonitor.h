#pragma once
// What the traffic monitors show: the byte monitor over the serial port's
// taps and the packet monitors over the protocol engines' frame copies. Each
// monitor turns the messages its source posts into memo lines; the
// windows only show the lines. The sources do nothing for a monitor that
// is not attached.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "monitorlines.h"

class SerialPort;
class vornI_Protocol;
class vornII_Protocol;
class MessageReceiver;

inline constexpr const char* kMonitorRunning = "------ running ------";
inline constexpr const char* kMonitorPaused = "------ paused ------";

class TrafficMonitor {
 public:
  virtual ~TrafficMonitor() = default;

  // Attaches to the source (posting to `window`) and runs; the line to
  // show first.
  std::string Attach(MessageReceiver* window, MonitorTime now);
  // Detaches from the source and pauses.
  void Detach();
  // Each gives the line to add, or nothing when the state does not change.
  std::optional<std::string> Start(MonitorTime now);
  std::optional<std::string> Pause(MonitorTime now);

  bool IsRunning() const { return running_; }
  bool IsAttached() const { return attached_; }

  // One posted message: the line it adds, if any. A message that was
  // already on its way when the monitor detached is dropped.
  std::optional<std::string> Handle(unsigned message, intptr_t wParam, intptr_t lParam,
                                    MonitorTime now);

 protected:
  virtual void AttachSource(MessageReceiver* window) = 0;
  virtual void DetachSource() = 0;
  virtual std::optional<std::string> HandleMessage(unsigned message, intptr_t wParam,
                                                   intptr_t lParam, MonitorTime now) = 0;
  // The start/pause line: the byte monitor's carries no time.
  virtual std::string StateLine(const char* state, MonitorTime now) const = 0;

 private:
  bool running_ = false;
  bool attached_ = false;
};

// Raw blocks read from or queued for the line, as the port's taps hold them.
class ByteMonitor : public TrafficMonitor {
 public:
  // Enough for the longest frame either protocol sends in one block.
  static constexpr int kMaxTake = 1024;
  explicit ByteMonitor(SerialPort& port) : port_(port) {}
  void SetDecodeAscii(bool on) { decodeAscii_ = on; }
  bool DecodeAscii() const { return decodeAscii_; }

 protected:
  void AttachSource(MessageReceiver* window) override;
  void DetachSource() override;
  std::optional<std::string> HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam,
                                           MonitorTime now) override;
  std::string StateLine(const char* state, MonitorTime now) const override;

 private:
  SerialPort& port_;
  bool decodeAscii_ = false;
};

// Shared by both packet monitors: data lines from the engines' frame copies, the timed
// state lines.
class PacketMonitor : public TrafficMonitor {
 protected:
  std::string StateLine(const char* state, MonitorTime now) const override;
  // "[" time "] Rx[" length "] " and the bytes.
  static std::string DataLine(MonitorTime now, bool received, intptr_t length, const uint8_t* bytes,
                              int shown);
  // The data line of the frame a message names, while running.
  template <typename Engine>
  std::optional<std::string> FrameLine(Engine& engine, unsigned message, unsigned rxMessage,
                                      unsigned txMessage, intptr_t wParam, intptr_t lParam,
                                      MonitorTime now);
};

// Every protocol II request and reply payload, time-outs, refusals and
// damaged frames.
class VornIIPacketMonitor : public PacketMonitor {
 public:
  explicit VornIIPacketMonitor(vornII_Protocol& engine) : engine_(engine) {}

 protected:
  void AttachSource(MessageReceiver* window) override;
  void DetachSource() override;
  std::optional<std::string> HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam,
                                           MonitorTime now) override;

 private:
  vornII_Protocol& engine_;
};

// Every protocol I frame received or sent, all its bytes in wire order.
class VornIPacketMonitor : public PacketMonitor {
 public:
  explicit VornIPacketMonitor(vornI_Protocol& engine) : engine_(engine) {}

 protected:
  void AttachSource(MessageReceiver* window) override;
  void DetachSource() override;
  std::optional<std::string> HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam,
                                           MonitorTime now) override;

 private:
  vornI_Protocol& engine_;
};
