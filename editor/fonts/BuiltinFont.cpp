#include "editor/fonts/BuiltinFont.h"
#include "editor/fonts/Glyph.h"

#include <utility>

namespace kd820 {

namespace {

constexpr char32_t kFirstCharacter = 32;
constexpr char32_t kLastCharacter = 126;

const uint8_t* Table(int a_Size) {
  switch (a_Size) {
    case 8: return kBuiltinFont8;
    case 12: return kBuiltinFont12;
    case 16: return kBuiltinFont16;
    default: return nullptr;
  }
}

}  // namespace

int BuiltinCellWidth(int a_Size) {
  switch (a_Size) {
    case 8: return 6;
    case 12: return 6;
    case 16: return 8;
    default: return 0;
  }
}

int BuiltinCellHeight(int a_Size) { return Table(a_Size) != nullptr ? a_Size : 0; }

std::span<const uint8_t> BuiltinGlyphRows(char32_t a_Character, int a_Size) {
  const uint8_t* table = Table(a_Size);
  if (table == nullptr || a_Character < kFirstCharacter || a_Character > kLastCharacter) return {};
  const std::size_t rows = static_cast<std::size_t>(a_Size);
  return {table + (a_Character - kFirstCharacter) * rows, rows};
}

bool RenderBuiltinGlyph(char32_t a_Character, int a_Size, Glyph& a_Out) {
  const std::span<const uint8_t> rows = BuiltinGlyphRows(a_Character, a_Size);
  if (rows.empty()) return false;
  const int width = BuiltinCellWidth(a_Size);
  // The cell is at most 8 wide: one byte per row. Bits beyond the cell are cleared so that the
  // spare high bits of the emitted byte stay 0.
  const auto mask = static_cast<uint8_t>((1u << width) - 1);
  Glyph glyph;
  glyph.m_Width = width;
  glyph.m_Height = a_Size;
  glyph.m_Pixels.reserve(rows.size());
  for (const uint8_t row : rows) glyph.m_Pixels.push_back(static_cast<uint8_t>(ReverseBits(row) & mask));
  a_Out = std::move(glyph);
  return true;
}

}  // namespace kd820
