#include "simulator/FunctionKeyElement.h"

#include <algorithm>

#include "simulator/DisplayResources.h"
#include "simulator/InputEditor.h"
#include "simulator/InternalMemory.h"
#include "simulator/LcdCanvas.h"
#include "simulator/ScreenManager.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {
constexpr int kStepMode = 240;
bool Repeating(int a_Action) { return a_Action == 35 || a_Action == 36 || a_Action == 40; }
}  // namespace

void FunctionKeyElement::Load() {
  const SimImage& image = m_Context.image;
  m_Word = image.U32(m_KindRecord);
  const unsigned length = std::max<unsigned>(m_Word & 0xFF, 1);
  m_Action = static_cast<int>((m_Word >> 8) & 0xFF);
  m_Key = static_cast<int>((m_Word >> 16) & 0x3F);
  for (unsigned i = 0; i < 4 && i + 1 < length; ++i) m_P[i] = image.I32(m_KindRecord + 4 + 4 * i);
  m_Permission = image.U32(m_KindRecord + 4 * length);
  if (m_Word & (1u << 22)) m_DrawFlags |= kInvertText;
  if (m_Action == kStepMode || m_Key == 0) m_DrawFlags |= kTransparent;
}

bool FunctionKeyElement::WantsKey(const KeyEvent& a_Event) const {
  return (m_Key != 0 && a_Event.key == m_Key) || Element::WantsKey(a_Event);
}

void FunctionKeyElement::Write(int32_t a_Value) {
  if (m_Registers[1]) m_Registers[1]->WriteInt32(a_Value);
}

void FunctionKeyElement::Modify() {
  if (m_Registers[1]) m_Registers[1]->Modify({static_cast<uint8_t>(m_Action), m_P[0], m_P[1]});
}

void FunctionKeyElement::PressAction() {
  ScreenManager* screen = m_Context.screen;
  if (screen == nullptr) return;
  if (!Permitted(m_Permission, (m_Word & (1u << 24)) != 0)) return;
  switch (m_Action) {
    case 0:
      if (m_P[0] != 0 && m_P[0] == screen->AlarmFrame())
        screen->ShowAlarmFrame();
      else
        screen->Post(ScreenManager::kJump, m_P[0]);
      break;
    case 1:
      screen->JumpToPrevious();
      break;
    case 2:
      screen->Post(ScreenManager::kOverlayJump, m_Context.settings.passwordFrame);
      break;
    case 3:
      screen->ShowAlarmFrame();
      break;
    case 16:
      Write(1);
      break;
    case 17:
      Write(0);
      break;
    case 18:
    case 33:
    case 34:
    case 39:
      Modify();
      break;
    case 19:
      Write(1);
      screen->Container().SetBusy(true);
      break;
    case 32:
      Write(m_P[0]);
      break;
    case 35:
    case 36:
    case 40:
      if (m_Word & (1u << 23)) Modify();
      m_RepeatInterval = static_cast<uint32_t>(std::max(m_P[2], 1));
      m_RepeatStamp = m_Context.timers.Counter();
      break;
    case kStepMode:
      if (m_Context.input) m_Context.input->StartStep(*this);
      break;
    default:
      break;
  }
}

void FunctionKeyElement::ReleaseAction() {
  if (m_Action == 19) {
    Write(0);
    if (m_Context.screen) m_Context.screen->Container().SetBusy(false);
  }
  m_RepeatInterval = 0;
}

void FunctionKeyElement::Event(int a_Code) {
  if (m_Context.screen == nullptr) return;
  const bool suppress = (m_Context.memory.Word(InternalMemory::kSimulationControl) & 2) != 0;
  const int kind = m_Context.screen->LastSwitchKind();
  if (a_Code == 7 && !(suppress && kind == ScreenManager::kReturn)) {
    if (m_Action == 20) Write(1);
    if (m_Action == 22) Write(0);
    if (m_Action == 37) Write(m_P[0]);
  } else if (a_Code == 6 && !(suppress && kind == ScreenManager::kOverlay)) {
    if (m_Action == 21) Write(1);
    if (m_Action == 23) Write(0);
    if (m_Action == 38) Write(m_P[0]);
  }
}

void FunctionKeyElement::Refresh() {
  Element::Refresh();
  if (m_RepeatInterval == 0 || !Repeating(m_Action)) return;
  const uint32_t now = m_Context.timers.Counter();
  if (now - m_RepeatStamp < m_RepeatInterval) return;
  Modify();
  m_RepeatStamp = now;
  m_RepeatInterval = static_cast<uint32_t>(std::max(m_P[3], 1));
}

void FunctionKeyElement::Paint(LcdCanvas& a_Canvas) {
  const uint32_t entry = m_Context.image.TableEntry(m_Tables[2], 0);
  const bool invert = (m_DrawFlags & kInvertText) != 0;
  // The key's list holds a text or, as the editor writes it, a key image glyph.
  if (auto text = TextAt(m_Context.image, entry))
    DrawTextResource(a_Canvas, *text, {0, 0}, invert);
  else if (auto bitmap = BitmapAt(m_Context.image, entry))
    DrawBitmapResource(a_Canvas, *bitmap, {0, 0}, invert);
}

}  // namespace sim
