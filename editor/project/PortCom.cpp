#include "editor/project/PortCom.h"

#include <utility>

#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/CommuUtils.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CPortCom, nullptr, 1)
KD_IMPLEMENT_SERIAL(CPortCan, nullptr, 1)

namespace {

// The fields an enabled port stores after its enabled flag, in file order.
constexpr int32_t CPortCom::*kStoredFields[] = {
    &CPortCom::m_PortNumber,
    &CPortCom::m_ProtocolId,
    &CPortCom::m_SerialType,
    &CPortCom::m_BaudRate,
    &CPortCom::m_DataBits,
    &CPortCom::m_Parity,
    &CPortCom::m_StopBits,
    &CPortCom::m_StationUsed,
    &CPortCom::m_Station,
    &CPortCom::m_ResponseTimeout,
    &CPortCom::m_ProtocolTimeout1,
    &CPortCom::m_ProtocolTimeout2,
    &CPortCom::m_WordPacketMax,
    &CPortCom::m_BitPacketMax,
    &CPortCom::m_WordPackingInterval,
    &CPortCom::m_BitPackingInterval,
    &CPortCom::m_CommunicationInterval,
    &CPortCom::m_MessageTime,
    &CPortCom::m_RetryCount,
    &CPortCom::m_RetryAfterFailure,
};
static_assert(std::size(kStoredFields) == 20);

}  // namespace

void CPortCom::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Enabled);
  if (m_Enabled != 0) {
    for (int32_t CPortCom::*field : kStoredFields) a_Ar.Io(this->*field);
  } else if (a_Ar.IsLoading()) {
    // A disabled port stores nothing else: everything but its number returns to the defaults.
    const CPortCom defaults;
    for (int32_t CPortCom::*field : kStoredFields) {
      if (field != &CPortCom::m_PortNumber) this->*field = defaults.*field;
    }
  }
}

void CPortCom::SwapContents(CPortCom& a_Other) {
  std::swap(m_Enabled, a_Other.m_Enabled);
  for (int32_t CPortCom::*field : kStoredFields) {
    if (field != &CPortCom::m_PortNumber) std::swap(this->*field, a_Other.*field);
  }
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
    a_Ar.Io(m_Value1);
    a_Ar.Io(m_Value2);
  } else if (a_Ar.IsLoading()) {
    m_Value1 = 0;
    m_Value2 = 0;
  }
}

}  // namespace kd820
