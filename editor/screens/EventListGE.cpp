#include "editor/screens/EventListGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CEventListGE, &CGraphElement::classCGraphElement, 0)

CEventListGE::CEventListGE() : CGraphElement(kTypeEventList) {}

std::unique_ptr<CGraphElement> CEventListGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CEventListGE::Fields() {
  using E = CEventListGE;
  static const CField kFields[] = {
      Flag<&E::m_ShowNumber>("showNumber"),
      Flag<&E::m_ShowDate>("showDate"),
      Field<&E::m_DateStyle>("dateStyle"),
      Enum<&E::m_DateSeparator>("dateSeparator", kDateSeparators),
      Flag<&E::m_FourDigitYear>("fourDigitYear"),
      Flag<&E::m_NoLeadingZero>("noLeadingZero"),
      Flag<&E::m_ShowTime>("showTime"),
      Field<&E::m_TimeStyle>("timeStyle"),
      Field<&E::m_FurtherFlag1>("furtherFlag1").Since(2),
      Field<&E::m_FurtherFlag2>("furtherFlag2").Since(2),
      Field<&E::m_ByteValue>("byteValue").Since(2),
      Field<&E::m_WordValue>("wordValue").Since(2),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CEventListGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CEventListGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
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
