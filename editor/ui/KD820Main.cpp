#include "editor/ui/Cli.h"

int main(int argc, char** argv) { return RunKD820(argc, argv); }
