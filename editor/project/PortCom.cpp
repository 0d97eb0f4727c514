#include "editor/project/PortCom.h"

#include <utility>

#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/CommuUtils.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CPortCom, nullptr, 1)
KD_IMPLEMENT_SERIAL(CPortCan, nullptr, 1)

const CFieldTable& CPortCom::StoredFields() {
  using P = CPortCom;
  static const CField kFields[] = {
      Field<&P::m_PortNumber>(nullptr),
      Field<&P::m_ProtocolId>("protocol"),
      Enum<&P::m_SerialType>("serialType", kSerialTypes),
      NumberEnum<&P::m_BaudRate>("baudRate", kBaudRates),
      NumberEnum<&P::m_DataBits>("dataBits", kDataBits),
      Enum<&P::m_Parity>("parity", kParities),
      NumberEnum<&P::m_StopBits>("stopBits", kStopBits),
      Flag<&P::m_StationUsed>("stationUsed"),
      Field<&P::m_Station>("station"),
      Field<&P::m_ResponseTimeout>("responseTimeout"),
      Field<&P::m_ProtocolTimeout1>("protocolTimeout1"),
      Field<&P::m_ProtocolTimeout2>("protocolTimeout2"),
      Field<&P::m_WordPacketMax>("wordPacketMax"),
      Field<&P::m_BitPacketMax>("bitPacketMax"),
      Field<&P::m_WordPackingInterval>("wordPackingInterval"),
      Field<&P::m_BitPackingInterval>("bitPackingInterval"),
      Field<&P::m_CommunicationInterval>("communicationInterval"),
      Field<&P::m_MessageTime>("messageTime"),
      Field<&P::m_RetryCount>("retryCount"),
      Flag<&P::m_RetryAfterFailure>("retryAfterFailure"),
  };
  static const CFieldTable kTable{0, kFields};
  return kTable;
}

const CFieldTable& CPortCan::StoredFields() {
  static const CField kFields[] = {
      Field<&CPortCan::m_Value1>("value1"),
      Field<&CPortCan::m_Value2>("value2"),
  };
  static const CFieldTable kTable{0, kFields};
  return kTable;
}

void CPortCom::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Enabled);
  if (m_Enabled != 0) {
    SerializeFields(a_Ar, StoredFields(), this);
  } else if (a_Ar.IsLoading()) {
    // A disabled port stores nothing else: everything but its number returns to the defaults.
    const int32_t number = m_PortNumber;
    const CPortCom defaults;
    CopyFields(StoredFields(), this, &defaults);
    m_PortNumber = number;
  }
}

void CPortCom::SwapContents(CPortCom& a_Other) {
  // Everything but the port numbers.
  std::swap(*this, a_Other);
  std::swap(m_PortNumber, a_Other.m_PortNumber);
}

void CPortCom::Compile(std::vector<uint8_t>& a_Bytes, IProblemSink& a_Problems) const {
  if (!IsEnabled()) return;
  const auto u8 = [&](int64_t a_Value) { a_Bytes.push_back(static_cast<uint8_t>(a_Value)); };
  const auto u16 = [&](int64_t a_Value) {
    u8(a_Value);
    u8(a_Value >> 8);
  };
  const auto u32 = [&](int64_t a_Value) {
    u16(a_Value);
    u16(a_Value >> 16);
  };
  u8(m_PortNumber);
  u8(CommuUtils::SerialTypeCompileValue(m_SerialType, a_Problems));
  u8(CommuUtils::DataBitCompileValue(m_DataBits, a_Problems));
  u8(CommuUtils::VerifyBitCompileValue(m_Parity, a_Problems));
  u32(CommuUtils::BaudRateCompileValue(m_BaudRate, a_Problems));
  u8(CommuUtils::StopBitCompileValue(m_StopBits, a_Problems));
  u8(m_StationUsed != 0 ? 1 : 0);
  u16(m_ProtocolId);
  u32(m_ResponseTimeout);
  u32(m_ProtocolTimeout1);
  u32(m_ProtocolTimeout2);
  u16(m_Station);
  u16(m_WordPacketMax);
  u16(m_BitPacketMax);
  u8(m_WordPackingInterval);
  u8(m_BitPackingInterval);
  u8(m_CommunicationInterval);
  u8(m_MessageTime);
  u8(m_RetryCount);
  u8(m_RetryAfterFailure == 1 ? 0 : 1);
}

bool CPortCom::HasRegisterTypes(const CEditorContext& a_Context) const {
  const CPLCModel* model = a_Context.GetPortModel(m_PortNumber);
  return IsEnabled() && model != nullptr && model->HasRegisterTypes();
}

void CPortCan::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Enabled);
  if (m_Enabled != 0) {
    SerializeFields(a_Ar, StoredFields(), this);
  } else if (a_Ar.IsLoading()) {
    const CPortCan defaults;
    CopyFields(StoredFields(), this, &defaults);
  }
}

}  // namespace kd820
