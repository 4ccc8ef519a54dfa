#include "simradio.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "params.h"
#include "radioinfo.h"
#include "radioprotocol.h"
#include "vorniframe.h"

namespace {
using Clock = SimPty::Clock;
constexpr int kReadChunk = 512;
constexpr int kLineLostRetryMs = 20;
constexpr int kHangUpDrainMs = 500;
constexpr int kHangUpSettleMs = 20;

bool MakePipe(int fds[2]) { return pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0; }

void ClosePipe(int fds[2]) {
  for (int i = 0; i < 2; ++i) {
    if (fds[i] >= 0) close(fds[i]);
    fds[i] = -1;
  }
}

void Poke(int fd) {
  const uint8_t b = 1;
  if (fd >= 0) (void)!write(fd, &b, 1);
}

void Drain(int fd) {
  uint8_t buffer[64];
  while (fd >= 0 && read(fd, buffer, sizeof buffer) > 0) {
  }
}
}  // namespace

SimulatedRadio::SimulatedRadio(uint32_t productId) : core_(productId) {
  lastDisplay_ = core_.DisplayBytes();
  if (!MakePipe(stop_) || !MakePipe(wake_)) {
    ClosePipe(stop_);
    ClosePipe(wake_);
  }
}

SimulatedRadio::~SimulatedRadio() {
  Stop();
  ClosePipe(stop_);
  ClosePipe(wake_);
}

// ---- Serving ----

bool SimulatedRadio::Start() {
  Stop();
  if (stop_[0] < 0 || !pty_.Open()) return false;
  Drain(stop_[0]);
  Drain(wake_[0]);
  parser_.Reset();
  panel_.Reset();
  inputClock_ = Clock::now();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    devicePath_ = pty_.SlavePath();
    serving_ = true;
    counters_.hungUp = false;
    lastDisplay_ = core_.DisplayBytes();
    lastBacklight_ = core_.state.backlight;
    nextAnnouncement_ = Clock::now() + std::chrono::milliseconds(announceMs_);
  }
  thread_ = std::thread(&SimulatedRadio::Serve, this);
  return true;
}

void SimulatedRadio::Stop() {
  if (thread_.joinable()) {
    Poke(stop_[1]);
    thread_.join();
  }
  pty_.Close();
  std::lock_guard<std::mutex> lock(mutex_);
  serving_ = false;
}

bool SimulatedRadio::IsServing() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return serving_;
}

std::string SimulatedRadio::DevicePath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return devicePath_;
}

void SimulatedRadio::Serve() {
  uint8_t buffer[kReadChunk];
  while (pty_.IsOpen()) {
    int timeoutMs = -1;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (announceMs_ > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(nextAnnouncement_ - Clock::now());
        timeoutMs = static_cast<int>(std::max<int64_t>(0, left.count()));
      }
    }
    pollfd fds[3] = {{stop_[0], POLLIN, 0}, {wake_[0], POLLIN, 0}, {pty_.Master(), POLLIN, 0}};
    const int n = poll(fds, 3, timeoutMs);
    if (n < 0 && errno != EINTR) break;
    if (fds[0].revents) break;
    if (fds[1].revents & POLLIN) Drain(wake_[0]);
    if (fds[2].revents & POLLIN) {
      const ssize_t got = read(pty_.Master(), buffer, sizeof buffer);
      if (got > 0) OnBytes(buffer, static_cast<int>(got));
    } else if (fds[2].revents & (POLLHUP | POLLERR)) {
      // Nobody holds the slave open (it cannot happen while our own
      // descriptor lives, but never spin on it).
      if (SimSleepUntil(Clock::now() + std::chrono::milliseconds(kLineLostRetryMs), stop_[0])) break;
    }
    if (!pty_.IsOpen()) break;

    bool announce = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      const bool due = announceMs_ > 0 && Clock::now() >= nextAnnouncement_;
      announce = announceNow_ || due;
      announceNow_ = false;
      if (due) nextAnnouncement_ = Clock::now() + std::chrono::milliseconds(announceMs_);
      if (announce) {
        ++counters_.announcements;
        counters_.ackPending = true;
      }
    }
    if (announce) SendFrame(SimAnnouncementFrame());
    std::vector<std::vector<uint8_t>> colours;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      colours.swap(colourFrames_);
      counters_.colourFrames += static_cast<int>(colours.size());
    }
    for (auto& frame : colours) SendFrame(std::move(frame));
    PushDisplayIfChanged();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  serving_ = false;
}

