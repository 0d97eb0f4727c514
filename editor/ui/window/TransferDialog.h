#pragma once
// The data transfer list ("数据传输设置") and the item dialog of one transfer: source,
// target, trigger (periodic, or an edge of a trigger bit), frame and execution limit. Both
// edit copies; the checks and the refusal of equal transfers are the core's (EditRules).
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "editor/project/DataTransfer.h"

class QComboBox;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class IUserInteraction;

namespace kd820 {

class CAddrEditor;
class CEditorContext;
class CKV410Project;

class CTransferItemDialog : public QDialog {
  Q_OBJECT

 public:
  CTransferItemDialog(const CEditorContext& a_Context, const CDataTransferItem& a_Item, IUserInteraction& a_Ui,
                      QWidget* a_Parent = nullptr);

  const CDataTransferItem& Item() const { return m_Item; }
  // Told of the checked item on OK; a message keeps the dialog open.
  std::function<std::optional<std::string>(const CDataTransferItem&)> m_Take;

  QRadioButton& PeriodicButton() { return *m_Periodic; }
  QRadioButton& RegisterTriggerButton() { return *m_RegisterTrigger; }
  QSpinBox& PeriodBox() { return *m_Period; }
  QComboBox& EdgeBox() { return *m_Edge; }
  CAddrEditor& Trigger() { return *m_Trigger; }
  CAddrEditor& Source() { return *m_Source; }
  CAddrEditor& Destination() { return *m_Destination; }
  QSpinBox& CountBox() { return *m_Count; }
  QSpinBox& LimitBox() { return *m_Limit; }
  QSpinBox& FrameBox() { return *m_Frame; }

  void accept() override;

 private:
  void UpdateEnabled();

  IUserInteraction& m_Ui;
  CDataTransferItem m_Item;
  QRadioButton* m_Periodic = nullptr;
  QRadioButton* m_RegisterTrigger = nullptr;
  QSpinBox* m_Period = nullptr;
  QComboBox* m_Edge = nullptr;
  CAddrEditor* m_Trigger = nullptr;
  CAddrEditor* m_Source = nullptr;
  CAddrEditor* m_Destination = nullptr;
  QSpinBox* m_Count = nullptr;
  QSpinBox* m_Limit = nullptr;
  QSpinBox* m_Frame = nullptr;
};

class CTransferDialog : public QDialog {
  Q_OBJECT

 public:
  CTransferDialog(const CEditorContext& a_Context, const CKV410Project& a_Project, IUserInteraction& a_Ui,
                  QWidget* a_Parent = nullptr);

  // The list as entered; it replaces the project's.
  const CDataTransferList& Edited() const { return m_Edited; }
  std::function<void(CTransferItemDialog&)> m_PrepareItem;

  bool AddItem();
  bool ModifyItem(int a_Row);
  bool RemoveItem(int a_Row);
  QTableWidget& Grid() { return *m_Grid; }

 private:
  bool RunItem(CTransferItemDialog& a_Dialog);
  void FillGrid();

  const CEditorContext& m_Context;
  IUserInteraction& m_Ui;
  CDataTransferList m_Edited;
  QTableWidget* m_Grid = nullptr;
};

}  // namespace kd820
