#include "optionbytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eeprom.h"
#include "radioinfo.h"

namespace {

std::vector<uint8_t> Bytes(const EEPROM& image) {
  std::vector<uint8_t> bytes(static_cast<size_t>(image.GetLength()));
  image.ReadBlock(0, bytes.data(), image.GetLength());
  return bytes;
}

struct Radio {
  explicit Radio(uint32_t productId) {
    info.SelectModel(productId);
    for (int a = 0; a < image.GetLength(); ++a) image.SetByte(a, a & 0xFF);
  }
  TradioInfo info;
  EEPROM image;
};

TEST(OptionByteParams, NumberNIsOptionsN) {
  for (int n = 1; n <= kOptionByteCount; ++n)
    EXPECT_EQ(kOptionByteParams[static_cast<size_t>(n - 1)].Name(), "Options-" + std::to_string(n));
}

TEST(OptionBytes, CopyNumberNIsTheByteOfOptionsN) {
  for (uint32_t model : {kProductMerlo, kProductPinto, kProductTamso}) {
    Radio r(model);
    const OptionBytes copies = OptionBytes::Read(r.image, r.info, kOptionByteCount);
    EXPECT_EQ(copies.Count(), kOptionByteCount);
    for (int n = 1; n <= kOptionByteCount; ++n) {
      const int address = r.info.GetParamAddress(kOptionByteParams[static_cast<size_t>(n - 1)]);
      ASSERT_GE(address, 0);
      EXPECT_EQ(copies.Byte(n), r.image.GetByte(address)) << n;
    }
    // "Options-2" sits at 35 on every model: the second option byte is
    // the same byte whichever window copies it.
    EXPECT_EQ(copies.Byte(2), 35);
  }
}

TEST(OptionBytes, WritesBackWholeOnlyTheCopiesRead) {
  Radio r(kProductKestal);
  OptionBytes copies = OptionBytes::Read(r.image, r.info, 6);
  copies.SetBits(2, 0x80, true);   // 35 = 0x23
  copies.SetBits(6, 0x04, false);  // 39 = 0x27
  copies.SetBits(7, 0xFF, false);  // not read: no copy to change
  EXPECT_EQ(copies.Byte(7), -1);
  EXPECT_TRUE(copies.Bit(2, 7));
  EXPECT_FALSE(copies.Bit(6, 2));

  std::vector<uint8_t> expected = Bytes(r.image);
  expected[35] = 0xA3;
  expected[39] = 0x23;
  copies.Write(r.image, r.info);
  EXPECT_EQ(Bytes(r.image), expected);
}

TEST(OptionBytes, SetByteKeepsTheLowEightBits) {
  Radio r(kProductKestal);
  OptionBytes copies = OptionBytes::Read(r.image, r.info, 3);
  copies.SetByte(3, 0x1C5);
  copies.Write(r.image, r.info);
  EXPECT_EQ(r.image.GetByte(36), 0xC5);
}

TEST(OptionBytes, ModelWithoutOptionBytesReadsAbsentAndWritesNothing) {
  Radio r(kNoProductId);
  const std::vector<uint8_t> before = Bytes(r.image);
  OptionBytes copies = OptionBytes::Read(r.image, r.info, kOptionByteCount);
  for (int n = 1; n <= kOptionByteCount; ++n) {
    EXPECT_EQ(copies.Byte(n), -1) << n;
    copies.SetBits(n, 0x01, true);
    copies.SetByte(n, 0);
    EXPECT_EQ(copies.Byte(n), -1) << "an absent copy stays absent";
    EXPECT_FALSE(copies.Bit(n, 0));
  }
  copies.Write(r.image, r.info);
  EXPECT_EQ(Bytes(r.image), before);
}

TEST(OptionBytes, NumbersOutsideTheCopiesAreAbsent) {
  Radio r(kProductKestal);
  OptionBytes copies = OptionBytes::Read(r.image, r.info, 99);
  EXPECT_EQ(copies.Count(), kOptionByteCount);
  for (int n : {-1, 0, kOptionByteCount + 1}) {
    EXPECT_EQ(copies.Byte(n), -1) << n;
    copies.SetBits(n, 0xFF, true);
    EXPECT_EQ(copies.Byte(n), -1) << n;
  }
  EXPECT_EQ(OptionBytes().Byte(1), -1);
  EXPECT_EQ(OptionBytes::Read(r.image, r.info, -3).Count(), 0);
}

}  // namespace