void SimulatedRadio::OnBytes(const uint8_t* bytes, int count) {
  uint32_t rate;
  bool pace;
  bool echo;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    rate = core_.state.lineRate;
    pace = faults_.Faults().pace;
    echo = faults_.Faults().echo;
  }
  // The lead hands the bytes back whatever the radio makes of them, at
  // whatever rate they were sent.
  if (echo) pty_.Write(bytes, count, stop_[0], 0);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (checkLineRate_ && pty_.ProgramSpeed() != rate) {
      counters_.rateMismatches += count;
      return;
    }
  }
  for (int i = 0; i < count && pty_.IsOpen(); ++i) {
    const uint8_t b = bytes[i];
    // Bytes arrive one wire time apart, however fast the pty delivered them.
    if (pace) inputClock_ = std::max(inputClock_, Clock::now()) + SimWireTime(1, rate);
    const bool insideFrame = parser_.State() >= 3;
    const bool frameDone = parser_.Feed(b);
    const bool panelDone = panel_.Feed(b);
    if (parser_.BadChecksum()) {
      std::lock_guard<std::mutex> lock(mutex_);
      ++counters_.badFrames;
    }
    if (frameDone) {
      panel_.Reset();  // a completed request discards any half-seen panel frame
      OnRequest(parser_.Payload(), parser_.Length(), lastByte_);
    } else if (panelDone && !insideFrame) {
      parser_.Reset();
      OnPanelFrame();
    }
    lastByte_ = b;
  }
}

std::vector<uint8_t> SimulatedRadio::EncodeFrame(const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> frame(kVornIIMaxFrame);
  frame.resize(static_cast<size_t>(
      EncodeVornIIFrame(payload.data(), static_cast<int>(payload.size()), frame.data())));
  return frame;
}

void SimulatedRadio::ReplyDamage::ApplyTo(std::vector<uint8_t>& frame,
                                          std::vector<uint8_t> payload) const {
  // A one-byte acknowledgement is damaged like any longer reply: the write
  // paths must meet a spoilt acknowledgement too.
  if (frame.size() < 2 || payload.empty()) return;
  uint8_t& checksum = frame[frame.size() - 2];
  if (flipByte) {
    // The damage happened on the line, after the radio summed its payload.
    const uint8_t goodSum = checksum;
    payload.back() ^= 0x01;
    frame = EncodeFrame(payload);
    frame[frame.size() - 2] = goodSum;
  } else if (badChecksum) {
    checksum ^= 0x01;
  }
}

// Called with the lock held, for a request the radio carried out.
SimulatedRadio::ReplyDamage SimulatedRadio::PlanDamage(const SimRequest& request,
                                                       std::vector<uint8_t>& reply,
                                                       std::vector<uint8_t>& stale) {
  const SimFaults& f = faults_.Faults();
  ReplyDamage damage;
  damage.flipByte = faults_.Due(f.flipByte, request.command);
  damage.badChecksum = faults_.Due(f.badChecksum, request.command);
  if (request.command == OP_READ_ARRAY && f.shortArrayBytes >= 0 && reply.size() > 4 &&
      reply[3] > f.shortArrayBytes) {
    reply[3] = static_cast<uint8_t>(f.shortArrayBytes);
    reply.resize(4 + static_cast<size_t>(f.shortArrayBytes));
  }
  if (request.command == f.staleReplyOpcode && request.payload.size() >= 3) {
    // The answer to an earlier read of the block before, arriving late.
    std::vector<uint8_t> earlier = request.payload;
    const int address = ((earlier[1] << 8 | earlier[2]) + kImageSize - 16) % kImageSize;
    earlier[1] = static_cast<uint8_t>(address >> 8);
    earlier[2] = static_cast<uint8_t>(address);
    if (!core_.Execute(earlier.data(), static_cast<int>(earlier.size()), stale)) stale.clear();
  }
  return damage;
}

