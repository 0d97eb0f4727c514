#include <gtest/gtest.h>

#include "simulator/InternalMemory.h"

namespace sim {
namespace {

TEST(InternalMemoryTest, BitsAreBitsOfTheWords) {
  InternalMemory memory;
  const uint8_t one = 1;
  ASSERT_TRUE(memory.WriteBits(3 * 16 + 10, &one, 1));
  EXPECT_EQ(memory.Word(3), 0x0400);

  // Twelve bits from bit 12 straddle words 0 and 1; the bits around them stay.
  memory.WriteWord(0, 0x0FFF);
  memory.WriteWord(1, 0xFF00);
  const uint8_t pattern[2] = {0xA5, 0x0C};
  ASSERT_TRUE(memory.WriteBits(12, pattern, 12));
  EXPECT_EQ(memory.Word(0), 0x5FFF);
  EXPECT_EQ(memory.Word(1), 0xFFCA);
  uint8_t back[2] = {0xFF, 0xFF};
  ASSERT_TRUE(memory.ReadBits(12, back, 12));
  EXPECT_EQ(back[0], 0xA5);
  EXPECT_EQ(back[1], 0x0C);  // the unused high bits of the last byte read as 0

  // Bytes run low byte first; an odd length keeps the high byte of its last word.
  const uint8_t bytes[3] = {0x01, 0x02, 0x03};
  ASSERT_TRUE(memory.WriteBytes(0, bytes, 3));
  EXPECT_EQ(memory.DoubleWord(0), 0xFF030201u);
}

TEST(InternalMemoryTest, AccessesPastTheLastWordAreRefusedWhole) {
  InternalMemory memory;
  uint16_t value = 7;
  EXPECT_FALSE(memory.WriteWord(256, 1));
  EXPECT_FALSE(memory.ReadWord(256, value));
  EXPECT_EQ(value, 7);
  EXPECT_EQ(memory.Word(300), 0);

  const uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_FALSE(memory.WriteBytes(255, bytes, 4));
  EXPECT_EQ(memory.Word(255), 0);
  EXPECT_FALSE(memory.WriteDoubleWord(255, 0x12345678));
  EXPECT_EQ(memory.Word(255), 0);
  EXPECT_FALSE(memory.WriteBytes(0xFFFFFFFFu, bytes, 4));

  const uint8_t ones[1] = {0x03};
  EXPECT_FALSE(memory.WriteBits(4095, ones, 2));
  EXPECT_EQ(memory.Word(255), 0);
  EXPECT_TRUE(memory.WriteBits(4095, ones, 1));
  EXPECT_EQ(memory.Word(255), 0x8000);
}

TEST(InternalMemoryTest, WordWritesThatCoverWord254RaiseTheChangeFlag) {
  InternalMemory memory;
  memory.WriteWord(253, 1);
  memory.WriteWord(255, 1);
  const uint8_t bit = 1;
  memory.WriteBits(254 * 16, &bit, 1);
  EXPECT_FALSE(memory.Changed());

  memory.WriteWord(254, 1);
  EXPECT_TRUE(memory.Changed());
  memory.ClearChanged();

  // A 32-bit value written from word 253 reaches word 254.
  memory.WriteDoubleWord(253, 0x00010002);
  EXPECT_TRUE(memory.Changed());
  memory.ClearChanged();

  // Refused writes change nothing.
  const uint8_t bytes[6] = {};
  memory.WriteBytes(254, bytes, 6);
  EXPECT_FALSE(memory.Changed());
}

}  // namespace
}  // namespace sim
