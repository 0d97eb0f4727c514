#include "editor/screens/SingleColorBmp.h"

#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "editor/fonts/Glyph.h"

namespace kd820 {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;

uint16_t U16At(std::span<const uint8_t> a_Data, std::size_t a_Offset) {
  return le::U16(a_Data.data() + a_Offset);
}

uint32_t U32At(std::span<const uint8_t> a_Data, std::size_t a_Offset) {
  return le::U32(a_Data.data() + a_Offset);
}

}  // namespace

BmpStatus ReadSingleColorBmp(std::span<const uint8_t> a_Data, SingleColorBitmap& a_Bitmap) {
  if (a_Data.size() < kFileHeaderBytes || U16At(a_Data, 0) != 0x4D42) return BmpStatus::kNotBmp;
  if (a_Data.size() < kFileHeaderBytes + kInfoHeaderBytes) return BmpStatus::kNotBmp;
  const std::size_t info = kFileHeaderBytes;
  if (U16At(a_Data, info + 14) != 1) return BmpStatus::kNotSingleColor;

  const uint64_t dataOffset = U32At(a_Data, 10);
  const int32_t rawHeight = static_cast<int32_t>(U32At(a_Data, info + 8));
  const uint32_t imageSize = U32At(a_Data, info + 20);
  // A negative height marks rows stored top down. Sizes are 16-bit on the panel.
  const bool topDown = rawHeight < 0;
  const uint32_t width = U32At(a_Data, info + 4) & 0xFFFF;
  const uint32_t height =
      static_cast<uint32_t>(topDown ? -static_cast<int64_t>(rawHeight) : rawHeight) & 0xFFFF;
  if (width == 0 || height == 0) return BmpStatus::kNotBmp;

  const uint64_t rowBytes = (width + 7) / 8;
  // An image size of 0 is allowed for uncompressed images: rows are then padded to 4 bytes.
  const uint64_t stride = imageSize != 0 ? imageSize / height : (width + 31) / 32 * 4;
  if (stride < rowBytes) return BmpStatus::kNotBmp;
  if (dataOffset + (height - 1) * stride + rowBytes > a_Data.size()) return BmpStatus::kNotBmp;

  SingleColorBitmap bitmap;
  bitmap.m_Width = static_cast<int32_t>(width);
  bitmap.m_Height = static_cast<int32_t>(height);
  bitmap.m_Pixels.resize(rowBytes * height);
  const auto lastByteMask =
      static_cast<uint8_t>(width % 8 == 0 ? 0xFF : (1u << (width % 8)) - 1);
  for (uint32_t row = 0; row < height; ++row) {
    const uint32_t stored = topDown ? row : height - 1 - row;
    const uint8_t* in = a_Data.data() + dataOffset + stored * stride;
    uint8_t* out = bitmap.m_Pixels.data() + row * rowBytes;
    // BMP rows have the leftmost pixel in the top bit and 1 = palette entry 1 (white).
    for (uint64_t j = 0; j < rowBytes; ++j) out[j] = static_cast<uint8_t>(~ReverseBits(in[j]));
    out[rowBytes - 1] &= lastByteMask;
  }
  a_Bitmap = std::move(bitmap);
  return BmpStatus::kOk;
}

BmpStatus ReadSingleColorBmpFile(const std::string& a_Path, SingleColorBitmap& a_Bitmap) {
  std::string error;
  const auto bytes = ReadWholeFile(a_Path, error, kMaxBmpFileBytes);
  if (!bytes) return BmpStatus::kCannotOpen;
  return ReadSingleColorBmp(*bytes, a_Bitmap);
}

}  // namespace kd820
