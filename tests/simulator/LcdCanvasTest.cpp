#include "simulator/LcdCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace sim {
namespace {

int CountDark(const LcdCanvas& a_Canvas) {
  int n = 0;
  for (int y = 0; y < a_Canvas.Height(); ++y) {
    for (int x = 0; x < a_Canvas.Width(); ++x) n += a_Canvas.GetPixel(x, y);
  }
  return n;
}

std::vector<Point> DarkPixels(const LcdCanvas& a_Canvas) {
  std::vector<Point> out;
  for (int y = 0; y < a_Canvas.Height(); ++y) {
    for (int x = 0; x < a_Canvas.Width(); ++x) {
      if (a_Canvas.GetPixel(x, y)) out.push_back({x, y});
    }
  }
  return out;
}

TEST(LcdCanvasTest, PixelLayoutIsLsbFirstRowsTopDown) {
  LcdCanvas canvas(20, 3);
  EXPECT_EQ(canvas.Stride(), 3);
  canvas.SetPixel(9, 1, true);
  EXPECT_EQ(canvas.Bits()[3 + 1], 0x02);
  EXPECT_TRUE(canvas.GetPixel(9, 1));
  canvas.SetPixel(9, 1, false);
  EXPECT_EQ(canvas.Bits()[4], 0x00);
}

TEST(LcdCanvasTest, SizeIsClampedToTheLargestLcd) {
  LcdCanvas big(1000, 100000);
  EXPECT_EQ(big.Width(), LcdCanvas::kMaxWidth);
  EXPECT_EQ(big.Height(), LcdCanvas::kMaxHeight);
  LcdCanvas none(-5, 10);
  EXPECT_EQ(none.Width(), 0);
  none.FillSpan(0, 0, 10, true);
  none.DrawRect({0, 0, 5, 5}, true, 0);
  EXPECT_FALSE(none.GetPixel(0, 0));
}

TEST(LcdCanvasTest, SpansUseEdgeMasksAndClip) {
  LcdCanvas canvas(32, 2);
  canvas.FillSpan(3, 0, 10, true);  // pixels 3..12
  EXPECT_EQ(canvas.Bits()[0], 0xF8);
  EXPECT_EQ(canvas.Bits()[1], 0x1F);
  EXPECT_EQ(canvas.Bits()[2], 0x00);
  canvas.InvertSpan(0, 0, 8);
  EXPECT_EQ(canvas.Bits()[0], 0x07);
  canvas.FillSpan(4, 0, 2, false);  // inside one byte
  EXPECT_EQ(canvas.Bits()[1], 0x1F);
  canvas.FillSpan(-5, 1, 8, true);  // clipped on the left: 0..2
  EXPECT_EQ(canvas.Bits()[4], 0x07);
  canvas.FillSpan(30, 1, 1000, true);  // clipped on the right: 30, 31
  EXPECT_EQ(canvas.Bits()[7], 0xC0);
  EXPECT_EQ(CountDark(canvas), 3 + 5 + 3 + 2);
}

TEST(LcdCanvasTest, ExtremeSpansNeverWriteOutside) {
  LcdCanvas canvas(24, 3);
  canvas.FillSpan(INT_MAX - 1, 1, INT_MAX, true);
  canvas.FillSpan(INT_MIN, 1, INT_MAX, true);  // ends at -2
  canvas.InvertSpan(0, 1, -7);
  canvas.FillSpan(0, INT_MIN, 24, true);
  EXPECT_EQ(CountDark(canvas), 0);
  canvas.FillSpan(INT_MIN, 2, INT_MAX, true);
  canvas.FillSpan(-1, 2, INT_MAX, true);  // the whole row
  EXPECT_EQ(CountDark(canvas), 24);
}

TEST(LcdCanvasTest, RectanglesFillInvertClearAndBorder) {
  LcdCanvas canvas(16, 12);
  canvas.DrawRect({2, 1, 11, 8}, true, 2);
  EXPECT_EQ(CountDark(canvas), 10 * 8 - 6 * 4);
  EXPECT_TRUE(canvas.GetPixel(3, 2));
  EXPECT_FALSE(canvas.GetPixel(4, 3));
  EXPECT_TRUE(canvas.GetPixel(10, 7));
  canvas.InvertRect({0, 0, 15, 11});
  EXPECT_EQ(CountDark(canvas), 16 * 12 - (10 * 8 - 6 * 4));
  canvas.ClearRect({-100, -100, 7, 100});
  EXPECT_EQ(CountDark(canvas), 8 * 12 - (8 + 8 + 8));  // minus the border in columns 8..11
  canvas.DrawRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, true, 0);
  EXPECT_EQ(CountDark(canvas), 16 * 12);
}

