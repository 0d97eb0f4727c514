#include "editor/screens/CanvasGeometry.h"

#include <algorithm>
#include <limits>

#include "editor/screens/HMIFrame.h"

namespace kd820 {

namespace {

bool FitsInt32(int64_t a_Value) {
  return a_Value >= std::numeric_limits<int32_t>::min() && a_Value <= std::numeric_limits<int32_t>::max();
}

// Placements whose coordinates would not fit the element's fields make the whole result void.
bool Place(std::vector<CPlacement>& a_Out, CGraphElement* a_Element, int64_t a_Left, int64_t a_Top) {
  if (!FitsInt32(a_Left) || !FitsInt32(a_Top)) return false;
  a_Out.push_back({a_Element, static_cast<int32_t>(a_Left), static_cast<int32_t>(a_Top)});
  return true;
}

// Rectangle edges in 64 bits: a loaded element may hold any 32-bit position and size.
struct CWideRect {
  int64_t m_Left, m_Top, m_Right, m_Bottom;
};

CWideRect WideRect(const CGraphElement& a_Element) {
  const int64_t left = a_Element.GetLeft();
  const int64_t top = a_Element.GetTop();
  return {left, top, left + a_Element.GetWidth(), top + a_Element.GetHeight()};
}

CWideRect WideUnion(const std::vector<CGraphElement*>& a_Elements) {
  CWideRect u = WideRect(*a_Elements.front());
  for (const CGraphElement* e : a_Elements) {
    const CWideRect r = WideRect(*e);
    u = {std::min(u.m_Left, r.m_Left), std::min(u.m_Top, r.m_Top), std::max(u.m_Right, r.m_Right),
         std::max(u.m_Bottom, r.m_Bottom)};
  }
  return u;
}

bool WideWithin(const CWideRect& a_Rect, const CRect& a_Screen) {
  const auto inside = [&](int64_t a_X, int64_t a_Y) {
    return a_X >= a_Screen.m_Left && a_X < a_Screen.m_Right && a_Y >= a_Screen.m_Top && a_Y < a_Screen.m_Bottom;
  };
  return inside(a_Rect.m_Left, a_Rect.m_Top) && inside(a_Rect.m_Right - 1, a_Rect.m_Bottom - 1);
}

}  // namespace

CRect UnionRect(const std::vector<CRect>& a_Rects) {
  if (a_Rects.empty()) return {};
  CRect u = a_Rects.front();
  for (const CRect& r : a_Rects) {
    u = {std::min(u.m_Left, r.m_Left), std::min(u.m_Top, r.m_Top), std::max(u.m_Right, r.m_Right),
         std::max(u.m_Bottom, r.m_Bottom)};
  }
  return u;
}

CRect UnionRect(const std::vector<CGraphElement*>& a_Elements) {
  std::vector<CRect> rects;
  for (const CGraphElement* e : a_Elements) rects.push_back(e->GetRect());
  return UnionRect(rects);
}

bool LiesWithin(const CRect& a_Rect, const CRect& a_Screen) {
  return WideWithin({a_Rect.m_Left, a_Rect.m_Top, a_Rect.m_Right, a_Rect.m_Bottom}, a_Screen);
}

std::vector<CPlacement> MoveByPixel(const std::vector<CGraphElement*>& a_Selection, int32_t a_Dx,
                                    int32_t a_Dy, const CRect& a_Screen) {
  std::vector<CPlacement> out;
  if ((a_Dx == 0 && a_Dy == 0) || a_Selection.empty()) return out;
  for (CGraphElement* e : a_Selection) {
    CWideRect r = WideRect(*e);
    r = {r.m_Left + a_Dx, r.m_Top + a_Dy, r.m_Right + a_Dx, r.m_Bottom + a_Dy};
    if (!WideWithin(r, a_Screen) || !Place(out, e, r.m_Left, r.m_Top)) return {};
  }
  return out;
}

std::vector<CPlacement> Align(const std::vector<CGraphElement*>& a_Selection, AlignMode a_Mode) {
  std::vector<CPlacement> out;
  if (a_Selection.size() < 2) return out;
  const CWideRect ref = WideRect(*a_Selection.back());
  for (std::size_t i = 0; i + 1 < a_Selection.size(); ++i) {
    CGraphElement* e = a_Selection[i];
    const CWideRect r = WideRect(*e);
    int64_t left = r.m_Left;
    int64_t top = r.m_Top;
    switch (a_Mode) {
      case AlignMode::Left: left = ref.m_Left; break;
      case AlignMode::HorizontalCentres:
        left = ref.m_Left + (ref.m_Right - ref.m_Left - (r.m_Right - r.m_Left)) / 2;
        break;
      case AlignMode::Right: left = ref.m_Right - (r.m_Right - r.m_Left); break;
      case AlignMode::Top: top = ref.m_Top; break;
      case AlignMode::VerticalMiddles:
        top = ref.m_Top + (ref.m_Bottom - ref.m_Top - (r.m_Bottom - r.m_Top)) / 2;
        break;
      case AlignMode::Bottom: top = ref.m_Bottom - (r.m_Bottom - r.m_Top); break;
    }
    if (!Place(out, e, left, top)) return {};
  }
  return out;
}

std::vector<CPlacement> SpaceEqually(const std::vector<CGraphElement*>& a_Selection, bool a_Horizontal) {
  const std::size_t n = a_Selection.size();
  if (n < 3) return {};
  // Along the chosen axis: start edge, end edge.
  const auto start = [&](const CGraphElement* a_E) {
    const CWideRect r = WideRect(*a_E);
    return a_Horizontal ? r.m_Left : r.m_Top;
  };
  const auto end = [&](const CGraphElement* a_E) {
    const CWideRect r = WideRect(*a_E);
    return a_Horizontal ? r.m_Right : r.m_Bottom;
  };
  const CWideRect bounds = WideUnion(a_Selection);
  int64_t sum = 0;
  for (const CGraphElement* e : a_Selection) sum += end(e) - start(e);
  const int64_t span = a_Horizontal ? bounds.m_Right - bounds.m_Left : bounds.m_Bottom - bounds.m_Top;
  const int64_t gap = (span - sum) / static_cast<int64_t>(n - 1);
  if (gap <= 0) return {};

  // The first element: smallest start, the earliest selected on a tie; the last: largest end,
  // the latest selected on a tie.
  std::size_t first = 0;
  std::size_t last = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (start(a_Selection[i]) < start(a_Selection[first])) first = i;
    if (end(a_Selection[i]) >= end(a_Selection[last])) last = i;
  }
  std::vector<CGraphElement*> inner;
  for (std::size_t i = 0; i < n; ++i) {
    if (i != first && i != last) inner.push_back(a_Selection[i]);
  }
  std::stable_sort(inner.begin(), inner.end(),
                   [&](const CGraphElement* a_A, const CGraphElement* a_B) { return start(a_A) < start(a_B); });

