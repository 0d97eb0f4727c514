#include "simulator/DisplayResources.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace sim {
namespace {

// An image of a bare header followed by whatever the test appends.
class ImageBuilder {
 public:
  ImageBuilder() : m_Bytes(24, 0) {
    const char tag[] = "Marvok";
    std::copy(tag, tag + sizeof tag, m_Bytes.begin());
  }
  uint32_t Here() const { return static_cast<uint32_t>(m_Bytes.size()); }
  uint32_t U8(unsigned a_Value) {
    m_Bytes.push_back(static_cast<uint8_t>(a_Value));
    return Here() - 1;
  }
  void U16(unsigned a_Value) {
    U8(a_Value & 0xFF);
    U8(a_Value >> 8);
  }
  void U32(uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) U8((a_Value >> (8 * i)) & 0xFF);
  }
  void Patch32(uint32_t a_At, uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) m_Bytes[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
  }
  uint32_t Glyph(unsigned a_Width, unsigned a_Height, std::vector<uint8_t> a_Rows) {
    const uint32_t at = U8(7);
    U8(a_Width);
    U8(a_Height);
    for (uint8_t b : a_Rows) U8(b);
    return at;
  }
  uint32_t Bitmap(unsigned a_Width, unsigned a_Height, std::vector<uint8_t> a_Rows) {
    const uint32_t at = U8(1);
    U16(a_Width);
    U16(a_Height);
    for (uint8_t b : a_Rows) U8(b);
    return at;
  }
  // A text object and its glyph list; returns the text's offset.
  uint32_t Text(const std::vector<uint32_t>& a_Glyphs, unsigned a_Count) {
    const uint32_t list = U8(a_Count);
    for (uint32_t g : a_Glyphs) U32(g);
    const uint32_t text = U8(6);
    U32(list);
    return text;
  }
  SimImage Build() {
    SimImage image;
    EXPECT_TRUE(image.Adopt(m_Bytes));
    return image;
  }

 private:
  std::vector<uint8_t> m_Bytes;
};

int CountDark(const LcdCanvas& a_Canvas) {
  int n = 0;
  for (int y = 0; y < a_Canvas.Height(); ++y) {
    for (int x = 0; x < a_Canvas.Width(); ++x) n += a_Canvas.GetPixel(x, y);
  }
  return n;
}

TEST(DisplayResourcesTest, BitmapsAndGlyphsReadTheirSizeAndRows) {
  ImageBuilder b;
  const uint32_t bitmap = b.Bitmap(10, 2, {0x01, 0x02, 0x06, 0x00});  // (0,0) (9,0) (1,1) (2,1)
  const uint32_t glyph = b.Glyph(3, 1, {0x05});
  const SimImage image = b.Build();
  auto first = BitmapAt(image, bitmap);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->width, 10);
  EXPECT_EQ(first->height, 2);
  EXPECT_EQ(first->Stride(), 2);
  LcdCanvas canvas(16, 4);
  DrawBitmapResource(canvas, *first, {1, 1}, false);
  EXPECT_TRUE(canvas.GetPixel(1, 1));
  EXPECT_TRUE(canvas.GetPixel(10, 1));
  EXPECT_TRUE(canvas.GetPixel(2, 2));
  EXPECT_TRUE(canvas.GetPixel(3, 2));
  EXPECT_EQ(CountDark(canvas), 4);
  auto second = BitmapAt(image, glyph);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->width, 3);
  canvas.Clear();
  DrawBitmapResource(canvas, *second, {0, 3}, true);
  EXPECT_EQ(CountDark(canvas), 1);
  EXPECT_TRUE(canvas.GetPixel(1, 3));
}

TEST(DisplayResourcesTest, TypeIsTheLowNibble) {
  ImageBuilder b;
  const uint32_t at = b.U8(0x37);  // type 7 with flags above
  b.U8(1);
  b.U8(1);
  b.U8(1);
  const SimImage image = b.Build();
  auto glyph = BitmapAt(image, at);
  ASSERT_TRUE(glyph);
  EXPECT_EQ(glyph->width, 1);
}

TEST(DisplayResourcesTest, HostileBitmapsYieldNothing) {
  ImageBuilder b;
  const uint32_t glyph = b.Glyph(1, 1, {1});
  const uint32_t text = b.Text({}, 0);
  const uint32_t rowsPastEnd = b.Bitmap(16, 100, {0xFF, 0xFF});
  const uint32_t headerPastEnd = b.U8(1);
  b.U8(200);
  const SimImage image = b.Build();
  EXPECT_FALSE(BitmapAt(image, 0));
  EXPECT_FALSE(BitmapAt(image, text));
  EXPECT_FALSE(BitmapAt(image, glyph + 1));  // the width byte reads as type 1; too short
  EXPECT_FALSE(BitmapAt(image, rowsPastEnd));
  EXPECT_FALSE(BitmapAt(image, headerPastEnd));
  EXPECT_FALSE(BitmapAt(image, image.Size()));
  EXPECT_FALSE(BitmapAt(image, 0xFFFFFFFF));
  EXPECT_FALSE(BitmapAt(SimImage{}, 24));
  // A bitmap without pixels is readable and draws nothing.
  ImageBuilder c;
  const uint32_t empty = c.Bitmap(0, 50, {});
  const uint32_t flat = c.Glyph(5, 0, {});
  const SimImage image2 = c.Build();
  LcdCanvas canvas(8, 8);
  for (uint32_t at : {empty, flat}) {
    auto bitmap = BitmapAt(image2, at);
    ASSERT_TRUE(bitmap);
    DrawBitmapResource(canvas, *bitmap, {0, 0}, true);
  }
  EXPECT_EQ(CountDark(canvas), 0);
}

