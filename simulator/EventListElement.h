#pragma once
// Kind 10: the active alarms, newest first, with their number, date and time.
#include <cstdint>
#include <string>

#include "simulator/Element.h"
#include "simulator/Host.h"

namespace sim {

class EventListElement : public Element {
 public:
  using Element::Element;
  void Refresh() override;
  void Step(int a_Key) override;
  int ScrollPosition() const { return m_Scroll; }
  // The prefix of line a_Number (counted from 1) for an alarm active since a_Time.
  std::string Prefix(int a_Number, const HostTime& a_Time) const;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  uint32_t m_Options = 0;
  char m_Separator = '.';
  int m_Scroll = 0;
  uint32_t m_Serial = 0;
};

}  // namespace sim
