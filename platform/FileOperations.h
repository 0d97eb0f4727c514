#pragma once
// The system calls under the atomic save and the named lock, kept in one table so that a test
// can make any single step fail or watch the order of the steps. The table in use makes the
// real calls unless a test replaced it.
#include <sys/types.h>

#include <cstddef>

struct FileOperations {
  int (*openFile)(const char* a_Path, int a_Flags, mode_t a_Mode);
  ssize_t (*writeFile)(int a_Fd, const void* a_Data, std::size_t a_Size);
  int (*syncFile)(int a_Fd);  // fsync
  int (*closeFile)(int a_Fd);
  // rename; with a_NoReplace it fails with EEXIST instead of replacing a_To.
  int (*renameFile)(const char* a_From, const char* a_To, bool a_NoReplace);
  int (*lockFile)(int a_Fd, int a_Operation);  // flock
};

// The real calls.
const FileOperations& SystemFileOperations();
// The table in use.
const FileOperations& CurrentFileOperations();

// Puts a_Operations in use for as long as it lives, then the table it replaced. Only while no
// other thread works with files.
class ScopedFileOperations {
 public:
  explicit ScopedFileOperations(const FileOperations& a_Operations);
  ~ScopedFileOperations();
  ScopedFileOperations(const ScopedFileOperations&) = delete;
  ScopedFileOperations& operator=(const ScopedFileOperations&) = delete;

 private:
  const FileOperations* m_Previous;
};
