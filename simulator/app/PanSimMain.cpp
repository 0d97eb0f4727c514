// PanSim: runs a compiled user-data image like the panel.
#include "simulator/app/PanSimOptions.h"

int main(int argc, char** argv) {
  int exitCode = 0;
  auto options = sim::ParsePanSimOptions(argc, argv, exitCode);
  if (!options) return exitCode;
  return 0;
}