  std::vector<CPlacement> out;
  int64_t previousEnd = end(a_Selection[first]);
  for (CGraphElement* e : inner) {
    const int64_t newStart = previousEnd + gap;
    const bool placed = a_Horizontal ? Place(out, e, newStart, e->GetTop()) : Place(out, e, e->GetLeft(), newStart);
    if (!placed) return {};
    previousEnd = newStart + (end(e) - start(e));
  }
  return out;
}

std::vector<CPlacement> CentreOnScreen(const std::vector<CGraphElement*>& a_Selection,
                                       const CRect& a_Screen, bool a_Horizontal, bool a_Vertical) {
  std::vector<CPlacement> out;
  if (a_Selection.empty()) return out;
  const CWideRect b = WideUnion(a_Selection);
  const int64_t dx = a_Horizontal ? (int64_t{a_Screen.m_Left} + a_Screen.m_Right) / 2 - (b.m_Left + b.m_Right) / 2 : 0;
  const int64_t dy = a_Vertical ? (int64_t{a_Screen.m_Top} + a_Screen.m_Bottom) / 2 - (b.m_Top + b.m_Bottom) / 2 : 0;
  for (CGraphElement* e : a_Selection) {
    if (!Place(out, e, e->GetLeft() + dx, e->GetTop() + dy)) return {};
  }
  return out;
}

std::vector<CGraphElement*> ElementsInBand(const CHMIFrame& a_Frame, CRect a_Band,
                                           const std::vector<CGraphElement*>& a_Selection) {
  if (a_Band.m_Left > a_Band.m_Right) std::swap(a_Band.m_Left, a_Band.m_Right);
  if (a_Band.m_Top > a_Band.m_Bottom) std::swap(a_Band.m_Top, a_Band.m_Bottom);
  std::vector<CGraphElement*> out;
  for (const auto& e : a_Frame.GetElements()) {
    const CWideRect r = WideRect(*e);
    if (r.m_Left >= a_Band.m_Left && r.m_Top >= a_Band.m_Top && r.m_Right <= a_Band.m_Right &&
        r.m_Bottom <= a_Band.m_Bottom &&
        std::find(a_Selection.begin(), a_Selection.end(), e.get()) == a_Selection.end()) {
      out.push_back(e.get());
    }
  }
  return out;
}

std::optional<COffset> PasteOffset(const std::vector<CRect>& a_Rects, COffset a_Offset,
                                   bool a_SameFrame, int32_t a_ScreenWidth, int32_t a_ScreenHeight) {
  if (a_Rects.empty()) return a_Offset;
  int64_t x = a_Offset.m_X;
  int64_t y = a_Offset.m_Y;
  if (a_SameFrame) {
    x += 4;
    y += 4;
  }
  const CRect& front = a_Rects.front();
  CWideRect b{front.m_Left, front.m_Top, front.m_Right, front.m_Bottom};
  for (const CRect& r : a_Rects) {
    b.m_Left = std::min<int64_t>(b.m_Left, r.m_Left);
    b.m_Top = std::min<int64_t>(b.m_Top, r.m_Top);
    b.m_Right = std::max<int64_t>(b.m_Right, r.m_Right);
    b.m_Bottom = std::max<int64_t>(b.m_Bottom, r.m_Bottom);
  }
  if (a_ScreenWidth < x + b.m_Right || a_ScreenHeight < y + b.m_Bottom) {
    x = -b.m_Left;
    y = -b.m_Top;
  }
  if (!FitsInt32(x) || !FitsInt32(y)) return std::nullopt;
  for (const CRect& r : a_Rects) {
    if (!FitsInt32(r.m_Left + x) || !FitsInt32(r.m_Top + y) || !FitsInt32(r.m_Right + x) ||
        !FitsInt32(r.m_Bottom + y)) {
      return std::nullopt;
    }
  }
  return COffset{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

}  // namespace kd820
