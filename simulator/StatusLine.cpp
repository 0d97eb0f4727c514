#include "simulator/StatusLine.h"

#include <cstdio>

#include "simulator/TickTimers.h"

namespace sim {
namespace {

// The texts in GBK; the blanks are part of them.
constexpr const char* kTimeoutChinese = "COM%d PLC%d \xB3\xAC \xCA\xB1  ";
constexpr const char* kErrorChinese = "COM%d PLC%d \xB4\xED\xCE\xF3  ";
constexpr const char* kDataInvalidChinese = "\xCA\xFD \xD6\xB5 \xCE\xDE \xD0\xA7 ";
constexpr const char* kNoUserDataChinese = "\xD7\xE9 \xCC\xAC \xCE\xDE \xD0\xA7 ";
constexpr const char* kTimeoutEnglish = "COM%d PLC%d Timeout";
constexpr const char* kErrorEnglish = "COM%d PLC%d Error  ";
constexpr const char* kDataInvalidEnglish = "Data Invalid";
constexpr const char* kNoUserDataEnglish = "No User Data";

constexpr int kTimeout = 2;
constexpr int kError = 3;

std::string FormatStation(const char* a_Format, int a_Port, int a_Station) {
  char text[64];
  std::snprintf(text, sizeof text, a_Format, a_Port, a_Station);
  return text;
}

}  // namespace

void StatusLine::Raise(unsigned a_Status, uint32_t a_Tick) {
  if (a_Status != kDataInvalid && a_Status != kNoUserData) return;
  m_StatusWord = static_cast<uint16_t>(m_StatusWord | 1u << a_Status);
  if (a_Status == kDataInvalid) m_DataInvalidSince = a_Tick;
}

bool StatusLine::IsRaised(unsigned a_Status) const {
  return a_Status < 16 && (m_StatusWord >> a_Status & 1u) != 0;
}

void StatusLine::SetDisplayTime(uint8_t a_Port, unsigned a_Seconds) {
  m_DisplaySeconds[a_Port] = a_Seconds;
}

void StatusLine::Report(uint8_t a_Port, uint8_t a_Station, int a_Result) {
  std::lock_guard<std::mutex> lock(m_ReportLock);
  Station* entry = nullptr;
  for (Station& s : m_Stations)
    if (s.port == a_Port && s.station == a_Station) entry = &s;
  if (entry == nullptr) {
    if (a_Result != kTimeout && a_Result != kError) return;
    m_Stations.push_back({a_Port, a_Station});
    entry = &m_Stations.back();
  }
  if (a_Result == kTimeout) {
    if (entry->timeouts < kCountLimit) ++entry->timeouts;
  } else if (a_Result == kError) {
    if (entry->errors < kCountLimit) ++entry->errors;
  } else if (a_Result == 0) {
    entry->timeouts = entry->errors = 0;
  }
  const bool showing = entry->timeouts >= kCountLimit || entry->errors >= kCountLimit;
  if (showing && !entry->showing) entry->shownSince = m_Tick;
  entry->showing = showing;
}

std::string StatusLine::Choose(uint32_t a_Tick, bool a_English) const {
  if (IsRaised(kNoUserData)) return a_English ? kNoUserDataEnglish : kNoUserDataChinese;
  if (IsRaised(kDataInvalid)) return a_English ? kDataInvalidEnglish : kDataInvalidChinese;
  for (const Station& s : m_Stations) {
    if (!s.showing) continue;
    const unsigned seconds = m_DisplaySeconds[s.port];
    if (seconds != 0 && a_Tick - s.shownSince >= uint64_t{seconds} * 10) continue;
    if (s.timeouts >= kCountLimit)
      return FormatStation(a_English ? kTimeoutEnglish : kTimeoutChinese, s.port, s.station);
    return FormatStation(a_English ? kErrorEnglish : kErrorChinese, s.port, s.station);
  }
  return {};
}

void StatusLine::Service(TickTimers& a_Timers, bool a_English) {
  const uint32_t tick = a_Timers.Counter();
  if (IsRaised(kDataInvalid) && tick - m_DataInvalidSince >= kDataInvalidTicks)
    m_StatusWord = static_cast<uint16_t>(m_StatusWord & ~(1u << kDataInvalid));

  std::string text;
  {
    std::lock_guard<std::mutex> lock(m_ReportLock);
    m_Tick = tick;
    text = Choose(tick, a_English);
  }
  if (text != m_Text) {
    m_Text = std::move(text);
    m_Visible = !m_Text.empty();
    m_Changed = true;
    a_Timers.Restart(TickTimers::kStatusText);
  } else if (!m_Text.empty() && a_Timers.Elapsed(TickTimers::kStatusText, kBlinkTicks)) {
    m_Visible = !m_Visible;
    m_Changed = true;
  }
}

}  // namespace sim
