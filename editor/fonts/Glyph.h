#pragma once
// A rasterized character in the panel's bitmap layout, shared by the built-in font and the
// operating-system font rasterizer.
#include <cstdint>
#include <vector>

namespace kd820 {

struct Glyph {
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  // Rows top down, (width + 7) / 8 bytes each, bit 0 = leftmost pixel, 1 = ink; the unused high
  // bits of a row's last byte are 0.
  std::vector<uint8_t> m_Pixels;
};

// Turns a row byte with its leftmost pixel in bit 7 (BMP files, bitmap fonts) into the panel's
// layout, leftmost pixel in bit 0.
inline uint8_t ReverseBits(uint8_t a_Byte) {
  uint8_t out = 0;
  for (int i = 0; i < 8; ++i) {
    out = static_cast<uint8_t>((out << 1) | (a_Byte & 1));
    a_Byte = static_cast<uint8_t>(a_Byte >> 1);
  }
  return out;
}

}  // namespace kd820
