#pragma once
// A screen element at run time, made from its record in the image. The base behaviour shows
// the state bitmap and the state text of the element's resource tables; the kinds override
// what they do differently.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/ImageFormat.h"
#include "simulator/FrameTable.h"
#include "simulator/Geometry.h"
#include "simulator/KeyScanner.h"
#include "simulator/PanelContext.h"
#include "simulator/RegisterAccessor.h"

namespace sim {

class LcdCanvas;


class Element {
 public:
  enum StateFlags : uint8_t { kVisible = 1u << 0, kFocused = 1u << 4, kEditing = 1u << 6 };
  enum DrawFlags : uint8_t {
    kInvertBitmap = 1u << 0,
    kInvertText = 1u << 1,
    kTransparent = 1u << 2,
  };

  explicit Element(PanelContext& a_Context) : m_Context(a_Context) {}
  virtual ~Element() = default;

  // Reads the record prefix at a_Offset and then the kind's own record. False when the
  // prefix does not lie inside the image.
  bool Attach(uint32_t a_Offset);

  uint32_t Identifier() const { return m_Identifier; }
  const Rect& Bounds() const { return m_Rect; }
  bool Transparent() const { return (m_DrawFlags & kTransparent) != 0; }
  bool Focused() const { return (m_StateFlags & kFocused) != 0; }
  void SetFocused(bool a_Focused);

  virtual void Refresh();
  // Paints the element into a canvas of its own size at (0, 0), focus mark included.
  void PaintWithMark(LcdCanvas& a_Canvas);
  virtual void PressAction() {}
  virtual void ReleaseAction() {}
  virtual void Event(int /*a_Code*/) {}
  virtual bool AcceptsInput() const { return false; }
  // Whether the element takes a key event: keys of 7 while it holds the focus.
  virtual bool WantsKey(const KeyEvent& a_Event) const;
  virtual void Step(int /*a_Key*/) {}
  // The input editor accepts a_Text for this element; false refuses it (the input stays open).
  virtual bool CommitInput(const std::string& /*a_Text*/) { return false; }
  // The element's state: the index into its resource tables. The base state is register 0's
  // value (0 without registers, -1 while it has no valid value).
  virtual int State() const;
  // Shown when it has no register 0 or register 0 holds a valid value.
  virtual bool Visible() const;
  void Invalidate();

 protected:
  virtual void Load() {}
  virtual void Paint(LcdCanvas& a_Canvas);
  // Base painting: bitmap of table 0 and text of table 2 at entry a_State.
  void PaintState(LcdCanvas& a_Canvas, int a_State, Point a_TextAt = {});
  // The permission word of a_Offset allows the action now; otherwise the password gate is
  // asked for it on behalf of this element.
  bool Permitted(uint32_t a_Permission, bool a_Restore);

  PanelContext& m_Context;
  uint32_t m_Identifier = 0;
  Rect m_Rect;
  uint8_t m_StateFlags = kVisible;
  uint8_t m_DrawFlags = 0;
  uint32_t m_Tables[3] = {};  // state bitmaps, (unused), state texts
  uint32_t m_RegisterMask = 0;
  // Register 0 is read and shown, register 1 is written by actions.
  std::optional<RegisterAccessor> m_Registers[2];
  uint32_t m_KindRecord = 0;       // the kind's own fields
  uint32_t m_TimerStamp = 0;
  bool m_BlinkPhase = false;
};

// Creates the run-time object of a frame entry; nullptr for kinds without an object here.
std::unique_ptr<Element> CreateElement(PanelContext& a_Context, const FrameElementEntry& a_Entry);

}  // namespace sim
