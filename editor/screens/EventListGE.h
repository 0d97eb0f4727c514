#pragma once
// The alarm display element: the list of active alarms with their date and time.
#include <cstdint>
#include <memory>

#include "editor/screens/GraphElement.h"

namespace kd820 {

class CEventListGE : public CGraphElement {
  KD_DECLARE_SERIAL(CEventListGE)

 public:
  static constexpr uint32_t kCurrentVersion = 2;

  CEventListGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();

  // Flags are booleans kept as stored. A new display shows the date and the time of each
  // alarm in their first styles, with "." between the date parts.
  int32_t m_ShowNumber = 0;
  int32_t m_ShowDate = 1;
  int32_t m_DateStyle = 0;      // 0 to 3
  int32_t m_DateSeparator = 0;  // 0 ".", 1 "/", 2 "-"
  int32_t m_FourDigitYear = 0;
  int32_t m_NoLeadingZero = 0;
  int32_t m_ShowTime = 1;
  int32_t m_TimeStyle = 0;      // 0 or 1
  // Handed to the panel unchanged.
  int32_t m_FurtherFlag1 = 0;
  int32_t m_FurtherFlag2 = 0;
  uint8_t m_ByteValue = 0;
  uint16_t m_WordValue = 0;
};

}  // namespace kd820
