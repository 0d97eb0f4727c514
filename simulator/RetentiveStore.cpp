#include "simulator/RetentiveStore.h"

#include <utility>
#include <vector>

#include "simulator/BitCopy.h"

namespace sim {

RetentiveStore::RetentiveStore(std::unique_ptr<RetentiveStorage> a_Storage)
    : m_Storage(std::move(a_Storage)) {}

RetentiveStore::RetentiveStore(const std::string& a_ImagePath)
    : m_Storage(FileBesideImage(a_ImagePath)) {}

std::string RetentiveStore::FileNameFor(const std::string& a_ImagePath) {
  // Only the file name is searched, so that a "bin" in a directory name cannot put the file
  // somewhere else than beside the image.
  const std::size_t slash = a_ImagePath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t at = a_ImagePath.find("bin", nameStart);
  if (at == std::string::npos) return {};
  return a_ImagePath.substr(0, at) + "rcp";
}

std::unique_ptr<RetentiveStorage> RetentiveStore::FileBesideImage(const std::string& a_ImagePath) {
  return std::make_unique<RetentiveFileStorage>(FileNameFor(a_ImagePath));
}

bool RetentiveStore::ReadBytes(uint32_t a_Word, uint8_t* a_Dest, std::size_t a_Length) const {
  return m_Storage->Read(uint64_t{a_Word} * 2, a_Dest, a_Length);
}

bool RetentiveStore::WriteBytes(uint32_t a_Word, const uint8_t* a_Source, std::size_t a_Length) {
  return m_Storage->Write(uint64_t{a_Word} * 2, a_Source, a_Length);
}

bool RetentiveStore::ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const {
  if (a_Count == 0) return false;
  const std::size_t shift = a_Bit % 8;
  std::vector<uint8_t> bytes((shift + a_Count + 7) / 8);
  if (!m_Storage->Read(a_Bit / 8, bytes.data(), bytes.size())) return false;
  ExtractBits(bytes.data(), shift, a_Dest, a_Count);
  return true;
}

bool RetentiveStore::WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count) {
  if (a_Count == 0) return false;
  const std::size_t shift = a_Bit % 8;
  std::vector<uint8_t> bytes((shift + a_Count + 7) / 8);
  if (!m_Storage->Read(a_Bit / 8, bytes.data(), bytes.size())) return false;
  InsertBits(bytes.data(), shift, a_Source, a_Count);
  return m_Storage->Write(a_Bit / 8, bytes.data(), bytes.size());
}

}  // namespace sim