void SimulatedRadio::OnRequest(const uint8_t* payload, int length, uint8_t checksum) {
  SimRequest request;
  request.command = payload[0] & 0x3F;
  request.payload.assign(payload, payload + length);
  ReplyDamage damage;
  std::vector<uint8_t> stale;

  std::unique_lock<std::mutex> lock(mutex_);
  // The radio drops what it cannot trust: a damaged frame, or one that is
  // not a request (another radio's reply on a shared line).
  if (VornIIChecksum(payload, length) != checksum || !(payload[0] & kRequestFlag)) {
    ++counters_.badFrames;
    return;
  }
  ++counters_.requests;
  if (!switchedOn_) {
    // Heard on the line, never answered: a radio without power.
    log_.push_back(request);
    logChanged_.notify_all();
    const auto observer = observer_;
    lock.unlock();
    if (observer) observer(request);
    return;
  }
  const SimVerdict verdict = faults_.Decide(request.command);
  std::vector<uint8_t> reply;
  if (verdict == SimVerdict::Answer || verdict == SimVerdict::Nack) {
    request.replied = true;
    // A lost write is carried out on a copy of the memory that is then
    // thrown away: the reply is the one a stored write gets.
    const bool lose = verdict == SimVerdict::Answer &&
                      faults_.Once(faults_.Faults().lostWrite, request.command);
    const EEPROM kept = lose ? core_.memory : EEPROM(0);
    const bool ok = verdict == SimVerdict::Answer && core_.Execute(payload, length, reply);
    if (lose) core_.memory = kept;
    if (!ok && verdict == SimVerdict::Nack) reply = core_.Refusal(request.command);
    ++counters_.replies;
    if (!ok) ++counters_.nacks;
    if (ok) damage = PlanDamage(request, reply, stale);
    if (faults_.LoseReply()) {
      request.replied = false;
      ++counters_.lostReplies;
      --counters_.replies;
    }
  }
  log_.push_back(request);
  logChanged_.notify_all();
  const SimFaults faults = faults_.Faults();
  const uint32_t rate = core_.state.lineRate;
  const auto observer = observer_;
  lock.unlock();

  if (verdict == SimVerdict::HangUp) {
    if (observer) observer(request);
    HangUpLine();
    return;
  }
  if (request.replied) {
    if (faults.replyDelayMs > 0 &&
        SimSleepUntil(Clock::now() + std::chrono::milliseconds(faults.replyDelayMs), stop_[0])) {
      return;
    }
    if (faults.pace && SimSleepUntil(inputClock_, stop_[0])) return;
    std::vector<uint8_t> noise;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      noise = faults_.Noise();
    }
    if (!noise.empty()) pty_.Write(noise.data(), static_cast<int>(noise.size()), stop_[0], faults.pace ? rate : 0);
    if (!stale.empty()) SendFrame(EncodeFrame(stale), rate);
    std::vector<uint8_t> frame = EncodeFrame(reply);
    damage.ApplyTo(frame, reply);
    // Observers see the new rate as soon as the reply is out; the reply
    // itself still travels at the old one.
    ApplyPendingRate();
    SendFrame(std::move(frame), rate);
  }
  if (observer) observer(request);
  bool hangUp = false;
  if (request.replied) {
    std::lock_guard<std::mutex> guard(mutex_);
    hangUp = faults_.Answered(request.command);
  }
  PushDisplayIfChanged();
  if (hangUp) HangUpLine();
}

