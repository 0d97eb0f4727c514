#include "simulator/TextElements.h"

#include <string>

#include "simulator/DisplayResources.h"
#include "simulator/LcdCanvas.h"
#include "simulator/TickTimers.h"

namespace sim {

void DynamicTextElement::Load() {
  m_Options = m_Context.image.U32(m_KindRecord);
  if (m_Options & (1u << 12)) m_DrawFlags |= kInvertText;
}

int DynamicTextElement::State() const {
  if (!m_Registers[0] || !m_Registers[0]->Valid()) return -1;
  const auto wanted = static_cast<uint16_t>(m_Registers[0]->Int32());
  const SimImage& image = m_Context.image;
  const unsigned count = image.U16(m_KindRecord + 4);
  for (unsigned i = 0; i < count && image.Has(m_KindRecord + 6 + 2 * i, 2); ++i)
    if (image.U16(m_KindRecord + 6 + 2 * i) == wanted) return static_cast<int>(i);
  return -1;
}

void DynamicTextElement::Paint(LcdCanvas& a_Canvas) {
  const int state = State();
  if (state < 0) return;
  int shift = 0;
  if (auto text = TextAt(m_Context.image,
                         m_Context.image.TableEntry(m_Tables[2], static_cast<unsigned>(state)))) {
    const int room = m_Rect.Width() - text->Size().width;
    if (m_Options & 0x4000) shift = room / 2;
    else if (m_Options & 0x2000) shift = room;
  }
  PaintState(a_Canvas, state, {shift, 0});
}

void AsciiTextElement::Load() {
  const uint32_t options = m_Context.image.U32(m_KindRecord);
  if (options & (1u << 12)) m_DrawFlags |= kInvertText;
  m_Count = m_Context.image.U16(m_KindRecord + 2);
}

void AsciiTextElement::Paint(LcdCanvas& a_Canvas) {
  if (!m_Registers[0] || !m_Registers[0]->Valid()) return;
  auto text = TextAt(m_Context.image, m_Context.image.TableEntry(m_Tables[2], 0));
  if (!text) return;
  const RegisterAccessor& reg = *m_Registers[0];
  std::string glyphs;
  for (std::size_t i = 0; i < m_Count && i < reg.Size(); ++i) {
    const unsigned code = reg.Data()[i];
    glyphs.push_back(static_cast<char>(code < 32 ? 1 : code - 31));
  }
  DrawTextResource(a_Canvas, *text, {0, 0}, (m_DrawFlags & kInvertText) != 0, glyphs.c_str());
}

}  // namespace sim
