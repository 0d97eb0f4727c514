#pragma once
// The numeric input editor, one for the whole panel: it holds the text an operator types into
// a register element (or, in step mode, lets a function key route the up / down keys to the
// focused element). The screen manager feeds it key presses while it is active.
#include <cstdint>
#include <string>

#include "simulator/NumberFormat.h"

namespace sim {

class Element;
class TickTimers;

class InputEditor {
 public:
  static constexpr int kMaxLength = 32;
  static constexpr uint32_t kBlinkTicks = 4;

  enum class Result {
    kIgnored,   // the key has its normal meaning
    kConsumed,  // the editor took it
    kStep,      // step mode: the key goes as a step event to the focused element
    kAccepted,  // the input was written (or empty); the caller ends it
    kCancelled, // the caller ends it
  };

  // Starts an input of a_Length characters (1..32) on a_Element with the text a_Text.
  void Start(Element& a_Element, const NumberFormat& a_Format, int a_Length,
             const std::string& a_Text);
  // Binds a_Element in step mode (function key action 240).
  void StartStep(Element& a_Element);
  // Forgets the input; the element is asked to redraw by the caller.
  void Reset();

  bool Active() const;
  bool StepMode() const { return m_StepMode && m_Element != nullptr; }
  bool BoundTo(const Element* a_Element) const { return m_Element != nullptr && m_Element == a_Element; }
  Element* Bound() const { return m_Element; }

  // A press of a_Key while active (or in step mode).
  Result Key(int a_Key);
  // Cycle step: flips the cursor's blink phase every 4 ticks while active.
  void Blink(TickTimers& a_Timers);

  // What the element shows: the buffer padded with "0" up to the cursor, "*" for every
  // character but the one at the cursor of a secret display.
  std::string DisplayText() const;
  int Cursor() const { return m_Cursor; }
  bool BlinkPhase() const { return m_BlinkPhase; }
  const std::string& Buffer() const { return m_Buffer; }
  // Raised by every change; the bound element redraws and clears it.
  bool TakeChanged();

 private:
  void Type(char a_Char);
  void StepCharacter(int a_Direction);

  Element* m_Element = nullptr;
  NumberFormat m_Format;
  int m_Length = 0;
  int m_Cursor = -1;
  std::string m_Buffer;
  bool m_Changed = false;
  bool m_BlinkPhase = false;
  bool m_StepMode = false;
  bool m_Fresh = false;
};

}  // namespace sim
