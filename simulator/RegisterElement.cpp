#include "simulator/RegisterElement.h"

#include <cstring>

#include "simulator/DisplayResources.h"
#include "simulator/InputEditor.h"
#include "simulator/LcdCanvas.h"
#include "simulator/StatusLine.h"
#include "simulator/TickTimers.h"

namespace sim {

void RegisterElement::Load() {
  m_Format = NumberFormat::FromImage(m_Context.image, m_KindRecord);
  m_Permission = m_Context.image.U32(
      m_KindRecord + static_cast<uint32_t>(NumberFormat::RecordBytes(m_Context.image, m_KindRecord)));
  if (m_Format.Invert()) m_DrawFlags |= kInvertText;
}

bool RegisterElement::Editing() const { return m_Context.input && m_Context.input->BoundTo(this); }

NumberFormat::Text RegisterElement::Shown() const {
  if (!m_Registers[0] || !m_Registers[0]->Valid()) return {};
  return m_Format.Format(m_Registers[0]->Data(), m_Registers[0]->Size());
}

void RegisterElement::Refresh() {
  if (Editing()) {
    if (m_Context.input->TakeChanged()) Invalidate();
    return;
  }
  Element::Refresh();
}

void RegisterElement::PressAction() {
  if (Editing() || !m_Format.InputAllowed() || m_Context.input == nullptr) return;
  if (!Permitted(m_Permission, m_Format.RestoreLevel())) return;
  m_Context.input->Start(*this, m_Format, m_Format.Digits(), Shown().text);
  Invalidate();
}

bool RegisterElement::CommitInput(const std::string& a_Text) {
  auto value = m_Format.Parse(a_Text);
  if (value && m_Registers[0] && m_Registers[0]->Write(value->data(), value->size())) return true;
  if (m_Context.status) m_Context.status->Raise(StatusLine::kDataInvalid, m_Context.timers.Counter());
  return false;
}

void RegisterElement::Paint(LcdCanvas& a_Canvas) {
  auto font = TextAt(m_Context.image, m_Context.image.TableEntry(m_Tables[2], 0));
  if (!font) return;
  const bool editing = Editing();
  const std::string text = editing ? m_Context.input->DisplayText() : Shown().text;
  const char* set = m_Format.DigitSet();
  std::string glyphs;
  for (char c : text)
    if (const char* at = std::strchr(set, c); at != nullptr && c != 0)
      glyphs.push_back(static_cast<char>(at - set + 1));
  auto cell = font->Glyph(0);
  const int cellWidth = cell ? cell->width : 0;
  int shift = 0;
  const int missing = m_Format.Digits() - static_cast<int>(text.size());
  if (!editing && missing > 0) {
    if (m_Format.Alignment() == 2) shift = missing * cellWidth;
    else if (m_Format.Alignment() == 1) shift = missing * cellWidth / 2;
  }
  DrawTextResource(a_Canvas, *font, {shift, 0}, m_Format.Invert(), glyphs.c_str());
  if (editing && !m_Context.input->BlinkPhase() && cell)
    a_Canvas.InvertRect(Rect::FromSize(cellWidth * m_Context.input->Cursor(), 0, cellWidth, cell->height));
}

}  // namespace sim
