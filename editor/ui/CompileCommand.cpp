#include "editor/ui/CompileCommand.h"

#include <iostream>

#include "editor/compiler/CompileProject.h"
#include "editor/project/KV410Doc.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

int CompileOpenProject(CKV410Doc& a_Doc) {
  const CKV410Project& project = *a_Doc.GetProject();
  const CCompileResult result = CompileProjectToFile(project, a_Doc.Context());
  for (const CProblem& problem : result.m_Problems.Problems()) {
    std::cerr << "KD820: " << problem.m_Text << "\n";
  }
  if (!result.Ok()) return 1;
  std::cout << "image: " << project.GetImagePath() << " (" << result.m_Image.size() << " bytes)\n";
  for (int32_t version : result.m_VersionsWithoutRoom) {
    std::cerr << "KD820: warning: the image does not fit a hardware version " << version
              << " panel beside its firmware\n";
  }
  return 0;
}

int RunCompileCommand(const std::string& a_Project) {
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Project)) return 1;
  return CompileOpenProject(doc);
}

}  // namespace kd820
