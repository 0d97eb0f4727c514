#pragma once
// The static text element: one fixed text in a face or in the built-in ASCII font. Also the
// text settings shared by the three text elements.
#include <cstdint>
#include <memory>
#include <string>

#include "editor/screens/GraphElement.h"
#include "editor/screens/TextMetrics.h"

namespace kd820 {

// Font sizes 8, 12, 16, 24 and 32 pixels are chosen by the size indices 0 to 4.
inline constexpr int32_t kTextSizeIndexCount = 5;
inline constexpr int32_t kDefaultTextSizeIndex = 2;

// The built-in ASCII font is used always at size index 0, at indices 1 and 2 when the
// built-in option is set, never at the larger sizes.
bool UsesBuiltinFont(int32_t a_SizeIndex, int32_t a_BuiltinOption);
// Font mode handed to the text writers: 2 with the built-in font, 1 with a face.
int32_t TextFontMode(int32_t a_SizeIndex, int32_t a_BuiltinOption);
// The face a new text element starts with (a project's elements take the font of its first
// language: CKV410Project::DefaultTextFace).
std::string DefaultTextFace();

class CStaticText : public CGraphElement {
  KD_DECLARE_SERIAL(CStaticText)

 public:
  static constexpr uint32_t kCurrentVersion = 2;

  CStaticText();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();

  // The font's height, the text's width.
  void UpdateSize(CEditorContext& a_Context) override;

  const std::string& GetText() const { return m_Text; }
  void SetText(const std::string& a_Text) { m_Text = a_Text; }
  // A text the user enters: characters are removed from its end until it fits the display;
  // the element is sized to what is left.
  void EnterText(const std::string& a_Text, CEditorContext& a_Context);
  int32_t GetSizeIndex() const { return m_SizeIndex; }
  void SetSizeIndex(int32_t a_Index) { m_SizeIndex = a_Index; }
  const std::string& GetFace() const { return m_Face; }
  void SetFace(const std::string& a_Face) { m_Face = a_Face; }
  int32_t GetBuiltinOption() const { return m_BuiltinOption; }
  void SetBuiltinOption(int32_t a_On) { m_BuiltinOption = a_On; }
  bool UsesBuiltinFont() const { return kd820::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption); }

  // Stored and copied; it does not reach the image.
  int32_t m_FurtherWord = 0;

 private:
  std::string m_Text;
  int32_t m_SizeIndex = kDefaultTextSizeIndex;
  std::string m_Face;
  int32_t m_BuiltinOption = 0;  // boolean, kept as stored
};

}  // namespace kd820
