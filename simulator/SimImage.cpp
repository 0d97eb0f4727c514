#include "simulator/SimImage.h"

#include <algorithm>
#include <cstring>

#include "common/ImageFormat.h"
#include "common/LittleEndian.h"
#include "platform/Files.h"

namespace sim {

bool SimImage::Load(const std::string& a_Path) {
  std::string error;
  auto bytes = ReadWholeFile(a_Path, error, kMaxSize);
  if (!bytes) {
    m_Bytes.clear();
    m_Enabled = false;
    return false;
  }
  return Adopt(std::move(*bytes));
}

bool SimImage::Adopt(std::vector<uint8_t> a_Bytes) {
  m_Bytes = std::move(a_Bytes);
  // The tag is a NUL-terminated text at offset 0 that must read "Marvok".
  static constexpr char kTagText[] = "Marvok";
  m_Enabled = m_Bytes.size() <= kMaxSize && m_Bytes.size() >= image::kHeaderSize &&
              std::memcmp(m_Bytes.data(), kTagText, sizeof kTagText) == 0;
  if (!m_Enabled) m_Bytes.clear();
  return m_Enabled;
}

uint8_t SimImage::U8(uint32_t a_Offset) const {
  const uint8_t* p = Bytes(a_Offset, 1);
  return p ? p[0] : 0;
}

uint16_t SimImage::U16(uint32_t a_Offset) const {
  const uint8_t* p = Bytes(a_Offset, 2);
  return p ? le::U16(p) : 0;
}

uint32_t SimImage::U32(uint32_t a_Offset) const {
  const uint8_t* p = Bytes(a_Offset, 4);
  return p ? le::U32(p) : 0;
}

uint32_t SimImage::Section(std::size_t a_Slot) const {
  if (a_Slot >= image::kSectionCount) return 0;
  uint32_t directory = U32(image::kDirectoryOffsetField);
  if (directory == 0) return 0;
  return U32(directory + static_cast<uint32_t>(4 * a_Slot));
}

uint32_t SimImage::TableEntry(uint32_t a_Table, unsigned a_Index) const {
  if (a_Table == 0 || a_Index >= U8(a_Table)) return 0;
  return U32(a_Table + 1 + 4 * a_Index);
}

std::size_t SimImage::RecordLength(uint32_t a_Offset) const {
  std::size_t length = std::size_t{U8(a_Offset)} * 4;
  return Has(a_Offset, length) ? length : 0;
}

std::size_t SimImage::EntriesInside(uint32_t a_First, uint64_t a_Count, std::size_t a_EntrySize,
                                    std::size_t a_Max) const {
  if (a_EntrySize == 0 || !Has(a_First, 0)) return 0;
  const uint64_t inside = (Size() - a_First) / a_EntrySize;
  return static_cast<std::size_t>(std::min<uint64_t>({a_Count, inside, a_Max}));
}

}  // namespace sim
