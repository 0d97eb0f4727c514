#include "simulator/RegisterDescriptor.h"

#include "simulator/SimImage.h"

namespace sim {

RegisterDescriptor RegisterDescriptor::Parse(const uint8_t* a_Bytes) {
  RegisterDescriptor d;
  d.length = a_Bytes[0];
  d.flags = a_Bytes[1];
  d.port = a_Bytes[2];
  d.station = a_Bytes[3];
  d.type = a_Bytes[4];
  d.unit = a_Bytes[5];
  d.count = static_cast<uint16_t>(a_Bytes[6] | a_Bytes[7] << 8);
  d.address = uint32_t{a_Bytes[8]} | uint32_t{a_Bytes[9]} << 8 | uint32_t{a_Bytes[10]} << 16 |
              uint32_t{a_Bytes[11]} << 24;
  return d;
}

std::optional<RegisterDescriptor> RegisterDescriptor::FromImage(const SimImage& a_Image,
                                                                uint32_t a_Offset) {
  const uint8_t* bytes = a_Image.Bytes(a_Offset, kSize);
  if (bytes == nullptr) return std::nullopt;
  return Parse(bytes);
}

std::array<uint8_t, RegisterDescriptor::kSize> RegisterDescriptor::Bytes() const {
  return {length,
          flags,
          port,
          station,
          type,
          unit,
          static_cast<uint8_t>(count),
          static_cast<uint8_t>(count >> 8),
          static_cast<uint8_t>(address),
          static_cast<uint8_t>(address >> 8),
          static_cast<uint8_t>(address >> 16),
          static_cast<uint8_t>(address >> 24)};
}

RegisterStorage RegisterDescriptor::Storage() const {
  if (!IsInternal()) return RegisterStorage::kPlc;
  switch (type) {
    case kInternalWords:
    case kInternalBits:
      return RegisterStorage::kInternalMemory;
    case kRetentiveWords:
    case kRetentiveBits:
      return RegisterStorage::kRetentive;
    default:
      return RegisterStorage::kNone;
  }
}

}  // namespace sim
