#include "editor/screens/BarGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CBarGE, &CGraphElement::classCGraphElement, 0)

CBarGE::CBarGE() : CGraphElement(kTypeBar) {}

std::unique_ptr<CGraphElement> CBarGE::Clone() const { return CloneElement(*this); }

void CBarGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CBarGE*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_DataType = other->m_DataType;
    m_RegWidth = other->m_RegWidth;
    m_DrawDir = other->m_DrawDir;
    m_Upper = other->m_Upper;
    m_Lower = other->m_Lower;
  }
}

void CBarGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_DataType);
  a_Ar.Io(m_RegWidth);
  a_Ar.Io(m_DrawDir);
  a_Ar.Io(m_Upper);
  a_Ar.Io(m_Lower);
  m_Reg.Serialize(a_Ar);
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
