#include "simulator/DisplayResources.h"

#include "common/ImageFormat.h"

namespace sim {

std::optional<BitmapResource> BitmapAt(const SimImage& a_Image, uint32_t a_Offset) {
  if (a_Offset == 0) return std::nullopt;
  BitmapResource bitmap;
  uint32_t rows = 0;
  switch (a_Image.U8(a_Offset) & 0x0F) {
    case image::kBitmap:
      if (!a_Image.Has(a_Offset, 5)) return std::nullopt;
      bitmap.width = a_Image.U16(a_Offset + 1);
      bitmap.height = a_Image.U16(a_Offset + 3);
      rows = a_Offset + 5;
      break;
    case image::kGlyph:
      if (!a_Image.Has(a_Offset, 3)) return std::nullopt;
      bitmap.width = a_Image.U8(a_Offset + 1);
      bitmap.height = a_Image.U8(a_Offset + 2);
      rows = a_Offset + 3;
      break;
    default:
      return std::nullopt;
  }
  // At most 8192 x 65535 bytes: no overflow in std::size_t.
  bitmap.rows = a_Image.Bytes(rows, std::size_t(bitmap.Stride()) * std::size_t(bitmap.height));
  if (bitmap.rows == nullptr) return std::nullopt;
  return bitmap;
}

std::optional<TextResource> TextAt(const SimImage& a_Image, uint32_t a_Offset) {
  if (a_Offset == 0 || (a_Image.U8(a_Offset) & 0x0F) != image::kText || !a_Image.Has(a_Offset, 5)) {
    return std::nullopt;
  }
  const uint32_t list = a_Image.U32(a_Offset + 1);
  if (list == 0 || !a_Image.Has(list, 1)) return std::nullopt;
  return TextResource(a_Image, list);
}

std::optional<BitmapResource> TextResource::Glyph(int a_Index) const {
  if (a_Index < 0 || a_Index >= Count()) return std::nullopt;
  // TableEntry reads 0 (no glyph) for entries outside the image.
  return BitmapAt(*m_Image, m_Image->TableEntry(m_List, static_cast<unsigned>(a_Index)));
}

TextResource::Extent TextResource::Size() const {
  Extent extent;
  for (int i = 0; i < Count(); ++i) {
    if (auto glyph = Glyph(i)) extent.width += glyph->width;  // at most 255 x 65535
  }
  if (auto first = Glyph(0)) extent.height = first->height;
  return extent;
}

void DrawBitmapResource(LcdCanvas& a_Canvas, const BitmapResource& a_Bitmap, Point a_Point,
                        bool a_Invert) {
  if (a_Bitmap.width <= 0 || a_Bitmap.height <= 0 || a_Bitmap.rows == nullptr) return;
  // Anything starting right of or below the canvas is invisible; this also keeps the
  // rectangle's edges inside int.
  if (a_Point.x >= a_Canvas.Width() || a_Point.y >= a_Canvas.Height()) return;
  a_Canvas.DrawBitmap(Rect::FromSize(a_Point.x, a_Point.y, a_Bitmap.width, a_Bitmap.height),
                      a_Bitmap.rows, a_Invert);
}

void DrawTextResource(LcdCanvas& a_Canvas, const TextResource& a_Text, Point a_Point,
                      bool a_Invert, const char* a_IndexString) {
  Point pen = a_Point;
  if (pen.x >= a_Canvas.Width()) return;
  const auto draw = [&](int a_Index) {
    auto glyph = a_Text.Glyph(a_Index);
    if (!glyph) return true;
    DrawBitmapResource(a_Canvas, *glyph, pen, a_Invert);
    pen.x += glyph->width;
    // The pen only moves right: once it is past the canvas nothing more can show.
    return pen.x < a_Canvas.Width();
  };
  if (a_IndexString == nullptr) {
    for (int i = 0; i < a_Text.Count(); ++i) {
      if (!draw(i)) return;
    }
    return;
  }
  for (const char* c = a_IndexString; *c != 0; ++c) {
    if (!draw(static_cast<unsigned char>(*c) - 1)) return;
  }
}

}  // namespace sim
