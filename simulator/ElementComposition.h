#pragma once
// Composing screen elements onto the screen canvas in the paint step: each element paints
// itself once into a canvas of its own size, which is then copied into the dirty parts of the
// screen it covers.
#include <functional>

#include "simulator/DirtyAreas.h"
#include "simulator/Geometry.h"
#include "simulator/LcdCanvas.h"

namespace sim {

// Clears every dirty area of the screen, or the whole screen when the list is full.
void ClearDirtyAreas(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty);

// Composes one element with the rectangle a_ElementRect. a_Paint draws the element (focus mark
// included) at (0, 0) into a cleared canvas of the element's size; it is called once, and only
// when a dirty area (the whole screen when the list is full) meets the element. Transparent
// elements set only their dark pixels. Returns whether the element was painted.
bool ComposeElement(LcdCanvas& a_Screen, const DirtyAreas& a_Dirty, Rect a_ElementRect,
                    bool a_Transparent, const std::function<void(LcdCanvas&)>& a_Paint);

}  // namespace sim
