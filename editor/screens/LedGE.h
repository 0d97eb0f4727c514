#pragma once
// The LED element: a bit shown as one of two images, optionally blinking.
#include <cstdint>
#include <functional>
#include <memory>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

class CLedGE : public CGraphElement {
  KD_DECLARE_SERIAL(CLedGE)

 public:
  static constexpr uint32_t kCurrentVersion = 1;
  enum Shape : int32_t { kRound = 0, kSquare = 1 };

  CLedGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  // The LED shows a bit, so a new one starts on the default bit address.
  CAddr m_Reg{CAddr::kBit};
  int32_t m_Shape = kRound;
  int32_t m_Size = 2;           // image size number within the shape's family
  int32_t m_Invert = 0;         // boolean, kept as stored (so are the blink flags)
  int32_t m_Blink = 0;
  int32_t m_BlinkWhileOn = 0;
  int32_t m_BlinkPeriod = 1;    // ticks
};

}  // namespace kd820
