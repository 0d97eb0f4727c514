#include "simulator/EventListElement.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "simulator/AlarmScan.h"
#include "simulator/BuiltinFont.h"
#include "simulator/DisplayResources.h"
#include "simulator/LcdCanvas.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {
constexpr char kPrefixCharacters[] = "0123456789:.-/ ";

std::string Number(const char* a_Format, int a_Value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, a_Format, a_Value);
  return buffer;
}
}  // namespace

void EventListElement::Load() {
  m_Options = m_Context.image.U32(m_KindRecord);
  m_Separator = static_cast<char>(m_Context.image.U8(m_KindRecord + 4));
}

std::string EventListElement::Prefix(int a_Number, const HostTime& a_Time) const {
  std::string prefix;
  if (m_Options & 0x100) prefix += Number("%d ", a_Number);
  const char* part = (m_Options & (1u << 17)) ? "%d" : "%02d";
  const std::string day = Number(part, a_Time.day), month = Number(part, a_Time.month);
  const std::string year = (m_Options & (1u << 16)) ? Number("%04d", a_Time.year)
                                                    : Number("%02d", a_Time.year % 100);
  const std::string s(1, m_Separator);
  switch ((m_Options >> 9) & 7) {
    case 1:
      prefix += day + s + month + s + year + " ";
      break;
    case 2:
      prefix += month + s + day + s + year + " ";
      break;
    case 3:
      prefix += year + s + month + s + day + " ";
      break;
    case 4:
      prefix += month + s + day + " ";
      break;
    default:
      break;
  }
  char time[24] = "";
  switch ((m_Options >> 12) & 7) {
    case 1:
      std::snprintf(time, sizeof time, "%02d:%02d:%02d ", a_Time.hour % 100, a_Time.minute % 100,
                    a_Time.second % 100);
      break;
    case 2:
      std::snprintf(time, sizeof time, "%02d:%02d ", a_Time.hour % 100, a_Time.minute % 100);
      break;
    default:
      break;
  }
  return prefix + time;
}

void EventListElement::Refresh() {
  Element::Refresh();
  if (m_Context.alarms == nullptr || m_Context.alarms->Serial() == m_Serial) return;
  m_Serial = m_Context.alarms->Serial();
  const int count = static_cast<int>(m_Context.alarms->ActiveAlarms().size());
  m_Scroll = std::clamp(m_Scroll, 0, std::max(count - 1, 0));
  Invalidate();
}

void EventListElement::Step(int a_Key) {
  const int count = m_Context.alarms ? static_cast<int>(m_Context.alarms->ActiveAlarms().size()) : 0;
  if (a_Key == 2 && m_Scroll < count - 1) ++m_Scroll;
  else if (a_Key == 3 && m_Scroll > 0) --m_Scroll;
  else return;
  Invalidate();
}

void EventListElement::Paint(LcdCanvas& a_Canvas) {
  const auto* alarms = m_Context.alarms;
  if (alarms == nullptr || alarms->ActiveAlarms().empty()) {
    BuiltinFont::DrawText(a_Canvas, "No Alarm", Rect::FromSize(0, 0, m_Rect.Width(), m_Rect.Height()), false);
    return;
  }
  const SimImage& image = m_Context.image;
  auto digits = TextAt(image, alarms->DigitFont());
  const int cell = digits && digits->Glyph(0) ? digits->Glyph(0)->width : 0;
  const auto& list = alarms->ActiveAlarms();
  int y = 0;
  for (std::size_t i = static_cast<std::size_t>(m_Scroll); i < list.size() && y < m_Rect.Height(); ++i) {
    const std::string prefix = Prefix(static_cast<int>(i) + 1, list[i].since);
    std::string glyphs;
    for (char c : prefix)
      if (const char* at = std::strchr(kPrefixCharacters, c); at != nullptr && c != 0)
        glyphs.push_back(static_cast<char>(at - kPrefixCharacters + 1));
    if (digits) DrawTextResource(a_Canvas, *digits, {0, y}, false, glyphs.c_str());
    int lineHeight = digits ? digits->Size().height : 0;
    if (auto text = TextAt(image, list[i].text)) {
      DrawTextResource(a_Canvas, *text, {static_cast<int>(prefix.size()) * cell, y}, false);
      lineHeight = text->Size().height;
    }
    y += std::max(lineHeight, 1);
  }
}

}  // namespace sim
