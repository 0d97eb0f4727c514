#pragma once
// The number format of register elements: how a register value is turned into the text the
// panel shows, and how an operator's input is turned back into a value.
//
// The record starts with the option word F (bits 0..7 its length in 4-byte units), followed by
// the value range (maximum, minimum) when F bit 17 is set and the display range (maximum,
// minimum) when F bit 12 is set. Range values are single floats for the float types and 32-bit
// integers otherwise; a range the record does not carry reads as 0.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class SimImage;

struct NumberFormat {
  enum Type : int { kSigned = 0, kUnsigned = 1, kHex = 2, kFloat = 3, kDouble = 4 };

  uint32_t options = 0;
  // Raw 32-bit range values: r1 / r2 the value range (max, min), r3 / r4 the display range.
  uint32_t r1 = 0, r2 = 0, r3 = 0, r4 = 0;

  // The record at a_Offset; fields outside the image read as 0.
  static NumberFormat FromImage(const SimImage& a_Image, uint32_t a_Offset);
  // Bytes the record takes (its length byte, at least 4).
  static std::size_t RecordBytes(const SimImage& a_Image, uint32_t a_Offset);

  int TypeCode() const { return static_cast<int>((options >> 8) & 0xF); }
  bool IsFloat() const { return TypeCode() == kFloat || TypeCode() == kDouble; }
  bool Scaling() const { return (options & (1u << 12)) != 0; }
  bool Secret() const { return (options & (1u << 13)) != 0; }
  bool InputAllowed() const { return (options & (1u << 14)) != 0; }
  bool Invert() const { return (options & (1u << 15)) != 0; }
  bool LeadingZeros() const { return (options & (1u << 16)) != 0; }
  bool RangeCheck() const { return (options & (1u << 17)) != 0; }
  bool Wide() const { return (options & (1u << 18)) != 0; }
  int Alignment() const { return static_cast<int>((options >> 19) & 3); }
  bool RestoreLevel() const { return (options & (1u << 21)) != 0; }
  int Digits() const { return static_cast<int>((options >> 24) & 0xF); }
  int Decimals() const { return static_cast<int>((options >> 28) & 0xF); }

  // The characters its glyph list holds, glyph 1 first.
  const char* DigitSet() const;
  // Whether a_Char may stand at a_Position of an input.
  bool Allows(char a_Char, int a_Position) const;

  struct Text {
    std::string text;
    bool valid = false;  // false: too long for the digits, or a degenerate range
  };
  // Formats the register's plain value bytes (a_Length of them; missing bytes read as 0).
  Text Format(const uint8_t* a_Value, std::size_t a_Length) const;
  // The value to write for an accepted input (4 bytes, 8 for double), or nothing when the input
  // is refused: not a number, outside the checked range, or too large for the register.
  std::optional<std::vector<uint8_t>> Parse(const std::string& a_Input) const;
};

}  // namespace sim
