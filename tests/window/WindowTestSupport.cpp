#include "tests/window/WindowTestSupport.h"

#include <fstream>
#include <sstream>

#include "demo/SampleProject.h"
#include "editor/project/ProjectJson.h"
#include "tests/TestSupport.h"

namespace test {

bool WriteProjectFromJson(const std::string& a_Json, const std::string& a_Fpj) {
  std::ifstream in(std::string(KD820_TEST_SOURCE_DIR) + "/" + a_Json, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  kd820::CEditorContext context;
  kd820::ProjectJsonImport imported = kd820::ImportProjectJson(text.str(), context);
  if (!imported) return false;
  std::filesystem::create_directories(std::filesystem::path(a_Fpj).parent_path());
  WriteFile(a_Fpj, kd820::CKV410Doc::ProjectFileBytes(*imported.m_Project));
  return true;
}

void WriteSampleProject(const std::string& a_Fpj) {
  kd820::CEditorContext context;
  auto project = kd820::MakeSampleProject(context);
  std::filesystem::create_directories(std::filesystem::path(a_Fpj).parent_path());
  WriteFile(a_Fpj, kd820::CKV410Doc::ProjectFileBytes(*project));
}

}  // namespace test
