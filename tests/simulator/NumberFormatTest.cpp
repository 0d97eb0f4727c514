// Formatting and parsing of register values by their number format.
#include <gtest/gtest.h>

#include <cstring>

#include "simulator/NumberFormat.h"

namespace {

using sim::NumberFormat;

NumberFormat Make(int a_Type, int a_Digits, int a_Decimals, uint32_t a_Extra = 0) {
  NumberFormat f;
  f.options = 1u | static_cast<uint32_t>(a_Type) << 8 | static_cast<uint32_t>(a_Digits) << 24 |
              static_cast<uint32_t>(a_Decimals) << 28 | a_Extra;
  return f;
}

NumberFormat::Text Show(const NumberFormat& a_Format, int32_t a_Value) {
  uint8_t bytes[4];
  std::memcpy(bytes, &a_Value, 4);
  return a_Format.Format(bytes, 4);
}

int32_t Value(const std::vector<uint8_t>& a_Bytes) {
  int32_t v = 0;
  std::memcpy(&v, a_Bytes.data(), 4);
  return v;
}

TEST(NumberFormatTest, FormatsIntegersWithDigitsAndDecimals) {
  EXPECT_EQ(Show(Make(0, 3, 0), 1234).text, "***");
  EXPECT_FALSE(Show(Make(0, 3, 0), 1234).valid);
  EXPECT_EQ(Show(Make(0, 5, 1), 1234).text, "123.4");
  EXPECT_EQ(Show(Make(0, 4, 1), 1234).text, "**.*");
  EXPECT_EQ(Show(Make(0, 5, 2), 5).text, "0.05");
  EXPECT_EQ(Show(Make(0, 5, 2, 1u << 16), 5).text, "00.05");
  EXPECT_EQ(Show(Make(0, 6, 2), -5).text, "-0.05");
  EXPECT_EQ(Show(Make(0, 5, 0), 0xFFFF).text, "-1");     // 16-bit signed
  EXPECT_EQ(Show(Make(1, 5, 0), 0xFFFF).text, "65535");  // 16-bit unsigned
  EXPECT_EQ(Show(Make(2, 4, 0), 0xBEEF).text, "BEEF");
  EXPECT_EQ(Show(Make(0, 4, 0, 1u << 13), 77).text, "****");
}

TEST(NumberFormatTest, ScalesAndRefusesDegenerateRanges) {
  NumberFormat f = Make(0, 5, 0, (1u << 12) | (1u << 17));
  f.r1 = 1000;  // value range 0..1000 shown as 0..100
  f.r2 = 0;
  f.r3 = 100;
  f.r4 = 0;
  EXPECT_EQ(Show(f, 500).text, "50");
  ASSERT_TRUE(f.Parse("25"));
  EXPECT_EQ(Value(*f.Parse("25")), 250);
  EXPECT_FALSE(f.Parse("101"));  // outside the shown range
  f.r1 = f.r2 = 7;               // minimum = maximum
  EXPECT_FALSE(Show(f, 7).valid);
  EXPECT_EQ(Show(f, 7).text, "");
}

TEST(NumberFormatTest, ParsesInputsAndChecksLimits) {
  NumberFormat f = Make(1, 6, 2, 1u << 17);
  f.r1 = 500;
  f.r2 = 0;
  EXPECT_EQ(Value(*f.Parse("1.5")), 150);
  EXPECT_EQ(Value(*f.Parse("2")), 200);
  EXPECT_FALSE(f.Parse("6"));  // 600 > 500
  EXPECT_FALSE(f.Parse("1.2.3"));
  EXPECT_FALSE(Make(0, 6, 0).Parse("70000"));  // too large for a 16-bit register
  EXPECT_EQ(Value(*Make(0, 6, 0, 1u << 18).Parse("70000")), 70000);
  EXPECT_EQ(Value(*Make(2, 4, 0).Parse("BEEF")), 0xBEEF);
  auto d = Make(4, 8, 2).Parse("2.5");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->size(), 8u);
}

TEST(NumberFormatTest, AllowsCharactersByTypeAndPosition) {
  EXPECT_TRUE(Make(0, 4, 0).Allows('-', 0));
  EXPECT_FALSE(Make(0, 4, 0).Allows('-', 1));
  EXPECT_FALSE(Make(1, 4, 0).Allows('-', 0));
  EXPECT_FALSE(Make(0, 4, 0).Allows('.', 1));
  EXPECT_TRUE(Make(0, 4, 1).Allows('.', 1));
  EXPECT_TRUE(Make(2, 4, 0).Allows('C', 2));
  EXPECT_FALSE(Make(0, 4, 0).Allows('C', 2));
}

}  // namespace
