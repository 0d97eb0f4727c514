#include "editor/screens/GraphElement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/base/ImageBuffer.h"
#include "editor/screens/RecordWriter.h"
#include "editor/devices/Addr.h"
#include "editor/screens/ElementTypes.h"

namespace kd820 {

KD_IMPLEMENT_ABSTRACT(CGraphElement, nullptr)

const char* ElementTypePrefix(int32_t a_TypeCode) {
  const CElementType* type = FindElementType(a_TypeCode);
  return type != nullptr ? type->m_Prefix : "";
}

const CFieldTable& CGraphElement::Fields() {
  using E = CGraphElement;
  static const CField kFields[] = {
      Field<&E::m_Name>("name").JsonAt(2),
      Field<&E::m_Number>("number").AsBits().JsonAt(1),
      Field<&E::m_StoredWord2>("storedWord2").JsonAt(10),
      Field<&E::m_StoredWord1>("storedWord1").JsonAt(9),
      Flag<&E::m_DoubleSize>("doubleSize").JsonAt(7),
      Flag<&E::m_Reverse>("reverse").JsonAt(8),
      Field<&E::m_Height>("height").JsonAt(6),
      Field<&E::m_Width>("width").JsonAt(5),
      // A stored code that disagrees with the class is not taken over.
      Custom("type",
             [](CArchive& a_Ar, void* a_Element) {
               int32_t code = static_cast<CGraphElement*>(a_Element)->m_TypeCode;
               a_Ar.Io(code);
             },
             nullptr)
          .JsonAt(0),
      Field<&E::m_Left>("left").JsonAt(3),
      Field<&E::m_Top>("top").JsonAt(4),
      Field<&E::m_InputOrder>("inputOrder").JsonAt(11),
  };
  static const CFieldTable kTable{1, kFields};
  return kTable;
}

void CGraphElement::CopyFrom(const CGraphElement& a_Other) { CopyFields(Fields(), this, &a_Other); }

void CGraphElement::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

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
