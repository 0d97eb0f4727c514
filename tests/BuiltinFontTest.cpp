// The built-in ASCII fonts: table layout, bit order of the emitted glyphs, cell bounds.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "editor/fonts/BuiltinFont.h"

using namespace kd820;

namespace {

constexpr int kSizes[] = {8, 12, 16};

uint8_t Mirror(uint8_t a_Byte) {
  uint8_t out = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (a_Byte & (1u << bit)) out = static_cast<uint8_t>(out | (0x80u >> bit));
  }
  return out;
}

Glyph Render(char32_t a_Character, int a_Size) {
  Glyph glyph;
  EXPECT_TRUE(RenderBuiltinGlyph(a_Character, a_Size, glyph)) << static_cast<int>(a_Character);
  return glyph;
}

bool Ink(const Glyph& a_Glyph, int a_X, int a_Y) {
  const int rowBytes = (a_Glyph.m_Width + 7) / 8;
  return (a_Glyph.m_Pixels[static_cast<std::size_t>(a_Y * rowBytes + a_X / 8)] >> (a_X % 8)) & 1;
}

// Lowest and highest row holding ink, or {-1, -1} for an empty glyph.
std::pair<int, int> InkRows(const Glyph& a_Glyph) {
  int first = -1;
  int last = -1;
  for (int y = 0; y < a_Glyph.m_Height; ++y) {
    for (int x = 0; x < a_Glyph.m_Width; ++x) {
      if (Ink(a_Glyph, x, y)) {
        if (first < 0) first = y;
        last = y;
      }
    }
  }
  return {first, last};
}

}  // namespace

TEST(BuiltinFont, CellSizes) {
  EXPECT_EQ(BuiltinCellWidth(8), 6);
  EXPECT_EQ(BuiltinCellWidth(12), 6);
  EXPECT_EQ(BuiltinCellWidth(16), 8);
  EXPECT_EQ(BuiltinCellHeight(8), 8);
  EXPECT_EQ(BuiltinCellHeight(12), 12);
  EXPECT_EQ(BuiltinCellHeight(16), 16);
  for (const int other : {0, -8, 7, 9, 24, 32}) {
    EXPECT_EQ(BuiltinCellWidth(other), 0) << other;
    EXPECT_EQ(BuiltinCellHeight(other), 0) << other;
  }
}

TEST(BuiltinFont, LetterAAtSize8HasBitZeroAsLeftmostColumn) {
  const Glyph a = Render(U'A', 8);
  EXPECT_EQ(a.m_Width, 6);
  EXPECT_EQ(a.m_Height, 8);
  ASSERT_EQ(a.m_Pixels.size(), 8u);
  const std::span<const uint8_t> table = BuiltinGlyphRows(U'A', 8);
  ASSERT_EQ(table.size(), 8u);
  for (std::size_t row = 0; row < 8; ++row) EXPECT_EQ(a.m_Pixels[row], Mirror(table[row])) << row;
  // The committed table: a rounded top, the bar on row 4, both legs down to row 6.
  const std::vector<uint8_t> expected = {0x00, 0x06, 0x09, 0x09, 0x0F, 0x09, 0x09, 0x00};
  EXPECT_EQ(a.m_Pixels, expected);
  // Its left leg is in the leftmost column: bit 0.
  EXPECT_TRUE(Ink(a, 0, 5));
  EXPECT_FALSE(Ink(a, 5, 5));
}

TEST(BuiltinFont, EveryGlyphIsTheMirroredTableRows) {
  for (const int size : kSizes) {
    for (char32_t c = 32; c <= 126; ++c) {
      SCOPED_TRACE(testing::Message() << "size " << size << " char " << static_cast<int>(c));
      const Glyph glyph = Render(c, size);
      const std::span<const uint8_t> table = BuiltinGlyphRows(c, size);
      ASSERT_EQ(table.size(), static_cast<std::size_t>(size));
      ASSERT_EQ(glyph.m_Pixels.size(), static_cast<std::size_t>(size));
      EXPECT_EQ(glyph.m_Width, BuiltinCellWidth(size));
      EXPECT_EQ(glyph.m_Height, size);
      for (int row = 0; row < size; ++row) EXPECT_EQ(glyph.m_Pixels[row], Mirror(table[row]));
    }
  }
}

