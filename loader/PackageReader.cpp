#include "loader/PackageReader.h"

#include <sys/stat.h>

#include <cstring>

namespace nd620 {

bool PackageReader::OpenFile(const std::string& a_Path) {
  Close();
  std::FILE* file = std::fopen(a_Path.c_str(), "rb");
  if (file == nullptr) return false;
  struct stat st {};
  if (::fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(file);
    return false;
  }
  m_File = file;
  m_Size = static_cast<uint64_t>(st.st_size);
  m_Position = 0;
  m_FilePosition = 0;
  return true;
}

void PackageReader::OpenMemory(const uint8_t* a_Bytes, std::size_t a_Size) {
  Close();
  static const uint8_t kNone = 0;
  m_Memory = a_Bytes != nullptr ? a_Bytes : &kNone;
  m_Size = a_Size;
  m_Position = 0;
}

void PackageReader::Close() {
  if (m_File != nullptr) std::fclose(m_File);
  m_File = nullptr;
  m_Memory = nullptr;
  m_Size = 0;
  m_Position = 0;
}

bool PackageReader::Seek(uint64_t a_Offset) {
  if (!IsOpen()) return false;
  m_Position = a_Offset;
  return true;
}

std::size_t PackageReader::Read(uint8_t* a_Bytes, std::size_t a_Count) {
  if (!IsOpen() || m_Position >= m_Size) return 0;
  const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(a_Count, m_Size - m_Position));
  if (m_Memory != nullptr) {
    std::memcpy(a_Bytes, m_Memory + m_Position, count);
  } else {
    // Sections are read block after block: seek only when the position moved.
    if (m_FilePosition != m_Position) {
      if (std::fseek(m_File, static_cast<long>(m_Position), SEEK_SET) != 0) return 0;
      m_FilePosition = m_Position;
    }
    const std::size_t got = std::fread(a_Bytes, 1, count, m_File);
    m_Position += got;
    m_FilePosition = got == count ? m_Position : UINT64_MAX;
    return got;
  }
  m_Position += count;
  return count;
}

bool PackageReader::ReadAt(uint64_t a_Offset, uint8_t* a_Bytes, std::size_t a_Count) {
  return Seek(a_Offset) && Read(a_Bytes, a_Count) == a_Count;
}

PackageReader::Result PackageReader::ReadHeader(pkg::PackageHeader& a_Header) {
  uint8_t bytes[pkg::kHeaderSize2] = {};
  if (!ReadAt(0, bytes, pkg::kHeaderStart)) return Result::kShort;
  const uint32_t format = pkg::SectionEntry::U32(bytes + pkg::kFormatOffset);
  if (format != pkg::kFormat1 && format != pkg::kFormat2) return Result::kWrongFormat;
  const std::size_t size = format == pkg::kFormat1 ? pkg::kHeaderSize1 : pkg::kHeaderSize2;
  if (Read(bytes + pkg::kHeaderStart, size - pkg::kHeaderStart) != size - pkg::kHeaderStart) return Result::kShort;
  pkg::PackageHeader header;
  header.m_Format = format;
  header.m_UserData = pkg::SectionEntry::Decode(bytes + pkg::kUserDataEntry);
  header.m_Gui1 = pkg::SectionEntry::Decode(bytes + pkg::kGui1Entry);
  if (format == pkg::kFormat2) {
    header.m_Gui2 = pkg::SectionEntry::Decode(bytes + pkg::kGui2Entry);
    header.m_DriverCount = pkg::SectionEntry::U32(bytes + pkg::kDriverCount2);
    header.m_DriverTableOffset = pkg::SectionEntry::U32(bytes + pkg::kDriverTable2);
  } else {
    header.m_DriverCount = pkg::SectionEntry::U32(bytes + pkg::kDriverCount1);
    header.m_DriverTableOffset = pkg::SectionEntry::U32(bytes + pkg::kDriverTable1);
  }
  a_Header = header;
  return Result::kOk;
}

PackageReader::Result PackageReader::ReadDriverTable(uint32_t a_Offset, uint32_t a_Count,
                                                     std::vector<pkg::SectionEntry>& a_Entries) {
  a_Entries.clear();
  // Entries past the end of the file are refused by their count before anything is read.
  if (uint64_t{a_Offset} + uint64_t{a_Count} * pkg::kEntrySize > m_Size) return Result::kShort;
  a_Entries.reserve(a_Count);
  uint8_t entry[pkg::kEntrySize];
  for (uint32_t i = 0; i < a_Count; ++i) {
    if (!ReadAt(uint64_t{a_Offset} + uint64_t{i} * pkg::kEntrySize, entry, sizeof entry)) return Result::kShort;
    a_Entries.push_back(pkg::SectionEntry::Decode(entry));
  }
  return Result::kOk;
}

}  // namespace nd620
