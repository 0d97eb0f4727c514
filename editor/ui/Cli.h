#pragma once
#include <string>

namespace kd820 {
// The editor's command line: KD820 SUBCOMMAND ...
// Exit status: 0 success, 1 failure, 2 usage error.

// Opens the windowed editor, with the project a_Project when it is not empty; returns the exit
// status.
using WindowStarter = int (*)(int a_Argc, char** a_Argv, const std::string& a_Project);

// Without a subcommand, or with a single project file argument, the window opens through
// a_Window; a build without one says so and exits with the usage status.
int RunKD820(int a_Argc, char** a_Argv, WindowStarter a_Window = nullptr);

}  // namespace kd820
