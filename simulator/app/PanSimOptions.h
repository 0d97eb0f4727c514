#pragma once
// PanSim's command line: the positional arguments the editor passes (model, image path,
// layout code, skin file) and the options of the headless runner.
#include <optional>
#include <string>
#include <vector>

#include "simulator/PanelModel.h"

namespace sim {

struct PanSimOptions {
  LaunchOptions launch;
  bool headless = false;
  std::string scriptPath;  // empty: script lines from standard input
  // Headless only: keep the retentive registers in the file beside the image (the window
  // always does) instead of starting from zero.
  bool retentive = false;
};

// Parses argv. Returns nothing when the program should end at once with a_ExitCode
// (after --help, --version, or a usage error already printed).
std::optional<PanSimOptions> ParsePanSimOptions(int a_Argc, char** a_Argv, int& a_ExitCode);

}  // namespace sim
