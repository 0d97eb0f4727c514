#pragma once
// The PLC page's tabs, one per port of the panel model, shared by the new-project wizard and
// the communication dialog: manufacturer and model from the PLC library, the serial
// parameters, the station, the compatible PLCs, "恢复默认" and the advanced settings. The tabs
// edit the core's page (CNewProjectPlc); its rules preset and restore the values.
#include <QDialog>
#include <QTabWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/project/NewProjectPlc.h"

class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kd820 {

class CEditorContext;

// "通讯高级设置": the timing and retry fields of one port.
class CAdvancedPortDialog : public QDialog {
  Q_OBJECT

 public:
  // a_Defaults: what "恢复默认设置" restores (the protocol's timing, no message time, 10
  // retries, retry); none disables the button.
  CAdvancedPortDialog(const CPortCom& a_Settings, std::optional<CPortCom> a_Defaults, QWidget* a_Parent = nullptr);
  // a_Settings with the entered fields.
  void ApplyTo(CPortCom& a_Settings) const;
  QSpinBox& Field(int a_Index) { return *m_Fields[static_cast<std::size_t>(a_Index)]; }
  QRadioButton& RetryButton() { return *m_Retry; }
  QRadioButton& CutButton() { return *m_Cut; }
  void RestoreDefaults();

 private:
  void Show(const CPortCom& a_Settings);
  std::optional<CPortCom> m_Defaults;
  std::vector<QSpinBox*> m_Fields;
  QRadioButton* m_Retry = nullptr;
  QRadioButton* m_Cut = nullptr;
};

class CPortTabs : public QTabWidget {
  Q_OBJECT

 public:
  CPortTabs(CEditorContext& a_Context, QWidget* a_Parent = nullptr);

  // Builds one tab per port of a_Page, which must outlive the tabs (or the next Fill).
  void Fill(CNewProjectPlc& a_Page);
  // Writes the controls into the page.
  void Store();
  // "<device>: <why>" for the first station outside its protocol's range, after Store.
  std::optional<std::string> StationProblem() const;

  // The controls of a serial port's tab; null when the page has no such serial port.
  QComboBox* MakerBox(int32_t a_PortId) const;
  QComboBox* PlcBox(int32_t a_PortId) const;
  QComboBox* SerialTypeBox(int32_t a_PortId) const;
  QComboBox* BaudBox(int32_t a_PortId) const;
  QComboBox* DataBitsBox(int32_t a_PortId) const;
  QComboBox* ParityBox(int32_t a_PortId) const;
  QComboBox* StopBitsBox(int32_t a_PortId) const;
  QSpinBox* StationBox(int32_t a_PortId) const;
  QListWidget* CompatibleList(int32_t a_PortId) const;
  QPushButton* RestoreButton(int32_t a_PortId) const;
  // Runs "高级设定" of a port; a_Prepare (tests) sees the dialog before it runs.
  bool RunAdvanced(int32_t a_PortId);
  std::function<void(CAdvancedPortDialog&)> m_PrepareAdvanced;

 private:
  struct CTab {
    int32_t m_PortId = 0;
    QComboBox* m_Maker = nullptr;
    QComboBox* m_Plc = nullptr;
    QComboBox* m_SerialType = nullptr;
    QComboBox* m_Baud = nullptr;
    QComboBox* m_DataBits = nullptr;
    QComboBox* m_Parity = nullptr;
    QComboBox* m_StopBits = nullptr;
    QSpinBox* m_Station = nullptr;
    QListWidget* m_Compatible = nullptr;
    QPushButton* m_Restore = nullptr;
    QPushButton* m_Advanced = nullptr;
  };
  void Show(CTab& a_Tab);
  void PlcChosen(CTab& a_Tab);
  void StoreTab(const CTab& a_Tab);
  CTab* Tab(int32_t a_PortId);
  const CTab* Tab(int32_t a_PortId) const;

  CEditorContext& m_Context;
  CNewProjectPlc* m_Page = nullptr;
  std::vector<CTab> m_Tabs;
  bool m_Filling = false;
};

}  // namespace kd820
