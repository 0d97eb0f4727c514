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

void CDataTransferItem::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Periodic);
  a_Ar.Io(m_EdgeMode);
  a_Ar.Io(m_Period);
  a_Ar.Io(m_Frame);
  a_Ar.Io(m_ExecutionLimit);
  a_Ar.Io(m_Count);
  m_Trigger.Serialize(a_Ar);
  m_Source.Serialize(a_Ar);
  m_Destination.Serialize(a_Ar);
}

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
  if (a_Ar.IsStoring()) {
    int32_t count = static_cast<int32_t>(m_Items.size());
    a_Ar.Io(count);
    for (CDataTransferItem& item : m_Items) item.Serialize(a_Ar);
    return;
  }
  const std::size_t start = a_Ar.Offset();
  int32_t count = 0;
  a_Ar.Io(count);
  if (count < 0 || static_cast<std::size_t>(count) > a_Ar.Remaining() / kMinStoredItemBytes) {
    a_Ar.FailAt("transfer count " + std::to_string(count) + " beyond the end of the archive",
                start);
  }
  std::vector<CDataTransferItem> items(static_cast<std::size_t>(count));
  for (CDataTransferItem& item : items) item.Serialize(a_Ar);
  m_Items = std::move(items);
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
