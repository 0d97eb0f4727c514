#include "editor/screens/GraphElement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "editor/base/ImageBuffer.h"
#include "editor/screens/RecordWriter.h"
#include "editor/devices/Addr.h"

namespace kd820 {

KD_IMPLEMENT_ABSTRACT(CGraphElement, nullptr)

const char* ElementTypePrefix(int32_t a_TypeCode) {
  static constexpr std::array<const char*, 11> kPrefixes = {
      "LED", "FK", "ST", "DT", "REG", "BAR", "TREND", "PIC", "CACHE", "ASCII", "EV"};
  if (a_TypeCode < 0 || a_TypeCode >= static_cast<int32_t>(kPrefixes.size())) return "";
  return kPrefixes[static_cast<std::size_t>(a_TypeCode)];
}

void CGraphElement::CopyFrom(const CGraphElement& a_Other) {
  m_Number = a_Other.m_Number;
  m_Left = a_Other.m_Left;
  m_Top = a_Other.m_Top;
  m_Width = a_Other.m_Width;
  m_Height = a_Other.m_Height;
  m_StoredWord1 = a_Other.m_StoredWord1;
  m_StoredWord2 = a_Other.m_StoredWord2;
  m_DoubleSize = a_Other.m_DoubleSize;
  m_Reverse = a_Other.m_Reverse;
  m_Name = a_Other.m_Name;
  m_InputOrder = a_Other.m_InputOrder;
}

void CGraphElement::Serialize(CArchive& a_Ar) {
  uint32_t version = 1;
  a_Ar.Io(version);
  a_Ar.Io(m_Name);
  a_Ar.Io(m_Number);
  a_Ar.Io(m_StoredWord2);
  a_Ar.Io(m_StoredWord1);
  a_Ar.Io(m_DoubleSize);
  a_Ar.Io(m_Reverse);
  a_Ar.Io(m_Height);
  a_Ar.Io(m_Width);
  // The type code follows from the class; a stored code that disagrees is not taken over.
  int32_t typeCode = m_TypeCode;
  a_Ar.Io(typeCode);
  a_Ar.Io(m_Left);
  a_Ar.Io(m_Top);
  a_Ar.Io(m_InputOrder);
}

void CGraphElement::SwapPorts(int32_t a_A, int32_t a_B) {
  VisitAddresses([&](CAddr& a_Addr) { a_Addr.SwapPort(a_A, a_B); });
}

void CGraphElement::ResetChangedPorts(const std::array<bool, 4>& a_Changed) {
  VisitAddresses([&](CAddr& a_Addr) { a_Addr.ResetIfPortChanged(a_Changed); });
}

void CGraphElement::SetNumber(uint16_t a_Number) {
  m_Number = static_cast<int16_t>(a_Number);
  m_Name = std::string(GetPrefix()) + std::to_string(a_Number);
}

bool CGraphElement::HitTest(int32_t a_X, int32_t a_Y) const {
  const CRect r = GetRect();
  return a_X >= r.m_Left - 1 && a_X < r.m_Right + 1 && a_Y >= r.m_Top - 1 && a_Y < r.m_Bottom + 1;
}

void CGraphElement::SetDoubleSize(bool a_On, int32_t a_DisplayWidth, int32_t a_DisplayHeight) {
  if (a_On && m_DoubleSize == 0) {
    m_Width *= 2;
    m_Height *= 2;
  } else if (!a_On && m_DoubleSize != 0) {
    m_Width /= 2;
    m_Height /= 2;
  }
  if (m_Left < 0) m_Left = 0;
  if (m_Top < 0) m_Top = 0;
  if (m_Left + m_Width > a_DisplayWidth) m_Left = a_DisplayWidth - m_Width;
  if (m_Top + m_Height > a_DisplayHeight) m_Top = a_DisplayHeight - m_Height;
  m_DoubleSize = a_On ? 1 : 0;
}

std::vector<std::size_t> CGraphElement::CompilePrefix(
    CRecordWriter& a_Writer, const std::vector<std::pair<int, const CAddr*>>& a_Registers,
    uint32_t a_ResourceMask) const {
  CImageBuffer& image = a_Writer.Buffer();
  // The display is at most 256 pixels each way: the low bytes are the coordinates.
  image.AppendU8(static_cast<uint8_t>(m_Left));
  image.AppendU8(static_cast<uint8_t>(m_Top));
  image.AppendU8(static_cast<uint8_t>(m_Left + m_Width - 1));
  image.AppendU8(static_cast<uint8_t>(m_Top + m_Height - 1));
  uint16_t registerMask = 0;
  for (const auto& reg : a_Registers) registerMask = static_cast<uint16_t>(registerMask | (1u << reg.first));
  image.AppendU8(static_cast<uint8_t>(a_Registers.size()));
  image.AppendU8(0);
  image.AppendU16(registerMask);
  for (const auto& reg : a_Registers) a_Writer.AppendAddress(*reg.second);
  image.AppendU32(a_ResourceMask);
  std::vector<std::size_t> slots;
  for (int bit = 0; bit < 32; ++bit) {
    if ((a_ResourceMask & (1u << bit)) != 0) slots.push_back(image.ReserveSlots(1));
  }
  return slots;
}

void CGraphElement::CompileLimit(CImageBuffer& a_Image, double a_Value, int32_t a_DataType) {
  if (a_DataType == 3 || a_DataType == 4) {
    const float value = static_cast<float>(a_Value);
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    a_Image.AppendU32(bits);
    return;
  }
  // Saturate instead of overflowing for limits beyond 32 bits.
  const double clamped = std::clamp(std::trunc(a_Value), -2147483648.0, 2147483647.0);
  a_Image.AppendU32(static_cast<uint32_t>(static_cast<int32_t>(std::isnan(clamped) ? 0.0 : clamped)));
}

}  // namespace kd820
