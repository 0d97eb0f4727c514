#pragma once
// The panel's own register types (port -1).
#include <cstdint>
#include <string>

namespace kd820 {

struct InternalRegisterType {
  const char* m_Name;
  int32_t m_Width;  // CAddr width
  uint8_t m_RegisterId;
  uint8_t m_UnitCode;
  int32_t m_AddressMax;  // decimal, from 0
  bool m_HasSub;         // a bit 0..15 in hexadecimal, shifted by 4
};

// "LW", "LW.B", "RW" or "RW.B" (exact, case-sensitive); null for any other name.
const InternalRegisterType* FindInternalRegisterType(const std::string& a_Name);

}  // namespace kd820
