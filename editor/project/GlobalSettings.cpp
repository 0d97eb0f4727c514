#include "editor/project/GlobalSettings.h"

CGlobalSettings::CGlobalSettings() { m_Passwords.fill(kDefaultPassword); }

void CGlobalSettings::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Flags);
  // The file keeps minutes before the frame, unlike the compiled record.
  a_Ar.Io(m_StartFrame);
  a_Ar.Io(m_ScreenSaverMinutes);
  a_Ar.Io(m_ScreenSaverFrame);
  a_Ar.Io(m_PasswordLevel);
  a_Ar.Io(m_PasswordMask);
  for (int32_t& password : m_Passwords) a_Ar.Io(password);
  a_Ar.Io(m_ControlFlags);
  if (version >= 2) {
    a_Ar.Io(m_PasswordFrame);
  } else {
    m_PasswordFrame = 1;
  }
  if (version >= 3) {
    a_Ar.Io(m_CommonFrame);
  } else {
    m_CommonFrame = 1;
  }
  m_ControlAddress.Serialize(a_Ar);
}

void CGlobalSettings::SwapPorts(int32_t a_A, int32_t a_B) { m_ControlAddress.SwapPort(a_A, a_B); }

void CGlobalSettings::ResetChangedPorts() { m_ControlAddress.ResetIfPortChanged(); }
