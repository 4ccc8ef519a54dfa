#include "monitorlines.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

std::string MonitorClock(MonitorTime t) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto sinceEpoch = t.time_since_epoch();
  const long ms = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(
          sinceEpoch - std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch))
          .count());
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min, local.tm_sec,
                ms < 0 ? ms + 1000 : ms);
  return text;
}

std::string HexBytes(const uint8_t* bytes, int count) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(static_cast<size_t>(std::max(count, 0)) * 3);
  for (int i = 0; i < count; ++i) {
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 0x0F]);
    text.push_back(' ');
  }
  return text;
}

std::string AsciiBytes(const uint8_t* bytes, int count) {
  std::string text = "[";
  for (int i = 0; i < count; ++i)
    text.push_back(bytes[i] >= 0x20 && bytes[i] <= 0x7E ? static_cast<char>(bytes[i]) : '.');
  return text + "]";
}

std::string ByteMonitorDataLine(const std::string& time, bool received, int taken, int count,
                                const uint8_t* bytes, bool decodeAscii) {
  std::string line = "[" + time + "] " + (received ? "Rx[" : "Tx[") + std::to_string(taken) +
                     ":" + std::to_string(count) + "] " + HexBytes(bytes, taken);
  if (decodeAscii) line += AsciiBytes(bytes, taken);
  return line;
}

std::string ByteMonitorChangeLine(ByteMonitorEvent event, intptr_t number) {
  switch (event) {
    case kBaudRateChanged:
      return "Baud-rate changed to " + std::to_string(number);
    case kPortChanged:
      return "Serial-port changed to " + std::to_string(number);
    case kBytesReceived:
    case kBytesSent:
      break;
  }
  return {};
}
