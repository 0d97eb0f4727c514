#pragma once
// The register element: a register value shown as a number, optionally entered by the
// operator.
#include <cstdint>
#include <functional>
#include <memory>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

class CRegisterGE : public CGraphElement {
  KD_DECLARE_SERIAL(CRegisterGE)

 public:
  static constexpr int32_t kCurrentVersion = 3;
  enum DataType : int32_t {
    kSigned = 0,
    kUnsigned = 1,
    kHex = 2,
    kFloat = 3,
    kDouble = 4,
    kSecret = 5,  // unsigned, shown masked
  };

  CRegisterGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  // The packed option word of the record.
  uint32_t OptionWord() const;
  // Number of character cells the value takes: digits, point, sign.
  uint32_t CharacterCells() const;
  // Sizes the element to its format.
  void UpdateSize(CEditorContext& a_Context) override;
  // The characters the panel may need to show the value.
  const char* GlyphSetText() const;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  // Not in the focus order while input is disabled; an input register without an order of
  // its own takes order 1.
  uint32_t GetInputOrder() const override;

  CAddr m_Reg;
  int32_t m_Type = kSigned;
  uint8_t m_ShowBits = 4;   // integer digits
  uint8_t m_FloatBits = 0;  // decimal digits
  uint8_t m_RegWidth = 0;   // 1: 32-bit register
  int32_t m_FillZero = 0;   // boolean, kept as stored (so are the flags below)
  int32_t m_SizeIndex = 2;
  int32_t m_Setting = 0;    // input enabled
  uint8_t m_Grade = 0;      // user level required for input
  int32_t m_Limit = 0;      // input range check
  double m_InputUpper = 9999.0;
  double m_InputLower = 0.0;
  int32_t m_Projection = 0;
  double m_PrjUpper = 9999.0;
  double m_PrjLower = 0.0;
  int32_t m_Alignment = 1;  // 0, 1 or 2
  int32_t m_RestoreLevel = 0;
};

}  // namespace kd820
