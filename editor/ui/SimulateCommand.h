#pragma once
// KD820 simulate PROJECT.FPJ: compiles the project and starts the simulator on its image.
#include <string>
#include <vector>

namespace kd820 {

struct SimulateOptions {
  std::string project;
  bool wait = false;                  // wait for PanSim and return its exit code
  std::vector<std::string> simulatorOptions;  // put before the positional arguments
};

// The simulator's positional arguments for a project: hardware model id, image path, 1 for
// a model with an encoder (else 0), the model's name followed by ".bmp".
std::vector<std::string> SimulatorArguments(int a_ModelId, const std::string& a_ImagePath,
                                            bool a_Encoder, const std::string& a_ModelName);

// 0 when PanSim started (or, with wait, PanSim's own exit code); 1 when it could not start.
int RunSimulateCommand(const SimulateOptions& a_Options);

}  // namespace kd820