TEST(BuiltinFont, TablesFollowEachOtherInCharacterOrder) {
  EXPECT_EQ(BuiltinGlyphRows(U' ', 8).data(), kBuiltinFont8);
  EXPECT_EQ(BuiltinGlyphRows(U'!', 12).data(), kBuiltinFont12 + 12);
  EXPECT_EQ(BuiltinGlyphRows(U'~', 16).data(), kBuiltinFont16 + 94 * 16);
}

TEST(BuiltinFont, SpaceIsEmptyAndEveryOtherCharacterHasInk) {
  for (const int size : kSizes) {
    const Glyph space = Render(U' ', size);
    EXPECT_EQ(space.m_Pixels, std::vector<uint8_t>(static_cast<std::size_t>(size), 0)) << size;
    for (char32_t c = 33; c <= 126; ++c) {
      EXPECT_NE(InkRows(Render(c, size)).first, -1) << size << " " << static_cast<int>(c);
    }
  }
}

TEST(BuiltinFont, InkStaysWithinTheCellWidth) {
  for (const int size : kSizes) {
    const int width = BuiltinCellWidth(size);
    const auto spareInGlyph = static_cast<uint8_t>(0xFF << width);
    const auto spareInTable = static_cast<uint8_t>(0xFF >> width);
    for (char32_t c = 32; c <= 126; ++c) {
      const Glyph glyph = Render(c, size);
      for (const uint8_t row : glyph.m_Pixels) {
        EXPECT_EQ(row & spareInGlyph, 0) << size << " " << static_cast<int>(c);
      }
      for (const uint8_t row : BuiltinGlyphRows(c, size)) {
        EXPECT_EQ(row & spareInTable, 0) << size << " " << static_cast<int>(c);
      }
    }
  }
}

TEST(BuiltinFont, CharactersAreDistinct) {
  for (const int size : kSizes) {
    std::set<std::vector<uint8_t>> seen;
    for (char32_t c = 32; c <= 126; ++c) {
      EXPECT_TRUE(seen.insert(Render(c, size).m_Pixels).second) << size << " " << static_cast<int>(c);
    }
  }
}

TEST(BuiltinFont, LettersShareABaselineAndDescendersGoBelowIt) {
  for (const int size : kSizes) {
    SCOPED_TRACE(size);
    const int baseline = InkRows(Render(U'H', size)).second;
    for (const char32_t c : {U'A', U'E', U'x', U'0', U'7'}) EXPECT_EQ(InkRows(Render(c, size)).second, baseline);
    for (const char32_t c : {U'g', U'p', U'y'}) EXPECT_GT(InkRows(Render(c, size)).second, baseline);
    // Capitals start above lower-case letters without ascenders.
    EXPECT_LT(InkRows(Render(U'H', size)).first, InkRows(Render(U'x', size)).first);
    EXPECT_LT(InkRows(Render(U'g', size)).second, size);
  }
}

TEST(BuiltinFont, OutsidePrintableAsciiOrOtherSizesFails) {
  Glyph glyph;
  glyph.m_Width = 77;
  for (const char32_t c : {char32_t{0}, char32_t{9}, char32_t{31}, char32_t{127}, char32_t{0xA0}, char32_t{0x4E2D},
                           char32_t{0x10FFFF}}) {
    for (const int size : kSizes) {
      EXPECT_FALSE(RenderBuiltinGlyph(c, size, glyph)) << static_cast<uint32_t>(c);
      EXPECT_TRUE(BuiltinGlyphRows(c, size).empty());
    }
  }
  for (const int size : {0, -8, 7, 10, 24, 32}) {
    EXPECT_FALSE(RenderBuiltinGlyph(U'A', size, glyph)) << size;
    EXPECT_TRUE(BuiltinGlyphRows(U'A', size).empty());
  }
  // A failure leaves the output alone.
  EXPECT_EQ(glyph.m_Width, 77);
  EXPECT_TRUE(glyph.m_Pixels.empty());
}
