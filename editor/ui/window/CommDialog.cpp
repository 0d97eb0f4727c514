#include "editor/ui/window/CommDialog.h"

#include <QVBoxLayout>

#include "editor/project/DocumentEditor.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/PortTabs.h"
#include "editor/ui/window/SettingsTexts.h"

namespace kd820 {

CCommDialog::CCommDialog(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent)
    : QDialog(a_Parent),
      m_Doc(a_Doc),
      m_Editor(a_Editor),
      m_Page(a_Doc.Context().CurrentHardwareModel(), a_Doc.Context()) {
  setWindowTitle(dialogparts::Text(settext::kCommTitle));
  if (a_Doc.GetProject() != nullptr) m_Page.LoadFromProject(*a_Doc.GetProject());
  m_Ports = new CPortTabs(a_Doc.Context());
  m_Ports->Fill(m_Page);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_Ports);
  layout->addWidget(dialogparts::OkCancel(this));
}

void CCommDialog::accept() {
  m_Ports->Store();
  if (auto problem = m_Ports->StationProblem()) {
    m_Doc.Ui().ShowMessage(*problem, msg::kAppTitle, MessageIcon::Warning);
    return;
  }
  // No to the reset question keeps the dialog open.
  if (!m_Editor.EditCommunication(m_Page)) return;
  QDialog::accept();
}

}  // namespace kd820
