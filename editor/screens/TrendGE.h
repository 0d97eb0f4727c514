#pragma once
// The trend element: the recent history of a sampled register plotted between two limits.
#include <cstdint>
#include <functional>
#include <memory>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

class CTrendGE : public CGraphElement {
  KD_DECLARE_SERIAL(CTrendGE)

 public:
  static constexpr uint32_t kCurrentVersion = 1;

  CTrendGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  CAddr m_Reg;             // the sampled register
  int32_t m_DataType = 0;  // as for the register element; 3 and 4 are floating point
  int32_t m_RegWidth = 0;  // 1: 32-bit register
  double m_Upper = 1000.0;
  double m_Lower = 0.0;
  int32_t m_Points = 20;   // samples kept and plotted
  int32_t m_Period = 10;   // sampling period in ticks
};

}  // namespace kd820
