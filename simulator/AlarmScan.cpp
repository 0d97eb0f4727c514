#include "simulator/AlarmScan.h"

#include <algorithm>

#include "common/ImageFormat.h"
#include "simulator/SimImage.h"
#include "simulator/TickTimers.h"

namespace sim {

void AlarmScan::Load(const SimImage& a_Image, const AccessContext& a_Access) {
  m_Alarms.clear();
  m_Active.clear();
  const uint32_t section = a_Image.Section(image::kAlarms);
  if (section == 0) return;
  const std::size_t count =
      a_Image.EntriesInside(section + 12, a_Image.U32(section), 4, kMaxAlarms);
  m_Flags = a_Image.U16(section + 4);
  m_Frame = a_Image.U16(section + 6);
  m_DigitFont = a_Image.U32(section + 8);
  // Reserved first: the ports keep the accessors they were asked for, which must not move.
  m_Alarms.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t record = a_Image.U32(section + 12 + 4 * static_cast<uint32_t>(i));
    Alarm& alarm = m_Alarms.emplace_back();
    if (a_Image.Has(record, 32)) {
      alarm.flags = a_Image.U32(record);
      alarm.a = a_Image.I32(record + 4);
      alarm.b = a_Image.I32(record + 8);
      alarm.buzzerSeconds = a_Image.U16(record + 12);
      alarm.text = a_Image.U32(record + 28);
      if (auto descriptor = RegisterDescriptor::FromImage(a_Image, record + 16)) {
        alarm.reg.emplace(*descriptor, a_Access);
        alarm.reg->Request(RequestMode::kPermanent);
      }
    }
  }
}

bool AlarmScan::Compare(unsigned a_Code, int32_t a_Value, int32_t a_A, int32_t a_B) {
  switch (a_Code) {
    case 0:
      return a_Value < a_A;
    case 1:
      return a_Value > a_B;
    case 2:
      return a_B <= a_Value && a_Value <= a_A;
    case 3:
      return a_Value < a_B || a_Value > a_A;
    case 4:
      return a_Value >= a_B;
    case 5:
      return a_Value <= a_A;
    default:
      return false;
  }
}

bool AlarmScan::Condition(Alarm& a_Alarm) {
  if (!a_Alarm.reg) return false;
  RegisterAccessor& reg = *a_Alarm.reg;
  // An unreadable register keeps the alarm as it was.
  reg.Read(ReadMode::kPermanent);
  if (!reg.Valid()) return a_Alarm.active;
  const int32_t raw = reg.Int32();
  if (a_Alarm.flags & 1) {
    const int32_t value = reg.Descriptor().BytesPerUnit() == 2 && reg.Size() <= 2
                              ? static_cast<int16_t>(static_cast<uint16_t>(raw))
                              : raw;
    return Compare((a_Alarm.flags >> 1) & 7, value, a_Alarm.a, a_Alarm.b);
  }
  const bool bit = (raw & 1) != 0;
  return (a_Alarm.flags & 0x10) ? bit : !bit;
}

AlarmScan::Outcome AlarmScan::Scan(IHost& a_Host, TickTimers& a_Timers) {
  Outcome outcome;
  for (std::size_t i = 0; i < m_Alarms.size(); ++i) {
    Alarm& alarm = m_Alarms[i];
    const bool now = Condition(alarm);
    if (now == alarm.active) continue;
    alarm.active = now;
    ++m_Serial;
    if (now) {
      m_Active.push_front({i, alarm.text, a_Host.Now()});
      outcome.becameActive = true;
      const uint32_t ticks = uint32_t{alarm.buzzerSeconds} * 10;
      if ((alarm.flags & 0x20) && ticks > m_BuzzerTicks) {
        a_Timers.Restart(TickTimers::kBuzzer);
        m_BuzzerTicks = ticks;
      }
    } else {
      std::erase_if(m_Active, [i](const Active& a_Entry) { return a_Entry.alarm == i; });
      if (m_Active.empty()) outcome.listEmptied = true;
    }
  }
  return outcome;
}

void AlarmScan::ServiceBuzzer(IHost& a_Host, TickTimers& a_Timers, bool a_Muted) {
  if (m_BuzzerTicks == 0) return;
  if (a_Timers.Since(TickTimers::kBuzzer) >= m_BuzzerTicks) {
    m_BuzzerTicks = 0;
    return;
  }
  if (!a_Muted) a_Host.Beep(1000, 100);
}

}  // namespace sim
