#pragma once
// Reads a download package as the loaders need it: the header of format 1 or 2, the driver
// table, and the bytes of a section. It checks no magic tag and no sum (the panel checks the
// sums); it refuses what lies past the end of the file.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/PackageFormat.h"

namespace nd620 {

class PackageReader {
 public:
  enum class Result { kOk, kShort, kWrongFormat };

  PackageReader() = default;
  ~PackageReader() { Close(); }
  PackageReader(const PackageReader&) = delete;
  PackageReader& operator=(const PackageReader&) = delete;

  bool OpenFile(const std::string& a_Path);
  // Reads from bytes the caller keeps alive.
  void OpenMemory(const uint8_t* a_Bytes, std::size_t a_Size);
  void Close();
  bool IsOpen() const { return m_File != nullptr || m_Memory != nullptr; }

  // The first 20 bytes, then the rest of the header its format names.
  Result ReadHeader(pkg::PackageHeader& a_Header);
  // The first a_Count entries of the table at a_Offset; kShort when they pass the end.
  Result ReadDriverTable(uint32_t a_Offset, uint32_t a_Count, std::vector<pkg::SectionEntry>& a_Entries);

  bool Seek(uint64_t a_Offset);
  // Up to a_Count bytes from the current position; fewer at the end of the file.
  std::size_t Read(uint8_t* a_Bytes, std::size_t a_Count);
  uint64_t Size() const { return m_Size; }

 private:
  bool ReadAt(uint64_t a_Offset, uint8_t* a_Bytes, std::size_t a_Count);

  std::FILE* m_File = nullptr;
  const uint8_t* m_Memory = nullptr;
  uint64_t m_Size = 0;
  uint64_t m_Position = 0;
  uint64_t m_FilePosition = 0;  // where the open file stands
};

}  // namespace nd620
