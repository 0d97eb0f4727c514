#pragma once
// Sizes of texts on the display, for the elements that size themselves from their text.
#include <cstdint>
#include <string>

namespace kd820 {

// Width in pixels of a text at a size index: characters times the cell width in the built-in
// font, else the sum of the advances in the face (0 when the face cannot be fitted).
int32_t TextWidth(const std::string& a_Text, int32_t a_SizeIndex, bool a_Builtin,
                  const std::string& a_Face);
// The text with characters removed from its end until it fits a_DisplayWidth.
std::string FitTextToWidth(const std::string& a_Text, int32_t a_SizeIndex, bool a_Builtin,
                           const std::string& a_Face, int32_t a_DisplayWidth);
// The width of the current panel model's display (192 when no model is loaded).
int32_t CurrentDisplayWidth();

}  // namespace kd820
