#pragma once
// The recent-project list of the window: four paths, the latest first, kept in a text file
// (one path a line) under the user's configuration directory.
#include <string>
#include <vector>

namespace kd820 {

class CRecentFiles {
 public:
  static constexpr std::size_t kMaxEntries = 4;

  // The list kept in a_File; it is read at once (a missing or unreadable file is an empty list).
  explicit CRecentFiles(std::string a_File);
  // $XDG_CONFIG_HOME/KD820/recent-projects, or ~/.config/KD820/recent-projects without it.
  static std::string DefaultFile();

  // Puts a_Path first (once), drops the oldest beyond four and writes the list; false when it
  // could not be written (the list in memory is still updated).
  bool Add(const std::string& a_Path);
  // Takes a path out of the list (a file that no longer opens) and writes the list.
  bool Remove(const std::string& a_Path);
  const std::vector<std::string>& Entries() const { return m_Entries; }
  // The entries that are offered: those whose file (with ".FPJ" appended when the name has no
  // extension) exists.
  std::vector<std::string> Offered() const;
  // The file an entry opens: ".FPJ" appended when its name has no extension.
  static std::string FileOf(const std::string& a_Entry);

 private:
  bool Write() const;

  std::string m_File;
  std::vector<std::string> m_Entries;
};

}  // namespace kd820
