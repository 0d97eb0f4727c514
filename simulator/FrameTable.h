#pragma once
// Frame records of the image (its frame table): lookup by frame number and the parsed header with
// its element list and focus order.
#include <cstdint>
#include <optional>
#include <vector>

#include "common/ImageFormat.h"
#include "simulator/SimImage.h"

namespace sim {

struct FrameElementEntry {
  uint32_t offset = 0;  // 20-bit record offset
  uint8_t kind = kTypeCache;  // low 4 bits of the type code
};

struct FrameRecord {
  uint32_t offset = 0;
  uint16_t number = 0;
  uint16_t previousFrame = 0;  // up key
  uint16_t nextFrame = 0;      // down key
  std::vector<FrameElementEntry> elements;
  std::vector<uint16_t> focusOrder;  // element indices
};

class FrameTable {
 public:
  // The panel keeps at most 64 elements per frame; further ones are not loaded.
  static constexpr std::size_t kMaxElements = 64;

  explicit FrameTable(const SimImage& a_Image) : m_Image(a_Image) {}
  // The record of frame a_Number (bisection over the table, which lists frames in ascending
  // order); nothing for numbers <= 0, missing frames and records that run outside the image.
  std::optional<FrameRecord> Find(int a_Number) const;
  // Every frame number of the table, in table order.
  std::vector<uint16_t> Numbers() const;

 private:
  std::optional<FrameRecord> Parse(uint32_t a_Offset) const;
  uint32_t Count() const;

  const SimImage& m_Image;
};

}  // namespace sim
