#include "editor/project/GlobalSettings.h"

#include "editor/base/ImageBuffer.h"
#include "editor/devices/EditorContext.h"
#include "editor/screens/RecordWriter.h"
#include "editor/devices/PlcLibrary.h"

namespace kd820 {

CGlobalSettings::CGlobalSettings() { m_Passwords.fill(kDefaultPassword); }

const CFieldTable& CGlobalSettings::Fields() {
  using S = CGlobalSettings;
  // The file keeps minutes before the frame, unlike the compiled record.
  static const CField kFields[] = {
      Field<&S::m_Flags>("flags"),
      Field<&S::m_StartFrame>("startFrame"),
      Field<&S::m_ScreenSaverMinutes>("screenSaverMinutes").JsonAt(3),
      Field<&S::m_ScreenSaverFrame>("screenSaverFrame").JsonAt(2),
      Field<&S::m_PasswordLevel>("passwordLevel"),
      Field<&S::m_PasswordMask>("passwordMask"),
      Custom("passwords",
             [](CArchive& a_Ar, void* a_Settings) {
               for (int32_t& password : static_cast<S*>(a_Settings)->m_Passwords) a_Ar.Io(password);
             },
             [](void* a_Settings, const void* a_From) {
               static_cast<S*>(a_Settings)->m_Passwords = static_cast<const S*>(a_From)->m_Passwords;
             }),
      Field<&S::m_ControlFlags>("controlFlags").JsonAt(9),
      Field<&S::m_PasswordFrame>("passwordFrame").Since(2, 1).JsonAt(7),
      Field<&S::m_CommonFrame>("commonFrame").Since(3, 1).JsonAt(8),
      Field<&S::m_ControlAddress>("controlRegister"),
  };
  // The version word is written as a signed number.
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CGlobalSettings::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

void CGlobalSettings::SwapPorts(int32_t a_A, int32_t a_B) { m_ControlAddress.SwapPort(a_A, a_B); }

void CGlobalSettings::ResetChangedPorts(const std::array<bool, 4>& a_Changed) {
  m_ControlAddress.ResetIfPortChanged(a_Changed);
}

std::optional<int32_t> CGlobalSettings::ControlRegisterStep(const CEditorContext& a_Context) const {
  // One register of the control address: its width over the unit its type is addressed in.
  const int32_t widthBytes = m_ControlAddress.m_Width == CAddr::kDoubleWord ? 4 : 2;
  int32_t unitBytes = 2;
  if (const CRegisterType* type = m_ControlAddress.FindType(a_Context)) {
    static constexpr int32_t kUnitBytes[] = {0, 1, 2, 4};
    unitBytes = type->m_AddressUnit >= 0 && type->m_AddressUnit <= 3 ? kUnitBytes[type->m_AddressUnit] : 0;
  } else if (m_ControlAddress.m_Width == CAddr::kBit) {
    unitBytes = 0;
  }
  if (unitBytes == 0) return std::nullopt;
  return widthBytes / unitBytes;
}

std::string CGlobalSettings::ControlAddressProblem() const {
  return "the control register " + m_ControlAddress.m_TypeName + " is addressed in bits; choose a word register";
}

std::optional<std::string> CGlobalSettings::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const bool first = (m_ControlFlags & kPlcSelectsFrame) != 0;
  const bool second = (m_ControlFlags & kReportFrame) != 0;
  int32_t step = 0;
  if (first || second) {
    const std::optional<int32_t> registerStep = ControlRegisterStep(a_Writer.Context());
    if (!registerStep) return ControlAddressProblem();
    step = *registerStep;
  }
  const std::size_t record = image.Length();
  image.AppendU32(m_Flags);
  image.AppendU16(m_StartFrame);
  image.AppendU16(m_ScreenSaverFrame);
  image.AppendU16(m_ScreenSaverMinutes);
  image.AppendU8(static_cast<uint8_t>(m_PasswordLevel + 1));
  image.AppendU8(0);
  image.AppendU16(m_PasswordMask);
  image.AppendU16(0);
  for (int32_t password : m_Passwords) image.AppendU32(static_cast<uint32_t>(password));
  image.AppendU32(0);  // control block offset, patched below
  image.AppendU16(m_PasswordFrame);
  image.AppendU16(m_CommonFrame);
  if (!first && !second) return std::nullopt;

  image.PatchU32(record + 48, static_cast<uint32_t>(image.Length()));
  image.AppendU8(static_cast<uint8_t>((first ? 1 : 0) + (second ? 1 : 0)));
  image.AppendU8(0);
  image.AppendU16(static_cast<uint16_t>(m_ControlFlags));
  // A port address whose type the PLC lacks compiles as internal memory: the registers then
  // follow each other there (LW 0, LW 1), not at the missing type's address.
  const bool fallback = m_ControlAddress.HasUnknownPortType(a_Writer.Context());
  CAddr reg = fallback ? CAddr(m_ControlAddress.m_Width) : m_ControlAddress;
  bool warned = false;
  for (bool used : {first, second}) {
    if (!used) continue;
    a_Writer.AppendAddress(fallback && !warned ? m_ControlAddress : reg);  // one warning
    warned = true;
    reg.m_Address += step;
  }
  return std::nullopt;
}

}  // namespace kd820
