// Formatting and parsing of register values by their number format.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

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

// A projection whose range has no width maps nothing: the value shows as invalid and an input
// is refused, and nothing divides by zero.
TEST(NumberFormatTest, ProjectionsWithoutWidthAreInvalid) {
  NumberFormat f = Make(0, 5, 0, (1u << 12) | (1u << 17));
  f.r1 = 1;  // value range one wide, shown as 0..100
  f.r2 = 0;
  f.r3 = 100;
  f.r4 = 0;
  EXPECT_EQ(Show(f, 1).text, "100");
  EXPECT_EQ(Value(*f.Parse("50")), 1);
  f.r3 = f.r4 = 5;  // shown range without width
  EXPECT_TRUE(Show(f, 1).valid);  // the value range still maps, onto the single number
  EXPECT_FALSE(f.Parse("5"));
  f.r3 = 4;  // shown maximum below its minimum
  EXPECT_FALSE(f.Parse("4"));
  f.r1 = 0;  // value maximum below its minimum
  f.r2 = 1;
  EXPECT_FALSE(Show(f, 0).valid);

  auto bits = [](float a_Value) {
    uint32_t raw;
    std::memcpy(&raw, &a_Value, 4);
    return raw;
  };
  auto showFloat = [&](const NumberFormat& a_Format, float a_Value) {
    return Show(a_Format, static_cast<int32_t>(bits(a_Value)));
  };
  NumberFormat g = Make(3, 8, 2, (1u << 12) | (1u << 17));
  g.r1 = g.r2 = bits(1.5f);
  g.r3 = bits(10.0f);
  g.r4 = bits(0.0f);
  EXPECT_FALSE(showFloat(g, 1.5f).valid);
  EXPECT_EQ(showFloat(g, 1.5f).text, "");
  g.r1 = bits(std::numeric_limits<float>::quiet_NaN());
  EXPECT_FALSE(showFloat(g, 1.5f).valid);
  EXPECT_FALSE(g.Parse("5"));  // a value range that is not a number
  g.r1 = bits(2.0f);
  g.r2 = bits(1.0f);
  EXPECT_TRUE(g.Parse("5"));
  g.r3 = g.r4 = bits(5.0f);
  EXPECT_FALSE(g.Parse("5"));
  g.r3 = bits(std::numeric_limits<float>::infinity());  // a shown range without end
  g.r4 = bits(0.0f);
  EXPECT_FALSE(g.Parse("5"));
  EXPECT_FALSE(showFloat(g, 1.5f).valid);
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
