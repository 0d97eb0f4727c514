#pragma once
// Sizes of texts on the display, for the elements that size themselves from their text.
#include <cstdint>
#include <string>

namespace kd820 {

class CEditorContext;

// The font size in pixels of a size index 0..4: 8, 12, 16, 24, 32 (16 for other indices).
int FontPixelSize(int32_t a_SizeIndex);

// Width in pixels of a text at a size index: characters times the cell width in the built-in
// font, else the sum of the advances in the face (0 when the face cannot be fitted).
int32_t TextWidth(CEditorContext& a_Context, const std::string& a_Text, int32_t a_SizeIndex,
                  bool a_Builtin, const std::string& a_Face);
// The text with characters removed from its end until it fits a_DisplayWidth.
std::string FitTextToWidth(CEditorContext& a_Context, const std::string& a_Text,
                           int32_t a_SizeIndex, bool a_Builtin, const std::string& a_Face,
                           int32_t a_DisplayWidth);

}  // namespace kd820
