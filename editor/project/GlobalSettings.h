#pragma once
// Project-wide settings: start, password and common frames, screen saver, passwords, switches
// and the optional control registers.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/devices/Addr.h"
#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CEditorContext;
class CRecordWriter;

class CGlobalSettings {
 public:
  static constexpr int32_t kCurrentVersion = 3;
  static constexpr int32_t kDefaultPassword = 1111;

  // flags bits
  static constexpr uint32_t kBacklightOnly = 1u << 0;
  static constexpr uint32_t kPasswordToWake = 1u << 1;
  static constexpr uint32_t kBuzzerOff = 1u << 2;
  static constexpr uint32_t kSwapWords = 1u << 3;
  static constexpr uint32_t kFocusMask = 3u << 4;
  static constexpr uint32_t kOwnMessageLanguage = 1u << 6;
  static constexpr uint32_t kCommonFrameUsed = 1u << 7;
  // control flag bits
  static constexpr int32_t kPlcSelectsFrame = 1 << 0;
  static constexpr int32_t kReportFrame = 1 << 1;

  CGlobalSettings();

  void Serialize(CArchive& a_Ar);
  // The passwords are a custom part: eight words in the archive, an array in the JSON form.
  static const CFieldTable& Fields();
  // Appends the 56-byte settings record and, when a control register is used, the control
  // block after it. Returns why it cannot be compiled (a control register whose type is
  // addressed in bits has no register step), or nullopt.
  std::optional<std::string> Compile(CRecordWriter& a_Writer) const;
  // The registers between two control registers, in the address units of the control
  // address's type; nullopt for a type addressed in bits, which has no such step.
  std::optional<int32_t> ControlRegisterStep(const CEditorContext& a_Context) const;
  // Why the control address cannot be compiled when it has no register step.
  std::string ControlAddressProblem() const;
  void SwapPorts(int32_t a_A, int32_t a_B);
  void ResetChangedPorts(const std::array<bool, 4>& a_Changed);

  uint32_t m_Flags = 1;
  uint16_t m_StartFrame = 1;
  uint16_t m_ScreenSaverFrame = 0;
  uint16_t m_ScreenSaverMinutes = 3;
  uint8_t m_PasswordLevel = 0;
  uint16_t m_PasswordMask = 255;
  std::array<int32_t, 8> m_Passwords{};
  uint16_t m_PasswordFrame = 1;
  uint16_t m_CommonFrame = 1;
  int32_t m_ControlFlags = 0;
  CAddr m_ControlAddress{CAddr::kWord};
};

}  // namespace kd820
