#pragma once
// The one serial line to the radio. A reader thread copies every received
// byte to each registered listener's queue; a writer thread drains the
// transmit queue onto the line. Both sleep in poll() until there is work.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "mtdeque.h"
#include "platform.h"
#include "portmap.h"

class ByteTrace;

class SerialPort {
 public:
  static constexpr int kMaxListeners = 8;
  static constexpr int kChunk = 256;

  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // name is "COM" + number (mapped through the port map) or a device path.
  bool Open(const std::string& name, uint32_t baud);
  bool Close();
  bool SetBaudRate(uint32_t baud);
  bool ChangePort(int number);
  bool IsOpen() const;
  bool Send(const uint8_t* bytes, int count);

  // Listeners register once, before any port is opened; ids in order.
  int RegisterListener(Event* event);
  int ReadListener(uint8_t* destination, int maximum, int listenerId);
  void ClearListener(int listenerId);
  // The listener's event is about to be destroyed: the reader must never
  // touch it again. Its id stays taken.
  void UnregisterListener(int listenerId);

  bool SetMonitor(MessageReceiver* window, unsigned message);
  bool ClearMonitor();
  // The oldest block the monitor was told about and has not taken, up to
  // maximum bytes (the rest stays for the next call).
  int ReadRxTap(uint8_t* destination, int maximum);
  int ReadTxTap(uint8_t* destination, int maximum);
  // Every block sent and received, and every rate and port change, also
  // goes to the trace; nullptr stops. The trace outlives its attachment.
  void SetTrace(ByteTrace* trace);

  // Device path of the open (or last opened) port, e.g. "/dev/ttyUSB0".
  std::string DevicePath() const;
  // Name given to the last Open, e.g. "COM3".
  std::string PortName() const;
  uint32_t ConfiguredBaudRate() const;
  uint32_t CurrentBaudRate() const;  // the rate the line runs at now
  // The system's reason for the last failed Open ("Permission denied"),
  // and its errno; empty / 0 after a successful Open.
  std::string LastOpenError() const;
  int LastOpenErrno() const;
  // True when the device vanished under an open port (lead pulled): the
  // reader stopped reading. Close and a later Open recover.
  bool IsLost() const;
  // Who hears of it, once per loss, as `message` (WM_PORT_LOST for the
  // windows). Null stops; no message is posted after that returns.
  void SetLostReceiver(MessageReceiver* receiver, unsigned message);

  // How "COMn" names map to devices for this port.
  PortMap& Ports();
  const PortMap& Ports() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
