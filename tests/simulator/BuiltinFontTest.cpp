#include "simulator/BuiltinFont.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "simulator/StatusBox.h"

namespace sim {
namespace {

std::vector<uint8_t> Pixels(const LcdCanvas& a_Canvas) {
  return {a_Canvas.Bits(), a_Canvas.Bits() + a_Canvas.Stride() * a_Canvas.Height()};
}

int CountDark(const LcdCanvas& a_Canvas, Rect a_Rect) {
  int n = 0;
  for (int y = a_Rect.top; y <= a_Rect.bottom; ++y) {
    for (int x = a_Rect.left; x <= a_Rect.right; ++x) n += a_Canvas.GetPixel(x, y);
  }
  return n;
}

LcdCanvas Drawn(const char* a_Text, Rect a_Rect, bool a_Invert = false, int a_Width = 64) {
  LcdCanvas canvas(a_Width, 24);
  BuiltinFont::DrawText(canvas, a_Text, a_Rect, a_Invert);
  return canvas;
}

const Rect kWide{0, 4, 63, 23};

TEST(SimBuiltinFontTest, AsciiGlyphsFillTheirCellColumnByColumn) {
  LcdCanvas canvas = Drawn("A", kWide);
  const uint8_t* columns = BuiltinFont::kAscii['A' - 32];
  for (int x = 0; x < 6; ++x) {
    for (int y = 0; y < 8; ++y) {
      EXPECT_EQ(canvas.GetPixel(x, 4 + y), x < 5 && ((columns[x] >> y) & 1)) << x << "," << y;
    }
  }
  EXPECT_EQ(CountDark(canvas, {6, 0, 63, 23}), 0);
  EXPECT_GT(CountDark(canvas, {0, 4, 5, 11}), 8);
}

TEST(SimBuiltinFontTest, InvertedCellsIncludeTheGapColumn) {
  LcdCanvas canvas = Drawn("  ", kWide, true);
  EXPECT_EQ(CountDark(canvas, canvas.Bounds()), 2 * 6 * 8);
  EXPECT_EQ(CountDark(canvas, {0, 4, 11, 11}), 2 * 6 * 8);
}

TEST(SimBuiltinFontTest, TextStopsAtTheFirstCellOutsideItsRectangle) {
  // Cells start at 0, 6, 12, 18 and 24: the one at 18 still overlaps 0..19 and is drawn whole;
  // the one at 24 is not drawn.
  LcdCanvas limited = Drawn("########", {0, 4, 19, 23});
  EXPECT_EQ(Pixels(limited), Pixels(Drawn("####", kWide)));
  EXPECT_GT(CountDark(limited, {20, 4, 23, 11}), 0);
  // The last cell may run off the canvas: it is clipped there.
  LcdCanvas narrow = Drawn("#####", kWide, false, 22);
  EXPECT_GT(CountDark(narrow, {18, 4, 21, 11}), 0);
  // A rectangle below the pen's cell takes no cell at all.
  EXPECT_EQ(CountDark(Drawn("#", {0, 4, 63, 3}), {0, 0, 63, 23}), 0);
  EXPECT_EQ(CountDark(Drawn("#", {0, 12, 3, 11}), {0, 0, 63, 23}), 0);
}

TEST(SimBuiltinFontTest, ChineseCharactersRiseAboveTheCellAndTakeTwelvePixels) {
  LcdCanvas canvas = Drawn("\xB3\xAC" "A", {0, 10, 63, 23});  // 超 A
  LcdCanvas expected(64, 24);
  const BuiltinFont::ChineseGlyph* glyph = BuiltinFont::FindChinese(0xB3AC);
  ASSERT_NE(glyph, nullptr);
  expected.DrawBitmap(Rect::FromSize(0, 6, 12, 12), glyph->rows, false);
  BuiltinFont::DrawText(expected, "A", {12, 10, 63, 23}, false);
  EXPECT_EQ(Pixels(canvas), Pixels(expected));
  EXPECT_GT(CountDark(canvas, {0, 6, 11, 9}), 0);  // above the cell's top
}

TEST(SimBuiltinFontTest, AllTenStatusCharactersAreThere) {
  const char* text = "\xB3\xAC\xCA\xB1\xCA\xFD\xD6\xB5\xCE\xDE\xD0\xA7\xD7\xE9\xCC\xAC\xB4\xED\xCE\xF3";
  for (std::size_t i = 0; i < 20; i += 2) {
    const auto code = static_cast<uint16_t>(static_cast<uint8_t>(text[i]) << 8 | static_cast<uint8_t>(text[i + 1]));
    const BuiltinFont::ChineseGlyph* glyph = BuiltinFont::FindChinese(code);
    ASSERT_NE(glyph, nullptr) << i;
    int ink = 0;
    for (uint8_t b : glyph->rows) ink += std::popcount(b);
    EXPECT_GT(ink, 20) << i;
    EXPECT_EQ(glyph->rows[1] & 0xF0, 0) << "only 12 columns";
  }
  EXPECT_EQ(BuiltinFont::TextWidth(text), 120);
}

TEST(SimBuiltinFontTest, OddBytesFollowTheDrawingRules) {
  // An unknown two-byte code draws nothing and does not move the pen.
  EXPECT_EQ(Pixels(Drawn("\xB0\xA1" "A", kWide)), Pixels(Drawn("A", kWide)));
  EXPECT_EQ(BuiltinFont::TextWidth("\xB0\xA1" "A"), 6);
  // A lead byte before a byte below 160 is skipped.
  EXPECT_EQ(Pixels(Drawn("\xB3" "A", kWide)), Pixels(Drawn("A", kWide)));
  EXPECT_EQ(Pixels(Drawn("A\xCA", kWide)), Pixels(Drawn("A", kWide)));
  // 128..159 and control codes have no glyph: a blank cell.
  EXPECT_EQ(Pixels(Drawn("\x80" "A\x9F\x01" "A", kWide)), Pixels(Drawn(" A  A", kWide)));
  EXPECT_EQ(BuiltinFont::TextWidth("\x80\x01" "A"), 18);
  EXPECT_EQ(CountDark(Drawn("\x7F", kWide), kWide), 0);
  EXPECT_EQ(BuiltinFont::TextWidth(nullptr), 0);
  LcdCanvas canvas(8, 8);
  BuiltinFont::DrawText(canvas, nullptr, canvas.Bounds(), false);
  BuiltinFont::DrawText(canvas, "#", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false);
  BuiltinFont::DrawText(canvas, "\xB3\xAC#", {0, INT_MAX - 1, 7, INT_MAX}, false);
  BuiltinFont::DrawText(canvas, "\xB3\xAC#", {INT_MAX - 3, 0, INT_MAX, 7}, false);
  EXPECT_EQ(CountDark(canvas, canvas.Bounds()), 0);
  // An endless rectangle stops at the canvas edge.
  std::string longText(100000, '#');
  BuiltinFont::DrawText(canvas, longText.c_str(), {0, 0, INT_MAX, 7}, false);
  EXPECT_GT(CountDark(canvas, canvas.Bounds()), 0);
}

TEST(SimStatusBoxTest, TwentyCharactersOn192PixelsMakeA126PixelBoxAt33) {
  const char* text = "Communication failed";
  ASSERT_EQ(std::strlen(text), 20u);
  EXPECT_EQ(StatusBoxRect(192, 64, text), (Rect{33, 24, 158, 39}));
  LcdCanvas screen(192, 64);
  screen.DrawRect(screen.Bounds(), true, 0);
  const Rect box = DrawStatusBox(screen, text);
  EXPECT_EQ(box.Width(), 126);
  EXPECT_EQ(box.Height(), 16);
  // Everything outside the box is untouched, the frame of 3 and 4 pixels inside it is light.
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 192 * 64 - 126 * 16 + CountDark(screen, box));
  EXPECT_EQ(CountDark(screen, {33, 24, 158, 27}), 0);
  EXPECT_EQ(CountDark(screen, {33, 36, 158, 39}), 0);
  EXPECT_EQ(CountDark(screen, {33, 24, 35, 39}), 0);
  // The text starts at (36, 28).
  LcdCanvas text28(192, 64);
  BuiltinFont::DrawText(text28, text, {36, 28, 191, 63}, false);
  for (int y = 24; y <= 39; ++y) {
    for (int x = 33; x <= 158; ++x) ASSERT_EQ(screen.GetPixel(x, y), text28.GetPixel(x, y));
  }
}

TEST(SimStatusBoxTest, ChineseTextCountsTwoBytesPerCharacter) {
  const char* text = "\xCA\xFD\xD6\xB5\xCE\xDE\xD0\xA7";  // 数值无效
  const Rect box = StatusBoxRect(128, 64, text);
  EXPECT_EQ(box, (Rect{37, 24, 90, 39}));
  LcdCanvas screen(128, 64);
  DrawStatusBox(screen, text);
  // The characters rise 4 pixels above their cells: into rows 24..35 of the box.
  EXPECT_GT(CountDark(screen, {40, 24, 87, 35}), 0);
  EXPECT_EQ(CountDark(screen, {0, 0, 127, 23}) + CountDark(screen, {0, 36, 127, 63}), 0);
  EXPECT_FALSE(StatusBoxRect(128, 64, nullptr).Valid());
  EXPECT_EQ(StatusBoxRect(128, 64, ""), (Rect{61, 24, 66, 39}));
}

}  // namespace
}  // namespace sim
