#pragma once
// BMP files made for the tests: the header fields the reader looks at, and a builder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace test::bmp {

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& a_Out, std::size_t a_At, uint32_t a_Value) {
  a_Out[a_At] = static_cast<uint8_t>(a_Value);
  a_Out[a_At + 1] = static_cast<uint8_t>(a_Value >> 8);
}

inline void PutU32(Bytes& a_Out, std::size_t a_At, uint32_t a_Value) {
  for (std::size_t i = 0; i < 4; ++i) a_Out[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
}

// Offsets of the fields the reader looks at.
constexpr std::size_t kDataOffsetAt = 10;
constexpr std::size_t kWidthAt = 18;
constexpr std::size_t kHeightAt = 22;
constexpr std::size_t kBitCountAt = 28;
constexpr std::size_t kImageSizeAt = 34;

// A BMP with a two-entry palette whose rows are given in stored order (bottom row first unless
// the height is negative); each row is padded to a multiple of 4 bytes with a_Pad.
inline Bytes MakeBmp(int32_t a_Width, int32_t a_Height, const std::vector<Bytes>& a_StoredRows,
              uint16_t a_BitCount = 1, uint8_t a_Pad = 0) {
  const std::size_t stride = (static_cast<std::size_t>(a_Width) * a_BitCount + 31) / 32 * 4;
  const std::size_t offset = 14 + 40 + 8;
  Bytes out(offset + stride * a_StoredRows.size(), a_Pad);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(out.size()));
  PutU32(out, 6, 0);
  PutU32(out, kDataOffsetAt, static_cast<uint32_t>(offset));
  PutU32(out, 14, 40);
  PutU32(out, kWidthAt, static_cast<uint32_t>(a_Width));
  PutU32(out, kHeightAt, static_cast<uint32_t>(a_Height));
  PutU16(out, 26, 1);
  PutU16(out, kBitCountAt, a_BitCount);
  PutU32(out, 30, 0);
  PutU32(out, kImageSizeAt, static_cast<uint32_t>(stride * a_StoredRows.size()));
  PutU32(out, 38, 2835);
  PutU32(out, 42, 2835);
  PutU32(out, 46, 2);
  PutU32(out, 50, 0);
  PutU32(out, 54, 0x00000000);  // palette 0: black
  PutU32(out, 58, 0x00FFFFFF);  // palette 1: white
  for (std::size_t r = 0; r < a_StoredRows.size(); ++r) {
    std::copy(a_StoredRows[r].begin(), a_StoredRows[r].end(),
              out.begin() + static_cast<std::ptrdiff_t>(offset + r * stride));
  }
  return out;
}

}  // namespace test::bmp
