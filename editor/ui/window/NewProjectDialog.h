#pragma once
// The new-project wizard's window: the name page (name and directory), the hardware page
// (the panel models, the selected one's data) and the PLC page (a PLC and its serial
// settings per port). The pages edit the core's wizard; Finish is the core's, which asks its
// questions and keeps the window open when it does not make the project.
#include <QWizard>
#include <vector>

#include "platform/UserInteraction.h"

#include "editor/project/NewProjectWizard.h"
#include "editor/ui/window/PortTabs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace kd820 {

class CKV410Doc;

class CNewProjectDialog : public QWizard {
  Q_OBJECT

 public:
  enum Page { kNamePage = 0, kHmiPage = 1, kPlcPage = 2 };

  // Makes the project in a_Doc, whose current project must be closed; a_Ui answers the
  // wizard's questions.
  CNewProjectDialog(CKV410Doc& a_Doc, IUserInteraction& a_Ui, QWidget* a_Parent = nullptr);

  CNewProjectWizard& Wizard() { return m_Wizard; }
  QLineEdit& NameBox() { return *m_Name; }
  QLineEdit& DirectoryBox() { return *m_Directory; }
  QListWidget& ModelList() { return *m_Models; }
  QLabel& ModelData() { return *m_ModelData; }
  // The manufacturer (no PLC first) and PLC choices of a port's tab; null when the model has
  // no such serial port.
  QComboBox* MakerBox(int32_t a_PortId) const;
  QComboBox* PlcBox(int32_t a_PortId) const;
  QComboBox* SerialTypeBox(int32_t a_PortId) const;
  QComboBox* BaudBox(int32_t a_PortId) const;
  QSpinBox* StationBox(int32_t a_PortId) const;

  // The PLC page's tabs.
  CPortTabs& Ports() { return *m_Ports; }

  bool validateCurrentPage() override;
  void initializePage(int a_Id) override;

 private:
  void BuildNamePage();
  void BuildHmiPage();
  void BuildPlcPage();

  CKV410Doc& m_Doc;
  IUserInteraction& m_Ui;
  CNewProjectWizard m_Wizard;
  QLineEdit* m_Name = nullptr;
  QLineEdit* m_Directory = nullptr;
  QListWidget* m_Models = nullptr;
  QLabel* m_ModelData = nullptr;
  CPortTabs* m_Ports = nullptr;
};

}  // namespace kd820
