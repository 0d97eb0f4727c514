#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

class Fd {
 public:
  explicit Fd(int a_Fd) : m_Fd(a_Fd) {}
  ~Fd() {
    if (m_Fd >= 0) close(m_Fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_Fd; }
  int Release() {
    const int fd = m_Fd;
    m_Fd = -1;
    return fd;
  }

 private:
  int m_Fd;
};

std::string Describe(const std::string& a_Path) { return a_Path + ": " + std::strerror(errno); }

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& a_Path, std::string& a_Error,
                                                  std::size_t a_MaxBytes) {
  Fd fd(open(a_Path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    a_Error = Describe(a_Path);
    return std::nullopt;
  }
  struct stat st {};
  if (fstat(fd.Get(), &st) != 0) {
    a_Error = Describe(a_Path);
    return std::nullopt;
  }
  if (S_ISDIR(st.st_mode)) {
    a_Error = a_Path + ": is a directory";
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  for (;;) {
    const ssize_t n = read(fd.Get(), block, sizeof block);
    if (n < 0) {
      if (errno == EINTR) continue;
      a_Error = Describe(a_Path);
      return std::nullopt;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<std::size_t>(n) > a_MaxBytes) {
      a_Error = a_Path + ": file too large";
      return std::nullopt;
    }
    bytes.insert(bytes.end(), block, block + n);
  }
  return bytes;
}

bool WriteFileAtomically(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes,
                         std::string& a_Error) {
  const std::string temp = a_Path + ".tmp-" + std::to_string(getpid());
  mode_t mode = 0666;
  struct stat st {};
  const bool existed = stat(a_Path.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;
  Fd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
  if (fd.Get() < 0) {
    a_Error = Describe(a_Path);
    return false;
  }
  if (existed) fchmod(fd.Get(), mode);
  std::size_t done = 0;
  while (done < a_Bytes.size()) {
    const ssize_t n = write(fd.Get(), a_Bytes.data() + done, a_Bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      a_Error = Describe(a_Path);
      unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  if (fsync(fd.Get()) != 0 || close(fd.Release()) != 0) {
    a_Error = Describe(a_Path);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), a_Path.c_str()) != 0) {
    a_Error = Describe(a_Path);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool FilesEqual(const std::string& a_First, const std::string& a_Second) {
  Fd a(open(a_First.c_str(), O_RDONLY | O_CLOEXEC));
  Fd b(open(a_Second.c_str(), O_RDONLY | O_CLOEXEC));
  if (a.Get() < 0 || b.Get() < 0) return false;
  struct stat sa {}, sb {};
  if (fstat(a.Get(), &sa) != 0 || fstat(b.Get(), &sb) != 0 || sa.st_size != sb.st_size) return false;
  uint8_t ba[1024], bb[1024];
  for (;;) {
    const ssize_t na = read(a.Get(), ba, sizeof ba);
    const ssize_t nb = read(b.Get(), bb, sizeof bb);
    if (na < 0 || nb < 0 || na != nb) return false;
    if (na == 0) return true;
    if (std::memcmp(ba, bb, static_cast<std::size_t>(na)) != 0) return false;
  }
}
