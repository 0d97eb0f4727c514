#include "simulator/FrameTable.h"

#include "common/ImageFormat.h"

namespace sim {
namespace {
constexpr uint32_t kHeaderSize = 20;
// Frame tables list at most this many frames; a larger count is taken as damage.
constexpr uint32_t kMaxFrames = 65535;
}  // namespace

uint32_t FrameTable::Count() const {
  uint32_t table = m_Image.Section(image::kFrames);
  if (table == 0) return 0;
  uint32_t count = m_Image.U32(table);
  if (count > kMaxFrames || !m_Image.Has(table + 4, std::size_t{count} * 4)) return 0;
  return count;
}

std::optional<FrameRecord> FrameTable::Find(int a_Number) const {
  if (a_Number <= 0) return std::nullopt;
  uint32_t table = m_Image.Section(image::kFrames);
  uint32_t low = 0, high = Count();
  while (low < high) {
    uint32_t mid = low + (high - low) / 2;
    uint32_t offset = m_Image.U32(table + 4 + 4 * mid);
    if (offset == 0 || !m_Image.Has(offset, kHeaderSize)) return std::nullopt;
    int number = m_Image.U16(offset + 8);
    if (number == a_Number) return Parse(offset);
    if (number < a_Number)
      low = mid + 1;
    else
      high = mid;
  }
  return std::nullopt;
}

std::vector<uint16_t> FrameTable::Numbers() const {
  std::vector<uint16_t> numbers;
  uint32_t table = m_Image.Section(image::kFrames);
  for (uint32_t i = 0, n = Count(); i < n; ++i) {
    uint32_t offset = m_Image.U32(table + 4 + 4 * i);
    if (offset != 0 && m_Image.Has(offset, kHeaderSize)) numbers.push_back(m_Image.U16(offset + 8));
  }
  return numbers;
}

std::optional<FrameRecord> FrameTable::Parse(uint32_t a_Offset) const {
  FrameRecord frame;
  frame.offset = a_Offset;
  frame.number = m_Image.U16(a_Offset + 8);
  frame.previousFrame = m_Image.U16(a_Offset + 12);
  frame.nextFrame = m_Image.U16(a_Offset + 14);
  std::size_t count = m_Image.U16(a_Offset + 18);
  uint32_t offsets = a_Offset + kHeaderSize;
  uint32_t kinds = offsets + static_cast<uint32_t>(4 * count);
  if (!m_Image.Has(offsets, 6 * count)) return std::nullopt;
  std::size_t loaded = std::min(count, kMaxElements);
  for (std::size_t i = 0; i < loaded; ++i) {
    FrameElementEntry entry;
    entry.offset = m_Image.U32(offsets + static_cast<uint32_t>(4 * i)) & 0xFFFFF;
    entry.kind = m_Image.U16(kinds + static_cast<uint32_t>(2 * i)) & 0xF;
    frame.elements.push_back(entry);
  }
  // The focus order ends with 0xFFFF; an order that runs out of the image ends there.
  uint32_t focus = kinds + static_cast<uint32_t>(2 * count);
  for (std::size_t i = 0; i <= count; ++i) {
    if (!m_Image.Has(focus, 2)) break;
    uint16_t index = m_Image.U16(focus);
    focus += 2;
    if (index == 0xFFFF) break;
    if (index < loaded) frame.focusOrder.push_back(index);
  }
  return frame;
}

}  // namespace sim
