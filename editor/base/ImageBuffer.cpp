#include "editor/base/ImageBuffer.h"

#include <cstring>

namespace kd820 {

void CImageBuffer::Append(const void* a_Data, std::size_t a_Size) {
  const auto* bytes = static_cast<const uint8_t*>(a_Data);
  m_Bytes.insert(m_Bytes.end(), bytes, bytes + a_Size);
}

void CImageBuffer::AppendRepeat(const void* a_Data, std::size_t a_Size, std::size_t a_Times) {
  for (std::size_t i = 0; i < a_Times; ++i) Append(a_Data, a_Size);
}

void CImageBuffer::AppendU16(uint16_t a_Value) {
  m_Bytes.push_back(static_cast<uint8_t>(a_Value));
  m_Bytes.push_back(static_cast<uint8_t>(a_Value >> 8));
}

void CImageBuffer::AppendU32(uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) m_Bytes.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
}

std::size_t CImageBuffer::ReserveSlots(std::size_t a_Count) {
  const std::size_t at = Length();
  static constexpr uint8_t kZero[4] = {0, 0, 0, 0};
  AppendRepeat(kZero, 4, a_Count);
  return at;
}

void CImageBuffer::Patch(std::size_t a_Position, const void* a_Data, std::size_t a_Size) {
  if (m_Bytes.size() < a_Position + a_Size) m_Bytes.resize(a_Position + a_Size, 0);
  std::memcpy(m_Bytes.data() + a_Position, a_Data, a_Size);
}

void CImageBuffer::PatchU32(std::size_t a_Position, uint32_t a_Value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(a_Value), static_cast<uint8_t>(a_Value >> 8),
                            static_cast<uint8_t>(a_Value >> 16), static_cast<uint8_t>(a_Value >> 24)};
  Patch(a_Position, bytes, 4);
}

void CImageBuffer::Align() {
  while (m_Bytes.size() % 4 != 0) m_Bytes.push_back(0);
}

uint32_t CResourceCache::Find(const std::string& a_Key) const {
  const auto it = m_Entries.find(a_Key);
  if (it == m_Entries.end()) return 0;
  ++m_Hits;
  m_BytesSaved += it->second.m_Bytes;
  return it->second.m_Offset;
}

void CResourceCache::Clear() {
  m_Entries.clear();
  m_Hits = 0;
  m_BytesSaved = 0;
}

}  // namespace kd820
