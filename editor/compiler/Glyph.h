#pragma once
// A rasterized character in the panel's bitmap layout, shared by the built-in font and the
// operating-system font rasterizer.
#include <cstdint>
#include <vector>

struct Glyph {
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  // Rows top down, (width + 7) / 8 bytes each, bit 0 = leftmost pixel, 1 = ink; the unused high
  // bits of a row's last byte are 0.
  std::vector<uint8_t> m_Pixels;
};
