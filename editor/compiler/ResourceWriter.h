#pragma once
// The resources of one compile: bitmaps, glyphs, character sequences and texts written once
// into the growing image and found again through the per-compile caches; register descriptors
// and the warnings of the records being written.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "editor/base/ImageBuffer.h"
#include "editor/fonts/Glyph.h"
#include "editor/screens/RecordWriter.h"

namespace kd820 {

class CSingleColorBitmapLib;

class CResourceWriter : public CRecordWriter {
 public:
  using SamplingEntry = std::array<uint8_t, 24>;

  // Resources of a_Context's fonts and models; library items from a_BitmapLib (none without).
  explicit CResourceWriter(CEditorContext& a_Context,
                           const CSingleColorBitmapLib* a_BitmapLib = nullptr);

  // Starts a new image: empty buffer and caches, no sampling entries.
  void Clear();
  const std::vector<uint8_t>& Image() const { return m_Image.Bytes(); }

  CImageBuffer& Buffer() override { return m_Image; }
  CResourceCache& TextCache() override { return m_TextCache; }
  CResourceCache& ObjectCache() { return m_ObjectCache; }
  CEditorContext& Context() override { return m_Context; }
  void SetBitmapLib(const CSingleColorBitmapLib* a_BitmapLib) { m_BitmapLib = a_BitmapLib; }

  // What is being written, for warnings: a frame and element ("HMI1", "ST2"), or no frame
  // and a part of the project ("settings").
  void SetWhere(std::string a_Frame, std::string a_Element);
  void Warn(const std::string& a_Text) override;
  void AppendAddress(const CAddr& a_Addr) override;

  uint32_t CompileBitmapFile(const std::string& a_Path) override;
  uint32_t CompileBitmapFileAsChar(const std::string& a_Path) override;
  uint32_t CompileBitmapLibItem(int32_t a_Id) override;
  uint32_t CompileText(const std::string& a_Text, const std::string& a_Face, int a_Size,
                       int a_Mode) override;
  // Whether the built-in ASCII font serves a size under a font mode: mode 1 for size 8, mode 2
  // for sizes 8, 12 and 16.
  static bool UsesBuiltinFont(int a_Size, int a_Mode);
  // A character as a kind 7 glyph, in the built-in font or rendered in the face. Font glyphs
  // are shared by everything drawn from the same font file, face and size.
  uint32_t CompileChar(char32_t a_Character, const std::string& a_Face, int a_Size, int a_Mode);
  // The character sequence of a text (text cache); 0 for an empty text. A text longer than
  // the 127 characters a sequence can count is cut, with a warning.
  uint32_t CompileCharSequence(const std::string& a_Text, const std::string& a_Face, int a_Size,
                               int a_Mode);

  // The sampling-buffer entries of the image, built before its frames are written.
  void SetSamplingEntries(std::vector<SamplingEntry> a_Entries) { m_Sampling = std::move(a_Entries); }
  const std::vector<SamplingEntry>& SamplingEntries() const { return m_Sampling; }
  // The entry of a trend element.
  SamplingEntry SamplingEntryOf(const CTrendGE& a_Trend) const;
  std::optional<uint16_t> SamplingIndex(const CTrendGE& a_Trend) const override;

 private:
  // Writes a kind 1 bitmap or kind 7 glyph object and stores it in the object cache.
  uint32_t WritePixelObject(const std::string& a_Key, uint8_t a_Kind, int32_t a_Width,
                            int32_t a_Height, const std::vector<uint8_t>& a_Pixels);
  // "HMI1 ST2", or the part of the project.
  std::string WhereText() const;

  CEditorContext& m_Context;
  const CSingleColorBitmapLib* m_BitmapLib;
  CImageBuffer m_Image;
  CResourceCache m_ObjectCache;
  CResourceCache m_TextCache;
  std::vector<SamplingEntry> m_Sampling;
  std::string m_Frame;
  std::string m_Element;
  // Scratch space reused from character to character.
  std::string m_CharKey;
  Glyph m_Glyph;
  std::vector<char32_t> m_Characters;
  // Font glyph objects by their width, height and pixels.
  std::unordered_map<std::string, uint32_t> m_FontGlyphs;
  // The glyph offsets already written for a face name (empty for the built-in font), size and
  // font choice, by character: character sequences look their glyphs up here before building
  // a glyph's full key.
  std::map<std::tuple<std::string, int, bool>, std::unordered_map<char32_t, uint32_t>> m_GlyphsByFace;
};

}  // namespace kd820
