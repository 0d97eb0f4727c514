#pragma once
// The alarms of the image's alarm section: each cycle every alarm's register is evaluated, and
// the alarms that are active are kept newest first with the time they became active. The
// buzzer sounds while the longest running alarm duration lasts.
#include <cstdint>
#include <deque>
#include <vector>

#include "simulator/Host.h"
#include "simulator/RegisterAccessor.h"

namespace sim {

class SimImage;
class TickTimers;

class AlarmScan {
 public:
  // Alarms beyond this many in the section are ignored.
  static constexpr std::size_t kMaxAlarms = 255;

  struct Active {
    std::size_t alarm = 0;  // index in the section
    uint32_t text = 0;      // offset of its message text
    HostTime since;
  };
  struct Outcome {
    bool becameActive = false;
    bool listEmptied = false;  // the last active alarm went away
  };

  // Reads the section; the alarm registers go on the permanent polling list.
  void Load(const SimImage& a_Image, const AccessContext& a_Access);

  bool AutoShow() const { return (m_Flags & 1) != 0; }
  uint16_t Frame() const { return m_Frame; }
  // The text whose glyphs 1..15 draw "0123456789:.-/ ".
  uint32_t DigitFont() const { return m_DigitFont; }

  Outcome Scan(IHost& a_Host, TickTimers& a_Timers);
  // Beeps every cycle while the running buzzer duration lasts.
  void ServiceBuzzer(IHost& a_Host, TickTimers& a_Timers, bool a_Muted);

  const std::deque<Active>& ActiveAlarms() const { return m_Active; }
  // Grows by one at every change of the active list.
  uint32_t Serial() const { return m_Serial; }

  // Whether the comparison of a value alarm holds (codes 6 and 7 never do).
  static bool Compare(unsigned a_Code, int32_t a_Value, int32_t a_A, int32_t a_B);

 private:
  struct Alarm {
    uint32_t flags = 0;
    int32_t a = 0;
    int32_t b = 0;
    uint16_t buzzerSeconds = 0;
    uint32_t text = 0;
    std::optional<RegisterAccessor> reg;
    bool active = false;
  };
  bool Condition(Alarm& a_Alarm);

  std::vector<Alarm> m_Alarms;
  std::deque<Active> m_Active;
  uint16_t m_Flags = 0;
  uint16_t m_Frame = 0;
  uint32_t m_DigitFont = 0;
  uint32_t m_Serial = 0;
  uint32_t m_BuzzerTicks = 0;  // running duration, 0 = silent
};

}  // namespace sim
