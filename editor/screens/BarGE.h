#pragma once
// The bar element: a rectangle filled in proportion to a register value between two limits.
#include <cstdint>
#include <functional>
#include <memory>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

class CBarGE : public CGraphElement {
  KD_DECLARE_SERIAL(CBarGE)

 public:
  static constexpr uint32_t kCurrentVersion = 1;
  enum Direction : int32_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  CBarGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  CAddr m_Reg;
  int32_t m_DataType = 0;  // as for the register element; 3 and 4 are floating point
  int32_t m_RegWidth = 0;  // 1: 32-bit register
  int32_t m_DrawDir = kUp;
  double m_Upper = 1000.0;
  double m_Lower = 0.0;
};

}  // namespace kd820
