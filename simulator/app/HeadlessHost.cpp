#include "simulator/app/HeadlessHost.h"

#include <chrono>

namespace sim {
namespace {

using namespace std::chrono;

int64_t ToSeconds(const HostTime& a_Time) {
  const sys_days day{year{a_Time.year} / month{static_cast<unsigned>(a_Time.month)} /
                     std::chrono::day{static_cast<unsigned>(a_Time.day)}};
  return duration_cast<seconds>(day.time_since_epoch()).count() + a_Time.hour * 3600 +
         a_Time.minute * 60 + a_Time.second;
}

HostTime FromSeconds(int64_t a_Seconds) {
  const sys_seconds point{seconds{a_Seconds}};
  const sys_days day = floor<days>(point);
  const year_month_day date{day};
  const hh_mm_ss<seconds> clock{point - day};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
          static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count())};
}

}  // namespace

HeadlessHost::HeadlessHost(const HostTime& a_Start) : m_StartSeconds(ToSeconds(a_Start)) {}

HostTime HeadlessHost::Now() { return FromSeconds(m_StartSeconds + m_ElapsedMs / 1000); }

void HeadlessHost::Beep(int a_Hertz, int a_Milliseconds) {
  ++m_BeepCount;
  m_LastHertz = a_Hertz;
  m_LastMilliseconds = a_Milliseconds;
}

void HeadlessHost::Advance(int64_t a_Milliseconds) {
  if (a_Milliseconds > 0) m_ElapsedMs += a_Milliseconds;
}

}  // namespace sim