// A rate switch or a reset moves the radio to its new rate.
void SimulatedRadio::ApplyPendingRate() {
  std::lock_guard<std::mutex> lock(mutex_);
  const uint32_t rate = core_.TakePendingLineRate();
  if (rate) core_.state.lineRate = rate;
}

void SimulatedRadio::OnPanelFrame() {
  const uint8_t command = panel_.Command();
  const uint8_t marker = panel_.Marker();
  std::unique_lock<std::mutex> lock(mutex_);
  if (marker == kVornIMarkerA && command == kSimCmdKey) {
    ++counters_.keys;
    keys_.push_back(panel_.Payload()[0]);
    core_.HandleKey(panel_.Payload()[0]);
  } else if (marker == kVornIMarkerA && command == kSimCmdPoll) {
    ++counters_.polls;
    ++counters_.displayFrames;
    lastDisplay_ = core_.DisplayBytes();
    const auto display = lastDisplay_;
    lock.unlock();
    SendFrame(SimDisplayFrame(display));
    return;
  } else if (IsSimAcknowledgement(panel_)) {
    ++counters_.acksReceived;
    counters_.ackPending = false;
  }
  lock.unlock();
  PushDisplayIfChanged();
}

// The radio tells the panel whenever its display or backlight changes.
void SimulatedRadio::PushDisplayIfChanged() {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto display = core_.DisplayBytes();
  const bool displayChanged = display != lastDisplay_;
  const bool backlight = core_.state.backlight;
  const bool backlightChanged = backlight != lastBacklight_;
  lastDisplay_ = display;
  lastBacklight_ = backlight;
  if (displayChanged) ++counters_.displayFrames;
  if (backlightChanged) ++counters_.backlightFrames;
  lock.unlock();
  if (displayChanged) SendFrame(SimDisplayFrame(display));
  if (backlightChanged) SendFrame(SimBacklightFrame(backlight));
}

void SimulatedRadio::SendFrame(std::vector<uint8_t> frame, uint32_t rate) {
  uint32_t pace = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.Mangle(frame);
    if (faults_.Faults().pace) pace = rate ? rate : core_.state.lineRate;
  }
  if (!frame.empty() && pty_.IsOpen()) pty_.Write(frame.data(), static_cast<int>(frame.size()), stop_[0], pace);
}

// Lets the programmer read what was already sent, then closes the master:
// the programmer's port sees the line drop.
void SimulatedRadio::HangUpLine() {
  // The kernel hands written bytes to the slave a moment later; only then
  // does the unread count see them.
  bool stopped = SimSleepUntil(Clock::now() + std::chrono::milliseconds(kHangUpSettleMs), stop_[0]);
  const auto deadline = Clock::now() + std::chrono::milliseconds(kHangUpDrainMs);
  while (!stopped && pty_.UnreadByProgram() > 0 && Clock::now() < deadline) {
    stopped = SimSleepUntil(Clock::now() + std::chrono::milliseconds(2), stop_[0]);
  }
  // Counted before the line drops, so whoever sees it drop sees it counted.
  {
    std::lock_guard<std::mutex> lock(mutex_);
    counters_.hungUp = true;
  }
  pty_.Close();
  std::lock_guard<std::mutex> lock(mutex_);
  serving_ = false;
}

// ---- Identity, memory and state ----

uint32_t SimulatedRadio::ProductId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.ProductId();
}

void SimulatedRadio::SetVersion(const SimVersion& version) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.version = version;
}

SimVersion SimulatedRadio::Version() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.version;
}

void SimulatedRadio::SetFirmwareText(const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.firmwareText = text.substr(0, 16);
}

std::string SimulatedRadio::FirmwareText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.firmwareText;
}

