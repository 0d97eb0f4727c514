#include "editor/ui/window/NewProjectDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWizardPage>

#include "editor/base/CodeTables.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "editor/project/NewProjectPlc.h"
#include "editor/ui/window/QtText.h"
#include "editor/ui/window/WindowTexts.h"

namespace kd820 {

namespace {

// A page whose Next and Finish follow a condition.
class CConditionPage : public QWizardPage {
 public:
  std::function<bool()> m_Complete;
  bool isComplete() const override { return !m_Complete || m_Complete(); }
  void Changed() { emit completeChanged(); }
};

}  // namespace

CNewProjectDialog::CNewProjectDialog(CKV410Doc& a_Doc, IUserInteraction& a_Ui, QWidget* a_Parent)
    : QWizard(a_Parent), m_Doc(a_Doc), m_Ui(a_Ui), m_Wizard(a_Doc.Context()) {
  setWindowTitle(Text(wintext::kNewProject));
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::NoBackButtonOnStartPage);
  BuildNamePage();
  BuildHmiPage();
  BuildPlcPage();
}

void CNewProjectDialog::BuildNamePage() {
  auto* page = new CConditionPage;
  page->setTitle(Text(wintext::kWizardNameTitle));
  m_Name = new QLineEdit;
  m_Name->setObjectName("projectName");
  m_Directory = new QLineEdit(QString::fromStdString(m_Wizard.NamePage().GetDirectory()));
  m_Directory->setObjectName("projectDirectory");
  m_Directory->setReadOnly(true);
  auto* browse = new QPushButton(Text(wintext::kBrowse));
  auto* directory = new QHBoxLayout;
  directory->addWidget(m_Directory, 1);
  directory->addWidget(browse);
  auto* form = new QFormLayout(page);
  form->addRow(Text(wintext::kNewProjectName), m_Name);
  form->addRow(Text(wintext::kProjectDirectory), directory);
  page->m_Complete = [this] { return m_Wizard.NamePage().CanFinish(); };
  connect(m_Name, &QLineEdit::textChanged, this, [this, page](const QString& a_Name) {
    m_Wizard.NamePage().SetName(a_Name.toStdString());
    m_Directory->setText(QString::fromStdString(m_Wizard.NamePage().GetDirectory()));
    page->Changed();
  });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(
        this, Text(msg::kChooseProjectFolder), QString::fromStdString(m_Wizard.NamePage().GetParent()));
    if (folder.isEmpty()) return;
    m_Wizard.NamePage().SetParentFolder(folder.toStdString());
    m_Directory->setText(QString::fromStdString(m_Wizard.NamePage().GetDirectory()));
  });
  setPage(kNamePage, page);
}

void CNewProjectDialog::BuildHmiPage() {
  auto* page = new CConditionPage;
  page->setTitle(Text(wintext::kWizardHmiTitle));
  m_Models = new QListWidget;
  m_Models->setObjectName("models");
  for (const CHardwareIndexEntry& entry : m_Doc.Context().GetHardwareLibrary().Index()) {
    m_Models->addItem(QString::fromStdString(entry.m_Description));
  }
  m_ModelData = new QLabel;
  m_ModelData->setObjectName("modelData");
  m_ModelData->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(m_Models, 1);
  layout->addWidget(m_ModelData, 1);
  page->m_Complete = [this] { return m_Wizard.HmiPage().HasModel(); };
  connect(m_Models, &QListWidget::currentRowChanged, this, [this, page](int a_Row) {
    if (a_Row >= 0) m_Wizard.HmiPage().Select(static_cast<std::size_t>(a_Row));
    QStringList lines;
    if (m_Wizard.HmiPage().HasModel()) {
      for (const std::string& line : HardwareModelTexts(m_Wizard.HmiPage().GetModel())) {
        lines << QString::fromStdString(line);
      }
    }
    m_ModelData->setText(lines.join('\n'));
    page->Changed();
  });
  if (m_Models->count() > 0) m_Models->setCurrentRow(0);
  setPage(kHmiPage, page);
}

void CNewProjectDialog::BuildPlcPage() {
  auto* page = new QWizardPage;
  page->setTitle(Text(wintext::kWizardPlcTitle));
  m_Ports = new CPortTabs(m_Doc.Context());
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(m_Ports);
  setPage(kPlcPage, page);
}

void CNewProjectDialog::initializePage(int a_Id) {
  // The ports are those of the model chosen on the page before.
  if (a_Id == kPlcPage) m_Ports->Fill(m_Wizard.PlcPage());
  QWizard::initializePage(a_Id);
}

bool CNewProjectDialog::validateCurrentPage() {
  if (currentId() != kPlcPage) return QWizard::validateCurrentPage();
  m_Ports->Store();
  // A station outside its protocol's range keeps the page open.
  if (auto problem = m_Ports->StationProblem()) {
    m_Ui.ShowMessage(*problem, msg::kAppTitle, MessageIcon::Warning);
    return false;
  }
  if (auto problem = m_Wizard.NamePage().NameProblem()) {
    m_Ui.ShowMessage(*problem, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  // The core's Finish asks its questions; the wizard stays open when it makes no project.
  return m_Wizard.Finish(m_Doc, m_Ui);
}

QComboBox* CNewProjectDialog::MakerBox(int32_t a_PortId) const { return m_Ports->MakerBox(a_PortId); }
QComboBox* CNewProjectDialog::PlcBox(int32_t a_PortId) const { return m_Ports->PlcBox(a_PortId); }
QComboBox* CNewProjectDialog::SerialTypeBox(int32_t a_PortId) const { return m_Ports->SerialTypeBox(a_PortId); }
QComboBox* CNewProjectDialog::BaudBox(int32_t a_PortId) const { return m_Ports->BaudBox(a_PortId); }
QSpinBox* CNewProjectDialog::StationBox(int32_t a_PortId) const { return m_Ports->StationBox(a_PortId); }

}  // namespace kd820
