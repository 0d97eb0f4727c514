#pragma once
// One compile run: builds the user-data image of a project in one growing buffer, with the
// per-run caches that store each bitmap, glyph and text once.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/base/ImageBuffer.h"

namespace kd820 {

class CKV410Project;
class CHMIFrame;
class CTrendGE;

class CImageCompiler {
 public:
  using SamplingEntry = std::array<uint8_t, 24>;

  // Builds the image of a_Project; the reasons when a record cannot be compiled.
  std::vector<std::string> Compile(CKV410Project& a_Project);
  const std::vector<uint8_t>& Image() const { return m_Image.Bytes(); }

  CImageBuffer& Buffer() { return m_Image; }
  CResourceCache& ObjectCache() { return m_ObjectCache; }
  CResourceCache& TextCache() { return m_TextCache; }

  // The sampling-buffer entry of a trend element and its index in the table, built before
  // the frames are written.
  static SamplingEntry SamplingEntryOf(const CTrendGE& a_Trend);
  std::optional<uint16_t> SamplingIndex(const CTrendGE& a_Trend) const;
  const std::vector<SamplingEntry>& SamplingEntries() const { return m_Sampling; }

  // Resource writers: the offset of the object (found in the caches or written now), or 0
  // when its source cannot be loaded.
  // A single-colour BMP file as a kind 1 bitmap.
  uint32_t CompileBitmapFile(const std::string& a_Path);
  // The same file as a kind 7 glyph (at most 255 pixels each way).
  uint32_t CompileBitmapFileAsChar(const std::string& a_Path);
  // An item of the project's bitmap library as a kind 1 bitmap.
  uint32_t CompileBitmapLibItem(int32_t a_Id);
  // A list object of bitmaps stored once under a_Key in the text cache: u8 n, then n offsets
  // filled by a_Write(i) for each entry.
  template <class Write>
  uint32_t CompileList(const std::string& a_Key, std::size_t a_Count, Write a_Write) {
    if (const uint32_t found = m_TextCache.Find(a_Key)) return found;
    const auto at = static_cast<uint32_t>(m_Image.Length());
    m_Image.AppendU8(static_cast<uint8_t>(a_Count));
    const std::size_t slots = m_Image.ReserveSlots(a_Count);
    for (std::size_t i = 0; i < a_Count; ++i) m_Image.PatchU32(slots + 4 * i, a_Write(i));
    m_TextCache.Store(a_Key, at, m_Image.Length() - at);
    return at;
  }
  // Whether the built-in ASCII font serves a size under a font mode: mode 1 for size 8, mode 2
  // for sizes 8, 12 and 16.
  static bool UsesBuiltinFont(int a_Size, int a_Mode);
  // A character as a kind 7 glyph, in the built-in font or rendered in the face.
  uint32_t CompileChar(char32_t a_Character, const std::string& a_Face, int a_Size, int a_Mode);
  // The character sequence of a text (text cache); 0 for an empty text. A text longer than
  // the 127 characters a sequence can count is cut, with a warning.
  uint32_t CompileCharSequence(const std::string& a_Text, const std::string& a_Face, int a_Size,
                               int a_Mode);
  // A kind 6 text object pointing at the text's character sequence; 0 for an empty text.
  uint32_t CompileText(const std::string& a_Text, const std::string& a_Face, int a_Size, int a_Mode);

  // The program directory's component image of that name ("led/LED0_1_2.dat").
  static std::string ComponentPath(const std::string& a_Name);

  // The display size the frame records carry, one byte each (size - 1): at most 256 x 256.
  static constexpr int32_t kMaxDisplaySize = 256;
  int32_t DisplayWidth() const { return m_DisplayWidth; }
  int32_t DisplayHeight() const { return m_DisplayHeight; }
  // False, and the size unchanged, for a display the frame records cannot describe.
  bool SetDisplaySize(int32_t a_Width, int32_t a_Height) {
    if (a_Width < 1 || a_Width > kMaxDisplaySize || a_Height < 1 || a_Height > kMaxDisplaySize)
      return false;
    m_DisplayWidth = a_Width;
    m_DisplayHeight = a_Height;
    return true;
  }

 private:
  // Writes a kind 1 bitmap or kind 7 glyph object and stores it in the object cache.
  uint32_t WritePixelObject(const std::string& a_Key, uint8_t a_Kind, int32_t a_Width,
                            int32_t a_Height, const std::vector<uint8_t>& a_Pixels);
  void CollectSamplingEntries(const CKV410Project& a_Project);
  void WritePorts(const CKV410Project& a_Project);
  void WriteFrames(CKV410Project& a_Project);
  void WriteFrame(CHMIFrame& a_Frame);
  void WriteSampling();
  void WriteTransfers(CKV410Project& a_Project);

  CImageBuffer m_Image;
  CResourceCache m_ObjectCache;
  CResourceCache m_TextCache;
  std::vector<SamplingEntry> m_Sampling;
  CKV410Project* m_Project = nullptr;
  std::string m_Where;  // the frame and element being written, for warnings
  int32_t m_DisplayWidth = 192;
  int32_t m_DisplayHeight = 64;
};

}  // namespace kd820
