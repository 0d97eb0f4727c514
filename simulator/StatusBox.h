#pragma once
// The centred box in which the simulator shows its status texts (GBK byte strings) with the
// built-in font: 6 pixels per byte plus 6, 16 pixels high.
#include "simulator/Geometry.h"
#include "simulator/LcdCanvas.h"

namespace sim {

// Where the box for a_Text goes on a screen of the given size; empty for a null text.
Rect StatusBoxRect(int a_ScreenWidth, int a_ScreenHeight, const char* a_Text);
// Clears the box and draws a_Text centred in it; returns the box (to be marked dirty).
Rect DrawStatusBox(LcdCanvas& a_Screen, const char* a_Text);

}  // namespace sim
