#include "editor/screens/BarGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CBarGE, &CGraphElement::classCGraphElement, 0)

CBarGE::CBarGE() : CGraphElement(kTypeBar) {}

std::unique_ptr<CGraphElement> CBarGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CBarGE::Fields() {
  static const CField kFields[] = {
      Enum<&CBarGE::m_DataType>("dataType", kDataTypes),
      Field<&CBarGE::m_RegWidth>("regWidth"),
      Enum<&CBarGE::m_DrawDir>("drawDirection", kDirections),
      Field<&CBarGE::m_Upper>("upper"),
      Field<&CBarGE::m_Lower>("lower"),
      Field<&CBarGE::m_Reg>("register").JsonAt(-1),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CBarGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CBarGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CBarGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  CompilePrefix(a_Writer, {{0, &m_Reg}}, 0);
  uint32_t option = 3 + static_cast<uint32_t>(m_DataType) * 256 + static_cast<uint32_t>(m_DrawDir) * 4096;
  if (m_RegWidth == 1) option |= 0x40000;
  image.AppendU32(option);
  CompileLimit(image, m_Upper, m_DataType);
  CompileLimit(image, m_Lower, m_DataType);
}

}  // namespace kd820
