#include "editor/project/PortCom.h"

#include <utility>

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
