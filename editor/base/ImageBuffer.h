#pragma once
// The growing byte buffer every compile routine writes the image through.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kd820 {

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

// A per-compile map from a key string to the offset of what it names, counting how much the
// sharing saves.
class CResourceCache {
 public:
  // The offset stored under the key, or 0. A hit counts the stored object's bytes as saved.
  uint32_t Find(const std::string& a_Key) const;
  bool Contains(const std::string& a_Key) const { return m_Entries.count(a_Key) != 0; }
  // a_Bytes: what writing the object (with the objects it brought along) took.
  void Store(const std::string& a_Key, uint32_t a_Offset, std::size_t a_Bytes = 0) {
    m_Entries[a_Key] = {a_Offset, a_Bytes};
  }
  void Clear();
  std::size_t Size() const { return m_Entries.size(); }
  std::size_t Hits() const { return m_Hits; }
  std::size_t BytesSaved() const { return m_BytesSaved; }

 private:
  struct Entry {
    uint32_t m_Offset;
    std::size_t m_Bytes;
  };
  std::unordered_map<std::string, Entry> m_Entries;
  mutable std::size_t m_Hits = 0;
  mutable std::size_t m_BytesSaved = 0;
};

}  // namespace kd820