void SimulatedRadio::SetRadioId(const std::array<uint8_t, 8>& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.radioId = id;
}

std::array<uint8_t, 8> SimulatedRadio::RadioId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.radioId;
}

bool SimulatedRadio::SetPcbRevision(int revision) {
  TradioInfo info;
  info.SelectModel(core_.ProductId());
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.memory.SetParamWord(info, kParamPcbRev, revision) == 0;
}

// The programmer pads a short mem-file with erased bytes; a radio has no
// such thing as half a memory, so only a whole image is taken.
bool SimulatedRadio::LoadImage(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size != static_cast<std::uintmax_t>(kImageSize)) return false;
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes(kImageSize);
  if (!in.read(bytes.data(), kImageSize)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  core_.memory.WriteBlock(0, reinterpret_cast<const uint8_t*>(bytes.data()), kImageSize);
  return true;
}

void SimulatedRadio::SwitchOff() {
  std::lock_guard<std::mutex> lock(mutex_);
  switchedOn_ = false;
}

void SimulatedRadio::SwitchOn() {
  std::lock_guard<std::mutex> lock(mutex_);
  switchedOn_ = true;
}

bool SimulatedRadio::IsSwitchedOn() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return switchedOn_;
}

void SimulatedRadio::ReplaceRadio(uint32_t productId) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_ = SimRadioCore(productId);
}

void SimulatedRadio::SetMemory(const std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.memory.WriteBlock(0, bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<uint8_t> SimulatedRadio::Memory() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<uint8_t>(core_.memory.Data(), core_.memory.Data() + core_.memory.GetLength());
}

int SimulatedRadio::MemoryByte(int address) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.memory.GetByte(address);
}

SimState SimulatedRadio::State() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.state;
}

void SimulatedRadio::SetChannel(int channel) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (channel >= 1 && channel <= kSimLastChannel) core_.state.channel = channel;
  }
  Poke(wake_[1]);
}

void SimulatedRadio::SetSignal(bool present) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    core_.state.signal = present;
  }
  Poke(wake_[1]);
}

void SimulatedRadio::SetLineRate(uint32_t baud) {
  std::lock_guard<std::mutex> lock(mutex_);
  core_.state.lineRate = baud;
}

uint32_t SimulatedRadio::LineRate() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.state.lineRate;
}

void SimulatedRadio::SetCheckLineRate(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  checkLineRate_ = on;
}

std::array<uint8_t, 10> SimulatedRadio::DisplayBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return core_.DisplayBytes();
}

void SimulatedRadio::SetAnnouncementInterval(int ms) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    announceMs_ = std::max(0, ms);
    nextAnnouncement_ = Clock::now() + std::chrono::milliseconds(announceMs_);
  }
  Poke(wake_[1]);
}

void SimulatedRadio::SendAnnouncement() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    announceNow_ = true;
  }
  Poke(wake_[1]);
}

void SimulatedRadio::SendBacklightColour(uint16_t red, uint16_t green, uint16_t blue) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    colourFrames_.push_back(SimBacklightColourFrame(red, green, blue));
  }
  Poke(wake_[1]);
}

void SimulatedRadio::SetFaults(const SimFaults& faults) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.Configure(faults);
  core_.anyLineRate = faults.anyLineRate;
}

SimFaults SimulatedRadio::Faults() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return faults_.Faults();
}

// ---- Observation ----

std::vector<SimRequest> SimulatedRadio::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

void SimulatedRadio::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

bool SimulatedRadio::WaitForRequests(size_t count, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return logChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return log_.size() >= count; });
}

std::vector<uint8_t> SimulatedRadio::KeyEvents() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return keys_;
}

SimCounters SimulatedRadio::Counters() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return counters_;
}

void SimulatedRadio::SetRequestObserver(std::function<void(const SimRequest&)> observer) {
  std::lock_guard<std::mutex> lock(mutex_);
  observer_ = std::move(observer);
}
