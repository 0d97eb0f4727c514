#pragma once
// The ASCII string element: characters read from registers, drawn from a glyph set of every
// printable ASCII character.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"
#include "editor/screens/StaticText.h"

namespace kd820 {

class CAsciiGE : public CGraphElement {
  KD_DECLARE_SERIAL(CAsciiGE)

 public:
  static constexpr uint32_t kCurrentVersion = 1;

  CAsciiGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  // Face and built-in option are not part of the stored form: a loaded element has the
  // system's default face until the project loading it gives it the project's.
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  int32_t GetCharCount() const { return m_CharCount; }
  void SetCharCount(int32_t a_Count) { m_CharCount = a_Count; }
  int32_t GetSizeIndex() const { return m_SizeIndex; }
  void SetSizeIndex(int32_t a_Index) { m_SizeIndex = a_Index; }
  const std::string& GetFace() const { return m_Face; }
  void SetFace(const std::string& a_Face) { m_Face = a_Face; }
  // The face a loaded element takes from its project, leaving its size as stored.
  void SetLoadedFace(const std::string& a_Face) { m_Face = a_Face; }
  // Sizes the element to its number of characters in its font.
  void UpdateSize(CEditorContext& a_Context) override;
  int32_t GetBuiltinOption() const { return m_BuiltinOption; }
  void SetBuiltinOption(int32_t a_On) { m_BuiltinOption = a_On; }
  bool UsesBuiltinFont() const { return kd820::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption); }
  // The 95 printable characters 32 to 126, ascending; the same for every element.
  const std::string& GetGlyphText() const { return m_GlyphText; }

  CAddr m_Reg;

 private:
  int32_t m_CharCount = 3;
  int32_t m_SizeIndex = kDefaultTextSizeIndex;
  std::string m_Face;
  int32_t m_BuiltinOption = 0;  // boolean
  std::string m_GlyphText;
};

}  // namespace kd820
