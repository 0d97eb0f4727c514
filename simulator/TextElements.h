#pragma once
// The elements that show texts chosen at run time: the dynamic text and the ASCII text.
#include <cstdint>

#include "simulator/Element.h"

namespace sim {

// Kind 3: the text of the first listed value that register 0 holds.
class DynamicTextElement : public Element {
 public:
  using Element::Element;
  int State() const override;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  uint32_t m_Options = 0;
};

// Kind 9: the bytes of register 0 as characters of its 95-glyph text.
class AsciiTextElement : public Element {
 public:
  using Element::Element;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  unsigned m_Count = 0;
};

}  // namespace sim
