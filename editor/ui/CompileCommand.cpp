#include "editor/ui/CompileCommand.h"

#include <filesystem>
#include <iostream>

#include "common/ProjectSize.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/project/KV410Doc.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

int CompileOpenProject(CKV410Doc& a_Doc) {
  CKV410Project& project = *a_Doc.GetProject();
  const CHardwareModel& model = CurrentHardwareModel();
  CImageCompiler compiler;
  if (model.m_Id == project.GetHardwareModelId()) {
    if (!compiler.SetDisplaySize(model.m_ResolutionX, model.m_ResolutionY)) {
      std::cerr << "KD820: panel model " << model.m_Id << " has a " << model.m_ResolutionX << "x"
                << model.m_ResolutionY << " display; frame records hold at most 256x256\n";
      return 1;
    }
  } else {
    std::cerr << "KD820: warning: panel model " << project.GetHardwareModelId()
              << " is not in the hardware library; compiling for a 192x64 display\n";
  }
  const std::vector<std::string> problems = compiler.Compile(project);
  for (const std::string& problem : problems) std::cerr << "KD820: " << problem << "\n";
  if (!problems.empty()) return 1;

  std::string error;
  if (!WriteFileAtomically(project.GetImagePath(), compiler.Image(), error)) {
    std::cerr << "KD820: Create Compile File Failed!\n" << error << "\n";
    return 1;
  }
  const auto size = static_cast<uint32_t>(compiler.Image().size());
  std::cout << "image: " << project.GetImagePath() << " (" << size << " bytes)\n";
  // Check the size against each hardware version's firmware that ships with the model.
  const bool secondDriver = project.GetPort(1)->IsEnabled();
  const auto dir = ProgramDirectory() / "lib" / "hardware";
  int version = 1;
  for (const std::string& file : {model.m_HWFile, model.m_HWFile2}) {
    std::error_code ec;
    const auto gui = std::filesystem::file_size(dir / file, ec);
    if (!file.empty() && !ec && !ProjectFits(static_cast<uint32_t>(version), static_cast<uint32_t>(gui), size, secondDriver)) {
      std::cerr << "KD820: warning: the image does not fit a hardware version " << version
                << " panel beside its firmware\n";
    }
    ++version;
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
