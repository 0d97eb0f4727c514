#include "simulator/SimClock.h"

#include <ctime>

#include "simulator/InternalMemory.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {

// Broken-down times are handled as UTC so that no time zone or daylight saving enters.
std::tm ToTm(const HostTime& a_Time) {
  std::tm tm{};
  tm.tm_year = a_Time.year - 1900;
  tm.tm_mon = a_Time.month - 1;
  tm.tm_mday = a_Time.day;
  tm.tm_hour = a_Time.hour;
  tm.tm_min = a_Time.minute;
  tm.tm_sec = a_Time.second;
  return tm;
}

int64_t ToSeconds(const HostTime& a_Time) {
  std::tm tm = ToTm(a_Time);
  return static_cast<int64_t>(timegm(&tm));
}

HostTime FromSeconds(int64_t a_Seconds) {
  const std::time_t t = static_cast<std::time_t>(a_Seconds);
  std::tm tm{};
  if (gmtime_r(&t, &tm) == nullptr) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// True when the fields name a real date and time (no day 31 in April, no month 0 and so on).
bool IsValid(const HostTime& a_Time) {
  if (a_Time.month < 1 || a_Time.month > 12 || a_Time.day < 1 || a_Time.hour > 23 ||
      a_Time.minute > 59 || a_Time.second > 59)
    return false;
  return FromSeconds(ToSeconds(a_Time)) == a_Time;
}

}  // namespace

int SimClock::YearFromWord(uint16_t a_Word) {
  return 1900 + static_cast<uint8_t>((a_Word & 0xFF) - 108);
}

HostTime SimClock::Now() const { return FromSeconds(ToSeconds(m_Host.Now()) + m_Offset); }

void SimClock::Service(InternalMemory& a_Memory, TickTimers& a_Timers) {
  Words words{};
  for (unsigned i = 0; i < words.size(); ++i)
    words[i] = a_Memory.Word(InternalMemory::kClockYear + i);
  if (words != m_Snapshot) {
    // A date the calendar does not have is ignored; the next refresh overwrites it.
    m_Snapshot = words;
    const HostTime wanted{YearFromWord(words[0]), words[1], words[2], words[3], words[4], words[5]};
    if (IsValid(wanted)) m_Offset = ToSeconds(wanted) - ToSeconds(m_Host.Now());
  }
  if (!m_Started) {
    m_Started = true;
    a_Timers.Restart(TickTimers::kClock);
    Refresh(a_Memory);
  } else if (a_Timers.Elapsed(TickTimers::kClock, kRefreshTicks)) {
    Refresh(a_Memory);
  }
}

void SimClock::Refresh(InternalMemory& a_Memory) {
  const HostTime now = Now();
  const Words words{static_cast<uint16_t>(now.year),   static_cast<uint16_t>(now.month),
                    static_cast<uint16_t>(now.day),    static_cast<uint16_t>(now.hour),
                    static_cast<uint16_t>(now.minute), static_cast<uint16_t>(now.second)};
  for (unsigned i = 0; i < words.size(); ++i)
    a_Memory.WriteWord(InternalMemory::kClockYear + i, words[i]);
  m_Snapshot = words;
}

}  // namespace sim
