#pragma once
// Runs the simulator without a window, driven by a script of key presses, ticks and
// screenshots. Deterministic: the same image and script give the same output and PNG bytes,
// because the retentive registers start from zero in memory on every run. Only when asked to
// keep them does a run use the file beside the image, as the window does, and then it starts
// from what the last run left there.
//
// Script lines (blank lines and lines starting with '#' are skipped):
//   press KEY          key KEY (1..32) goes down; one cycle runs
//   release            every key goes up; one cycle runs
//   click KEY          press, one cycle, release, one cycle
//   encoder STEPS      turns the encoder (negative = backward); one cycle runs
//   tick [N]           N ticks of 100 ms (default 1), one cycle after each
//   wait SECONDS       the same as tick SECONDS*10
//   cycle [N]          N cycles without time passing (default 1)
//   set WORD VALUE     writes internal word WORD (0..255)
//   set32 WORD VALUE   writes a 32-bit value to words WORD (low half) and WORD+1
//   get WORD           prints "WORD = VALUE"
//   expect WORD VALUE  fails the run unless internal word WORD holds VALUE
//   expect-beeps N     fails the run unless N beeps sounded so far
//   lcd FILE.png       writes the LCD as a 1-bit PNG
//   panel FILE.png     writes the whole panel (skin with the LCD in place) as an RGB PNG
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
