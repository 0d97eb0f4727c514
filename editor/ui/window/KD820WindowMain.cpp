// KD820 with the windowed editor: without a subcommand, or with a project file alone, the
// window opens; the subcommands run as in the command-line build.
#include "editor/ui/Cli.h"
#include "editor/ui/window/WindowApp.h"

int main(int argc, char** argv) { return kd820::RunKD820(argc, argv, &kd820::RunWindow); }
