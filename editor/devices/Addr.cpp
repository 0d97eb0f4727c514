#include "editor/devices/Addr.h"

KD_IMPLEMENT_SERIAL(CAddr, nullptr, 0)

namespace {
std::array<bool, 4> g_ChangedPorts{};
}  // namespace

void SetChangedPorts(const std::array<bool, 4>& a_Marks) { g_ChangedPorts = a_Marks; }

bool IsPortChanged(int32_t a_Port) {
  return a_Port >= 0 && a_Port < 4 && g_ChangedPorts[static_cast<std::size_t>(a_Port)];
}

void CAddr::ResetIfPortChanged() {
  if (!IsInternal() && IsPortChanged(m_Port)) Reset(m_Width, true);
}

CAddr::CAddr() { Reset(kWord, true); }

CAddr::CAddr(int32_t a_Width) { Reset(a_Width, true); }

void CAddr::Reset(int32_t a_Width, bool a_KeepInternal) {
  (void)a_KeepInternal;  // ports join once the PLC library is known to the project
  m_Width = a_Width;
  m_Port = kInternalPort;
  m_Station = 0;
  m_TypeName = a_Width == kBit ? "LW.B" : "LW";
  m_Note.clear();
  m_Address = 0;
  m_HasSubAddress = a_Width == kBit ? 1 : 0;
  m_SubAddress = 0;
  m_HasIndex = 0;
  m_Index = 0;
  m_Bcd = 0;
  m_Length = a_Width == kDoubleWord ? 2 : 1;
}

bool CAddr::operator==(const CAddr& a_Other) const {
  return m_Width == a_Other.m_Width && m_Port == a_Other.m_Port && m_Station == a_Other.m_Station &&
         m_TypeName == a_Other.m_TypeName && m_Note == a_Other.m_Note &&
         m_Address == a_Other.m_Address && m_HasSubAddress == a_Other.m_HasSubAddress &&
         m_SubAddress == a_Other.m_SubAddress && m_HasIndex == a_Other.m_HasIndex &&
         m_Index == a_Other.m_Index && m_Bcd == a_Other.m_Bcd && m_Length == a_Other.m_Length;
}

void CAddr::CopyFrom(const CAddr& a_Other) { *this = a_Other; }

void CAddr::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Width);
  a_Ar.Io(m_Port);
  a_Ar.Io(m_Station);
  a_Ar.Io(m_TypeName);
  a_Ar.Io(m_Note);
  a_Ar.Io(m_Address);
  a_Ar.Io(m_HasSubAddress);
  a_Ar.Io(m_SubAddress);
  a_Ar.Io(m_Bcd);
  a_Ar.Io(m_Length);
  if (version >= 2) {
    a_Ar.Io(m_HasIndex);
    a_Ar.Io(m_Index);
  } else {
    m_HasIndex = 0;
    m_Index = 0;
  }
}

void CAddr::SwapPort(int32_t a_A, int32_t a_B) {
  if (a_A == a_B) return;
  if (m_Port == a_A) {
    m_Port = a_B;
  } else if (m_Port == a_B) {
    m_Port = a_A;
  }
}
