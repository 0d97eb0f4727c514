#pragma once
// The dialog "全局设定": start, password and common frames, the screen saver, the switches,
// the focus display, the eight passwords and the control registers. It edits a copy of the
// project's settings; the enable rules and what OK stores are the core's (EditRules).
#include <QDialog>
#include <array>

#include "editor/project/GlobalSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class IUserInteraction;

namespace kd820 {

class CAddrEditor;
class CEditorContext;
class CKV410Project;

class CSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Problems with what was entered go to a_Ui.
  CSettingsDialog(const CEditorContext& a_Context, const CKV410Project& a_Project, IUserInteraction& a_Ui,
                  QWidget* a_Parent = nullptr);

  // The settings as entered (valid after OK); store them with ApplySettingsDialog.
  const CGlobalSettings& Edited() const { return m_Edited; }

  QComboBox& StartFrameBox() { return *m_StartFrame; }
  QComboBox& SaverMinutesBox() { return *m_SaverMinutes; }
  QRadioButton& ShowFrameButton() { return *m_ShowFrame; }
  QRadioButton& BacklightOnlyButton() { return *m_BacklightOnly; }
  QComboBox& SaverFrameBox() { return *m_SaverFrame; }
  QCheckBox& PasswordToWakeBox() { return *m_PasswordToWake; }
  QComboBox& PasswordLevelBox() { return *m_PasswordLevel; }
  QCheckBox& BuzzerOffBox() { return *m_BuzzerOff; }
  QCheckBox& SwapWordsBox() { return *m_SwapWords; }
  QComboBox& FocusBox() { return *m_Focus; }
  QComboBox& PasswordFrameBox() { return *m_PasswordFrame; }
  QCheckBox& CommonFrameUsedBox() { return *m_CommonUsed; }
  QComboBox& CommonFrameBox() { return *m_CommonFrame; }
  QLineEdit& PasswordBox(int a_Level) { return *m_Passwords[static_cast<std::size_t>(a_Level)]; }
  QCheckBox& PlcSelectsFrameBox() { return *m_PlcSelectsFrame; }
  QCheckBox& ReportFrameBox() { return *m_ReportFrame; }
  CAddrEditor& ControlAddress() { return *m_ControlAddress; }

  // Refuses OK while the control address is wrong (when it is used).
  void accept() override;

 private:
  // The controls' values, the control address as stored.
  CGlobalSettings Collect() const;
  void UpdateEnabled();

  const CEditorContext& m_Context;
  IUserInteraction& m_Ui;
  CGlobalSettings m_Edited;
  QComboBox* m_StartFrame = nullptr;
  QComboBox* m_SaverMinutes = nullptr;
  QRadioButton* m_ShowFrame = nullptr;
  QRadioButton* m_BacklightOnly = nullptr;
  QComboBox* m_SaverFrame = nullptr;
  QCheckBox* m_PasswordToWake = nullptr;
  QComboBox* m_PasswordLevel = nullptr;
  QCheckBox* m_BuzzerOff = nullptr;
  QCheckBox* m_SwapWords = nullptr;
  QComboBox* m_Focus = nullptr;
  QComboBox* m_PasswordFrame = nullptr;
  QCheckBox* m_CommonUsed = nullptr;
  QComboBox* m_CommonFrame = nullptr;
  std::array<QLineEdit*, 8> m_Passwords{};
  QCheckBox* m_PlcSelectsFrame = nullptr;
  QCheckBox* m_ReportFrame = nullptr;
  CAddrEditor* m_ControlAddress = nullptr;
};

}  // namespace kd820
