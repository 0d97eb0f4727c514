#include "editor/screens/TrendGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CTrendGE, &CGraphElement::classCGraphElement, 0)

CTrendGE::CTrendGE() : CGraphElement(kTypeTrend) {}

std::unique_ptr<CGraphElement> CTrendGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CTrendGE::Fields() {
  static const CField kFields[] = {
      Enum<&CTrendGE::m_DataType>("dataType", kDataTypes),
      Field<&CTrendGE::m_RegWidth>("regWidth"),
      Field<&CTrendGE::m_Upper>("upper"),
      Field<&CTrendGE::m_Lower>("lower"),
      Field<&CTrendGE::m_Points>("points"),
      Field<&CTrendGE::m_Period>("period"),
      Field<&CTrendGE::m_Reg>("register").JsonAt(-1),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CTrendGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CTrendGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CTrendGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  CompilePrefix(a_Writer, {}, 0);
  image.AppendU32(4);
  image.AppendU16(a_Writer.SamplingIndex(*this).value_or(0));
  image.AppendU16(static_cast<uint16_t>(m_Points));
  image.AppendU16(0);
  image.AppendU16(1);  // one curve
  image.AppendU32(static_cast<uint32_t>(image.Length() + 4));  // its scale record follows
  uint32_t option = 3 + static_cast<uint32_t>(m_DataType) * 256;
  if (m_RegWidth == 1) option |= 0x40000;
  image.AppendU32(option);
  CompileLimit(image, m_Upper, m_DataType);
  CompileLimit(image, m_Lower, m_DataType);
}

}  // namespace kd820
