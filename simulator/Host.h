#pragma once
// What the simulator core needs from its front-end: the host's local time and a beeper. The
// core itself never reads the wall clock and never sleeps.
namespace sim {

// A broken-down local time: year (e.g. 2026), month 1..12, day 1..31, hour, minute, second.
struct HostTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool operator==(const HostTime&) const = default;
};

class IHost {
 public:
  virtual ~IHost() = default;
  // The host's local time now (a headless run gives a virtual time that follows the ticks).
  virtual HostTime Now() = 0;
  // The key beep and the alarm buzzer.
  virtual void Beep(int a_Hertz, int a_Milliseconds) = 0;
};

}  // namespace sim
