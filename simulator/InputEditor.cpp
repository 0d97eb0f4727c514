#include "simulator/InputEditor.h"

#include <cstring>

#include "simulator/Element.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {
// The characters keys 2 and 3 step through; position 18 stands for the end of the text.
constexpr char kRing[] = "0123456789ABCDEF.-";
constexpr int kRingSize = 19;
}  // namespace

void InputEditor::Start(Element& a_Element, const NumberFormat& a_Format, int a_Length,
                        const std::string& a_Text) {
  Reset();
  if (a_Length < 1 || a_Length > kMaxLength) return;
  m_Element = &a_Element;
  m_Format = a_Format;
  m_Length = a_Length;
  m_Cursor = 0;
  m_Buffer = a_Text.substr(0, static_cast<std::size_t>(a_Length));
  m_Fresh = true;
  m_Changed = true;
}

void InputEditor::StartStep(Element& a_Element) {
  Reset();
  m_Element = &a_Element;
  m_StepMode = true;
}

void InputEditor::Reset() { *this = InputEditor(); }

bool InputEditor::Active() const {
  return !m_StepMode && m_Element != nullptr && m_Length >= 1 && m_Length <= kMaxLength &&
         m_Cursor >= 0;
}

bool InputEditor::TakeChanged() {
  bool changed = m_Changed;
  m_Changed = false;
  return changed;
}

void InputEditor::Blink(TickTimers& a_Timers) {
  if (!Active()) return;
  if (!a_Timers.Elapsed(TickTimers::kCursorBlink, kBlinkTicks)) return;
  m_BlinkPhase = !m_BlinkPhase;
  m_Changed = true;
}

void InputEditor::Type(char a_Char) {
  if (m_Cursor >= m_Length) return;
  if (m_Fresh) {
    m_Buffer.clear();
    m_Cursor = 0;
    m_Fresh = false;
  }
  if (!m_Format.Allows(a_Char, m_Cursor)) return;
  const auto at = static_cast<std::size_t>(m_Cursor);
  if (m_Buffer.size() <= at) m_Buffer.resize(at + 1, '0');
  m_Buffer[at] = a_Char;
  ++m_Cursor;
  m_Changed = true;
}

void InputEditor::StepCharacter(int a_Direction) {
  m_Fresh = false;
  const auto at = static_cast<std::size_t>(m_Cursor);
  if (at >= static_cast<std::size_t>(m_Length)) return;
  const bool last = at + 1 >= m_Buffer.size();
  int position;
  if (at >= m_Buffer.size()) {
    position = kRingSize - 1;
  } else if (const char* found = std::strchr(kRing, m_Buffer[at]); found && m_Buffer[at] != 0) {
    position = static_cast<int>(found - kRing);
  } else {
    // A "*" (secret or overflowing display) starts from "0".
    m_Buffer[at] = '0';
    m_Changed = true;
    return;
  }
  for (int n = 1; n < kRingSize; ++n) {
    const int next = ((position + a_Direction * n) % kRingSize + kRingSize) % kRingSize;
    if (next == kRingSize - 1) {
      // The end of the text: only where no character follows.
      if (!last) continue;
      m_Buffer.resize(at);
      m_Changed = true;
      return;
    }
    if (!m_Format.Allows(kRing[next], m_Cursor)) continue;
    if (m_Buffer.size() <= at) m_Buffer.resize(at + 1, '0');
    m_Buffer[at] = kRing[next];
    m_Changed = true;
    return;
  }
}

InputEditor::Result InputEditor::Key(int a_Key) {
  if (StepMode()) {
    if (a_Key == 2 || a_Key == 3) return Result::kStep;
    if (a_Key == 6) return Result::kCancelled;
    return Result::kIgnored;
  }
  if (!Active()) return Result::kIgnored;
  if (a_Key >= 10 && a_Key <= 19) {
    Type(a_Key == 19 ? '0' : static_cast<char>('1' + a_Key - 10));
    return Result::kConsumed;
  }
  switch (a_Key) {
    case 2:
      StepCharacter(1);
      return Result::kConsumed;
    case 3:
      StepCharacter(-1);
      return Result::kConsumed;
    case 4:
      m_Fresh = false;
      m_Cursor = m_Cursor <= 0 ? m_Length - 1 : m_Cursor - 1;
      m_Changed = true;
      return Result::kConsumed;
    case 5:
      m_Fresh = false;
      m_Cursor = m_Cursor >= m_Length - 1 ? 0 : m_Cursor + 1;
      m_Changed = true;
      return Result::kConsumed;
    case 9:
      m_Fresh = false;
      m_Buffer.clear();
      m_Cursor = 0;
      m_Changed = true;
      return Result::kConsumed;
    case 6:
      return Result::kCancelled;
    case 7:
      if (!m_Buffer.empty() && !m_Element->CommitInput(m_Buffer)) return Result::kConsumed;
      return Result::kAccepted;
    default:
      return Result::kIgnored;
  }
}

std::string InputEditor::DisplayText() const {
  std::string text = m_Buffer;
  if (m_Cursor > 0 && text.size() < static_cast<std::size_t>(m_Cursor))
    text.resize(static_cast<std::size_t>(m_Cursor), '0');
  if (m_Format.Secret())
    for (std::size_t i = 0; i < text.size(); ++i)
      if (static_cast<int>(i) != m_Cursor) text[i] = '*';
  return text;
}

}  // namespace sim
