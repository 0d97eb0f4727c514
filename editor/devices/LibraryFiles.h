#pragma once
// Listing the library's ".CFG" files.
#include <filesystem>
#include <vector>

namespace kd820 {

// The regular files in a_Directory whose extension is ".CFG" in any letter case, sorted by
// file name (byte order) so that every run lists them alike. Empty when the directory is
// missing or unreadable.
std::vector<std::filesystem::path> ListCfgFiles(const std::filesystem::path& a_Directory);

}  // namespace kd820
