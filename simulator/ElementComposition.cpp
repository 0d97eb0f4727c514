#include "simulator/ElementComposition.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace sim {

namespace {

template <typename Visit>
void ForEachDirtyArea(const LcdCanvas& a_Screen, const DirtyAreas& a_Dirty, Visit a_Visit) {
  if (a_Dirty.Full()) {
    a_Visit(a_Screen.Bounds());
    return;
  }
  for (const Rect& area : a_Dirty.Areas()) a_Visit(area);
}

}  // namespace

void ClearDirtyAreas(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty) {
  ForEachDirtyArea(a_Screen, a_Dirty, [&](const Rect& a_Area) { a_Screen.ClearRect(a_Area); });
}

bool ComposeElement(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty, Rect a_ElementRect,
                    bool a_Transparent, const std::function<void(LcdCanvas&)>& a_Paint) {
  // Element rectangles are 16-bit in the panel; that range keeps the offsets below in int.
  constexpr Rect kCoordinateRange{-32768, -32768, 32767, 32767};
  if (!kCoordinateRange.Contains(a_ElementRect)) return false;
  const Rect visible = a_ElementRect.Intersect(a_Screen.Bounds());
  if (!visible.Valid()) return false;
  std::optional<LcdCanvas> element;
  ForEachDirtyArea(a_Screen, a_Dirty, [&](const Rect& a_Area) {
    const Rect part = a_Area.Intersect(visible);
    if (!part.Valid()) return;
    if (!element) {
      // The element's own size (its rectangle off the screen included), so that it paints
      // exactly as it would fully shown.
      const auto width = std::min<int64_t>(int64_t{a_ElementRect.right} - a_ElementRect.left + 1,
                                           LcdCanvas::kMaxWidth);
      const auto height = std::min<int64_t>(
          int64_t{a_ElementRect.bottom} - a_ElementRect.top + 1, LcdCanvas::kMaxHeight);
      element.emplace(static_cast<int>(width), static_cast<int>(height));
      if (a_Paint) a_Paint(*element);
    }
    Blit(*element, a_Screen, {part.left - a_ElementRect.left, part.top - a_ElementRect.top},
         {part.left, part.top}, part.Width(), part.Height(),
         a_Transparent ? kBlitTransparent : kBlitCopy);
  });
  return element.has_value();
}

}  // namespace sim
