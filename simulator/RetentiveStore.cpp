#include "simulator/RetentiveStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "simulator/BitCopy.h"

namespace sim {
namespace {

bool WriteAll(int a_Fd, const uint8_t* a_Bytes, std::size_t a_Length, off_t a_Offset) {
  while (a_Length > 0) {
    const ssize_t n = pwrite(a_Fd, a_Bytes, a_Length, a_Offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    a_Bytes += n;
    a_Length -= static_cast<std::size_t>(n);
    a_Offset += n;
  }
  return true;
}

// Reads what the file has; the rest of a_Bytes becomes zero.
bool ReadAll(int a_Fd, uint8_t* a_Bytes, std::size_t a_Length, off_t a_Offset) {
  std::memset(a_Bytes, 0, a_Length);
  while (a_Length > 0) {
    const ssize_t n = pread(a_Fd, a_Bytes, a_Length, a_Offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    a_Bytes += n;
    a_Length -= static_cast<std::size_t>(n);
    a_Offset += n;
  }
  return true;
}

class FileHandle {
 public:
  explicit FileHandle(int a_Fd) : m_Fd(a_Fd) {}
  ~FileHandle() {
    if (m_Fd >= 0) close(m_Fd);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int Get() const { return m_Fd; }

 private:
  int m_Fd;
};

}  // namespace

RetentiveStore::RetentiveStore(const std::string& a_ImagePath) : m_Path(FileNameFor(a_ImagePath)) {}

std::string RetentiveStore::FileNameFor(const std::string& a_ImagePath) {
  // Only the file name is searched, so that a "bin" in a directory name cannot put the file
  // somewhere else than beside the image.
  const std::size_t slash = a_ImagePath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t at = a_ImagePath.find("bin", nameStart);
  if (at == std::string::npos) return {};
  return a_ImagePath.substr(0, at) + "rcp";
}

int RetentiveStore::Open() const {
  if (m_Path.empty()) return -1;
  int fd = open(m_Path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd >= 0 || errno != ENOENT) return fd;
  fd = open(m_Path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    // Another opener may have created it in between.
    return errno == EEXIST ? open(m_Path.c_str(), O_RDWR | O_CLOEXEC) : -1;
  }
  const std::vector<uint8_t> zeros(kInitialSize, 0);
  if (!WriteAll(fd, zeros.data(), zeros.size(), 0)) {
    close(fd);
    return -1;
  }
  return fd;
}

bool RetentiveStore::ReadAt(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const {
  if (a_Length == 0 || a_Offset > kWordLimit * 2 || a_Length > kWordLimit * 2 - a_Offset)
    return false;
  FileHandle file(Open());
  if (file.Get() < 0) return false;
  return ReadAll(file.Get(), a_Dest, a_Length, static_cast<off_t>(a_Offset));
}

bool RetentiveStore::WriteAt(uint64_t a_Offset, const uint8_t* a_Source,
                             std::size_t a_Length) const {
  if (a_Length == 0 || a_Offset > kWordLimit * 2 || a_Length > kWordLimit * 2 - a_Offset)
    return false;
  FileHandle file(Open());
  if (file.Get() < 0) return false;
  return WriteAll(file.Get(), a_Source, a_Length, static_cast<off_t>(a_Offset));
}

bool RetentiveStore::ReadBytes(uint32_t a_Word, uint8_t* a_Dest, std::size_t a_Length) const {
  return ReadAt(uint64_t{a_Word} * 2, a_Dest, a_Length);
}

bool RetentiveStore::WriteBytes(uint32_t a_Word, const uint8_t* a_Source,
                                std::size_t a_Length) const {
  return WriteAt(uint64_t{a_Word} * 2, a_Source, a_Length);
}

bool RetentiveStore::ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const {
  if (a_Count == 0) return false;
  const std::size_t shift = a_Bit % 8;
  std::vector<uint8_t> bytes((shift + a_Count + 7) / 8);
  if (!ReadAt(a_Bit / 8, bytes.data(), bytes.size())) return false;
  ExtractBits(bytes.data(), shift, a_Dest, a_Count);
  return true;
}

bool RetentiveStore::WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count) const {
  if (a_Count == 0) return false;
  const std::size_t shift = a_Bit % 8;
  std::vector<uint8_t> bytes((shift + a_Count + 7) / 8);
  if (!ReadAt(a_Bit / 8, bytes.data(), bytes.size())) return false;
  InsertBits(bytes.data(), shift, a_Source, a_Count);
  return WriteAt(a_Bit / 8, bytes.data(), bytes.size());
}

}  // namespace sim
