#include "serialport.h"

#include "bytetrace.h"
#include "messages.h"
#include "monitorframes.h"
#include "monitorlines.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

struct RateEntry {
  uint32_t baud;
  speed_t code;
};
// The radios run at 9600 and switch to 19200, 38400 or 57600 for
// transfers; the other common rates are accepted for other tools' sake.
constexpr RateEntry kRates[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

bool RateCode(uint32_t baud, speed_t* code) {
  for (const RateEntry& r : kRates)
    if (r.baud == baud) {
      *code = r.code;
      return true;
    }
  return false;
}

uint32_t RateOf(speed_t code) {
  for (const RateEntry& r : kRates)
    if (r.code == code) return r.baud;
  return 0;
}

// Raw 8N1 with no flow control of either kind. The line discipline must
// not touch a byte: the protocols use every value, including XON/XOFF and
// the control characters.
void MakeLineSettings(termios& t, speed_t code) {
  cfmakeraw(&t);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  // One byte satisfies a read; with O_NONBLOCK an empty line gives EAGAIN,
  // so a read of 0 bytes can only mean the device has gone.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, code);
  cfsetospeed(&t, code);
}

// A write failing so means the device has gone from under the line.
bool DeviceGone(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

}  // namespace

struct SerialPort::Impl {
  PortMap ports;

  // Open, Close, SetBaudRate and ChangePort may come from the GUI thread
  // or a transfer worker; one at a time.
  mutable std::mutex controlLock;
  std::string portName = "COM1";
  std::string devicePath;
  uint32_t configuredBaud = 9600;
  uint32_t workingBaud = 9600;
  termios working{};
  termios saved{};
  std::string lastOpenError;
  int lastOpenErrno = 0;

  std::atomic<int> fd{-1};
  std::atomic<bool> lost{false};

  // Posting under the lock means no message reaches a receiver after
  // ClearMonitor has returned.
  std::mutex monitorLock;
  MessageReceiver* monitor = nullptr;
  unsigned monitorMessage = 0;
  ByteTrace* trace = nullptr;  // under monitorLock too
  MessageReceiver* lostReceiver = nullptr;  // and this
  unsigned lostMessage = 0;

  std::mutex txLock;
  MTdeque txQueue{2048};
  // What the byte monitor has been told about, block by block, so that
  // a monitor that falls behind still shows each block's own bytes.
  MonitorFrames txTap;
  MonitorFrames rxTap;

  std::mutex listenerLock;
  int listenerCount = 0;
  Event* listenerEvents[kMaxListeners] = {};
  std::unique_ptr<MTdeque> listenerQueues[kMaxListeners];

  Event readerStop;
  Event writerStop;
  Event writerData;
  std::thread reader;
  std::thread writer;

  bool Fail(int error, std::string reason = {}) {
    lastOpenErrno = error;
    lastOpenError = reason.empty() ? std::system_category().message(error) : std::move(reason);
    return false;
  }

  void Post(ByteMonitorEvent change, intptr_t number) {
    std::lock_guard<std::mutex> g(monitorLock);
    PostTo(monitor, monitorMessage, change, number);
    if (trace) trace->Line(ByteMonitorChangeLine(change, number));
  }

  bool OpenLocked(const std::string& name, uint32_t baud);
  bool CloseLocked();
  void ReaderLoop(int device);
  void WriterLoop(int device);
  void Deliver(const uint8_t* block, int count);
  void WakeListeners();
  void MarkLost();
  bool WriteAll(int device, const uint8_t* bytes, int count);
};

bool SerialPort::Impl::OpenLocked(const std::string& name, uint32_t baud) {
  // A lost device is as good as closed: the next open replaces it, which
  // is how the next radio command gets a re-plugged lead working again.
  if (fd >= 0 && lost) CloseLocked();
  if (fd >= 0) return false;
  const int number = PortMap::ParseComName(name);
  const std::string path = number ? ports.DevicePath(number) : name.rfind('/', 0) == 0 ? name : "";
  if (path.empty()) return Fail(ENODEV, "no device for " + name);
  speed_t code;
  if (!RateCode(baud, &code)) return Fail(EINVAL, "unsupported baud rate " + std::to_string(baud));

  const int device = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (device < 0) return Fail(errno);
  auto abandon = [&](int error) {
    close(device);
    return Fail(error);
  };
  // flock keeps out every other open of the node, even one by root, which
  // TIOCEXCL lets through.
  if (flock(device, LOCK_EX | LOCK_NB) != 0) return abandon(errno == EWOULDBLOCK ? EBUSY : errno);
  termios t{};
  if (tcgetattr(device, &t) != 0) return abandon(errno);
  ioctl(device, TIOCEXCL);
  saved = t;
  working = t;
  MakeLineSettings(working, code);
  if (tcsetattr(device, TCSANOW, &working) != 0) return abandon(errno);
  // A pseudo-terminal has no modem lines; the request failing there is
  // not a reason to refuse the port.
  const int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(device, TIOCMBIS, &lines);
  SleepMs(20);  // leads powered from DTR/RTS settle before the first byte
  tcflush(device, TCIOFLUSH);

  readerStop.Reset();
  writerStop.Reset();
  writerData.Reset();
  lost = false;
  try {
    reader = std::thread([this, device] { ReaderLoop(device); });
    writer = std::thread([this, device] { WriterLoop(device); });
  } catch (const std::system_error& e) {
    readerStop.Set();
    writerStop.Set();
    if (reader.joinable()) reader.join();
    return abandon(e.code().value());
  }
  portName = name;
  devicePath = path;
  configuredBaud = baud;
  workingBaud = baud;
  lastOpenError.clear();
  lastOpenErrno = 0;
  fd = device;
  return true;
}

bool SerialPort::Impl::CloseLocked() {
  const int device = fd.exchange(-1);
  if (device < 0) return false;
  readerStop.Set();
  writerStop.Set();
  if (reader.joinable()) reader.join();
  if (writer.joinable()) writer.join();
  ioctl(device, TIOCNXCL);
  close(device);
  lost = false;
  {
    // Bytes queued for this port must never go out on the next one.
    std::lock_guard<std::mutex> g(txLock);
    txQueue.Clear();
  }
  std::lock_guard<std::mutex> g(listenerLock);
  for (int i = 0; i < listenerCount; ++i) {
    listenerQueues[i]->Clear();
    // A requester waiting for a reply learns at once that none can come.
    if (listenerEvents[i]) listenerEvents[i]->Set();
  }
  return true;
}

void SerialPort::Impl::WakeListeners() {
  std::lock_guard<std::mutex> g(listenerLock);
  for (int i = 0; i < listenerCount; ++i)
    if (listenerEvents[i]) listenerEvents[i]->Set();
}

void SerialPort::Impl::Deliver(const uint8_t* block, int count) {
  // The monitor and the trace see the block before any listener wakes: a
  // requester woken by a reply may send at once, and what it sends must
  // be shown after the reply, in wire order.
  {
    std::lock_guard<std::mutex> m(monitorLock);
    if (monitor) {
      rxTap.Keep(block, count);
      PostTo(monitor, monitorMessage, kBytesReceived, count);
    }
    if (trace) trace->Block(true, block, count);
  }
  std::lock_guard<std::mutex> g(listenerLock);
  for (int i = 0; i < listenerCount; ++i) {
    listenerQueues[i]->Push(block, count);
    if (listenerEvents[i]) listenerEvents[i]->Set();
  }
}

// Bytes go to the listeners the moment they are read. Once the device has
// gone (hang-up, EIO, read of 0) the reader stops polling it, since a
// hung-up descriptor is readable for ever, and waits only for Close.
void SerialPort::Impl::ReaderLoop(int device) {
  uint8_t block[kChunk];
  for (;;) {
    pollfd fds[2] = {{readerStop.Fd(), POLLIN, 0}, {device, POLLIN, 0}};
    const nfds_t watched = lost ? 1 : 2;
    if (poll(fds, watched, -1) < 0) {
      if (errno != EINTR) SleepMs(10);  // never spin on a failing poll
      continue;
    }
    if (fds[0].revents) break;
    if (watched < 2 || fds[1].revents == 0) continue;
    const ssize_t got = read(device, block, sizeof block);
    if (got > 0) {
      Deliver(block, static_cast<int>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    const bool hungUp = fds[1].revents & (POLLHUP | POLLERR | POLLNVAL);
    if (got < 0 && errno == EAGAIN && !hungUp) continue;
    MarkLost();
  }
}

// Requesters stop waiting for a reply that cannot come, and the window
// shows the port closed now rather than at the next command.
void SerialPort::Impl::MarkLost() {
  if (lost.exchange(true)) return;
  WakeListeners();
  std::lock_guard<std::mutex> m(monitorLock);
  PostTo(lostReceiver, lostMessage, 0, 0);
}

// Returns false when told to stop while the line would not take bytes.
// A chunk the device refuses is dropped.
bool SerialPort::Impl::WriteAll(int device, const uint8_t* bytes, int count) {
  int done = 0;
  while (done < count) {
    const ssize_t n = write(device, bytes + done, static_cast<size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && DeviceGone(errno)) MarkLost();
    if (!(n < 0 && errno == EAGAIN)) return true;
    pollfd fds[2] = {{writerStop.Fd(), POLLIN, 0}, {device, POLLOUT, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return true;
    }
    if (fds[0].revents) return false;
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) return true;
  }
  return true;
}

void SerialPort::Impl::WriterLoop(int device) {
  uint8_t chunk[kChunk];
  for (;;) {
    const int which = WaitAny({&writerStop, &writerData});
    if (which == 0) return;
    if (which < 0) {
      SleepMs(10);
      continue;
    }
    // Reset before draining: a Send that lands after the last pop sets the
    // event again, so no queued byte is left waiting.
    writerData.Reset();
    for (;;) {
      int n;
      {
        std::lock_guard<std::mutex> g(txLock);
        n = txQueue.Pop(chunk, kChunk);
      }
      if (n == 0) break;
      if (!WriteAll(device, chunk, n)) return;
    }
  }
}

SerialPort::SerialPort() : impl_(std::make_unique<Impl>()) {}

SerialPort::~SerialPort() { Close(); }

bool SerialPort::Open(const std::string& name, uint32_t baud) {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->OpenLocked(name, baud);
}

bool SerialPort::Close() {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->CloseLocked();
}

bool SerialPort::SetBaudRate(uint32_t baud) {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  Impl& p = *impl_;
  speed_t code;
  if (p.fd < 0 || !RateCode(baud, &code)) return false;
  if (tcgetattr(p.fd, &p.saved) != 0) return false;
  p.working = p.saved;
  cfsetispeed(&p.working, code);
  cfsetospeed(&p.working, code);
  if (tcsetattr(p.fd, TCSANOW, &p.working) != 0) return false;
  tcflush(p.fd, TCIOFLUSH);
  p.workingBaud = baud;
  p.Post(kBaudRateChanged, baud);
  return true;
}

bool SerialPort::ChangePort(int number) {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  Impl& p = *impl_;
  if (p.fd >= 0) {
    termios t{};
    if (tcgetattr(p.fd, &t) == 0) {
      p.working = t;
      if (const uint32_t rate = RateOf(cfgetospeed(&t))) p.workingBaud = rate;
    }
    p.CloseLocked();
  }
  p.Post(kPortChanged, number);
  return p.OpenLocked(PortMap::ComName(number), p.workingBaud);
}

// A port whose device has gone counts as not open, so the port check
// before the next radio command reopens it and the status bar says so.
bool SerialPort::IsOpen() const { return impl_->fd >= 0 && !impl_->lost; }

// Once the device has gone nothing can reach the line, so Send says so.
bool SerialPort::Send(const uint8_t* bytes, int count) {
  Impl& p = *impl_;
  if (p.fd < 0 || p.lost) return false;
  if (count != 0) {
    std::lock_guard<std::mutex> m(p.monitorLock);
    if (p.monitor) {
      p.txTap.Keep(bytes, count);
      PostTo(p.monitor, p.monitorMessage, kBytesSent, count);
    }
    if (p.trace) p.trace->Block(false, bytes, count);
  }
  std::lock_guard<std::mutex> g(p.txLock);
  p.txQueue.Push(bytes, count);
  p.writerData.Set();
  return true;
}

int SerialPort::RegisterListener(Event* event) {
  std::lock_guard<std::mutex> g(impl_->listenerLock);
  Impl& p = *impl_;
  if (p.listenerCount >= kMaxListeners) return -1;
  p.listenerQueues[p.listenerCount] = std::make_unique<MTdeque>(2048);
  p.listenerEvents[p.listenerCount] = event;
  return p.listenerCount++;
}

int SerialPort::ReadListener(uint8_t* destination, int maximum, int listenerId) {
  std::lock_guard<std::mutex> g(impl_->listenerLock);
  Impl& p = *impl_;
  if (listenerId < 0 || listenerId >= p.listenerCount) return 0;
  MTdeque& queue = *p.listenerQueues[listenerId];
  const int taken = queue.Pop(destination, maximum);
  if (queue.IsEmpty() && p.listenerEvents[listenerId]) p.listenerEvents[listenerId]->Reset();
  return taken;
}

void SerialPort::UnregisterListener(int listenerId) {
  std::lock_guard<std::mutex> g(impl_->listenerLock);
  if (listenerId >= 0 && listenerId < impl_->listenerCount) impl_->listenerEvents[listenerId] = nullptr;
}

void SerialPort::ClearListener(int listenerId) {
  std::lock_guard<std::mutex> g(impl_->listenerLock);
  if (listenerId >= 0 && listenerId < impl_->listenerCount) impl_->listenerQueues[listenerId]->Clear();
}

bool SerialPort::SetMonitor(MessageReceiver* window, unsigned message) {
  std::lock_guard<std::mutex> g(impl_->monitorLock);
  impl_->monitor = window;
  impl_->monitorMessage = message;
  return true;
}

bool SerialPort::ClearMonitor() { return SetMonitor(nullptr, 0); }

void SerialPort::SetLostReceiver(MessageReceiver* receiver, unsigned message) {
  std::lock_guard<std::mutex> g(impl_->monitorLock);
  impl_->lostReceiver = receiver;
  impl_->lostMessage = message;
}

void SerialPort::SetTrace(ByteTrace* trace) {
  std::lock_guard<std::mutex> g(impl_->monitorLock);
  impl_->trace = trace;
}

int SerialPort::ReadRxTap(uint8_t* destination, int maximum) { return impl_->rxTap.TakeOldest(destination, maximum); }

int SerialPort::ReadTxTap(uint8_t* destination, int maximum) { return impl_->txTap.TakeOldest(destination, maximum); }

std::string SerialPort::DevicePath() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  if (!impl_->devicePath.empty()) return impl_->devicePath;
  return impl_->ports.DevicePath(PortMap::ParseComName(impl_->portName));
}

std::string SerialPort::PortName() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->portName;
}

uint32_t SerialPort::ConfiguredBaudRate() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->configuredBaud;
}

// Asks the device itself while open, so the answer is what the line runs at.
uint32_t SerialPort::CurrentBaudRate() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  termios t{};
  if (impl_->fd >= 0 && tcgetattr(impl_->fd, &t) == 0)
    if (const uint32_t rate = RateOf(cfgetospeed(&t))) return rate;
  return impl_->workingBaud;
}

std::string SerialPort::LastOpenError() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->lastOpenError;
}

int SerialPort::LastOpenErrno() const {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  return impl_->lastOpenErrno;
}

bool SerialPort::IsLost() const { return impl_->lost; }

PortMap& SerialPort::Ports() { return impl_->ports; }
const PortMap& SerialPort::Ports() const { return impl_->ports; }
