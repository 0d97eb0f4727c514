#pragma once
// Little-endian values in the suite's file formats (images, packages, BMP files). The caller
// has checked that the bytes lie inside its buffer.
#include <cstdint>

namespace le {

inline uint16_t U16(const uint8_t* a_Bytes) {
  return static_cast<uint16_t>(a_Bytes[0] | a_Bytes[1] << 8);
}

inline uint32_t U32(const uint8_t* a_Bytes) {
  return uint32_t{a_Bytes[0]} | uint32_t{a_Bytes[1]} << 8 | uint32_t{a_Bytes[2]} << 16 |
         uint32_t{a_Bytes[3]} << 24;
}

}  // namespace le
