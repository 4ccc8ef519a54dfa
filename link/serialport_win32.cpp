#include "serialport.h"

#include "bytetrace.h"
#include "messages.h"
#include "monitorframes.h"
#include "monitorlines.h"

#include <windows.h>
#undef PostMessage  // the receiver's method, not the Win32 call

#include <cerrno>
#include <system_error>

namespace {

// The radios run at 9600 and switch to 19200, 38400 or 57600 for
// transfers; the other common rates are accepted for other tools' sake.
constexpr uint32_t kRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

bool KnownRate(uint32_t baud) {
  for (uint32_t r : kRates)
    if (r == baud) return true;
  return false;
}

// Raw 8N1 with no flow control of either kind and nothing replaced or
// dropped: the protocols use every value, including XON/XOFF and NUL.
// DTR and RTS stay raised, as leads powered from them need.
void MakeLineSettings(DCB& dcb, uint32_t baud) {
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = baud;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fTXContinueOnXoff = TRUE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
}

// A read waits, with no limit, for the first byte, and returns once the
// line has been quiet for a couple of milliseconds: a reply keeps to one
// read at 9600 baud and reaches the requester as soon as it has ended.
// (The "return at once with what there is" settings, MAXDWORD with a total
// time-out, are not honoured by wine's serial ports.) Close cancels the
// waiting read, so no time-out is needed to stop the reader.
void MakeTimeouts(COMMTIMEOUTS& t) {
  t.ReadIntervalTimeout = 2;
  t.ReadTotalTimeoutMultiplier = 0;
  t.ReadTotalTimeoutConstant = 0;
  t.WriteTotalTimeoutMultiplier = 0;
  t.WriteTotalTimeoutConstant = 0;
}

// The rest of the program speaks errno (the port messages, the remedies):
// Windows' reasons are told in those terms. A COM port another program
// holds is refused as "access denied", which here means busy.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EBUSY;
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

// The ways a read or write fails once the USB lead has been pulled.
bool DeviceGone(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_BAD_COMMAND ||
         error == ERROR_DEVICE_NOT_CONNECTED || error == ERROR_GEN_FAILURE ||
         error == ERROR_INVALID_HANDLE || error == ERROR_FILE_NOT_FOUND ||
         error == ERROR_DEVICE_REMOVED;
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return wide;
}

// One overlapped operation's event, made once per thread.
class Overlapped {
 public:
  Overlapped() : ov_{} { ov_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~Overlapped() {
    if (ov_.hEvent) CloseHandle(ov_.hEvent);
  }
  Overlapped(const Overlapped&) = delete;
  Overlapped& operator=(const Overlapped&) = delete;
  OVERLAPPED* Get() {
    const HANDLE event = ov_.hEvent;
    ov_ = OVERLAPPED{};
    ov_.hEvent = event;
    ResetEvent(event);
    return &ov_;
  }
  HANDLE Event() const { return ov_.hEvent; }

 private:
  OVERLAPPED ov_;
};

enum class IoResult { kDone, kStopped, kFailed };

// Waits for an overlapped operation, or for `stop`: then the operation is
// cancelled (a read waiting on a silent line ends at once) and the
// thread goes on only once the driver has let go of the buffer.
IoResult Finish(HANDLE device, OVERLAPPED* ov, HANDLE stop, DWORD& count, DWORD& error) {
  const HANDLE both[2] = {stop, ov->hEvent};
  const DWORD which = WaitForMultipleObjects(2, both, FALSE, INFINITE);
  if (which == WAIT_OBJECT_0) {
    CancelIoEx(device, ov);
    GetOverlappedResult(device, ov, &count, TRUE);
    return IoResult::kStopped;
  }
  if (GetOverlappedResult(device, ov, &count, FALSE)) return IoResult::kDone;
  error = GetLastError();
  return IoResult::kFailed;
}

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
  DCB saved{};  // the port's settings before this program's, put back on close
  std::string lastOpenError;
  int lastOpenErrno = 0;

  std::atomic<HANDLE> fd{INVALID_HANDLE_VALUE};
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
    lastOpenError = reason.empty() ? std::generic_category().message(error) : std::move(reason);
    return false;
  }

  void Post(ByteMonitorEvent change, intptr_t number) {
    std::lock_guard<std::mutex> g(monitorLock);
    PostTo(monitor, monitorMessage, change, number);
    if (trace) trace->Line(ByteMonitorChangeLine(change, number));
  }

  bool IsOpenHandle() const { return fd != INVALID_HANDLE_VALUE; }
  bool OpenLocked(const std::string& name, uint32_t baud);
  bool CloseLocked();
  void ReaderLoop(HANDLE device);
  void WriterLoop(HANDLE device);
  void Deliver(const uint8_t* block, int count);
  void WakeListeners();
  void MarkLost();
  bool WriteAll(HANDLE device, const uint8_t* bytes, int count);
};

