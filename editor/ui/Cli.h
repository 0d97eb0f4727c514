#pragma once

namespace kd820 {
// The editor's command line: KD820 SUBCOMMAND ...
// Exit status: 0 success, 1 failure, 2 usage error.

int RunKD820(int a_Argc, char** a_Argv);

}  // namespace kd820
