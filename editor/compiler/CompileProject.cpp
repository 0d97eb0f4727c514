#include "editor/compiler/CompileProject.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "common/ProjectSize.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

CCompileResult CompileProject(const CKV410Project& a_Project, CEditorContext& a_Context) {
  CCompileResult result;
  const CHardwareModel& model = a_Context.CurrentHardwareModel();
  CImageCompiler compiler(a_Context);
  const bool known = model.m_Id == a_Project.GetHardwareModelId();
  if (known) {
    if (!compiler.SetDisplaySize(model.m_ResolutionX, model.m_ResolutionY)) {
      result.m_Problems.Error("panel model " + std::to_string(model.m_Id) + " has a " +
                              std::to_string(model.m_ResolutionX) + "x" +
                              std::to_string(model.m_ResolutionY) +
                              " display; frame records hold at most 256x256");
      return result;
    }
  } else {
    result.m_Problems.Warn("warning: panel model " + std::to_string(a_Project.GetHardwareModelId()) +
                           " is not in the hardware library; compiling for a 192x64 display");
  }
  for (const std::string& problem : compiler.Compile(a_Project)) result.m_Problems.Error(problem);
  if (!result.Ok()) return result;
  result.m_Image = compiler.Image();

  if (!known) return result;
  // The image shares the panel's memory with the firmware of each hardware version.
  const auto size = static_cast<uint32_t>(result.m_Image.size());
  const bool secondDriver = a_Project.GetPort(1)->IsEnabled();
  const auto dir = ProgramDirectory() / "lib" / "hardware";
  int32_t version = 1;
  for (const std::string& file : {model.m_HWFile, model.m_HWFile2}) {
    std::error_code ec;
    const auto gui = std::filesystem::file_size(dir / file, ec);
    if (!file.empty() && !ec &&
        !ProjectFits(static_cast<uint32_t>(version), static_cast<uint32_t>(gui), size, secondDriver)) {
      result.m_VersionsWithoutRoom.push_back(version);
    }
    ++version;
  }
  return result;
}

CCompileResult CompileProjectToFile(const CKV410Project& a_Project, CEditorContext& a_Context) {
  CCompileResult result = CompileProject(a_Project, a_Context);
  if (!result.Ok()) return result;
  std::string error;
  if (!WriteFileAtomically(a_Project.GetImagePath(), result.m_Image, error)) {
    result.m_Problems.Error("Create Compile File Failed!\n" + error);
  }
  return result;
}

}  // namespace kd820