TEST(DisplayResourcesTest, TextsDrawTheirGlyphsLeftToRight) {
  ImageBuilder b;
  const uint32_t bar = b.Glyph(2, 3, {0x01, 0x01, 0x01});    // left column dark
  const uint32_t dot = b.Glyph(3, 1, {0x04});                // rightmost pixel of the top row
  const uint32_t text = b.Text({bar, dot, bar}, 3);
  const SimImage image = b.Build();
  auto t = TextAt(image, text);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Count(), 3);
  EXPECT_EQ(t->Size().width, 7);
  EXPECT_EQ(t->Size().height, 3);
  EXPECT_FALSE(t->Glyph(3));
  EXPECT_FALSE(t->Glyph(-1));
  LcdCanvas canvas(16, 8);
  DrawTextResource(canvas, *t, {1, 2}, false);
  EXPECT_EQ(CountDark(canvas), 3 + 1 + 3);
  EXPECT_TRUE(canvas.GetPixel(1, 4));
  EXPECT_TRUE(canvas.GetPixel(5, 2));  // top-aligned at the point's y
  EXPECT_TRUE(canvas.GetPixel(6, 3));
}

TEST(DisplayResourcesTest, IndexStringsPickGlyphsByNumber) {
  ImageBuilder b;
  const uint32_t bar = b.Glyph(2, 3, {0x01, 0x01, 0x01});
  const uint32_t dot = b.Glyph(3, 1, {0x04});
  const uint32_t text = b.Text({bar, dot}, 2);
  const SimImage image = b.Build();
  auto t = TextAt(image, text);
  ASSERT_TRUE(t);
  LcdCanvas canvas(16, 8);
  // Glyph 1, a missing glyph (no movement), glyph 0 twice; the 0 byte ends the string.
  DrawTextResource(canvas, *t, {0, 0}, false, "\x02\x09\xFF\x01\x01\0\x02");
  EXPECT_EQ(CountDark(canvas), 1 + 3 + 3);
  EXPECT_TRUE(canvas.GetPixel(2, 0));
  EXPECT_TRUE(canvas.GetPixel(3, 2));
  EXPECT_TRUE(canvas.GetPixel(5, 2));
  canvas.Clear();
  DrawTextResource(canvas, *t, {0, 0}, false, "");
  EXPECT_EQ(CountDark(canvas), 0);
}

TEST(DisplayResourcesTest, HostileTextsDrawWhatIsReadableAndNeverCrash) {
  ImageBuilder b;
  const uint32_t bar = b.Glyph(1, 2, {0x01, 0x01});
  const uint32_t noType = b.U8(9);
  b.U32(0);
  const uint32_t listPastEnd = b.U8(6);
  b.U32(0x00FFFFFF);
  const uint32_t listZero = b.U8(6);
  b.U32(0);
  // Count 200 with two entries: one good glyph, one pointing past the end; the rest of the
  // list runs off the image.
  const uint32_t list = b.U8(200);
  b.U32(bar);
  b.U32(0x7FFFFFF0);
  const uint32_t text = b.U8(6);
  b.U32(list);
  const uint32_t truncated = b.U8(6);
  b.U8(0);
  const SimImage image = b.Build();
  EXPECT_FALSE(TextAt(image, 0));
  EXPECT_FALSE(TextAt(image, bar));
  EXPECT_FALSE(TextAt(image, noType));
  EXPECT_FALSE(TextAt(image, listPastEnd));
  EXPECT_FALSE(TextAt(image, listZero));
  EXPECT_FALSE(TextAt(image, truncated));
  EXPECT_FALSE(TextAt(image, 0xFFFFFFFE));
  auto t = TextAt(image, text);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Count(), 200);
  EXPECT_TRUE(t->Glyph(0));
  EXPECT_FALSE(t->Glyph(1));
  EXPECT_FALSE(t->Glyph(150));
  EXPECT_EQ(t->Size().width, 1);
  LcdCanvas canvas(8, 4);
  DrawTextResource(canvas, *t, {0, 0}, false);
  DrawTextResource(canvas, *t, {2, 0}, false, "\xC8\x01\x02");
  EXPECT_EQ(CountDark(canvas), 4);
  DrawTextResource(canvas, *t, {INT_MAX, INT_MAX}, true);
  DrawTextResource(canvas, *t, {INT_MIN, INT_MIN}, true);
  EXPECT_EQ(CountDark(canvas), 4);
}

}  // namespace
}  // namespace sim
