#pragma once
// Helpers shared by the tests: temporary directories and file access.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>


namespace test {

// No display for the programs run meanwhile: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are
// unset, and set back as they were at the end of the scope.
class NoDisplay {
 public:
  NoDisplay();
  ~NoDisplay();
  NoDisplay(const NoDisplay&) = delete;
  NoDisplay& operator=(const NoDisplay&) = delete;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_Saved;
};

// A fresh directory removed again at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return m_Path; }
  std::string File(const std::string& a_Name) const { return (m_Path / a_Name).string(); }

 private:
  std::filesystem::path m_Path;
};

std::vector<uint8_t> ReadFile(const std::string& a_Path);
void WriteFile(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes);

// Runs a program of the build tree with arguments (in a_Directory when given); returns its
// exit status and fills the captured standard output and error.
int RunProgram(const std::string& a_Program, const std::vector<std::string>& a_Args,
               std::string* a_Stdout = nullptr, std::string* a_Stderr = nullptr,
               const std::string& a_Directory = {});

// Runs a fuzz target's body on every file of its seed corpus and regression inputs
// (fuzz/corpus/NAME, fuzz/regressions/NAME), expecting 0 from each; the number of files run.
std::size_t ReplayFuzzInputs(const std::string& a_Target, int (*a_Body)(const uint8_t*, std::size_t));

}  // namespace test
