#pragma once
// The panel clock. The simulated clock runs with the host's clock at a fixed offset; the
// panel shows it in internal words 247..252 (year, month, day, hour, minute, second), and a
// program that writes those words sets the simulated clock. The host's clock is never set.
#include <array>
#include <cstdint>

#include "simulator/Host.h"

namespace sim {

class InternalMemory;
class TickTimers;

class SimClock {
 public:
  // Refresh of the clock words, in ticks.
  static constexpr uint32_t kRefreshTicks = 10;

  explicit SimClock(IHost& a_Host) : m_Host(a_Host) {}

  // The simulated local time.
  HostTime Now() const;
  // Seconds the simulated clock runs ahead of the host.
  int64_t Offset() const { return m_Offset; }

  // Once per cycle: takes a date and time written into the clock words as the new simulated
  // time, and writes the simulated time into them on the first call and every 10 ticks.
  void Service(InternalMemory& a_Memory, TickTimers& a_Timers);

  // The year word carries the year in its low byte as years since 1900 plus 108 (mod 256):
  // 2013 = 0x07DD reads as 2013, and every word reads as a year of 1900..2155.
  static int YearFromWord(uint16_t a_Word);

 private:
  using Words = std::array<uint16_t, 6>;

  void Refresh(InternalMemory& a_Memory);

  IHost& m_Host;
  int64_t m_Offset = 0;
  Words m_Snapshot{};
  bool m_Started = false;
};

}  // namespace sim
