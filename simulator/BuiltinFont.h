#pragma once
// The simulator's own font for its status texts: ASCII in 6 x 8 cells and the ten Chinese
// characters the status texts use (超 时 数 值 无 效 组 态 错 误) as 12 x 12 glyphs. Texts are
// byte strings in GBK. The glyph tables are generated (BuiltinFontData.cpp).
#include <cstdint>

#include "simulator/Geometry.h"
#include "simulator/LcdCanvas.h"

namespace sim {

class BuiltinFont {
 public:
  static constexpr int kCellWidth = 6;
  static constexpr int kCellHeight = 8;
  static constexpr int kChineseSize = 12;
  // A Chinese glyph stands this many pixels above its cell.
  static constexpr int kChineseRise = 4;

  struct ChineseGlyph {
    uint16_t gbk;      // lead byte << 8 | trail byte
    uint8_t rows[24];  // 12 rows of 2 bytes, bit 0 = leftmost pixel
  };

  // Codes 32..127: five column bytes each, bit j = row j from the top.
  static const uint8_t kAscii[96][5];
  static const ChineseGlyph kChinese[10];

  // Draws a_Bytes (up to a 0 byte) from a_Rect's top-left corner rightward. Drawing stops at
  // the first cell that does not overlap a_Rect; a cell that does is drawn whole (clipped only
  // by the canvas). Bytes below 160 are one 6-pixel cell (codes without an ASCII glyph draw a
  // blank one); two bytes of 160 or more are one Chinese character, 12 pixels wide, or nothing
  // when it is not one of the ten; a byte of 160 or more before a smaller one is skipped.
  static void DrawText(LcdCanvas& a_Canvas, const char* a_Bytes, Rect a_Rect, bool a_Invert);
  // The width DrawText gives a_Bytes without a limit.
  static int TextWidth(const char* a_Bytes);
  // The glyph of a two-byte GBK code, nullptr when it is not one of the ten.
  static const ChineseGlyph* FindChinese(uint16_t a_Gbk);
};

}  // namespace sim
