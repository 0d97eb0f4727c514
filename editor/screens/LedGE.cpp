#include "editor/screens/LedGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CLedGE, &CGraphElement::classCGraphElement, 0)

CLedGE::CLedGE() : CGraphElement(kTypeLed) {}

std::unique_ptr<CGraphElement> CLedGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CLedGE::Fields() {
  static const CField kFields[] = {
      Enum<&CLedGE::m_Shape>("shape", kLedShapes),
      Field<&CLedGE::m_Size>("size"),
      Flag<&CLedGE::m_Invert>("invert"),
      Flag<&CLedGE::m_Blink>("blink"),
      Flag<&CLedGE::m_BlinkWhileOn>("blinkWhileOn"),
      Field<&CLedGE::m_BlinkPeriod>("blinkPeriod"),
      Field<&CLedGE::m_Reg>("register").JsonAt(-1),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CLedGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CLedGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CLedGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {{0, &m_Reg}}, 1);
  uint16_t option = 0x0001;
  if (m_Blink != 0) option |= 0x0100;
  if (m_Invert != 0) option |= 0x0200;
  if (m_BlinkWhileOn != 0) option |= 0x0400;
  image.AppendU16(option);
  image.AppendU16(static_cast<uint16_t>(m_BlinkPeriod));
  const std::string key = "LED_" + std::to_string(m_Shape) + "_" + std::to_string(m_Size);
  const uint32_t list = a_Writer.CompileList(key, 2, [&](std::size_t a_State) {
    return a_Writer.CompileBitmapFile(ComponentPath(
        "led/LED" + std::to_string(m_Shape) + "_" + std::to_string(a_State) + "_" +
        std::to_string(m_Size) + ".dat"));
  });
  image.PatchU32(slots[0], list);
}

}  // namespace kd820
