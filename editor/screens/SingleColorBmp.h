#pragma once
// Reading single-colour (1 bit per pixel) BMP files into the panel's bitmap layout: rows top
// down, (width + 7) / 8 bytes per row, bit 0 = leftmost pixel, 1 = ink (palette entry 0).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kd820 {

enum class BmpStatus {
  kOk,
  kCannotOpen,      // the file cannot be opened or read
  kNotBmp,          // no "BM" signature, or headers or pixel data damaged or missing
  kNotSingleColor,  // a BMP with more than one bit per pixel
};

struct SingleColorBitmap {
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  std::vector<uint8_t> m_Pixels;
};

// The largest file the file variant reads; pixel data beyond it counts as missing.
inline constexpr std::size_t kMaxBmpFileBytes = 64u << 20;

// Reads a BMP from its bytes. a_Bitmap is filled only when the result is kOk.
BmpStatus ReadSingleColorBmp(std::span<const uint8_t> a_Data, SingleColorBitmap& a_Bitmap);
// Reads a BMP file; one larger than kMaxBmpFileBytes is refused as one that cannot be opened.
BmpStatus ReadSingleColorBmpFile(const std::string& a_Path, SingleColorBitmap& a_Bitmap);

}  // namespace kd820