TEST(LcdCanvasTest, ThickBordersFillAndLargeThicknessIsCapped) {
  LcdCanvas canvas(40, 40);
  canvas.DrawRect({0, 0, 5, 5}, true, 3);  // the border meets in the middle
  EXPECT_EQ(CountDark(canvas), 36);
  canvas.Clear();
  canvas.DrawRect({0, 0, 39, 39}, true, 100);  // counts as 15
  EXPECT_EQ(CountDark(canvas), 40 * 40 - 10 * 10);
  canvas.Clear();
  canvas.DrawRect({0, 0, 39, 39}, true, -1);
  canvas.DrawRect({INT_MIN, 0, INT_MAX, 39}, true, 1);
  EXPECT_EQ(CountDark(canvas), 0 + 2 * 40);  // only the top and bottom rows show
}

TEST(LcdCanvasTest, BresenhamIncludesBothEndPoints) {
  LcdCanvas canvas(8, 8);
  canvas.Line({0, 0}, {5, 2}, true);
  EXPECT_EQ(DarkPixels(canvas),
            (std::vector<Point>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
  canvas.Clear();
  canvas.Line({2, 6}, {0, 0}, true);  // steep, drawn upward
  EXPECT_EQ(CountDark(canvas), 7);
  EXPECT_TRUE(canvas.GetPixel(2, 6));
  EXPECT_TRUE(canvas.GetPixel(0, 0));
  for (int y = 0; y < 7; ++y) {
    EXPECT_EQ(canvas.GetPixel(0, y) + canvas.GetPixel(1, y) + canvas.GetPixel(2, y), 1) << y;
  }
  canvas.Clear();
  canvas.Line({6, 3}, {1, 3}, true);
  canvas.Line({7, 7}, {7, 0}, true);
  EXPECT_EQ(CountDark(canvas), 6 + 8);
  canvas.Line({7, 7}, {7, 0}, false);
  EXPECT_EQ(CountDark(canvas), 6);
}

// A line clipped by a small canvas shows exactly the pixels the same line has on a larger one.
TEST(LcdCanvasTest, ClippedLinesMatchUnclippedOnes) {
  constexpr int kOffset = 100;
  const std::vector<std::pair<Point, Point>> lines = {
      {{-40, -7}, {50, 20}},  {{60, -3}, {-20, 9}},  {{5, -90}, {12, 80}},
      {{-3, 40}, {14, -60}},  {{-50, -50}, {70, 70}}, {{15, 1}, {-70, 2}},
      {{-99, 30}, {110, -25}}};
  for (const auto& [from, to] : lines) {
    LcdCanvas small(16, 16);
    LcdCanvas large(LcdCanvas::kMaxWidth, LcdCanvas::kMaxHeight);
    small.Line(from, to, true);
    large.Line({from.x + kOffset, from.y + kOffset}, {to.x + kOffset, to.y + kOffset}, true);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(small.GetPixel(x, y), large.GetPixel(x + kOffset, y + kOffset))
            << from.x << "," << from.y << " " << to.x << "," << to.y << " at " << x << "," << y;
      }
    }
  }
}

