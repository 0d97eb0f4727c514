#pragma once
// A system-wide named lock: an advisory lock on a file named after the lock in a shared
// lock directory. The kernel releases it when the holder closes it or dies, however it
// dies.
#include <memory>
#include <string>

class NamedLock {
 public:
  enum class Failure {
    kNone,
    kHeld,      // another holder has the lock
    kUnusable,  // the lock directory or the lock file cannot be used
  };

  // Takes the lock, or returns null when another holder has it or it cannot be made; a_Error
  // then says why, and a_Failure which of the two it was.
  static std::unique_ptr<NamedLock> TryAcquire(const std::string& a_Name,
                                               std::string* a_Error = nullptr,
                                               Failure* a_Failure = nullptr);
  // True when somebody holds the lock (this process included).
  static bool IsHeld(const std::string& a_Name);
  // The directory of the lock files: $KD820_LOCK_DIR, else a shared directory in /tmp.
  static std::string Directory();
  // The lock file of a name.
  static std::string FileFor(const std::string& a_Name);

  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  const std::string& GetName() const { return m_Name; }

 private:
  NamedLock(std::string a_Name, std::string a_File, int a_Fd);

  std::string m_Name;
  std::string m_File;
  int m_Fd;
};
