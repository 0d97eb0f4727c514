#pragma once
// Register-to-register data transfers run by the panel.
#include <array>
#include <cstdint>
#include <vector>

#include "editor/devices/Addr.h"
#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CEditorContext;
class CRecordWriter;

struct CDataTransferItem {
  static constexpr int32_t kCurrentVersion = 1;
  enum EdgeMode : int32_t { kNoEdge = 0, kRising = 1, kFalling = 2, kBothEdges = 3 };

  void Serialize(CArchive& a_Ar);
  static const CFieldTable& Fields();
  // Appends the 48-byte transfer record.
  void Compile(CRecordWriter& a_Writer) const;
  // Equal compiled addresses and equal settings.
  bool SameAs(const CDataTransferItem& a_Other, const CEditorContext& a_Context) const;

  int32_t m_Periodic = 0;  // boolean
  int32_t m_EdgeMode = kNoEdge;
  CAddr m_Trigger{CAddr::kBit};
  CAddr m_Source{CAddr::kWord};
  CAddr m_Destination{CAddr::kWord};
  int32_t m_Period = 10;
  int16_t m_Frame = 0;
  int16_t m_ExecutionLimit = 0;
  int16_t m_Count = 1;
};

class CDataTransferList {
 public:
  static constexpr int32_t kCurrentVersion = 2;

  void Serialize(CArchive& a_Ar);
  void SwapPorts(int32_t a_A, int32_t a_B);
  void ResetChangedPorts(const std::array<bool, 4>& a_Changed);

  std::vector<CDataTransferItem> m_Items;
};

}  // namespace kd820
