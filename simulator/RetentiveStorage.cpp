#include "simulator/RetentiveStorage.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace sim {
namespace {

constexpr uint64_t kByteLimit = uint64_t{RetentiveStorage::kWordLimit} * 2;

bool Accepted(uint64_t a_Offset, std::size_t a_Length) {
  return a_Length != 0 && a_Offset <= kByteLimit && a_Length <= kByteLimit - a_Offset;
}

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

bool RetentiveStorage::Read(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const {
  return Accepted(a_Offset, a_Length) && ReadAccepted(a_Offset, a_Dest, a_Length);
}

bool RetentiveStorage::Write(uint64_t a_Offset, const uint8_t* a_Source, std::size_t a_Length) {
  return Accepted(a_Offset, a_Length) && WriteAccepted(a_Offset, a_Source, a_Length);
}

RetentiveFileStorage::RetentiveFileStorage(std::string a_Path) : m_Path(std::move(a_Path)) {}

int RetentiveFileStorage::Open() const {
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

bool RetentiveFileStorage::ReadAccepted(uint64_t a_Offset, uint8_t* a_Dest,
                                        std::size_t a_Length) const {
  FileHandle file(Open());
  if (file.Get() < 0) return false;
  return ReadAll(file.Get(), a_Dest, a_Length, static_cast<off_t>(a_Offset));
}

bool RetentiveFileStorage::WriteAccepted(uint64_t a_Offset, const uint8_t* a_Source,
                                         std::size_t a_Length) {
  FileHandle file(Open());
  if (file.Get() < 0) return false;
  return WriteAll(file.Get(), a_Source, a_Length, static_cast<off_t>(a_Offset));
}

RetentiveMemoryStorage::RetentiveMemoryStorage() : m_Bytes(kInitialSize, 0) {}

bool RetentiveMemoryStorage::ReadAccepted(uint64_t a_Offset, uint8_t* a_Dest,
                                          std::size_t a_Length) const {
  std::memset(a_Dest, 0, a_Length);
  if (a_Offset < m_Bytes.size()) {
    const std::size_t held = std::min<std::size_t>(a_Length, m_Bytes.size() - a_Offset);
    std::memcpy(a_Dest, m_Bytes.data() + a_Offset, held);
  }
  return true;
}

bool RetentiveMemoryStorage::WriteAccepted(uint64_t a_Offset, const uint8_t* a_Source,
                                           std::size_t a_Length) {
  const std::size_t end = static_cast<std::size_t>(a_Offset) + a_Length;
  if (end > m_Bytes.size()) m_Bytes.resize(end, 0);
  std::memcpy(m_Bytes.data() + a_Offset, a_Source, a_Length);
  return true;
}

}  // namespace sim
