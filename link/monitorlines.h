#pragma once
// The lines of the traffic monitors, made in one place so that a trace
// file reads exactly as the byte monitor showed the same traffic.

#include <chrono>
#include <cstdint>
#include <string>

#include "messages.h"

using MonitorTime = std::chrono::system_clock::time_point;

// Local time as "hh:mm:ss.zzz".
std::string MonitorClock(MonitorTime t);
// Every byte as two upper-case hexadecimal digits and a space.
std::string HexBytes(const uint8_t* bytes, int count);
// "[" every byte as its character, bytes outside 0x20..0x7E as "." "]".
std::string AsciiBytes(const uint8_t* bytes, int count);

// The byte monitor's data line: "[" time "] Rx[" or "Tx[", the bytes taken,
// ":", the count reported, "] ", the bytes as HexBytes; with decodeAscii,
// the bytes as AsciiBytes after them.
std::string ByteMonitorDataLine(const std::string& time, bool received, int taken, int count,
                                const uint8_t* bytes, bool decodeAscii = false);
// The byte monitor's line for a change of the line: "Baud-rate changed to "
// or "Serial-port changed to " and the number; empty for bytes.
std::string ByteMonitorChangeLine(ByteMonitorEvent event, intptr_t number);
