#pragma once
// Helpers for the library tests: a program directory of the test's own, captured diagnostics.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "platform/Diagnostics.h"

using namespace kd820;

namespace test {

// Points the program directory ($KD820_HOME) at a_Directory and forgets both libraries and
// the port models; everything is put back at the end of the scope.
class ScopedProgramDirectory {
 public:
  explicit ScopedProgramDirectory(const std::filesystem::path& a_Directory) {
    if (const char* home = std::getenv("KD820_HOME")) m_Previous = home;
    setenv("KD820_HOME", a_Directory.c_str(), 1);
    Forget();
  }
  ~ScopedProgramDirectory() {
    if (m_Previous) {
      setenv("KD820_HOME", m_Previous->c_str(), 1);
    } else {
      unsetenv("KD820_HOME");
    }
    Forget();
  }
  ScopedProgramDirectory(const ScopedProgramDirectory&) = delete;
  ScopedProgramDirectory& operator=(const ScopedProgramDirectory&) = delete;

 private:
  static void Forget() {
    ResetHardwareLibrary();
    ResetPlcLibrary();
    for (int i = 0; i < 4; ++i) *GetPortModel(i) = CPLCModel();
  }
  std::optional<std::string> m_Previous;
};

// Collects every diagnostic while it lives.
class DiagnosticCapture {
 public:
  DiagnosticCapture() {
    m_Previous = SetDiagnosticSink([this](const std::string& a_Text) { m_Messages.push_back(a_Text); });
  }
  ~DiagnosticCapture() { SetDiagnosticSink(std::move(m_Previous)); }
  DiagnosticCapture(const DiagnosticCapture&) = delete;
  DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

  const std::vector<std::string>& Messages() const { return m_Messages; }
  void Clear() { m_Messages.clear(); }

 private:
  std::function<void(const std::string&)> m_Previous;
  std::vector<std::string> m_Messages;
};

// Writes a text file, creating its directories.
inline std::string WriteText(const std::filesystem::path& a_Path, const std::string& a_Text) {
  std::filesystem::create_directories(a_Path.parent_path());
  std::ofstream(a_Path, std::ios::binary) << a_Text;
  return a_Path.string();
}

}  // namespace test
