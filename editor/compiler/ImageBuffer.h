#pragma once
// The growing byte buffer every compile routine writes the image through.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CImageBuffer {
 public:
  std::size_t Length() const { return m_Bytes.size(); }
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }
  void Clear() { m_Bytes.clear(); }

  void Append(const void* a_Data, std::size_t a_Size);
  void AppendRepeat(const void* a_Data, std::size_t a_Size, std::size_t a_Times);
  void AppendU8(uint8_t a_Value) { m_Bytes.push_back(a_Value); }
  void AppendU16(uint16_t a_Value);
  void AppendU32(uint32_t a_Value);
  void AppendBytes(const std::vector<uint8_t>& a_Bytes) { Append(a_Bytes.data(), a_Bytes.size()); }
  // Reserves a_Count zero u32 slots and returns the position of the first.
  std::size_t ReserveSlots(std::size_t a_Count);
  // Overwrites bytes at a_Position, growing the buffer when needed.
  void Patch(std::size_t a_Position, const void* a_Data, std::size_t a_Size);
  void PatchU32(std::size_t a_Position, uint32_t a_Value);
  // Appends zero bytes up to a multiple of 4.
  void Align();

 private:
  std::vector<uint8_t> m_Bytes;
};

// A per-compile map from a key string to the offset of what it names.
class CResourceCache {
 public:
  // The offset stored under the key, or 0.
  uint32_t Find(const std::string& a_Key) const;
  void Store(const std::string& a_Key, uint32_t a_Offset) { m_Offsets[a_Key] = a_Offset; }
  void Clear() { m_Offsets.clear(); }
  std::size_t Size() const { return m_Offsets.size(); }

 private:
  std::unordered_map<std::string, uint32_t> m_Offsets;
};
