#pragma once
// The loaded frame: its element objects in record order and its focus order.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "simulator/Element.h"
#include "simulator/FrameTable.h"

namespace sim {

class DirtyAreas;
class LcdCanvas;

class FrameContainer {
 public:
  explicit FrameContainer(PanelContext& a_Context) : m_Context(a_Context) {}

  // Creates the objects of the frame's elements; kinds without an object keep an empty place.
  void Load(const FrameRecord& a_Frame);
  // Drops every element and the focus order.
  void TearDown();
  bool Loaded() const { return m_Frame.has_value(); }
  const FrameRecord* Frame() const { return m_Frame ? &*m_Frame : nullptr; }

  // While set (a momentary key is held) frame switches wait.
  bool Busy() const { return m_Busy; }
  void SetBusy(bool a_Busy) { m_Busy = a_Busy; }

  void Refresh();
  void Event(int a_Code);
  // Gives every element the step event of key a_Key.
  void Step(int a_Key);
  // Composes the visible elements onto the screen, in record order, through the dirty areas.
  void Compose(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty);

  // The element that takes the key event, searched from the last element to the first.
  Element* FindByKey(const KeyEvent& a_Event) const;
  Element* FindById(uint32_t a_Identifier) const;

  // Moves the focus a_Step entries along the focus order (0 drops it); no wrap-around.
  void MoveFocus(int a_Step);
  void DropFocus();
  Element* Focused() const;

 private:
  void SetFocusPosition(int a_Position);

  PanelContext& m_Context;
  std::optional<FrameRecord> m_Frame;
  std::vector<std::unique_ptr<Element>> m_Elements;
  int m_FocusPosition = -1;  // index into the focus order, -1 = none
  bool m_Busy = false;
};

}  // namespace sim
