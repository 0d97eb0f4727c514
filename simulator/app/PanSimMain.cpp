// PanSim: runs a compiled user-data image like the panel, in a window or headless.
#include <fstream>
#include <iostream>
#include <optional>

#include "simulator/RetentiveStore.h"
#include "simulator/Simulator.h"
#include "simulator/app/HeadlessRunner.h"
#include "simulator/app/PanSimOptions.h"
#include "simulator/app/PanelScript.h"
#include "simulator/app/PortThreads.h"
#include "simulator/app/SdlWindow.h"
#include "simulator/app/SkinBitmap.h"
#include "platform/Translate.h"

namespace {

int RunHeadlessFromOptions(const sim::PanSimOptions& a_Options) {
  if (a_Options.scriptPath.empty() || a_Options.scriptPath == "-")
    return sim::RunHeadless(a_Options.launch, a_Options.retentive, std::cin, std::cout,
                            std::cerr);
  std::ifstream script(a_Options.scriptPath);
  if (!script) {
    std::cerr << "PanSim: cannot read the script " << a_Options.scriptPath << "\n";
    return 2;
  }
  return sim::RunHeadless(a_Options.launch, a_Options.retentive, script, std::cout, std::cerr);
}

int RunWindowed(const sim::PanSimOptions& a_Options) {
  const sim::LaunchOptions& launch = a_Options.launch;
  // The skin is loaded after the image, as the panel does; without it there is no window.
  // The retentive registers are kept in the file beside the image, so they survive the run.
  std::ifstream scriptFile;
  if (!a_Options.scriptPath.empty()) {
    scriptFile.open(a_Options.scriptPath);
    if (!scriptFile) {
      std::cerr << "PanSim: cannot read the script " << a_Options.scriptPath << "\n";
      return 2;
    }
  }
  sim::WindowHost host;
  sim::Simulator simulator(launch, host, sim::RetentiveStore::FileBesideImage(launch.imagePath));
  simulator.Start();
  sim::SkinBitmap skin;
  std::string error;
  if (!skin.LoadSkin(launch.model.skinName, error)) {
    std::cerr << "PanSim: " << error << "\n";
    sim::ShowMessage("PanSim", "No User Data");
    return 1;
  }
  // The ports run on threads of their own, on the wall clock, until the window closes.
  sim::PortThreads ports(*simulator.Ports());
  std::optional<sim::PanelScript> script;
  if (scriptFile.is_open())
    script.emplace(simulator, scriptFile, std::cout, std::cerr,
                   [&host] { return host.BeepCount(); });
  if (!sim::RunWindow(simulator, launch.model, skin, error, {}, script ? &*script : nullptr)) {
    std::cerr << "PanSim: " << error << "\n";
    return 1;
  }
  // A script that ended gives the run its exit status, as headless.
  return script && script->Ended() ? script->ExitCode() : 0;
}

}  // namespace

int main(int argc, char** argv) {
  kd820::InitTranslation();
  int exitCode = 0;
  auto options = sim::ParsePanSimOptions(argc, argv, exitCode);
  if (!options) return exitCode;
  return options->headless ? RunHeadlessFromOptions(*options) : RunWindowed(*options);
}
