#include "editor/devices/LibraryFiles.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace kd820 {

namespace {

bool HasCfgExtension(const std::filesystem::path& a_Path) {
  const std::string ext = a_Path.extension().string();
  if (ext.size() != 4 || ext[0] != '.') return false;
  static const char kUpper[] = "CFG";
  for (std::size_t i = 0; i < 3; ++i) {
    char c = ext[i + 1];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kUpper[i]) return false;
  }
  return true;
}

}  // namespace

std::vector<std::filesystem::path> ListCfgFiles(const std::filesystem::path& a_Directory) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  std::filesystem::directory_iterator it(a_Directory, ec);
  if (ec) return files;
  for (const std::filesystem::directory_iterator end{}; it != end; it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    if (!it->is_regular_file(typeError) || !HasCfgExtension(it->path())) continue;
    files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(), [](const auto& a_L, const auto& a_R) {
    return a_L.filename().string() < a_R.filename().string();
  });
  return files;
}

}  // namespace kd820