bool SerialPort::Impl::OpenLocked(const std::string& name, uint32_t baud) {
  // A lost device is as good as closed: the next open replaces it, which
  // is how the next radio command gets a re-plugged lead working again.
  if (IsOpenHandle() && lost) CloseLocked();
  if (IsOpenHandle()) return false;
  const int number = PortMap::ParseComName(name);
  const std::string path = number ? ports.DevicePath(number) : name.rfind("\\\\", 0) == 0 ? name : "";
  if (path.empty()) return Fail(ENODEV, "no device for " + name);
  if (!KnownRate(baud)) return Fail(EINVAL, "unsupported baud rate " + std::to_string(baud));

  // No sharing: a COM port is one program's at a time.
  const HANDLE device = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (device == INVALID_HANDLE_VALUE) return Fail(ErrnoOf(GetLastError()));
  auto abandon = [&](int error) {
    CloseHandle(device);
    return Fail(error);
  };
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(device, &dcb)) return abandon(ErrnoOf(GetLastError()));
  saved = dcb;
  MakeLineSettings(dcb, baud);
  if (!SetCommState(device, &dcb)) return abandon(ErrnoOf(GetLastError()));
  COMMTIMEOUTS timeouts{};
  MakeTimeouts(timeouts);
  if (!SetCommTimeouts(device, &timeouts)) return abandon(ErrnoOf(GetLastError()));
  SleepMs(20);  // leads powered from DTR/RTS settle before the first byte
  PurgeComm(device, PURGE_RXCLEAR | PURGE_TXCLEAR);

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
  const HANDLE device = fd.exchange(INVALID_HANDLE_VALUE);
  if (device == INVALID_HANDLE_VALUE) return false;
  readerStop.Set();
  writerStop.Set();
  if (reader.joinable()) reader.join();
  if (writer.joinable()) writer.join();
  SetCommState(device, &saved);
  CloseHandle(device);
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
// gone the reader stops reading it and waits only for Close.
void SerialPort::Impl::ReaderLoop(HANDLE device) {
  uint8_t block[kChunk];
  Overlapped ov;
  const HANDLE stop = static_cast<HANDLE>(readerStop.Handle());
  for (;;) {
    if (lost) {
      if (readerStop.Wait()) break;
      continue;
    }
    OVERLAPPED* op = ov.Get();
    DWORD got = 0;
    DWORD error = 0;
    IoResult result = IoResult::kDone;
    if (!ReadFile(device, block, sizeof block, &got, op)) {
      error = GetLastError();
      result = error == ERROR_IO_PENDING ? Finish(device, op, stop, got, error) : IoResult::kFailed;
    } else if (readerStop.IsSet()) {
      result = IoResult::kStopped;
    }
    if (result == IoResult::kStopped) break;
    if (result == IoResult::kDone) {
      if (got > 0) Deliver(block, static_cast<int>(got));
      continue;
    }
    if (error == ERROR_OPERATION_ABORTED) continue;  // another thread's purge
    if (DeviceGone(error)) {
      MarkLost();
    } else {
      SleepMs(10);  // never spin on a failing read
    }
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
bool SerialPort::Impl::WriteAll(HANDLE device, const uint8_t* bytes, int count) {
  Overlapped ov;
  const HANDLE stop = static_cast<HANDLE>(writerStop.Handle());
  int done = 0;
  while (done < count) {
    OVERLAPPED* op = ov.Get();
    DWORD n = 0;
    DWORD error = 0;
    IoResult result = IoResult::kDone;
    if (!WriteFile(device, bytes + done, static_cast<DWORD>(count - done), &n, op)) {
      error = GetLastError();
      result = error == ERROR_IO_PENDING ? Finish(device, op, stop, n, error) : IoResult::kFailed;
    }
    if (result == IoResult::kStopped) return false;
    if (result == IoResult::kFailed) {
      if (DeviceGone(error)) MarkLost();
      return true;
    }
    if (n == 0) return true;
    done += static_cast<int>(n);
  }
  return true;
}

void SerialPort::Impl::WriterLoop(HANDLE device) {
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
  if (!p.IsOpenHandle() || !KnownRate(baud)) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(p.fd, &dcb)) return false;
  dcb.BaudRate = baud;
  if (!SetCommState(p.fd, &dcb)) return false;
  PurgeComm(p.fd, PURGE_RXCLEAR | PURGE_TXCLEAR);
  p.workingBaud = baud;
  p.Post(kBaudRateChanged, baud);
  return true;
}

bool SerialPort::ChangePort(int number) {
  std::lock_guard<std::mutex> g(impl_->controlLock);
  Impl& p = *impl_;
  if (p.IsOpenHandle()) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(p.fd, &dcb) && KnownRate(dcb.BaudRate)) p.workingBaud = dcb.BaudRate;
    p.CloseLocked();
  }
  p.Post(kPortChanged, number);
  return p.OpenLocked(PortMap::ComName(number), p.workingBaud);
}

// A port whose device has gone counts as not open, so the port check
// before the next radio command reopens it and the status bar says so.
bool SerialPort::IsOpen() const { return impl_->IsOpenHandle() && !impl_->lost; }

// Once the device has gone nothing can reach the line, so Send says so.
bool SerialPort::Send(const uint8_t* bytes, int count) {
  Impl& p = *impl_;
  if (!p.IsOpenHandle() || p.lost) return false;
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
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (impl_->IsOpenHandle() && GetCommState(impl_->fd, &dcb) && KnownRate(dcb.BaudRate))
    return dcb.BaudRate;
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
