#pragma once
// The tick counter (one tick = 100 ms of panel time) and the interval timers that measure in
// ticks from their last restart. Differences are taken modulo 2^32, so the counter may wrap.
#include <array>
#include <cstdint>

namespace sim {

class TickTimers {
 public:
  enum Slot : unsigned {
    kCursorBlink = 0,
    kStatusText = 1,
    kScreenSaver = 2,
    kBuzzer = 3,
    kClock = 4,
    kSlotCount = 5,
  };

  // Counter and every slot start at a_Start.
  explicit TickTimers(uint32_t a_Start = 0) : m_Counter(a_Start) { m_Slots.fill(a_Start); }

  uint32_t Counter() const { return m_Counter; }
  void Advance() { ++m_Counter; }

  // Ticks since slot a_Slot was last restarted.
  uint32_t Since(Slot a_Slot) const { return m_Counter - m_Slots[a_Slot]; }
  // True, and the slot restarts, when at least a_Ticks ticks passed since its last restart.
  bool Elapsed(Slot a_Slot, uint32_t a_Ticks) {
    if (Since(a_Slot) < a_Ticks) return false;
    Restart(a_Slot);
    return true;
  }
  void Restart(Slot a_Slot) { m_Slots[a_Slot] = m_Counter; }

 private:
  uint32_t m_Counter = 0;
  std::array<uint32_t, kSlotCount> m_Slots{};
};

}  // namespace sim
