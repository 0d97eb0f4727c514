#pragma once
// Read-only views of the display resources in the image: bitmaps (type 1, u16 sizes), glyphs
// (type 7, u8 sizes) and texts (type 6: a list of glyph or bitmap offsets). The resource type
// is the low 4 bits of the first byte. Nothing is copied or cached; every read is checked
// against the image, so a damaged image draws less but never reads outside it.
#include <cstdint>
#include <optional>

#include "simulator/Geometry.h"
#include "simulator/LcdCanvas.h"
#include "simulator/SimImage.h"

namespace sim {

struct BitmapResource {
  int width = 0;
  int height = 0;
  const uint8_t* rows = nullptr;  // height rows of Stride() bytes, wholly inside the image

  int Stride() const { return (width + 7) / 8; }
};

// The bitmap or glyph at a_Offset; none for offset 0, another type, or pixel rows that do not
// lie wholly inside the image.
std::optional<BitmapResource> BitmapAt(const SimImage& a_Image, uint32_t a_Offset);

class TextResource {
 public:
  struct Extent {
    int width = 0;
    int height = 0;
  };

  TextResource(const SimImage& a_Image, uint32_t a_List) : m_Image(&a_Image), m_List(a_List) {}

  // The glyph count as stored; entries past the end of the image read as missing glyphs.
  int Count() const { return m_Image->U8(m_List); }
  // Glyph a_Index, none when a_Index >= Count() or the entry is not a readable bitmap.
  std::optional<BitmapResource> Glyph(int a_Index) const;
  // Sum of the glyph widths, and the height of glyph 0.
  Extent Size() const;

 private:
  const SimImage* m_Image;
  uint32_t m_List;  // offset of the glyph count, followed by the glyph offsets
};

// The text at a_Offset; none for offset 0, another type, or a glyph list outside the image.
std::optional<TextResource> TextAt(const SimImage& a_Image, uint32_t a_Offset);

// Draws the bitmap with its top-left corner at a_Point.
void DrawBitmapResource(LcdCanvas& a_Canvas, const BitmapResource& a_Bitmap, Point a_Point,
                        bool a_Invert);
// Draws the glyphs top-aligned at a_Point's y, from its x rightward, each moving the pen by its
// width: glyph 0, 1, ... or, with an index string, glyph c - 1 for each byte c up to a 0 byte.
// Missing glyphs draw nothing and do not move the pen.
void DrawTextResource(LcdCanvas& a_Canvas, const TextResource& a_Text, Point a_Point,
                      bool a_Invert, const char* a_IndexString = nullptr);

}  // namespace sim
