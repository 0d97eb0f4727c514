#include "editor/devices/Addr.h"

#include "editor/devices/InternalRegisters.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/devices/EditorContext.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CAddr, nullptr, 0)

void CAddr::ResetIfPortChanged(const std::array<bool, 4>& a_Changed) {
  if (!IsInternal() && m_Port >= 0 && m_Port < 4 && a_Changed[static_cast<std::size_t>(m_Port)]) {
    Reset(m_Width);
  }
}

CAddr::CAddr() { Reset(kWord); }

CAddr::CAddr(int32_t a_Width) { Reset(a_Width); }

const InternalRegisterType* FindInternalRegisterType(const std::string& a_Name) {
  static const InternalRegisterType kTypes[] = {
      {"LW", CAddr::kWord, 0xFF, 2, 255, false},
      {"LW.B", CAddr::kBit, 0xF9, 0, 255, true},
      {"RW", CAddr::kWord, 0xFE, 2, 511, false},
      {"RW.B", CAddr::kBit, 0xF8, 0, 511, true},
  };
  for (const auto& type : kTypes) {
    if (a_Name == type.m_Name) return &type;
  }
  return nullptr;
}

void CAddr::ResetToPort(int32_t a_Width, int32_t a_Port, const CEditorContext& a_Context) {
  Reset(a_Width);
  if (const CPLCModel* model = a_Context.GetPortModel(a_Port)) {
    m_Port = a_Port;
    m_Station = model->m_StationDefault;
  }
}

void CAddr::Reset(int32_t a_Width) {
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

const CFieldTable& CAddr::Fields() {
  static const CField kFields[] = {
      Enum<&CAddr::m_Width>("width", kWidths),
      Enum<&CAddr::m_Port>("port", kPorts),
      Field<&CAddr::m_Station>("station"),
      Field<&CAddr::m_TypeName>("type"),
      Field<&CAddr::m_Note>("note"),
      Field<&CAddr::m_Address>("address"),
      Flag<&CAddr::m_HasSubAddress>("hasSubAddress"),
      Field<&CAddr::m_SubAddress>("subAddress"),
      Flag<&CAddr::m_Bcd>("bcd"),
      Field<&CAddr::m_Length>("length"),
      Flag<&CAddr::m_HasIndex>("hasIndex").Since(2),
      Field<&CAddr::m_Index>("index").Since(2),
  };
  // The version word is written as a signed number.
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CAddr::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

void CAddr::SwapPort(int32_t a_A, int32_t a_B) {
  if (a_A == a_B) return;
  if (m_Port == a_A) {
    m_Port = a_B;
  } else if (m_Port == a_B) {
    m_Port = a_A;
  }
}

const CRegisterType* CAddr::FindType(const CEditorContext& a_Context) const {
  if (IsInternal()) return nullptr;
  const CPLCModel* model = a_Context.GetPortModel(m_Port);
  return model == nullptr ? nullptr : model->FindRegisterType(m_Width == kBit, m_TypeName);
}

bool CAddr::HasUnknownPortType(const CEditorContext& a_Context) const {
  return !IsInternal() && FindType(a_Context) == nullptr;
}

uint8_t CAddr::GetRegIdForRegPrm(const CEditorContext& a_Context) const {
  if (!IsInternal()) {
    const CRegisterType* type = FindType(a_Context);
    return type == nullptr ? 0 : static_cast<uint8_t>(type->m_Id);
  }
  if (const InternalRegisterType* type = FindInternalRegisterType(m_TypeName)) return type->m_RegisterId;
  a_Context.Problems().Warn("[CAddr::GetRegIdForRegPrm]Not support this register type: " + m_TypeName);
  return 0;
}

namespace {
uint8_t WidthCode(int32_t a_Width) {
  return a_Width == CAddr::kBit ? 0 : a_Width == CAddr::kWord ? 2 : 4;
}
}  // namespace

uint8_t CAddr::GetRegTypeForRegPrm(const CEditorContext& a_Context) const {
  uint8_t unit = 0;
  uint8_t addressUnit = 0;
  if (!IsInternal()) {
    unit = WidthCode(m_Width);
    if (const CRegisterType* type = FindType(a_Context)) {
      static constexpr uint8_t kUnitCodes[] = {0, 1, 2, 4};
      addressUnit = type->m_AddressUnit >= 0 && type->m_AddressUnit <= 3
                        ? kUnitCodes[type->m_AddressUnit]
                        : 0;
    }
  } else if (const InternalRegisterType* type = FindInternalRegisterType(m_TypeName)) {
    unit = type->m_UnitCode;
    addressUnit = WidthCode(m_Width);
  } else {
    a_Context.Problems().Warn("[CAddr::GetRegTypeForRegPrm]Not support this register type: " + m_TypeName);
    return 0;
  }
  return static_cast<uint8_t>(unit + 16 * addressUnit);
}

void CAddr::Compile(std::vector<uint8_t>& a_Bytes, const CEditorContext& a_Context) const {
  const auto bytes = Descriptor(a_Context);
  a_Bytes.insert(a_Bytes.end(), bytes.begin(), bytes.end());
}

std::array<uint8_t, 12> CAddr::Descriptor(const CEditorContext& a_Context) const {
  if (HasUnknownPortType(a_Context)) return CAddr(m_Width).Descriptor(a_Context);
  const CRegisterType* type = FindType(a_Context);
  uint16_t head = 0x0003;
  if (m_Bcd != 0) head |= 0x8000;
  if (type != nullptr && type->m_BigEndian) head |= 0x0100;
  uint16_t units = 1;
  if (m_Width == kWord) units = static_cast<uint16_t>(m_Length);
  if (m_Width == kDoubleWord) units = static_cast<uint16_t>(m_Length / 2);
  uint32_t value = static_cast<uint32_t>(m_Address);
  if (m_HasSubAddress != 0) {
    const int shift = IsInternal() ? 4 : (type != nullptr ? type->m_SubBits : 0);
    value = (value << shift) + static_cast<uint32_t>(m_SubAddress);
  }
  if (m_HasIndex != 0) {
    value += static_cast<uint32_t>(m_Index) * (m_HasSubAddress != 0 ? 800000u : 100000u);
  }
  return {
      static_cast<uint8_t>(head),
      static_cast<uint8_t>(head >> 8),
      static_cast<uint8_t>(IsInternal() ? 0xFF : m_Port),
      static_cast<uint8_t>(IsInternal() ? 0 : m_Station),
      GetRegIdForRegPrm(a_Context),
      GetRegTypeForRegPrm(a_Context),
      static_cast<uint8_t>(units),
      static_cast<uint8_t>(units >> 8),
      static_cast<uint8_t>(value),
      static_cast<uint8_t>(value >> 8),
      static_cast<uint8_t>(value >> 16),
      static_cast<uint8_t>(value >> 24),
  };
}

}  // namespace kd820
