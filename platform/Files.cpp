#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileOperations.h"

namespace {

class Fd {
 public:
  explicit Fd(int a_Fd) : m_Fd(a_Fd) {}
  ~Fd() {
    if (m_Fd >= 0) CurrentFileOperations().closeFile(m_Fd);
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
                                                  std::size_t a_MaxBytes, bool a_RegularOnly) {
  Fd fd(open(a_Path.c_str(), O_RDONLY | O_CLOEXEC | (a_RegularOnly ? O_NONBLOCK : 0)));
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
    a_Error = a_Path + (a_RegularOnly ? ": not a regular file (a directory)" : ": is a directory");
    return std::nullopt;
  }
  if (a_RegularOnly && !S_ISREG(st.st_mode)) {
    a_Error = a_Path + ": not a regular file";
    return std::nullopt;
  }
  const auto tooLarge = [&](uint64_t a_Size) {
    a_Error = a_Path + ": " + std::to_string(a_Size) + " bytes, larger than the " +
              std::to_string(a_MaxBytes) + " bytes a file of its kind may have";
  };
  std::vector<uint8_t> bytes;
  if (S_ISREG(st.st_mode)) {
    if (static_cast<uint64_t>(st.st_size) > a_MaxBytes) {
      tooLarge(static_cast<uint64_t>(st.st_size));
      return std::nullopt;
    }
    bytes.reserve(static_cast<std::size_t>(st.st_size));
  }
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
      // A file that grew while it was read, or what a device or a pipe gives.
      tooLarge(bytes.size() + static_cast<std::size_t>(n));
      return std::nullopt;
    }
    bytes.insert(bytes.end(), block, block + n);
  }
  return bytes;
}

namespace {

constexpr const char* kTempMark = ".tmp-";

// The process id of a temporary file name "<name>.tmp-<pid>"; 0 for any other name.
pid_t TempFileOwner(const std::string& a_Name) {
  const std::size_t mark = a_Name.rfind(kTempMark);
  if (mark == std::string::npos || mark == 0) return 0;
  const std::string digits = a_Name.substr(mark + std::strlen(kTempMark));
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(digits));
}

// Removes the temporary files of saves into a_Dir whose process has ended (a killed save
// leaves its file behind): only regular files of this user, never one of a live process.
void RemoveStaleTempFiles(const std::string& a_Dir) {
  DIR* dir = opendir(a_Dir.c_str());
  if (dir == nullptr) return;
  const pid_t self = getpid();
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    const pid_t pid = TempFileOwner(name);
    if (pid <= 0 || pid == self) continue;
    if (kill(pid, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to ask
    const std::string path = a_Dir + "/" + name;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) continue;
    unlink(path.c_str());
  }
  closedir(dir);
}

std::string DirectoryOf(const std::string& a_Path) {
  const std::size_t slash = a_Path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : a_Path.substr(0, slash);
}

}  // namespace

bool WriteFileAtomically(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes,
                         std::string& a_Error, ReplaceMode a_Mode, bool* a_Exists) {
  if (a_Exists != nullptr) *a_Exists = false;
  RemoveStaleTempFiles(DirectoryOf(a_Path));
  const std::string temp = a_Path + kTempMark + std::to_string(getpid());
  mode_t mode = 0666;
  struct stat st {};
  const bool existed = stat(a_Path.c_str(), &st) == 0;
  const auto refuseExisting = [&] {
    a_Error = a_Path + ": the file exists";
    if (a_Exists != nullptr) *a_Exists = true;
    return false;
  };
  if (existed && a_Mode == ReplaceMode::kNoReplace) return refuseExisting();
  if (existed) mode = st.st_mode & 07777;
  const FileOperations& ops = CurrentFileOperations();
  Fd fd(ops.openFile(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
  if (fd.Get() < 0) {
    a_Error = Describe(a_Path);
    return false;
  }
  if (existed) fchmod(fd.Get(), mode);
  std::size_t done = 0;
  while (done < a_Bytes.size()) {
    const ssize_t n = ops.writeFile(fd.Get(), a_Bytes.data() + done, a_Bytes.size() - done);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) errno = ENOSPC;  // no progress: taken as a full disk rather than spun on
      a_Error = Describe(a_Path);
      unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  // On disk before the rename, so that a crash cannot leave a_Path naming unwritten data.
  if (ops.syncFile(fd.Get()) != 0 || ops.closeFile(fd.Release()) != 0) {
    a_Error = Describe(a_Path);
    unlink(temp.c_str());
    return false;
  }
  if (ops.renameFile(temp.c_str(), a_Path.c_str(), a_Mode == ReplaceMode::kNoReplace) != 0) {
    const int err = errno;
    unlink(temp.c_str());
    if (err == EEXIST) return refuseExisting();
    errno = err;
    a_Error = Describe(a_Path);
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
