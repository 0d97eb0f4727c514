#pragma once
// The user-data image as the simulator holds it: the whole file in one buffer, never modified,
// read only through bounds-checked accessors so that a hostile image cannot make the simulator
// read outside it. A value that does not lie wholly inside the image reads as 0 (0 is also
// "absent" for every offset), and a disabled image (wrong tag) reads as empty everywhere.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class SimImage {
 public:
  // Images are addressed with 20-bit offsets; a larger file is refused.
  static constexpr std::size_t kMaxSize = std::size_t{1} << 20;

  // Reads the file whole. A missing, unreadable or too large file, or one whose tag is not
  // "Marvok", leaves the image disabled; returns whether it is enabled.
  bool Load(const std::string& a_Path);
  // Takes the bytes of an image already in memory (tests, fuzzing); same checks as Load.
  bool Adopt(std::vector<uint8_t> a_Bytes);

  bool Enabled() const { return m_Enabled; }
  std::size_t Size() const { return m_Enabled ? m_Bytes.size() : 0; }

  // True when a_Length bytes from a_Offset lie inside an enabled image.
  bool Has(uint32_t a_Offset, std::size_t a_Length) const {
    return m_Enabled && a_Offset <= m_Bytes.size() && a_Length <= m_Bytes.size() - a_Offset;
  }
  // The bytes at a_Offset when a_Length of them lie inside the image, else nullptr.
  const uint8_t* Bytes(uint32_t a_Offset, std::size_t a_Length) const {
    return Has(a_Offset, a_Length) ? m_Bytes.data() + a_Offset : nullptr;
  }
  uint8_t U8(uint32_t a_Offset) const;
  uint16_t U16(uint32_t a_Offset) const;
  uint32_t U32(uint32_t a_Offset) const;
  int16_t I16(uint32_t a_Offset) const { return static_cast<int16_t>(U16(a_Offset)); }
  int32_t I32(uint32_t a_Offset) const { return static_cast<int32_t>(U32(a_Offset)); }

  // Section offset of directory slot a_Slot (0..6), 0 when absent.
  uint32_t Section(std::size_t a_Slot) const;
  // Packed table: a u8 count at a_Table, then count u32 entries. 0 for a_Index >= count,
  // for a table offset of 0 and for entries outside the image.
  uint32_t TableEntry(uint32_t a_Table, unsigned a_Index) const;
  // The entries of a counted list that are read: at most a_Max of the a_Count entries of
  // a_EntrySize bytes from a_First on, and only those that lie inside the image. Surplus
  // entries are ignored.
  std::size_t EntriesInside(uint32_t a_First, uint64_t a_Count, std::size_t a_EntrySize,
                            std::size_t a_Max) const;
  // Length of the record at a_Offset in bytes (its first byte counts 4-byte units), 0 when the
  // length byte is 0 or the record runs past the end of the image.
  std::size_t RecordLength(uint32_t a_Offset) const;

 private:
  std::vector<uint8_t> m_Bytes;
  bool m_Enabled = false;
};

}  // namespace sim
