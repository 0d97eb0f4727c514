#include "editor/screens/TextMetrics.h"

#include <vector>

#include "editor/base/Utf16.h"
#include "editor/devices/EditorContext.h"
#include "editor/fonts/BuiltinFont.h"
#include "editor/fonts/FontRasterizer.h"

namespace kd820 {

int FontPixelSize(int32_t a_SizeIndex) {
  static constexpr int kSizes[] = {8, 12, 16, 24, 32};
  return a_SizeIndex >= 0 && a_SizeIndex < 5 ? kSizes[a_SizeIndex] : 16;
}

int32_t TextWidth(CEditorContext& a_Context, const std::string& a_Text, int32_t a_SizeIndex,
                  bool a_Builtin, const std::string& a_Face) {
  const int size = FontPixelSize(a_SizeIndex);
  if (a_Builtin) {
    int32_t characters = 0;
    std::size_t pos = 0;
    while (pos < a_Text.size()) {
      NextCodePoint(a_Text, pos);
      ++characters;
    }
    return characters * BuiltinCellWidth(size);
  }
  const int32_t width = a_Context.Rasterizer().TextExtentWidth(a_Text, a_Face, size);
  return width < 0 ? 0 : width;
}

std::string FitTextToWidth(CEditorContext& a_Context, const std::string& a_Text,
                           int32_t a_SizeIndex, bool a_Builtin, const std::string& a_Face,
                           int32_t a_DisplayWidth) {
  std::vector<std::size_t> ends;  // byte length after each character
  std::size_t pos = 0;
  while (pos < a_Text.size()) {
    NextCodePoint(a_Text, pos);
    ends.push_back(pos);
  }
  std::string text = a_Text;
  while (!ends.empty() &&
         TextWidth(a_Context, text, a_SizeIndex, a_Builtin, a_Face) > a_DisplayWidth) {
    ends.pop_back();
    text = a_Text.substr(0, ends.empty() ? 0 : ends.back());
  }
  return text;
}

}  // namespace kd820
