#include "platform/FileOperations.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace {

int RealOpen(const char* a_Path, int a_Flags, mode_t a_Mode) { return open(a_Path, a_Flags, a_Mode); }

// Renames a_From to a_To unless a_To exists; errno EEXIST when it does.
int RenameNoReplace(const char* a_From, const char* a_To) {
  if (renameat2(AT_FDCWD, a_From, AT_FDCWD, a_To, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
  // A file system without that flag: a hard link is made only when the name is free.
  if (link(a_From, a_To) != 0) return -1;
  unlink(a_From);
  return 0;
}

int RealRename(const char* a_From, const char* a_To, bool a_NoReplace) {
  return a_NoReplace ? RenameNoReplace(a_From, a_To) : rename(a_From, a_To);
}

const FileOperations kSystem{RealOpen, write, fsync, close, RealRename, flock};
const FileOperations* g_Current = &kSystem;

}  // namespace

const FileOperations& SystemFileOperations() { return kSystem; }
const FileOperations& CurrentFileOperations() { return *g_Current; }

ScopedFileOperations::ScopedFileOperations(const FileOperations& a_Operations)
    : m_Previous(g_Current) {
  g_Current = &a_Operations;
}

ScopedFileOperations::~ScopedFileOperations() { g_Current = m_Previous; }
