#include "simulator/StatusBox.h"

#include <cstring>

#include "simulator/BuiltinFont.h"

namespace sim {

namespace {

constexpr int kBoxHeight = 16;
// Texts are short fixed messages; a longer one is measured as this many bytes, which still
// makes a box far wider than any LCD.
constexpr std::size_t kMaxLength = 4096;

int TextLength(const char* a_Text) {
  return static_cast<int>(strnlen(a_Text, kMaxLength));
}

}  // namespace

Rect StatusBoxRect(int a_ScreenWidth, int a_ScreenHeight, const char* a_Text) {
  if (a_Text == nullptr) return {};
  // A Chinese character is two bytes and 12 pixels, so the byte count measures GBK text too.
  const int width = BuiltinFont::kCellWidth * TextLength(a_Text) + 6;
  return Rect::FromSize((a_ScreenWidth - width) / 2, (a_ScreenHeight - kBoxHeight) / 2, width,
                        kBoxHeight);
}

Rect DrawStatusBox(LcdCanvas& a_Screen, const char* a_Text) {
  const Rect box = StatusBoxRect(a_Screen.Width(), a_Screen.Height(), a_Text);
  if (!box.Valid()) return box;
  a_Screen.ClearRect(box);
  const int textWidth = BuiltinFont::kCellWidth * TextLength(a_Text);
  const Rect text{box.left + (box.Width() - textWidth) / 2,
                  box.top + (kBoxHeight - BuiltinFont::kCellHeight) / 2, box.right, box.bottom};
  BuiltinFont::DrawText(a_Screen, a_Text, text, false);
  return box;
}

}  // namespace sim
