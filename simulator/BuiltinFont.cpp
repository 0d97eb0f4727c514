#include "simulator/BuiltinFont.h"

#include <cstring>

namespace sim {

namespace {

// One step through a GBK byte string, shared by drawing and measuring.
struct Token {
  enum Kind { kEnd, kCell, kChinese, kSkip } kind = kEnd;
  unsigned code = 0;  // the byte of a cell, the two-byte code of a Chinese character
  int length = 0;     // bytes consumed
};

Token NextToken(const unsigned char* a_Text) {
  const unsigned c = a_Text[0];
  if (c == 0) return {};
  if (c < 160) return {Token::kCell, c, 1};
  const unsigned next = a_Text[1];
  if (next >= 160) return {Token::kChinese, c << 8 | next, 2};
  return {Token::kSkip, c, 1};
}

}  // namespace

const BuiltinFont::ChineseGlyph* BuiltinFont::FindChinese(uint16_t a_Gbk) {
  for (const ChineseGlyph& glyph : kChinese) {
    if (glyph.gbk == a_Gbk) return &glyph;
  }
  return nullptr;
}

void BuiltinFont::DrawText(LcdCanvas& a_Canvas, const char* a_Bytes, Rect a_Rect, bool a_Invert) {
  if (a_Bytes == nullptr || !a_Rect.Valid()) return;
  const auto* text = reinterpret_cast<const unsigned char*>(a_Bytes);
  int x = a_Rect.left;
  const int y = a_Rect.top;
  // Every cell, Chinese characters included, lies in rows y - 4 .. y + 7: off the canvas, the
  // text cannot show (and the row arithmetic below stays inside int).
  if (y >= a_Canvas.Height() || y < -kCellHeight - kChineseRise) return;
  for (;;) {
    // The pen only moves right, so once it is past the canvas nothing more can show; stopping
    // there also keeps it from overflowing on endless texts.
    if (x >= a_Canvas.Width()) return;
    if (!Rect::FromSize(x, y, kCellWidth, kCellHeight).Overlaps(a_Rect)) return;
    const Token token = NextToken(text);
    if (token.kind == Token::kEnd) return;
    text += token.length;
    if (token.kind == Token::kCell) {
      // Spread the five column bytes into eight rows of one byte (bit x = column x); the
      // sixth column and codes without a glyph stay light.
      uint8_t rows[kCellHeight] = {};
      if (token.code >= 32 && token.code < 128) {
        const uint8_t* columns = kAscii[token.code - 32];
        for (int col = 0; col < 5; ++col) {
          for (int row = 0; row < kCellHeight; ++row) {
            if (columns[col] & (1 << row)) rows[row] |= static_cast<uint8_t>(1 << col);
          }
        }
      }
      a_Canvas.DrawBitmap(Rect::FromSize(x, y, kCellWidth, kCellHeight), rows, a_Invert);
      x += kCellWidth;
    } else if (token.kind == Token::kChinese) {
      if (const ChineseGlyph* glyph = FindChinese(static_cast<uint16_t>(token.code))) {
        a_Canvas.DrawBitmap(Rect::FromSize(x, y - kChineseRise, kChineseSize, kChineseSize),
                            glyph->rows, a_Invert);
        x += kChineseSize;
      }
    }
  }
}

int BuiltinFont::TextWidth(const char* a_Bytes) {
  if (a_Bytes == nullptr) return 0;
  const auto* text = reinterpret_cast<const unsigned char*>(a_Bytes);
  long width = 0;
  for (Token token = NextToken(text); token.kind != Token::kEnd; token = NextToken(text)) {
    text += token.length;
    if (token.kind == Token::kCell) width += kCellWidth;
    if (token.kind == Token::kChinese && FindChinese(static_cast<uint16_t>(token.code))) {
      width += kChineseSize;
    }
    if (width > 0x7FFF) return 0x7FFF;  // far wider than any LCD
  }
  return static_cast<int>(width);
}

}  // namespace sim
