#pragma once
// The built-in fixed-pitch ASCII fonts (characters 32..126) of sizes 8, 12 and 16 pixels.
#include <cstdint>
#include <span>

#include "editor/fonts/Glyph.h"

namespace kd820 {

// The generated tables (BuiltinFontData.cpp): 95 glyphs each in character order, one byte per
// row from the top, 0x80 = leftmost pixel; only the top cell-width bits are used.
extern const uint8_t kBuiltinFont8[95 * 8];
extern const uint8_t kBuiltinFont12[95 * 12];
extern const uint8_t kBuiltinFont16[95 * 16];

// Cell width of the built-in font of a size: 6, 6, 8 for 8, 12, 16; 0 for any other size.
int BuiltinCellWidth(int a_Size);
// Cell height (= the size) for 8, 12, 16; 0 for any other size.
int BuiltinCellHeight(int a_Size);

// The table rows of a character (0x80 = leftmost); empty for a character outside 32..126 or a
// size other than 8, 12, 16.
std::span<const uint8_t> BuiltinGlyphRows(char32_t a_Character, int a_Size);

// The glyph of a character: cell width x size pixels, one byte per row with bit 0 = leftmost.
// False (a_Out untouched) for a character outside 32..126 or a size other than 8, 12, 16.
bool RenderBuiltinGlyph(char32_t a_Character, int a_Size, Glyph& a_Out);

}  // namespace kd820
