#include "editor/ui/SimulateCommand.h"

#include <filesystem>
#include <iostream>

#include "editor/devices/HardwareLibrary.h"
#include "editor/project/KV410Doc.h"
#include "editor/compiler/ToolLaunch.h"
#include "editor/ui/CompileCommand.h"
#include "platform/Process.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

namespace {
constexpr const char* kSimulatorProgram = "PanSim";
}

std::vector<std::string> SimulatorArguments(int a_ModelId, const std::string& a_ImagePath,
                                            bool a_Encoder, const std::string& a_ModelName) {
  return {std::to_string(a_ModelId), a_ImagePath, a_Encoder ? "1" : "0", a_ModelName + ".bmp"};
}

int RunSimulateCommand(const SimulateOptions& a_Options) {
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Options.project)) return 1;
  CKV410Project& project = *doc.GetProject();
  // The skin and the encoder come from the project's panel model.
  CHardwareModel model;
  if (!doc.Context().GetHardwareLibrary().LoadModelById(model, project.GetHardwareModelId())) {
    std::cerr << "KD820: warning: panel model " << project.GetHardwareModelId()
              << " is not in the hardware library\n";
  }
  // The simulator starts whatever the compile gave: it shows "no user data" for a bad image.
  CompileOpenProject(doc);

  std::vector<std::string> arguments = a_Options.simulatorOptions;
  const std::vector<std::string> positional = SimulatorArguments(
      project.GetHardwareModelId(), project.GetImagePath(), model.m_Encoder, model.m_Name);
  arguments.insert(arguments.end(), positional.begin(), positional.end());
  std::cout.flush();  // the compile's lines come before what PanSim prints
  int exitCode = 0;
  std::string error;
  // PanSim starts in the project's directory, so a script's file names are the project's.
  const std::string directory = std::filesystem::path(project.GetPath()).parent_path().string();
  if (!StartProgram(kSimulatorProgram, arguments, directory, a_Options.wait, exitCode, error)) {
    std::cerr << "KD820: " << Tr(kStartFailed) << kSimulatorProgram << "\n" << error << "\n";
    return 1;
  }
  return a_Options.wait ? exitCode : 0;
}

}  // namespace kd820
