#include "editor/ui/Cli.h"

int main(int argc, char** argv) { return kd820::RunKD820(argc, argv); }
