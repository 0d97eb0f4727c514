#pragma once
// The download package (<project>.td): a header, a driver table and the sections back to back.
// The editor writes format 2; the loaders read formats 1 and 2. All integers little-endian.
#include <array>
#include <cstdint>
#include <cstring>

namespace pkg {

inline constexpr char kMagic[] = "marvok-td";       // bytes 0..9 with its NUL, 10..11 zero
inline constexpr std::size_t kMagicSize = 12;
inline constexpr std::size_t kFormatOffset = 16;    // u32 format version
inline constexpr std::size_t kHeaderStart = 20;     // what a reader takes first
inline constexpr std::size_t kEntrySize = 20;       // one SectionEntry

// Format 2 (written): 108-byte header.
inline constexpr uint32_t kFormat2 = 2;
inline constexpr std::size_t kHeaderSize2 = 108;
inline constexpr std::size_t kUserDataEntry = 20;
inline constexpr std::size_t kReservedEntry = 40;
inline constexpr std::size_t kGui1Entry = 60;
inline constexpr std::size_t kGui2Entry = 80;
inline constexpr std::size_t kDriverCount2 = 100;
inline constexpr std::size_t kDriverTable2 = 104;
// Format 1 (read only): 88-byte header, no GUI entry for hardware version 2.
inline constexpr uint32_t kFormat1 = 1;
inline constexpr std::size_t kHeaderSize1 = 88;
inline constexpr std::size_t kDriverCount1 = 80;
inline constexpr std::size_t kDriverTable1 = 84;

inline constexpr uint32_t kWrittenDriverCount = 2;   // COM0 and COM1
inline constexpr std::size_t kSourceHeaderSize = 16; // driver and firmware files; version at 8..9
inline constexpr std::size_t kSourceVersionOffset = 8;

// Section codes, in packages and in the download protocol.
enum class SectionKind : uint8_t { kGui = 1, kUserData = 2, kDriver0 = 3, kDriverN = 4 };

// The label the loaders show for a section; null for an unknown code.
inline const char* SectionLabel(uint8_t a_Kind) {
  switch (a_Kind) {
    case 1: return "GUI";
    case 2: return "User data";
    case 3: return "Driver(0)";
    case 4: return "Driver(1)";
    default: return nullptr;
  }
}

struct SectionEntry {
  uint32_t m_Offset = 0;   // absolute file offset of the first byte
  uint32_t m_Size = 0;     // with the zero fill; a multiple of 4; 0 = absent
  uint16_t m_Version = 0;  // firmware version (GUI entries only)
  uint32_t m_Sum = 0;      // sum of the bytes before the fill, modulo 2^32

  bool operator==(const SectionEntry&) const = default;

  static SectionEntry Decode(const uint8_t* a_Bytes) {
    SectionEntry e;
    e.m_Offset = U32(a_Bytes);
    e.m_Size = U32(a_Bytes + 4);
    e.m_Version = static_cast<uint16_t>(a_Bytes[8] | a_Bytes[9] << 8);
    e.m_Sum = U32(a_Bytes + 12);
    return e;
  }
  void Encode(uint8_t* a_Bytes) const {
    std::memset(a_Bytes, 0, kEntrySize);
    Put32(a_Bytes, m_Offset);
    Put32(a_Bytes + 4, m_Size);
    a_Bytes[8] = static_cast<uint8_t>(m_Version);
    a_Bytes[9] = static_cast<uint8_t>(m_Version >> 8);
    Put32(a_Bytes + 12, m_Sum);
  }

  static uint32_t U32(const uint8_t* a_Bytes) {
    return uint32_t{a_Bytes[0]} | uint32_t{a_Bytes[1]} << 8 | uint32_t{a_Bytes[2]} << 16 |
           uint32_t{a_Bytes[3]} << 24;
  }
  static void Put32(uint8_t* a_Bytes, uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) a_Bytes[i] = static_cast<uint8_t>(a_Value >> (8 * i));
  }
};

// The header fields both formats share, as one record.
struct PackageHeader {
  uint32_t m_Format = 0;
  SectionEntry m_UserData;
  SectionEntry m_Gui1;
  SectionEntry m_Gui2;  // format 2 only
  uint32_t m_DriverCount = 0;
  uint32_t m_DriverTableOffset = 0;

  // The format-2 header bytes as the editor writes them.
  std::array<uint8_t, kHeaderSize2> Encode2() const {
    std::array<uint8_t, kHeaderSize2> bytes{};
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    SectionEntry::Put32(bytes.data() + kFormatOffset, kFormat2);
    m_UserData.Encode(bytes.data() + kUserDataEntry);
    m_Gui1.Encode(bytes.data() + kGui1Entry);
    m_Gui2.Encode(bytes.data() + kGui2Entry);
    SectionEntry::Put32(bytes.data() + kDriverCount2, m_DriverCount);
    SectionEntry::Put32(bytes.data() + kDriverTable2, m_DriverTableOffset);
    return bytes;
  }
};

}  // namespace pkg
