// The one registry of posted message numbers.

#include "messages.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

// The registry's check must be able to fail: a list with a number twice
// is refused, whichever two places hold it.
constexpr unsigned kRepeatedFirstAndLast[] = {2042, 2026, 2042};
constexpr unsigned kRepeatedNeighbours[] = {2026, 2041, 2041, 2043};
constexpr unsigned kOnce[] = {2026, 2041, 2042, 2043};
static_assert(!AllDistinct(kRepeatedFirstAndLast));
static_assert(!AllDistinct(kRepeatedNeighbours));
static_assert(AllDistinct(kOnce));

TEST(MessageNumbers, TheNumbersWindowsKnowStayAsTheyWere) {
  struct Fixed {
    unsigned message;
    unsigned number;
  };
  const Fixed fixed[] = {
      {WM_TRANSFER, 2026},     {WM_TRANSFER_CLOSED, 2027}, {WM_DISPLAY_BYTES, 2028},
      {WM_BACKLIGHT, 2029},    {WM_BACKLIGHT_COLOUR, 2030}, {WM_ANNOUNCEMENT, 2031},
      {WM_BYTE_MONITOR, 2034}, {WM_VORNI_RX, 2035},         {WM_VORNI_TX, 2036},
      {WM_VORNII_RX, 2038},    {WM_VORNII_TX, 2039},        {WM_VORNII_FAULT, 2040},
      {WM_TRACE_FAILED, 2041}, {WM_PORT_LOST, 2042},
  };
  for (const Fixed& f : fixed) EXPECT_EQ(f.message, f.number);
  // The batch's number was the port loss's too; it moved, the port's stayed.
  EXPECT_NE(WM_BATCH, WM_PORT_LOST);
  EXPECT_EQ(std::size(kMessageNumbers), std::size(fixed) + 1);
}

TEST(MessageNumbers, ByteMonitorKindsKeepTheirValues) {
  EXPECT_EQ(kBytesReceived, 0);
  EXPECT_EQ(kBytesSent, 1);
  EXPECT_EQ(kBaudRateChanged, 2);
  EXPECT_EQ(kPortChanged, 3);
}

}  // namespace
