#include "editor/screens/TrendGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CTrendGE, &CGraphElement::classCGraphElement, 0)

CTrendGE::CTrendGE() : CGraphElement(kTypeTrend) {}

std::unique_ptr<CGraphElement> CTrendGE::Clone() const { return CloneElement(*this); }

void CTrendGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CTrendGE*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_DataType = other->m_DataType;
    m_RegWidth = other->m_RegWidth;
    m_Upper = other->m_Upper;
    m_Lower = other->m_Lower;
    m_Points = other->m_Points;
    m_Period = other->m_Period;
  }
}

void CTrendGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_DataType);
  a_Ar.Io(m_RegWidth);
  a_Ar.Io(m_Upper);
  a_Ar.Io(m_Lower);
  a_Ar.Io(m_Points);
  a_Ar.Io(m_Period);
  m_Reg.Serialize(a_Ar);
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
