#pragma once
// The script language of PanSim, shared by the headless runner and the window: each command
// acts on the simulator at once, and the commands that let time pass hand back a pause that
// the caller carries out (the headless runner by stepping virtual time, the window by waiting
// for its own ticks and cycles).
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
//   plc-set PORT STATION TYPE ADDRESS VALUE   writes the simulated PLC's register
//   plc-get PORT STATION TYPE ADDRESS         prints "plc PORT STATION TYPE ADDRESS = VALUE"
//   plc-expect PORT STATION TYPE ADDRESS VALUE  fails the run unless the register holds VALUE
//   alarms             prints the active alarms, newest first
//   lcd FILE.png       writes the LCD as a 1-bit PNG
//   panel FILE.png     writes the whole panel (skin with the LCD in place) as an RGB PNG
#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "simulator/app/PlcRegisterTypes.h"
#include "simulator/app/SkinBitmap.h"

namespace sim {

class Simulator;

class PanelScript {
 public:
  // What the caller does next.
  struct Step {
    enum Kind { kCycles, kTicks, kEnd } kind = kEnd;
    long count = 0;    // cycles or ticks to run
    int exitCode = 0;  // kEnd: 0 all held, 1 an expectation or a screenshot failed, 2 bad line
  };

  // a_BeepCount tells how many beeps sounded so far.
  PanelScript(Simulator& a_Simulator, std::istream& a_Script, std::ostream& a_Out,
              std::ostream& a_Err, std::function<int()> a_BeepCount);

  // Runs commands until one lets time pass or the script ends.
  Step Next();
  // Whether the script ended, and its exit code then (0 before).
  bool Ended() const { return m_Ended; }
  int ExitCode() const { return m_ExitCode; }

 private:
  using Action = std::function<std::optional<Step>()>;
  // Reads the next command line into actions; a step when the line ends the script.
  std::optional<Step> Read();
  std::optional<Step> Parse(const std::vector<std::string>& a_Words);
  std::optional<Step> Fail(const std::string& a_Why);
  std::optional<Step> Broken(const std::string& a_Why);
  std::optional<Step> Screenshot(bool a_Panel, const std::string& a_Path);
  std::optional<Step> Plc(const std::string& a_Command, const std::vector<std::string>& a_Words);
  void PrintAlarms();
  const PlcRegisterTypes& TypesOf(uint8_t a_Port);

  Simulator& m_Simulator;
  std::istream& m_Script;
  std::ostream& m_Out;
  std::ostream& m_Err;
  std::function<int()> m_BeepCount;
  std::deque<Action> m_Actions;
  int m_Line = 0;
  bool m_Ended = false;
  int m_ExitCode = 0;
  std::optional<SkinBitmap> m_Skin;
  std::map<uint8_t, PlcRegisterTypes> m_Types;
};

}  // namespace sim
