#pragma once
// Where the canvas commands put the selected elements: moving by a pixel, alignment, equal
// spacing, centring, the rubber band and the paste offset. The functions compute new
// positions and change nothing; the editing commands apply them.
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/screens/GraphElement.h"

namespace kd820 {

class CHMIFrame;

// A new top-left corner for an element (its size is kept).
struct CPlacement {
  CGraphElement* m_Element = nullptr;
  int32_t m_Left = 0;
  int32_t m_Top = 0;
  bool operator==(const CPlacement&) const = default;
};

enum class AlignMode { Left, HorizontalCentres, Right, Top, VerticalMiddles, Bottom };

// The smallest rectangle holding every rectangle; empty input gives (0, 0, 0, 0).
CRect UnionRect(const std::vector<CRect>& a_Rects);
CRect UnionRect(const std::vector<CGraphElement*>& a_Elements);
// True when the rectangle's top-left pixel and bottom-right pixel (right - 1, bottom - 1) both
// lie inside the screen (right and bottom exclusive).
bool LiesWithin(const CRect& a_Rect, const CRect& a_Screen);

// Every element moved by (dx, dy); empty when the offset is (0, 0), nothing is selected, or any
// element would not lie within the screen afterwards (then none moves).
std::vector<CPlacement> MoveByPixel(const std::vector<CGraphElement*>& a_Selection, int32_t a_Dx,
                                    int32_t a_Dy, const CRect& a_Screen);
// Every element but the reference (the last) aligned to it; no bound check.
std::vector<CPlacement> Align(const std::vector<CGraphElement*>& a_Selection, AlignMode a_Mode);
// The inner elements spread between the outermost two with equal gaps; empty for fewer than
// three elements or when the gap would not be positive.
std::vector<CPlacement> SpaceEqually(const std::vector<CGraphElement*>& a_Selection, bool a_Horizontal);
// The selection moved as a whole to the middle of the screen, horizontally and/or vertically.
std::vector<CPlacement> CentreOnScreen(const std::vector<CGraphElement*>& a_Selection,
                                       const CRect& a_Screen, bool a_Horizontal, bool a_Vertical);
// The elements of a_Frame lying entirely inside the band (normalised first) and not in
// a_Selection, in the frame's element order.
std::vector<CGraphElement*> ElementsInBand(const CHMIFrame& a_Frame, CRect a_Band,
                                           const std::vector<CGraphElement*>& a_Selection);

// The paste offset the canvas keeps between pastes.
struct COffset {
  int32_t m_X = 0;
  int32_t m_Y = 0;
  bool operator==(const COffset&) const = default;
};
// The offset for pasting elements with the rectangles a_Rects: grown by (4, 4) when they come
// from the frame pasted into, and replaced by the one that puts them in the top-left corner
// when they would leave the screen on the right or at the bottom. Null when the elements
// cannot be placed at all (coordinates beyond 32-bit integers).
std::optional<COffset> PasteOffset(const std::vector<CRect>& a_Rects, COffset a_Offset,
                                   bool a_SameFrame, int32_t a_ScreenWidth, int32_t a_ScreenHeight);

}  // namespace kd820
