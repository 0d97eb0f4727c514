#pragma once
// The alarm list ("设置报警列表内容"): a grid of the alarms with their port, register type and
// message, the alarm font and the alarm frame; and the item dialog of one alarm. Both edit
// copies; the checks, the refusal of equal items and what OK stores are the core's
// (EditRules).
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "editor/project/AlarmSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class IUserInteraction;

namespace kd820 {

class CAddrEditor;
class CEditorContext;
class CKV410Project;

class CAlarmItemDialog : public QDialog {
  Q_OBJECT

 public:
  CAlarmItemDialog(const CEditorContext& a_Context, const CAlarmItem& a_Item, IUserInteraction& a_Ui,
                   QWidget* a_Parent = nullptr);

  // The item as entered (valid after OK).
  const CAlarmItem& Item() const { return m_Item; }
  // Told of the checked item on OK; a message keeps the dialog open (the list's refusal of
  // an equal item).
  std::function<std::optional<std::string>(const CAlarmItem&)> m_Take;

  QRadioButton& BitAlarmButton() { return *m_BitAlarm; }
  QRadioButton& ValueAlarmButton() { return *m_ValueAlarm; }
  QRadioButton& FiresOnOneButton() { return *m_OnOne; }
  QRadioButton& FiresOnZeroButton() { return *m_OnZero; }
  QComboBox& CompareBox() { return *m_Compare; }
  QLineEdit& ValueBox() { return *m_Value; }
  QCheckBox& RangeUsedBox() { return *m_RangeUsed; }
  QLineEdit& UpperBox() { return *m_Upper; }
  QLineEdit& LowerBox() { return *m_Lower; }
  QCheckBox& BuzzerBox() { return *m_Buzzer; }
  QSpinBox& BuzzerSecondsBox() { return *m_BuzzerSeconds; }
  QLineEdit& TextBox() { return *m_Text; }
  CAddrEditor& Register() { return *m_Register; }

  void accept() override;

 private:
  void UpdateEnabled();

  IUserInteraction& m_Ui;
  CAlarmItem m_Item;
  QRadioButton* m_BitAlarm = nullptr;
  QRadioButton* m_ValueAlarm = nullptr;
  QRadioButton* m_OnOne = nullptr;
  QRadioButton* m_OnZero = nullptr;
  QComboBox* m_Compare = nullptr;
  QLineEdit* m_Value = nullptr;
  QCheckBox* m_RangeUsed = nullptr;
  QLineEdit* m_Upper = nullptr;
  QLineEdit* m_Lower = nullptr;
  QCheckBox* m_Buzzer = nullptr;
  QSpinBox* m_BuzzerSeconds = nullptr;
  QLineEdit* m_Text = nullptr;
  CAddrEditor* m_Register = nullptr;
};

class CAlarmDialog : public QDialog {
  Q_OBJECT

 public:
  CAlarmDialog(const CEditorContext& a_Context, const CKV410Project& a_Project, IUserInteraction& a_Ui,
               QWidget* a_Parent = nullptr);

  // The list as entered; store it with ApplyAlarmDialog.
  const CAlarmSettings& Edited() const { return m_Edited; }
  // Each item dialog before it runs (tests).
  std::function<void(CAlarmItemDialog&)> m_PrepareItem;

  // The list's commands; each opens the item dialog (Remove does not). The row is the grid's.
  bool AddItem();
  bool ModifyItem(int a_Row);
  bool RemoveItem(int a_Row);

  QTableWidget& Grid() { return *m_Grid; }
  QComboBox& FontBox() { return *m_Font; }
  QComboBox& FontSizeBox() { return *m_FontSize; }
  QComboBox& AlarmFrameBox() { return *m_Frame; }
  QCheckBox& AlarmFrameOptionBox() { return *m_FrameOption; }

  void accept() override;

 private:
  bool RunItem(CAlarmItemDialog& a_Dialog);
  void FillGrid();

  const CEditorContext& m_Context;
  IUserInteraction& m_Ui;
  CAlarmSettings m_Edited;
  QTableWidget* m_Grid = nullptr;
  QComboBox* m_Font = nullptr;
  QComboBox* m_FontSize = nullptr;
  QComboBox* m_Frame = nullptr;
  QCheckBox* m_FrameOption = nullptr;
};

}  // namespace kd820
