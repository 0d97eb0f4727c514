#include "editor/project/DataTransfer.h"

#include "editor/base/ImageBuffer.h"
#include "editor/devices/EditorContext.h"
#include "editor/screens/RecordWriter.h"

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
void AppendEnd(CRecordWriter& a_Writer, const CAddr& a_Addr, int16_t a_Count) {
  CImageBuffer& image = a_Writer.Buffer();
  const std::size_t at = image.Length();
  a_Writer.AppendAddress(a_Addr);
  const int32_t count = a_Count < 0 ? 0 : a_Count;
  const auto units = static_cast<uint16_t>(a_Addr.m_Width == CAddr::kDoubleWord ? (count + 1) / 2 : count);
  const uint8_t bytes[2] = {static_cast<uint8_t>(units), static_cast<uint8_t>(units >> 8)};
  image.Patch(at + 6, bytes, 2);
}

}  // namespace

void CDataTransferItem::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  uint32_t flags = m_Periodic != 0 ? 1u : 0u;
  if (m_EdgeMode >= kRising && m_EdgeMode <= kBothEdges) flags |= static_cast<uint32_t>(m_EdgeMode) << 1;
  if (m_Frame != 0) flags |= 0x10;
  if (m_ExecutionLimit != 0) flags |= 0x20;
  image.AppendU32(flags);
  AppendEnd(a_Writer, m_Source, m_Count);
  AppendEnd(a_Writer, m_Destination, m_Count);
  a_Writer.AppendAddress(m_Trigger);
  image.AppendU32(static_cast<uint32_t>(m_Period));
  image.AppendU16(static_cast<uint16_t>(m_Frame));
  image.AppendU16(static_cast<uint16_t>(m_ExecutionLimit));
}

bool CDataTransferItem::SameAs(const CDataTransferItem& a_Other,
                               const CEditorContext& a_Context) const {
  return m_Source.Descriptor(a_Context) == a_Other.m_Source.Descriptor(a_Context) &&
         m_Destination.Descriptor(a_Context) == a_Other.m_Destination.Descriptor(a_Context) &&
         m_Trigger.Descriptor(a_Context) == a_Other.m_Trigger.Descriptor(a_Context) && m_Periodic == a_Other.m_Periodic &&
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

void CDataTransferList::ResetChangedPorts(const std::array<bool, 4>& a_Changed) {
  for (CDataTransferItem& item : m_Items) {
    item.m_Trigger.ResetIfPortChanged(a_Changed);
    item.m_Source.ResetIfPortChanged(a_Changed);
    item.m_Destination.ResetIfPortChanged(a_Changed);
  }
}

}  // namespace kd820
