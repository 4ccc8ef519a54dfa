#include "bits.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct SetBitsCase {
  int before;
  int mask;
  bool on;
  int after;
};

TEST(SetBits, SetsAndClearsOnlyTheMaskedBits) {
  const SetBitsCase cases[] = {
      {0x00, 0x04, true, 0x04},  {0xFF, 0x04, false, 0xFB}, {0x5A, 0x81, true, 0xDB},
      {0x5A, 0x42, false, 0x18}, {0x04, 0x04, true, 0x04},  {0x00, 0x10, false, 0x00},
  };
  for (const SetBitsCase& c : cases) {
    int v = c.before;
    SetBits(v, c.mask, c.on);
    EXPECT_EQ(v, c.after) << std::hex << c.before << " mask " << c.mask << " on " << c.on;
  }
}

TEST(SetBits, AnAbsentByteStaysAbsent) {
  int absent = -1;
  SetBits(absent, 0x20, true);
  EXPECT_EQ(absent, -1);
  SetBits(absent, 0x20, false);
  EXPECT_EQ(absent, -1);
}

TEST(SetBits, WorksOnUnsignedBytesWithoutWidening) {
  uint8_t b = 0xF0;
  SetBits(b, uint8_t{0x80}, false);
  EXPECT_EQ(b, 0x70);
  SetBits(b, uint8_t{0x01}, true);
  EXPECT_EQ(b, 0x71);
}

TEST(BitIsSet, ReadsOneBitAndNeverOfAnAbsentByte) {
  EXPECT_TRUE(BitIsSet(0x40, 6));
  EXPECT_FALSE(BitIsSet(0x40, 5));
  EXPECT_TRUE(BitIsSet(uint8_t{0x80}, 7));
  EXPECT_FALSE(BitIsSet(-1, 0));
  EXPECT_FALSE(BitIsSet(-1, 7));
}

}  // namespace
