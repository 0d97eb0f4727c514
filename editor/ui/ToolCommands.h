#pragma once
// KD820 view PROJECT.FPJ: compiles the project and starts the viewer on its image.
// KD820 transfer upload|download FILE --port N: runs the transfer tool and waits for it.
#include <string>

namespace kd820 {

class IProgramStarter;

struct ViewOptions {
  std::string project;
  bool wait = false;  // wait for the viewer and return its exit code
};

struct TransferOptions {
  std::string task;  // "upload" or "download"
  std::string file;
  int port = 1;  // the COM port number
};

// 0 when the viewer started (with wait: its exit code); 1 when the project did not compile
// or the viewer could not start.
int RunViewCommand(const ViewOptions& a_Options, IProgramStarter& a_Starter);
// The transfer tool's exit code; 1 when the file cannot be opened or created or the tool
// cannot start.
int RunTransferCommand(const TransferOptions& a_Options, IProgramStarter& a_Starter);

}  // namespace kd820
