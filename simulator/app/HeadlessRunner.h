#pragma once
// Runs the simulator without a window, driven by a script of key presses, ticks and
// screenshots. Deterministic: the same image and script give the same output and PNG bytes,
// because the retentive registers start from zero in memory on every run. Only when asked to
// keep them does a run use the file beside the image, as the window does, and then it starts
// from what the last run left there.
//
// The script's commands are those of PanelScript.
#include <iosfwd>
#include <string>

#include "simulator/PanelModel.h"

namespace sim {

// Exit codes: 0 the script ran and every expectation held, 1 an expectation failed or a
// screenshot could not be written, 2 a script line could not be read. a_KeepRetentive keeps
// the retentive registers in the file beside the image.
int RunHeadless(const LaunchOptions& a_Launch, bool a_KeepRetentive, std::istream& a_Script,
                std::ostream& a_Out, std::ostream& a_Err);

}  // namespace sim
