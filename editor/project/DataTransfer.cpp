#include "editor/project/DataTransfer.h"

#include "editor/base/ImageBuffer.h"

#include <string>

namespace kd820 {

namespace {

// Smallest stored transfer item: version, three integers and three shorts; addresses follow.
constexpr std::size_t kMinStoredItemBytes = 4 * 4 + 3 * 2;

}  // namespace

const CFieldTable& CDataTransferItem::Fields() {
  using T = CDataTransferItem;
  static const CField kFields[] = {
      Flag<&T::m_Periodic>("periodic"),
      Enum<&T::m_EdgeMode>("edge", kEdges),
      Field<&T::m_Period>("period"),
      Field<&T::m_Frame>("frame"),
      Field<&T::m_ExecutionLimit>("executionLimit"),
      Field<&T::m_Count>("count"),
      Field<&T::m_Trigger>("trigger"),
      Field<&T::m_Source>("source"),
      Field<&T::m_Destination>("destination"),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CDataTransferItem::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

namespace {

// The descriptor of a transfer end, its unit count replaced by the registers to copy.
std::vector<uint8_t> EndDescriptor(CAddr& a_Addr, int16_t a_Count) {
  std::vector<uint8_t> bytes;
  a_Addr.Compile(bytes);
  const int32_t count = a_Count < 0 ? 0 : a_Count;
  const int32_t units = a_Addr.m_Width == CAddr::kDoubleWord ? (count + 1) / 2 : count;
  bytes[6] = static_cast<uint8_t>(units);
  bytes[7] = static_cast<uint8_t>(units >> 8);
  return bytes;
}

}  // namespace

void CDataTransferItem::Compile(CImageBuffer& a_Image) {
  uint32_t flags = m_Periodic != 0 ? 1u : 0u;
  if (m_EdgeMode >= kRising && m_EdgeMode <= kBothEdges) flags |= static_cast<uint32_t>(m_EdgeMode) << 1;
  if (m_Frame != 0) flags |= 0x10;
  if (m_ExecutionLimit != 0) flags |= 0x20;
  a_Image.AppendU32(flags);
  a_Image.AppendBytes(EndDescriptor(m_Source, m_Count));
  a_Image.AppendBytes(EndDescriptor(m_Destination, m_Count));
  std::vector<uint8_t> trigger;
  m_Trigger.Compile(trigger);
  a_Image.AppendBytes(trigger);
  a_Image.AppendU32(static_cast<uint32_t>(m_Period));
  a_Image.AppendU16(static_cast<uint16_t>(m_Frame));
  a_Image.AppendU16(static_cast<uint16_t>(m_ExecutionLimit));
}

bool CDataTransferItem::operator==(const CDataTransferItem& a_Other) const {
  return m_Source.Descriptor() == a_Other.m_Source.Descriptor() &&
         m_Destination.Descriptor() == a_Other.m_Destination.Descriptor() &&
         m_Trigger.Descriptor() == a_Other.m_Trigger.Descriptor() && m_Periodic == a_Other.m_Periodic &&
         m_EdgeMode == a_Other.m_EdgeMode && m_Period == a_Other.m_Period &&
         m_Frame == a_Other.m_Frame && m_ExecutionLimit == a_Other.m_ExecutionLimit &&
         m_Count == a_Other.m_Count;
}

void CDataTransferList::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;  // read and ignored: every version has the same body
  a_Ar.Io(version);
  a_Ar.IoCountedItems(m_Items, kMinStoredItemBytes, "transfer");
}

void CDataTransferList::SwapPorts(int32_t a_A, int32_t a_B) {
  for (CDataTransferItem& item : m_Items) {
    item.m_Trigger.SwapPort(a_A, a_B);
    item.m_Source.SwapPort(a_A, a_B);
    item.m_Destination.SwapPort(a_A, a_B);
  }
}

void CDataTransferList::ResetChangedPorts() {
  for (CDataTransferItem& item : m_Items) {
    item.m_Trigger.ResetIfPortChanged();
    item.m_Source.ResetIfPortChanged();
    item.m_Destination.ResetIfPortChanged();
  }
}

}  // namespace kd820
