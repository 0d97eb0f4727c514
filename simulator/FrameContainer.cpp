#include "simulator/FrameContainer.h"

#include "simulator/DirtyAreas.h"
#include "simulator/ElementComposition.h"
#include "simulator/LcdCanvas.h"

namespace sim {

void FrameContainer::Load(const FrameRecord& a_Frame) {
  TearDown();
  m_Frame = a_Frame;
  for (const FrameElementEntry& entry : a_Frame.elements)
    m_Elements.push_back(CreateElement(m_Context, entry));
}

void FrameContainer::TearDown() {
  m_Elements.clear();
  m_Frame.reset();
  m_FocusPosition = -1;
  m_Busy = false;
}

void FrameContainer::Refresh() {
  for (auto& element : m_Elements)
    if (element) element->Refresh();
}

void FrameContainer::Event(int a_Code) {
  for (auto& element : m_Elements)
    if (element) element->Event(a_Code);
}

void FrameContainer::Compose(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty) {
  for (auto& element : m_Elements) {
    if (!element || !element->Visible()) continue;
    ComposeElement(a_Screen, a_Dirty, element->Bounds(), element->Transparent(),
                   [&](LcdCanvas& a_Canvas) { element->PaintWithMark(a_Canvas); });
  }
}

void FrameContainer::Step(int a_Key) {
  for (auto& element : m_Elements)
    if (element) element->Step(a_Key);
}

Element* FrameContainer::FindByKey(const KeyEvent& a_Event) const {
  for (auto it = m_Elements.rbegin(); it != m_Elements.rend(); ++it)
    if (*it && (*it)->WantsKey(a_Event)) return it->get();
  return nullptr;
}

Element* FrameContainer::FindById(uint32_t a_Identifier) const {
  for (const auto& element : m_Elements)
    if (element && element->Identifier() == a_Identifier) return element.get();
  return nullptr;
}

Element* FrameContainer::Focused() const {
  if (!m_Frame || m_FocusPosition < 0) return nullptr;
  uint16_t index = m_Frame->focusOrder[static_cast<std::size_t>(m_FocusPosition)];
  return m_Elements[index].get();
}

void FrameContainer::SetFocusPosition(int a_Position) {
  if (Element* old = Focused()) old->SetFocused(false);
  m_FocusPosition = a_Position;
  if (Element* now = Focused()) now->SetFocused(true);
}

void FrameContainer::MoveFocus(int a_Step) {
  if (!m_Frame || a_Step == 0 || m_Frame->focusOrder.empty()) {
    DropFocus();
    return;
  }
  int count = static_cast<int>(m_Frame->focusOrder.size());
  int position;
  if (m_FocusPosition < 0)
    position = a_Step > 0 ? a_Step - 1 : count + a_Step;
  else
    position = m_FocusPosition + a_Step;
  SetFocusPosition(position >= 0 && position < count ? position : -1);
}

void FrameContainer::DropFocus() { SetFocusPosition(-1); }

}  // namespace sim
