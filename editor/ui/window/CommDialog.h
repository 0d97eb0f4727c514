#pragma once
// The communication settings of an open project ("通讯设置"): the PLC page alone, one tab
// per port of the panel model. OK runs the core's change of the communication settings
// through the document's editor: asked first when a port changed its PLC (No keeps the
// dialog open), recorded with the reset it makes as one step.
#include <QDialog>

#include "editor/project/NewProjectPlc.h"

namespace kd820 {

class CDocumentEditor;
class CKV410Doc;
class CPortTabs;

class CCommDialog : public QDialog {
  Q_OBJECT

 public:
  // a_Doc holds the open project; a_Editor records the change.
  CCommDialog(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent = nullptr);

  CNewProjectPlc& Page() { return m_Page; }
  CPortTabs& Ports() { return *m_Ports; }

  void accept() override;

 private:
  CKV410Doc& m_Doc;
  CDocumentEditor& m_Editor;
  CNewProjectPlc m_Page;
  CPortTabs* m_Ports = nullptr;
};

}  // namespace kd820
