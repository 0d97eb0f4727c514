#include "simulator/app/PanSimOptions.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "Version.h"

namespace sim {

std::optional<PanSimOptions> ParsePanSimOptions(int a_Argc, char** a_Argv, int& a_ExitCode) {
  PanSimOptions options;
  std::vector<std::string> positional;
  CLI::App app{"PanSim: runs a compiled user-data image like the panel"};
  app.set_version_flag("--version", std::string("PanSim ") + KD820_VERSION_STRING);
  CLI::Option* headless = app.add_flag(
      "--headless", options.headless, "run without a window, driven by a script (see --script)");
  app.add_option("--script", options.scriptPath,
                 "script file: headless, the script that drives the run (default: standard "
                 "input); with the window, commands that act on the live panel while it is "
                 "shown (waits follow the wall clock)");
  app.add_flag("--retentive", options.retentive,
               "headless: keep the retentive registers in the file beside the image "
               "(<name>.rcp), as the window does, instead of starting from zero every run")
      ->needs(headless);
  app.add_option("arguments", positional,
                 "MODEL [IMAGE [LAYOUT [SKIN]]]: panel model number, image file (default "
                 "hmi.bin), key layout code (1 = encoder panel), skin bitmap name");
  try {
    app.parse(a_Argc, a_Argv);
  } catch (const CLI::CallForHelp& e) {
    a_ExitCode = app.exit(e);
    return std::nullopt;
  } catch (const CLI::CallForVersion& e) {
    a_ExitCode = app.exit(e);
    return std::nullopt;
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    a_ExitCode = 2;
    return std::nullopt;
  }
  if (positional.size() > 4) {
    std::cerr << "PanSim: at most four arguments (MODEL IMAGE LAYOUT SKIN)\n";
    a_ExitCode = 2;
    return std::nullopt;
  }
  options.launch = ParseLaunchArguments(positional);
  for (const std::string& warning : options.launch.warnings)
    std::cerr << "PanSim: " << warning << '\n';
  return options;
}

}  // namespace sim
