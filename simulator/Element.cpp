#include "simulator/Element.h"

#include "common/ImageFormat.h"
#include "simulator/BasicElements.h"
#include "simulator/EventListElement.h"
#include "simulator/FunctionKeyElement.h"
#include "simulator/GraphicElements.h"
#include "simulator/RegisterElement.h"
#include "simulator/TextElements.h"
#include "simulator/DisplayResources.h"
#include "simulator/LcdCanvas.h"
#include "simulator/ScreenManager.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {
constexpr uint32_t kFocusBlinkTicks = 6;
}

bool Element::Attach(uint32_t a_Offset) {
  const SimImage& image = m_Context.image;
  if (!image.Has(a_Offset, 8)) return false;
  m_Identifier = a_Offset;
  m_Rect = {image.U8(a_Offset), image.U8(a_Offset + 1), image.U8(a_Offset + 2),
            image.U8(a_Offset + 3)};
  unsigned registers = std::min<unsigned>(image.U8(a_Offset + 4), 2);
  m_RegisterMask = image.U16(a_Offset + 6);
  // The descriptors fill the slots the mask names (a function key's only register is slot 1),
  // then any slot still free.
  unsigned slots[2] = {0, 1};
  if (registers == 1 && (m_RegisterMask & 3) == 2) slots[0] = 1;
  uint32_t next = a_Offset + 8;
  for (unsigned i = 0; i < registers; ++i) {
    if (auto descriptor = RegisterDescriptor::FromImage(image, next)) {
      auto& reg = m_Registers[slots[i]];
      reg.emplace(*descriptor, m_Context.access);
      // Registers of elements with mask bit 0 are polled while the frame is shown.
      if (m_RegisterMask & 1) reg->Request(RequestMode::kFrame);
    }
    next += image::kRegisterDescriptorSize;
  }
  uint32_t resources = image.U32(next);
  next += 4;
  for (unsigned bit = 0; bit < 3; ++bit) {
    if (!(resources >> bit & 1)) continue;
    m_Tables[bit] = image.U32(next);
    next += 4;
  }
  m_KindRecord = next;
  m_TimerStamp = m_Context.timers.Counter();
  Load();
  return true;
}

void Element::SetFocused(bool a_Focused) {
  if (a_Focused == Focused()) return;
  if (a_Focused)
    m_StateFlags |= kFocused;
  else
    m_StateFlags &= static_cast<uint8_t>(~kFocused);
  m_BlinkPhase = false;
  m_TimerStamp = m_Context.timers.Counter();
  Invalidate();
}

void Element::Invalidate() {
  if (m_Context.screen) m_Context.screen->Invalidate(m_Rect);
}

int Element::State() const {
  if (!m_Registers[0]) return 0;
  return m_Registers[0]->Valid() ? m_Registers[0]->Int32() : -1;
}

bool Element::Visible() const { return !m_Registers[0] || m_Registers[0]->Valid(); }

void Element::Refresh() {
  for (auto& reg : m_Registers)
    if (reg) reg->Read();
  if (m_Registers[0] && m_Registers[0]->Changed()) {
    m_Registers[0]->ClearChanged();
    Invalidate();
  }
  // The focused element blinks its one-pixel frame.
  if (Focused() && m_Context.settings.FocusMark() == 1 &&
      m_Context.timers.Counter() - m_TimerStamp >= kFocusBlinkTicks) {
    m_TimerStamp = m_Context.timers.Counter();
    m_BlinkPhase = !m_BlinkPhase;
    Invalidate();
  }
}

bool Element::WantsKey(const KeyEvent& a_Event) const {
  return a_Event.key == 7 && Focused();
}

void Element::PaintWithMark(LcdCanvas& a_Canvas) {
  Paint(a_Canvas);
  if (!Focused()) return;
  Rect whole = Rect::FromSize(0, 0, m_Rect.Width(), m_Rect.Height());
  switch (m_Context.settings.FocusMark()) {
    case 0:
      a_Canvas.InvertRect(whole);
      break;
    case 1:
      if (!m_BlinkPhase) a_Canvas.DrawRect(whole, true, 1);
      break;
    default:
      break;
  }
}

void Element::Paint(LcdCanvas& a_Canvas) { PaintState(a_Canvas, State()); }

void Element::PaintState(LcdCanvas& a_Canvas, int a_State, Point a_TextAt) {
  if (a_State < 0) return;
  const SimImage& image = m_Context.image;
  auto state = static_cast<unsigned>(a_State);
  if (auto bitmap = BitmapAt(image, image.TableEntry(m_Tables[0], state)))
    DrawBitmapResource(a_Canvas, *bitmap, {0, 0}, (m_DrawFlags & kInvertBitmap) != 0);
  if (auto text = TextAt(image, image.TableEntry(m_Tables[2], state)))
    DrawTextResource(a_Canvas, *text, a_TextAt, (m_DrawFlags & kInvertText) != 0);
}

bool Element::Permitted(uint32_t a_Permission, bool a_Restore) {
  if (m_Context.screen == nullptr) return true;
  const int level = static_cast<int>((a_Permission >> 10) & 0x3F);
  if (!(a_Permission & 0x100) && m_Context.screen->PasswordLevel() >= level) return true;
  const int frame = m_Context.screen->CurrentFrame();
  m_Context.screen->RequestPassword(frame, frame, level, m_Identifier, a_Restore);
  return false;
}

std::unique_ptr<Element> CreateElement(PanelContext& a_Context, const FrameElementEntry& a_Entry) {
  std::unique_ptr<Element> element;
  switch (a_Entry.kind) {
    case kTypeStaticText:
      element = std::make_unique<StaticTextElement>(a_Context);
      break;
    case kTypePicture:
      element = std::make_unique<PictureElement>(a_Context);
      break;
    case kTypeLed:
      element = std::make_unique<LedElement>(a_Context);
      break;
    case kTypeFunckey:
      element = std::make_unique<FunctionKeyElement>(a_Context);
      break;
    case kTypeDynamicText:
      element = std::make_unique<DynamicTextElement>(a_Context);
      break;
    case kTypeRegister:
      element = std::make_unique<RegisterElement>(a_Context);
      break;
    case kTypeBar:
      element = std::make_unique<BarElement>(a_Context);
      break;
    case kTypeTrend:
      element = std::make_unique<TrendElement>(a_Context);
      break;
    case kTypeAscii:
      element = std::make_unique<AsciiTextElement>(a_Context);
      break;
    case kTypeEventList:
      element = std::make_unique<EventListElement>(a_Context);
      break;
    default:
      return nullptr;
  }
  if (!element->Attach(a_Entry.offset)) return nullptr;
  return element;
}

}  // namespace sim
