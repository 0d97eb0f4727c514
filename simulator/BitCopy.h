#pragma once
// Bit registers in byte-addressed stores: bit n of a store is bit n mod 8 of its byte n / 8
// (words are kept low byte first), and a register's value packs its bits the same way.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace sim {

// Copies a_Count bits from a_Bytes, starting at bit a_First, into a_Dest from its bit 0.
inline void ExtractBits(const uint8_t* a_Bytes, std::size_t a_First, uint8_t* a_Dest,
                        std::size_t a_Count) {
  std::memset(a_Dest, 0, (a_Count + 7) / 8);
  for (std::size_t i = 0; i < a_Count; ++i) {
    const std::size_t bit = a_First + i;
    if ((a_Bytes[bit / 8] >> (bit % 8)) & 1u) a_Dest[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
  }
}

// Copies a_Count bits of a_Source, from its bit 0, into a_Bytes from bit a_First; the other
// bits of a_Bytes keep their values.
inline void InsertBits(uint8_t* a_Bytes, std::size_t a_First, const uint8_t* a_Source,
                       std::size_t a_Count) {
  for (std::size_t i = 0; i < a_Count; ++i) {
    const std::size_t bit = a_First + i;
    const auto mask = static_cast<uint8_t>(1u << (bit % 8));
    if ((a_Source[i / 8] >> (i % 8)) & 1u)
      a_Bytes[bit / 8] |= mask;
    else
      a_Bytes[bit / 8] &= static_cast<uint8_t>(~mask);
  }
}

}  // namespace sim
