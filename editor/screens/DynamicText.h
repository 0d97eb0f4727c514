#pragma once
// The dynamic text element: one of 256 state texts, chosen by the value of a register.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"
#include "editor/screens/StaticText.h"

namespace kd820 {

// One state of a dynamic text: the text shown for its value, with a second text and a flag
// that are stored and copied unchanged.
class CTextItem : public CObject {
  KD_DECLARE_SERIAL(CTextItem)

 public:
  static constexpr uint32_t kCurrentVersion = 1;

  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  bool operator==(const CTextItem& a_Other) const {
    return m_SecondText == a_Other.m_SecondText && m_Flag == a_Other.m_Flag &&
           m_Text == a_Other.m_Text;
  }

  std::string m_SecondText;
  int32_t m_Flag = 1;
  std::string m_Text;
};

class CDynamicText : public CGraphElement {
  KD_DECLARE_SERIAL(CDynamicText)

 public:
  static constexpr uint32_t kCurrentVersion = 3;
  static constexpr int32_t kStateCount = 256;  // states for the values 1 to 256
  using KeyOrder = std::array<uint16_t, kStateCount>;

  CDynamicText();

  // The order in which the archive holds the state items: groups of sixteen keys, each from
  // its highest key down (15..1, 31..16, ..., 255..240), then 256.
  static const KeyOrder& ArchiveKeyOrder();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  // The state item of a value 1 to 256; null for any other value.
  CTextItem* GetState(int32_t a_Value);
  const CTextItem* GetState(int32_t a_Value) const;

  int32_t GetSizeIndex() const { return m_SizeIndex; }
  void SetSizeIndex(int32_t a_Index) { m_SizeIndex = a_Index; }
  const std::string& GetFace() const { return m_Face; }
  void SetFace(const std::string& a_Face) { m_Face = a_Face; }
  int32_t GetBuiltinOption() const { return m_BuiltinOption; }
  void SetBuiltinOption(int32_t a_On) { m_BuiltinOption = a_On; }
  // Sizes the element to its longest state text.
  void UpdateSize(CEditorContext& a_Context) override;
  bool UsesBuiltinFont() const;

  CAddr m_Reg;
  int32_t m_Alignment = 0;  // 0, 1 or 2
  // Stored and copied; it does not reach the image.
  int32_t m_FurtherWord = 0;

 private:
  std::array<CTextItem, kStateCount> m_States;  // index = value - 1
  int32_t m_SizeIndex = kDefaultTextSizeIndex;
  std::string m_Face;
  int32_t m_BuiltinOption = 0;  // boolean, kept as stored
};

}  // namespace kd820
