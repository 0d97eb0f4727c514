#include "platform/ProgramDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#ifndef KD820_DATA_DIR
#define KD820_DATA_DIR "/usr/local/share/kd820"
#endif

std::filesystem::path ExecutableDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe.parent_path();
}

std::filesystem::path ProgramDirectory() {
  if (const char* home = std::getenv("KD820_HOME"); home != nullptr && *home != '\0') return home;
  std::error_code ec;
  const auto dir = ExecutableDirectory();
  if (!dir.empty() && std::filesystem::is_directory(dir / "lib", ec)) return dir;
  return KD820_DATA_DIR;
}

std::filesystem::path WritableDirectory(const std::filesystem::path& a_Preferred) {
  std::error_code ec;
  if (std::filesystem::is_directory(a_Preferred, ec) && access(a_Preferred.c_str(), W_OK) == 0) {
    return a_Preferred;
  }
  return std::filesystem::temp_directory_path(ec);
}
