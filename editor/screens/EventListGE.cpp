#include "editor/screens/EventListGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CEventListGE, &CGraphElement::classCGraphElement, 0)

CEventListGE::CEventListGE() : CGraphElement(kTypeEventList) {}

std::unique_ptr<CGraphElement> CEventListGE::Clone() const { return CloneElement(*this); }

void CEventListGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CEventListGE*>(&a_Other)) {
    m_ShowNumber = other->m_ShowNumber;
    m_ShowDate = other->m_ShowDate;
    m_DateStyle = other->m_DateStyle;
    m_DateSeparator = other->m_DateSeparator;
    m_FourDigitYear = other->m_FourDigitYear;
    m_NoLeadingZero = other->m_NoLeadingZero;
    m_ShowTime = other->m_ShowTime;
    m_TimeStyle = other->m_TimeStyle;
    m_FurtherFlag1 = other->m_FurtherFlag1;
    m_FurtherFlag2 = other->m_FurtherFlag2;
    m_ByteValue = other->m_ByteValue;
    m_WordValue = other->m_WordValue;
  }
}

void CEventListGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_ShowNumber);
  a_Ar.Io(m_ShowDate);
  a_Ar.Io(m_DateStyle);
  a_Ar.Io(m_DateSeparator);
  a_Ar.Io(m_FourDigitYear);
  a_Ar.Io(m_NoLeadingZero);
  a_Ar.Io(m_ShowTime);
  a_Ar.Io(m_TimeStyle);
  if (version >= 2) {
    a_Ar.Io(m_FurtherFlag1);
    a_Ar.Io(m_FurtherFlag2);
    a_Ar.Io(m_ByteValue);
    a_Ar.Io(m_WordValue);
  } else {
    m_FurtherFlag1 = 0;
    m_FurtherFlag2 = 0;
    m_ByteValue = 0;
    m_WordValue = 0;
  }
}

void CEventListGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  CompilePrefix(a_Writer, {}, 0);
  uint32_t option = 2;
  if (m_ShowNumber != 0) option |= 1u << 8;
  if (m_ShowDate != 0 && m_DateStyle >= 0 && m_DateStyle <= 3) option |= static_cast<uint32_t>(m_DateStyle + 1) << 9;
  if (m_ShowTime != 0 && m_TimeStyle >= 0 && m_TimeStyle <= 1) option |= static_cast<uint32_t>(m_TimeStyle + 1) << 12;
  if (m_FourDigitYear != 0) option |= 1u << 16;
  if (m_NoLeadingZero != 0) option |= 1u << 17;
  if (m_FurtherFlag1 != 0) option |= 1u << 18;
  if (m_FurtherFlag2 != 0) option |= 1u << 19;
  image.AppendU32(option);
  static constexpr char kSeparators[] = {'.', '/', '-'};
  image.AppendU8(static_cast<uint8_t>(
      m_DateSeparator >= 0 && m_DateSeparator <= 2 ? kSeparators[m_DateSeparator] : '.'));
  image.AppendU8(m_ByteValue);
  image.AppendU16(m_WordValue);
}

}  // namespace kd820