TEST(LcdCanvasTest, LinesWithHugeCoordinatesDrawNothing) {
  LcdCanvas canvas(16, 16);
  canvas.Line({INT_MIN, 0}, {INT_MAX, 5}, true);
  canvas.Line({0, INT_MIN}, {3, INT_MAX}, true);
  canvas.Line({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, true);
  EXPECT_EQ(CountDark(canvas), 0);
  canvas.Line({INT_MIN, 3}, {INT_MAX, 3}, true);  // horizontal: a span, clipped
  EXPECT_EQ(CountDark(canvas), 16);
}

TEST(LcdCanvasTest, DrawBitmapKeepsTheNeighbouringBitsOfTheSameBytes) {
  LcdCanvas canvas(24, 3);
  canvas.DrawRect(canvas.Bounds(), true, 0);
  const uint8_t zeros[2] = {0, 0};
  canvas.DrawBitmap({5, 1, 7, 2}, zeros, false);  // 3 x 2, one byte per row
  EXPECT_EQ(CountDark(canvas), 24 * 3 - 6);
  EXPECT_TRUE(canvas.GetPixel(4, 1));
  EXPECT_FALSE(canvas.GetPixel(5, 1));
  EXPECT_FALSE(canvas.GetPixel(7, 2));
  EXPECT_TRUE(canvas.GetPixel(8, 2));
  canvas.DrawBitmap({5, 1, 7, 2}, zeros, true);  // inverted: dark again
  EXPECT_EQ(CountDark(canvas), 24 * 3);
}

TEST(LcdCanvasTest, DrawBitmapShiftsUnalignedSourcesAndClips) {
  // 10 x 2: row 0 = pixels 0, 2, 9; row 1 = pixels 1, 8.
  const uint8_t rows[4] = {0x05, 0x02, 0x02, 0x01};
  LcdCanvas canvas(24, 4);
  canvas.DrawBitmap({3, 1, 12, 2}, rows, false);
  EXPECT_EQ(DarkPixels(canvas), (std::vector<Point>{{3, 1}, {5, 1}, {12, 1}, {4, 2}, {11, 2}}));
  canvas.Clear();
  canvas.DrawBitmap({-2, -1, 7, 0}, rows, false);  // source column 2 lands at x 0, row 1 at y 0
  EXPECT_EQ(DarkPixels(canvas), (std::vector<Point>{{6, 0}}));
  canvas.Clear();
  canvas.DrawBitmap({18, 2, 27, 3}, rows, true);  // cut at the right edge, inverted
  EXPECT_EQ(CountDark(canvas), (6 - 2) + (6 - 1));
  canvas.DrawBitmap({0, 0, 9, 1}, nullptr, false);
  canvas.DrawBitmap({INT_MAX - 1, 0, INT_MAX, 1}, rows, false);
  EXPECT_EQ(CountDark(canvas), 9);
}

TEST(LcdCanvasTest, BlitCopiesOrSetsDarkPixelsClippedToBothCanvases) {
  LcdCanvas src(8, 8);
  src.SetPixel(0, 0, true);
  src.SetPixel(3, 2, true);
  src.SetPixel(7, 7, true);
  LcdCanvas dst(10, 10);
  dst.DrawRect(dst.Bounds(), true, 0);
  Blit(src, dst, {0, 0}, {1, 1}, 8, 8, kBlitTransparent);
  EXPECT_EQ(CountDark(dst), 100);
  Blit(src, dst, {0, 0}, {1, 1}, 8, 8, kBlitCopy);
  EXPECT_EQ(CountDark(dst), 100 - 64 + 3);
  EXPECT_TRUE(dst.GetPixel(4, 3));
  EXPECT_FALSE(dst.GetPixel(2, 2));
  dst.Clear();
  Blit(src, dst, {2, 1}, {-1, 5}, 100, 100, kBlitCopy);  // source (3, 2) -> (0, 6)
  EXPECT_EQ(DarkPixels(dst), (std::vector<Point>{{0, 6}}));
  dst.Clear();
  Blit(src, dst, {-1, -1}, {0, 0}, 3, 3, kBlitTransparent);  // source (0, 0) -> (1, 1)
  EXPECT_EQ(DarkPixels(dst), (std::vector<Point>{{1, 1}}));
  Blit(src, dst, {INT_MIN, 0}, {INT_MAX, 0}, INT_MAX, INT_MAX, kBlitCopy);
  Blit(src, dst, {0, 0}, {0, 0}, -1, 5, kBlitCopy);
  EXPECT_EQ(CountDark(dst), 1);
}

TEST(LcdCanvasTest, BlitWithinOneCanvasReadsTheOriginalPixels) {
  LcdCanvas canvas(16, 1);
  canvas.FillSpan(0, 0, 4, true);
  Blit(canvas, canvas, {0, 0}, {2, 0}, 8, 1, kBlitCopy);
  EXPECT_EQ(canvas.Bits()[0], 0x3F);  // 0..1 kept, 2..5 copied from 0..3, 6..9 from 4..7
  EXPECT_EQ(canvas.Bits()[1], 0x00);
}

}  // namespace
}  // namespace sim
