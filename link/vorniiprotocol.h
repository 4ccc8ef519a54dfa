#pragma once
// Protocol II engine: frames requests, parses replies on its own thread,
// queues them, and lets one requester at a time wait for the reply that
// matches its command.

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "engineloop.h"
#include "monitorframes.h"
#include "platform.h"
#include "vorniiframe.h"

class SerialPort;

// WM_VORNII_FAULT's first parameter: why a monitor saw no reply.
enum VornIIFault : int {
  kVornIIFaultTimeout = 1,      // "* timeout *"
  kVornIIFaultNack = 2,         // "* NACK *"
  kVornIIFaultBadChecksum = 3,  // "* bad checksum *": a frame dropped as damaged
};

struct VORN_PACKET_STRUCT_TAG {
  int32_t length = 0;
  uint8_t data[512] = {};
};

class vornII_Protocol : private EngineLoop::Framing {
 public:
  // The most bytes of one frame a monitor line shows.
  static constexpr int kMonitorFrameSize = 512;

  // buildProductId decides the reply-error-flag rule of the status and
  // channel-step commands.
  vornII_Protocol(SerialPort& port, uint32_t buildProductId);
  ~vornII_Protocol() override;
  vornII_Protocol(const vornII_Protocol&) = delete;
  vornII_Protocol& operator=(const vornII_Protocol&) = delete;

  // Sends request (bit 7 of data[0] is set here). With a reply record it
  // waits up to timeoutMs for the matching reply; every unrelated packet
  // that arrives restarts the limit. With echoedBytes > 0 only a reply
  // that repeats the request's bytes 1..echoedBytes (the address of a
  // memory read) is the reply: a late answer to an earlier request for
  // another address is dropped like a reply to another command.
  bool Transact(VORN_PACKET_STRUCT_TAG& request, VORN_PACKET_STRUCT_TAG* reply, int timeoutMs,
                int echoedBytes = 0);

  void SetNotifyEvent(Event* event);
  Event* GetResetEvent();

  bool AttachMonitor(MessageReceiver* window);
  bool DetachMonitor();
  // Copy of the frame a monitor message names (its first parameter), at
  // most count bytes; the copy is then let go. -1 when it is not kept.
  int ReadRxSlot(uint8_t* destination, int count, intptr_t ticket);
  int ReadTxSlot(uint8_t* destination, int count, intptr_t ticket);

  bool Stop();

  // Whether packet opcode byte p answers expected opcode byte e.
  bool Matches(uint8_t p, uint8_t e) const;

 private:
  enum class Verdict { kNoMatch, kMatch, kNack };
  Verdict Classify(uint8_t p, uint8_t e) const;
  // EngineLoop::Framing.
  void BytesWaiting() override;
  void DropPartialFrame() override;

  void HandleBytes(const uint8_t* bytes, int n);
  void QueuePacket(const uint8_t* payload, int length);
  bool WaitForReply(const VORN_PACKET_STRUCT_TAG& request, int echoedBytes,
                    VORN_PACKET_STRUCT_TAG& reply, int timeoutMs);

  SerialPort& port_;
  uint32_t buildProductId_;
  Event replyEvent_;
  std::atomic<Event*> notifyEvent_{nullptr};
  // Guards the parser and the reading of the listener queue together, so
  // that a requester's clear-and-reset cannot fall between the engine
  // taking stale bytes and feeding them.
  std::mutex parserLock_;
  VornIIParser parser_;
  std::mutex queueLock_;
  std::deque<VORN_PACKET_STRUCT_TAG> queue_;
  // Held while a copy is kept and its message posted, so that messages
  // reach the monitor in the order of their tickets.
  std::mutex rxPostLock_, txPostLock_;
  MonitorFrames rxFrames_, txFrames_;
  std::atomic<MessageReceiver*> monitor_{nullptr};
  EngineLoop loop_;
};
