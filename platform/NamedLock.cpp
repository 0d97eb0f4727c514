#include "platform/NamedLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/FileOperations.h"

namespace {

constexpr std::size_t kMaxReadableName = 160;

std::string Escape(const std::string& a_Name) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : a_Name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
        c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool EnsureDirectory(const std::string& a_Dir, std::string* a_Error) {
  if (mkdir(a_Dir.c_str(), 01777) == 0) {
    chmod(a_Dir.c_str(), 01777);  // shared by every user, like /tmp itself
    return true;
  }
  const int err = errno;
  struct stat st {};
  if (err == EEXIST && stat(a_Dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  if (a_Error != nullptr) {
    *a_Error = err == EEXIST ? a_Dir + " is not a directory"
                             : "cannot create " + a_Dir + ": " + std::strerror(err);
  }
  return false;
}

}  // namespace

std::string NamedLock::Directory() {
  if (const char* dir = std::getenv("KD820_LOCK_DIR"); dir != nullptr && *dir != '\0') return dir;
  return "/tmp/.KD820-locks";
}

std::string NamedLock::FileFor(const std::string& a_Name) {
  std::string base = Escape(a_Name);
  if (base.size() > kMaxReadableName) {
    // Long names keep their tail readable and stay unique through a hash of the whole name.
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(a_Name));
    base = base.substr(base.size() - kMaxReadableName) + "-" + hash;
  }
  return Directory() + "/" + base + ".lock";
}

NamedLock::NamedLock(std::string a_Name, std::string a_File, int a_Fd)
    : m_Name(std::move(a_Name)), m_File(std::move(a_File)), m_Fd(a_Fd) {}

NamedLock::~NamedLock() {
  // Remove the file while still holding the lock, so that a waiting opener that locks the
  // old file notices it is stale (see TryAcquire).
  unlink(m_File.c_str());
  close(m_Fd);
}

std::unique_ptr<NamedLock> NamedLock::TryAcquire(const std::string& a_Name, std::string* a_Error,
                                                 Failure* a_Failure) {
  if (a_Failure != nullptr) *a_Failure = Failure::kUnusable;
  if (!EnsureDirectory(Directory(), a_Error)) return nullptr;
  const std::string file = FileFor(a_Name);
  const FileOperations& ops = CurrentFileOperations();
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = ops.openFile(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (a_Error != nullptr) *a_Error = "cannot open " + file + ": " + std::strerror(errno);
      return nullptr;
    }
    fchmod(fd, 0666);  // other users must be able to test the lock too
    if (ops.lockFile(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      ops.closeFile(fd);
      if (err == EWOULDBLOCK && a_Failure != nullptr) *a_Failure = Failure::kHeld;
      if (a_Error != nullptr) {
        *a_Error = err == EWOULDBLOCK ? "held by another holder" : "cannot lock " + file + ": " + std::strerror(err);
      }
      return nullptr;
    }
    // The file may have been removed by its previous holder between our open and our lock,
    // and made anew and locked by another opener: then the lock taken is on a file nobody else
    // will look at, and the name must be opened again.
    struct stat byFd {}, byPath {};
    if (fstat(fd, &byFd) == 0 && stat(file.c_str(), &byPath) == 0 && byFd.st_ino == byPath.st_ino &&
        byFd.st_dev == byPath.st_dev) {
      if (a_Failure != nullptr) *a_Failure = Failure::kNone;
      return std::unique_ptr<NamedLock>(new NamedLock(a_Name, file, fd));
    }
    ops.closeFile(fd);
  }
  // Other holders keep taking and freeing it.
  if (a_Failure != nullptr) *a_Failure = Failure::kHeld;
  if (a_Error != nullptr) *a_Error = "lock file keeps changing";
  return nullptr;
}

bool NamedLock::IsHeld(const std::string& a_Name) {
  const std::string file = FileFor(a_Name);
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}
