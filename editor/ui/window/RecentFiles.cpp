#include "editor/ui/window/RecentFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace kd820 {

CRecentFiles::CRecentFiles(std::string a_File) : m_File(std::move(a_File)) {
  std::ifstream in(m_File);
  std::string line;
  while (m_Entries.size() < kMaxEntries && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && std::find(m_Entries.begin(), m_Entries.end(), line) == m_Entries.end()) {
      m_Entries.push_back(line);
    }
  }
}

std::string CRecentFiles::DefaultFile() {
  std::filesystem::path base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // XDG_CONFIG_HOME counts only when it is an absolute path (the XDG base directory rules).
  if (config != nullptr && std::filesystem::path(config).is_absolute()) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr ? home : ".") / ".config";
  }
  return (base / "KD820" / "recent-projects").string();
}

bool CRecentFiles::Add(const std::string& a_Path) {
  if (a_Path.empty()) return false;
  m_Entries.erase(std::remove(m_Entries.begin(), m_Entries.end(), a_Path), m_Entries.end());
  m_Entries.insert(m_Entries.begin(), a_Path);
  if (m_Entries.size() > kMaxEntries) m_Entries.resize(kMaxEntries);
  return Write();
}

bool CRecentFiles::Remove(const std::string& a_Path) {
  m_Entries.erase(std::remove(m_Entries.begin(), m_Entries.end(), a_Path), m_Entries.end());
  return Write();
}

std::string CRecentFiles::FileOf(const std::string& a_Entry) {
  return std::filesystem::path(a_Entry).has_extension() ? a_Entry : a_Entry + ".FPJ";
}

std::vector<std::string> CRecentFiles::Offered() const {
  std::vector<std::string> offered;
  for (const std::string& entry : m_Entries) {
    std::error_code error;
    if (std::filesystem::is_regular_file(FileOf(entry), error)) offered.push_back(entry);
  }
  return offered;
}

bool CRecentFiles::Write() const {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(m_File).parent_path(), error);
  // Written beside and renamed, so that a failed write leaves the old list; the name is the
  // process's own, as two editors may write at once.
  const std::string temporary = m_File + ".new" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::trunc);
    for (const std::string& entry : m_Entries) out << entry << '\n';
    out.flush();
    if (!out) return false;
  }
  std::filesystem::rename(temporary, m_File, error);
  return !error;
}

}  // namespace kd820
