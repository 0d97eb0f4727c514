#pragma once
// What the project's parts write their image records through: the image buffer, the
// resources (bitmaps, glyphs, texts) stored once per compile, register descriptors, and the
// warnings of the compile. The compiler implements it; the parts know nothing more of it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/base/ImageBuffer.h"

namespace kd820 {

class CAddr;
class CEditorContext;
class CTrendGE;

class CRecordWriter {
 public:
  virtual ~CRecordWriter() = default;

  virtual CImageBuffer& Buffer() = 0;
  virtual CResourceCache& TextCache() = 0;
  virtual CEditorContext& Context() = 0;

  // A warning (its whole text) about what is being written; it is placed at the frame and
  // element being written.
  virtual void Warn(const std::string& a_Text) = 0;

  // Appends the 12-byte descriptor of an address. A port address whose type the port's PLC
  // lacks is written as the default internal address of its width, with a warning; the
  // address itself is left as it is.
  virtual void AppendAddress(const CAddr& a_Addr) = 0;

  // Resource writers: the offset of the object (found in the caches or written now), or 0
  // when its source cannot be loaded.
  // A single-colour BMP file as a kind 1 bitmap.
  virtual uint32_t CompileBitmapFile(const std::string& a_Path) = 0;
  // The same file as a kind 7 glyph (at most 255 pixels each way).
  virtual uint32_t CompileBitmapFileAsChar(const std::string& a_Path) = 0;
  // An item of the project's bitmap library as a kind 1 bitmap.
  virtual uint32_t CompileBitmapLibItem(int32_t a_Id) = 0;
  // A kind 6 text object pointing at the text's character sequence; 0 for an empty text.
  virtual uint32_t CompileText(const std::string& a_Text, const std::string& a_Face, int a_Size,
                               int a_Mode) = 0;
  // The index of a trend element's entry in the sampling-buffer table.
  virtual std::optional<uint16_t> SamplingIndex(const CTrendGE& a_Trend) const = 0;

  // A list object of bitmaps stored once under a_Key in the text cache: u8 n, then n offsets
  // filled by a_Write(i) for each entry.
  template <class Write>
  uint32_t CompileList(const std::string& a_Key, std::size_t a_Count, Write a_Write) {
    if (const uint32_t found = TextCache().Find(a_Key)) return found;
    CImageBuffer& image = Buffer();
    const auto at = static_cast<uint32_t>(image.Length());
    image.AppendU8(static_cast<uint8_t>(a_Count));
    const std::size_t slots = image.ReserveSlots(a_Count);
    for (std::size_t i = 0; i < a_Count; ++i) image.PatchU32(slots + 4 * i, a_Write(i));
    TextCache().Store(a_Key, at, image.Length() - at);
    return at;
  }
};

// The program directory's component image of that name ("led/LED0_1_2.dat").
std::string ComponentPath(const std::string& a_Name);

}  // namespace kd820
