#pragma once
// Helpers for the library tests: a program directory of the test's own, captured diagnostics.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "demo/SampleProject.h"
#include "editor/base/Problem.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/ProjectJson.h"

using namespace kd820;

namespace test {

// Points the program directory ($KD820_HOME) at a_Directory; it is put back at the end of the
// scope. Contexts made while it lives read their libraries from there.
class ScopedProgramDirectory {
 public:
  explicit ScopedProgramDirectory(const std::filesystem::path& a_Directory) {
    if (const char* home = std::getenv("KD820_HOME")) m_Previous = home;
    setenv("KD820_HOME", a_Directory.c_str(), 1);
  }
  ~ScopedProgramDirectory() {
    if (m_Previous) {
      setenv("KD820_HOME", m_Previous->c_str(), 1);
    } else {
      unsetenv("KD820_HOME");
    }
  }
  ScopedProgramDirectory(const ScopedProgramDirectory&) = delete;
  ScopedProgramDirectory& operator=(const ScopedProgramDirectory&) = delete;

 private:
  std::optional<std::string> m_Previous;
};

// Collects the texts of the problems reported to it.
class DiagnosticCapture : public kd820::IProblemSink {
 public:
  void Report(const kd820::CProblem& a_Problem) override { m_Messages.push_back(a_Problem.m_Text); }
  const std::vector<std::string>& Messages() const { return m_Messages; }
  void Clear() { m_Messages.clear(); }

 private:
  std::vector<std::string> m_Messages;
};

// The demo's sample project, its texts measured with the program directory's fonts.
inline std::unique_ptr<kd820::CKV410Project> Sample() {
  kd820::CEditorContext context;
  return kd820::MakeSampleProject(context);
}

// A project's JSON form read against the program directory's libraries.
inline kd820::ProjectJsonImport Import(std::string_view a_Json) {
  kd820::CEditorContext context;
  return kd820::ImportProjectJson(a_Json, context);
}

// Writes a text file, creating its directories.
inline std::string WriteText(const std::filesystem::path& a_Path, const std::string& a_Text) {
  std::filesystem::create_directories(a_Path.parent_path());
  std::ofstream(a_Path, std::ios::binary) << a_Text;
  return a_Path.string();
}

}  // namespace test
