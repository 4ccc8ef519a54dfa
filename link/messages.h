#pragma once
// Every number a thread posts to a MessageReceiver. A window tells the
// messages it receives apart by number alone, so they are all kept here,
// each number once; the check below refuses to build when two are equal.
// The numbers the windows and tests know stay as they are.

#include <cstddef>
#include <cstdint>

enum MessageNumber : unsigned {
  // Transfer worker -> starting window. wParam kTransferProgress (lParam:
  // the next address) or kTransferFinished (lParam: the result).
  WM_TRANSFER = 2026,
  // Transfer worker -> starting window, its very last act. wParam: the
  // closing flags; lParam: the transfer's number.
  WM_TRANSFER_CLOSED = 2027,
  // Protocol I engine -> floating display.
  WM_DISPLAY_BYTES = 2028,
  WM_BACKLIGHT = 2029,
  WM_BACKLIGHT_COLOUR = 2030,
  WM_ANNOUNCEMENT = 2031,
  // Serial port -> byte monitor. wParam: a ByteMonitorEvent.
  WM_BYTE_MONITOR = 2034,
  // Protocol I engine -> its packet monitor (wParam: ring slot, lParam:
  // length).
  WM_VORNI_RX = 2035,
  WM_VORNI_TX = 2036,
  // Protocol II engine -> its packet monitor; WM_VORNII_FAULT's wParam is
  // the fault code.
  WM_VORNII_RX = 2038,
  WM_VORNII_TX = 2039,
  WM_VORNII_FAULT = 2040,
  // Trace file -> its window, once, when the trace cannot be written;
  // lParam: the error number.
  WM_TRACE_FAILED = 2041,
  // Serial port -> its window (wParam and lParam 0) when the device of an
  // open port vanishes: a hang-up, or the device gone from under the line.
  WM_PORT_LOST = 2042,
  // Batch run -> batch window. wParam: a BatchReportKind.
  WM_BATCH = 2043,
};

// Every number above, for the check. A new message goes into both.
inline constexpr MessageNumber kMessageNumbers[] = {
    WM_TRANSFER,     WM_TRANSFER_CLOSED, WM_DISPLAY_BYTES, WM_BACKLIGHT,  WM_BACKLIGHT_COLOUR,
    WM_ANNOUNCEMENT, WM_BYTE_MONITOR,    WM_VORNI_RX,      WM_VORNI_TX,   WM_VORNII_RX,
    WM_VORNII_TX,    WM_VORNII_FAULT,    WM_TRACE_FAILED,  WM_PORT_LOST,  WM_BATCH,
};

template <typename Number, size_t N>
constexpr bool AllDistinct(const Number (&numbers)[N]) {
  for (size_t i = 0; i < N; ++i)
    for (size_t j = i + 1; j < N; ++j)
      if (numbers[i] == numbers[j]) return false;
  return true;
}
static_assert(AllDistinct(kMessageNumbers), "two posted messages share a number");

// What a WM_BYTE_MONITOR message reports (its wParam). Bytes: lParam is the
// count the port took in or queued; the bytes wait in the port's taps.
enum ByteMonitorEvent : intptr_t {
  kBytesReceived = 0,
  kBytesSent = 1,
  kBaudRateChanged = 2,  // lParam: the new rate
  kPortChanged = 3,      // lParam: the new port number
};
