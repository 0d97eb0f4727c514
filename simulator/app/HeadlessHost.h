#pragma once
// The host of a headless run: a virtual clock that only moves when the runner says so, and a
// beeper that counts.
#include <cstdint>

#include "simulator/Host.h"

namespace sim {

class HeadlessHost : public IHost {
 public:
  static constexpr HostTime kStartTime{2026, 1, 1, 8, 0, 0};
  static constexpr int kTickMilliseconds = 100;

  explicit HeadlessHost(const HostTime& a_Start = kStartTime);

  // The start time plus the virtual time passed so far (whole seconds).
  HostTime Now() override;
  void Beep(int a_Hertz, int a_Milliseconds) override;

  // Moves the virtual clock on; negative amounts are ignored.
  void Advance(int64_t a_Milliseconds);
  // One simulator tick of virtual time.
  void AdvanceTick() { Advance(kTickMilliseconds); }
  int64_t ElapsedMilliseconds() const { return m_ElapsedMs; }

  int BeepCount() const { return m_BeepCount; }
  int LastBeepHertz() const { return m_LastHertz; }
  int LastBeepMilliseconds() const { return m_LastMilliseconds; }

 private:
  int64_t m_StartSeconds;  // seconds since 1970-01-01 00:00:00 of the start time, no time zone
  int64_t m_ElapsedMs = 0;
  int m_BeepCount = 0;
  int m_LastHertz = 0;
  int m_LastMilliseconds = 0;
};

}  // namespace sim
