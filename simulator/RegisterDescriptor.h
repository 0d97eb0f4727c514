#pragma once
// The 12-byte register record of the image, as the editor compiles it:
//   +0 u8  record length in 4-byte units (3)
//   +1 u8  flags: bit 0 reverse the byte order of the value, bit 7 BCD
//   +2 u8  port (255 = the panel's own registers)
//   +3 u8  station
//   +4 u8  register type code
//   +5 u8  unit byte: low 4 bits bytes per unit (0 = bit register); above 15 the high 4 bits
//          give the elements per address
//   +6 u16 unit count
//   +8 u32 address
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace sim {

class SimImage;

// Where a register lives.
enum class RegisterStorage { kInternalMemory, kRetentive, kPlc, kNone };

struct RegisterDescriptor {
  static constexpr std::size_t kSize = 12;
  static constexpr uint8_t kReverseBytes = 0x01;
  static constexpr uint8_t kBcd = 0x80;
  static constexpr uint8_t kInternalPort = 255;
  // Type codes of the panel's own registers.
  static constexpr uint8_t kInternalWords = 255;
  static constexpr uint8_t kInternalBits = 249;
  static constexpr uint8_t kRetentiveWords = 254;
  static constexpr uint8_t kRetentiveBits = 248;

  uint8_t length = 3;
  uint8_t flags = 0;
  uint8_t port = kInternalPort;
  uint8_t station = 0;
  uint8_t type = kInternalWords;
  uint8_t unit = 0x22;
  uint16_t count = 1;
  uint32_t address = 0;

  static RegisterDescriptor Parse(const uint8_t* a_Bytes);
  // The record at a_Offset, when all 12 bytes lie inside the image.
  static std::optional<RegisterDescriptor> FromImage(const SimImage& a_Image, uint32_t a_Offset);
  std::array<uint8_t, kSize> Bytes() const;

  unsigned BytesPerUnit() const { return unit & 0x0Fu; }
  bool IsBit() const { return BytesPerUnit() == 0; }
  bool ReverseBytes() const { return (flags & kReverseBytes) != 0; }
  bool Bcd() const { return (flags & kBcd) != 0; }
  std::size_t SizeInBytes() const {
    return IsBit() ? (std::size_t{count} + 7) / 8 : std::size_t{count} * BytesPerUnit();
  }
  std::size_t SizeInBits() const { return IsBit() ? count : SizeInBytes() * 8; }
  unsigned ElementsPerAddress() const { return unit > 15 ? unit >> 4 : unit & 0x0Fu; }

  // Port 255: the panel's internal words (types 255, 249) or the retentive store (254, 248).
  bool IsInternal() const { return port == kInternalPort; }
  RegisterStorage Storage() const;

  bool operator==(const RegisterDescriptor&) const = default;
};

}  // namespace sim
