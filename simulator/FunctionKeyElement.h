#pragma once
// Kind 1: a panel key bound to an action while its frame is shown.
#include <cstdint>

#include "simulator/Element.h"

namespace sim {

class FunctionKeyElement : public Element {
 public:
  using Element::Element;
  bool WantsKey(const KeyEvent& a_Event) const override;
  void PressAction() override;
  void ReleaseAction() override;
  void Event(int a_Code) override;
  void Refresh() override;

  int Action() const { return m_Action; }

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  void Write(int32_t a_Value);
  void Modify();

  uint32_t m_Word = 0;
  int m_Action = 0;
  int m_Key = 0;
  int32_t m_P[4] = {};
  uint32_t m_Permission = 0;
  uint32_t m_RepeatInterval = 0;  // 0 = not repeating
  uint32_t m_RepeatStamp = 0;
};

}  // namespace sim
