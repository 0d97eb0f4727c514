#pragma once
// Kind 4: a register shown as a number, and edited through the input editor.
#include "simulator/Element.h"
#include "simulator/NumberFormat.h"

namespace sim {

class RegisterElement : public Element {
 public:
  using Element::Element;
  void Refresh() override;
  void PressAction() override;
  bool AcceptsInput() const override { return m_Format.InputAllowed(); }
  bool Visible() const override { return true; }
  bool CommitInput(const std::string& a_Text) override;
  // The text shown when not editing, and whether the value counts as valid.
  NumberFormat::Text Shown() const;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  bool Editing() const;

  NumberFormat m_Format;
  uint32_t m_Permission = 0;
};

}  // namespace sim
