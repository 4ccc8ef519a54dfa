#include "vorniiprotocol.h"

#include <algorithm>
#include <cstring>

#include "messages.h"
#include "radioinfo.h"
#include "radioprotocol.h"
#include "serialport.h"

namespace {
constexpr int kReadChunk = 256;

// Commands whose replies keep the request flag on radios without the
// reply-error flag (status and channel stepping).
bool KeepsRequestFlag(uint8_t command) {
  return command == OP_GET_STATUS || command == OP_STEP_UP || command == OP_STEP_DOWN;
}
}  // namespace

vornII_Protocol::vornII_Protocol(SerialPort& port, uint32_t buildProductId)
    : port_(port), buildProductId_(buildProductId), loop_(port) {
  loop_.Start(*this);
}

vornII_Protocol::~vornII_Protocol() { Stop(); }

bool vornII_Protocol::Stop() {
  loop_.Stop();
  return true;
}

void vornII_Protocol::BytesWaiting() {
  uint8_t buffer[kReadChunk];
  std::lock_guard<std::mutex> g(parserLock_);
  HandleBytes(buffer, loop_.ReadWaiting(buffer, kReadChunk));
  // A requester waiting on a port that has just closed or lost its
  // device must not sit out its whole time limit: wake it to look.
  if (!port_.IsOpen() || port_.IsLost()) replyEvent_.Set();
}

void vornII_Protocol::DropPartialFrame() {
  std::lock_guard<std::mutex> g(parserLock_);
  parser_.Reset();
}

// Called with the parser lock held.
void vornII_Protocol::HandleBytes(const uint8_t* bytes, int n) {
  for (int i = 0; i < n; ++i) {
    if (parser_.Feed(bytes[i]))
      QueuePacket(parser_.Payload(), parser_.Length());
    else if (parser_.BadChecksum())
      PostTo(monitor_.load(), WM_VORNII_FAULT, kVornIIFaultBadChecksum, 0);
  }
}

void vornII_Protocol::QueuePacket(const uint8_t* payload, int length) {
  VORN_PACKET_STRUCT_TAG packet;
  packet.length = length;
  std::memcpy(packet.data, payload, static_cast<size_t>(length));
  // The reply's monitor line goes out before the waiting requester wakes:
  // once awake it may send the next request, whose line must follow this.
  if (MessageReceiver* monitor = monitor_.load()) {
    std::lock_guard<std::mutex> g(rxPostLock_);
    PostTo(monitor, WM_VORNII_RX, rxFrames_.Keep(payload, std::min(length, kMonitorFrameSize)), length);
  }
  {
    std::lock_guard<std::mutex> g(queueLock_);
    queue_.push_back(packet);
  }
  replyEvent_.Set();
  if (Event* notify = notifyEvent_.load()) notify->Set();
}

bool vornII_Protocol::Transact(VORN_PACKET_STRUCT_TAG& request, VORN_PACKET_STRUCT_TAG* reply,
                               int timeoutMs, int echoedBytes) {
  // The length travels in one byte: a longer (or empty) request cannot be
  // framed, and a truncated frame would make the radio swallow what follows.
  if (request.length < 1 || request.length > kVornIIMaxPayload) return false;

  request.data[0] |= kRequestFlag;
  if (MessageReceiver* monitor = monitor_.load()) {
    std::lock_guard<std::mutex> g(txPostLock_);
    PostTo(monitor, WM_VORNII_TX, txFrames_.Keep(request.data, request.length), request.length);
  }

  uint8_t frame[kVornIIMaxFrame];
  const int frameLength = EncodeVornIIFrame(request.data, request.length, frame);
  {
    std::lock_guard<std::mutex> g(parserLock_);
    loop_.ClearWaiting();
    parser_.Reset();
  }
  if (!port_.Send(frame, frameLength)) return false;
  if (!reply) return true;

  echoedBytes = std::clamp(echoedBytes, 0, request.length - 1);
  const bool ok = WaitForReply(request, echoedBytes, *reply, timeoutMs);
  if (!ok) reply->length = 0;
  return ok;
}

bool vornII_Protocol::WaitForReply(const VORN_PACKET_STRUCT_TAG& request, int echoedBytes,
                                   VORN_PACKET_STRUCT_TAG& reply, int timeoutMs) {
  const uint8_t expected = request.data[0];
  auto echoes = [&](const VORN_PACKET_STRUCT_TAG& p) {
    return p.length > echoedBytes &&
           std::memcmp(p.data + 1, request.data + 1, static_cast<size_t>(echoedBytes)) == 0;
  };
  auto portGone = [this] { return !port_.IsOpen() || port_.IsLost(); };
  if (portGone()) return false;
  for (;;) {
    const int woke = WaitAny({&replyEvent_}, timeoutMs);
    if (woke == -1) {
      PostTo(monitor_.load(), WM_VORNII_FAULT, kVornIIFaultTimeout, 0);
      return false;
    }
    if (woke != 0) return false;

    bool matched = false;
    int nacks = 0;
    {
      std::lock_guard<std::mutex> g(queueLock_);
      while (!queue_.empty() && !matched) {
        const VORN_PACKET_STRUCT_TAG& p = queue_.front();
        const Verdict v = Classify(p.data[0], expected);
        if (v == Verdict::kMatch && echoes(p)) {
          reply.length = p.length;
          std::memcpy(reply.data, p.data, static_cast<size_t>(p.length));
          matched = true;
        } else if (v == Verdict::kNack) {
          ++nacks;
        }
        queue_.pop_front();
      }
      // Reset only after looking, under the lock: a packet appended later
      // signals the event again.
      replyEvent_.Reset();
    }
    for (int i = 0; i < nacks; ++i) PostTo(monitor_.load(), WM_VORNII_FAULT, kVornIIFaultNack, 0);
    if (matched) return true;
    if (portGone()) return false;
  }
}

vornII_Protocol::Verdict vornII_Protocol::Classify(uint8_t p, uint8_t e) const {
  const uint8_t command = e & kCommandMask;
  if ((p & kCommandMask) != command) return Verdict::kNoMatch;
  uint8_t b = p;
  if (!TradioInfo::HasReplyErrorFlag(buildProductId_) && KeepsRequestFlag(command))
    b &= static_cast<uint8_t>(~kRequestFlag);
  if (b & kRequestFlag) return Verdict::kNoMatch;
  return (b & kNackFlag) ? Verdict::kNack : Verdict::kMatch;
}

bool vornII_Protocol::Matches(uint8_t p, uint8_t e) const { return Classify(p, e) == Verdict::kMatch; }

void vornII_Protocol::SetNotifyEvent(Event* event) { notifyEvent_.store(event); }
Event* vornII_Protocol::GetResetEvent() { return loop_.ResetEvent(); }

// Copies kept for an earlier showing are not this showing's.
bool vornII_Protocol::AttachMonitor(MessageReceiver* window) {
  rxFrames_.Clear();
  txFrames_.Clear();
  monitor_.store(window);
  return true;
}

bool vornII_Protocol::DetachMonitor() {
  monitor_.store(nullptr);
  rxFrames_.Clear();
  txFrames_.Clear();
  return true;
}

int vornII_Protocol::ReadRxSlot(uint8_t* destination, int count, intptr_t ticket) {
  return rxFrames_.Take(ticket, destination, std::min(count, kMonitorFrameSize));
}

int vornII_Protocol::ReadTxSlot(uint8_t* destination, int count, intptr_t ticket) {
  return txFrames_.Take(ticket, destination, std::min(count, kMonitorFrameSize));
}
