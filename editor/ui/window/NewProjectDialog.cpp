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

const char* const kParityNames[] = {N_("无"), N_("奇校验"), N_("偶校验")};

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
  m_Ports = new QTabWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(m_Ports);
  setPage(kPlcPage, page);
}

void CNewProjectDialog::initializePage(int a_Id) {
  // The ports are those of the model chosen on the page before.
  if (a_Id == kPlcPage) FillPorts();
  QWizard::initializePage(a_Id);
}

void CNewProjectDialog::FillPorts() {
  m_Filling = true;
  m_Ports->clear();
  m_Tabs.clear();
  CNewProjectPlc& plc = m_Wizard.PlcPage();
  m_Tabs.reserve(plc.Ports().size());
  const CPlcLibrary& library = m_Doc.Context().GetPlcLibrary();
  for (CPortPageValues& values : plc.Ports()) {
    auto* tab = new QWidget;
    auto* form = new QFormLayout(tab);
    CPortTab& t = m_Tabs.emplace_back();
    t.m_PortId = values.m_PortId;
    m_Ports->addTab(tab, QString::fromStdString(values.m_DeviceName));
    if (!values.m_IsSerial) continue;
    t.m_Maker = new QComboBox;
    t.m_Maker->addItem(Text(wintext::kNoPlc));
    for (const CManufacturer& maker : library.Manufacturers()) t.m_Maker->addItem(QString::fromStdString(maker.m_Description));
    t.m_Plc = new QComboBox;
    t.m_SerialType = new QComboBox;
    for (int32_t code : values.m_OfferedSerialTypes) t.m_SerialType->addItem(NameOf(kSerialTypes, code), code);
    t.m_Baud = new QComboBox;
    for (const NumberedCode& rate : kBaudRates) t.m_Baud->addItem(QString::number(rate.m_Number), rate.m_Code);
    t.m_DataBits = new QComboBox;
    for (const NumberedCode& bits : kDataBits) t.m_DataBits->addItem(QString::number(bits.m_Number), bits.m_Code);
    t.m_Parity = new QComboBox;
    for (const NamedCode& parity : kParities) t.m_Parity->addItem(Text(kParityNames[parity.m_Code]), parity.m_Code);
    t.m_StopBits = new QComboBox;
    for (const NumberedCode& bits : kStopBits) t.m_StopBits->addItem(QString::number(bits.m_Number), bits.m_Code);
    t.m_Station = new QSpinBox;
    t.m_Station->setRange(0, 255);
    form->addRow(Text(wintext::kPlcMaker), t.m_Maker);
    form->addRow(Text(wintext::kPlcModel), t.m_Plc);
    form->addRow(Text(wintext::kSerialType), t.m_SerialType);
    form->addRow(Text(wintext::kBaudRate), t.m_Baud);
    form->addRow(Text(wintext::kDataBits), t.m_DataBits);
    form->addRow(Text(wintext::kParity), t.m_Parity);
    form->addRow(Text(wintext::kStopBits), t.m_StopBits);
    form->addRow(Text(wintext::kStation), t.m_Station);
    const int32_t portId = t.m_PortId;
    connect(t.m_Maker, &QComboBox::currentIndexChanged, this, [this, portId, &library](int a_Index) {
      if (m_Filling) return;
      CPortTab& tab = *const_cast<CPortTab*>(Tab(portId));
      m_Filling = true;
      tab.m_Plc->clear();
      if (a_Index > 0) {
        for (const CPlcEntry& entry : library.Manufacturers()[static_cast<std::size_t>(a_Index - 1)].m_Plcs) {
          tab.m_Plc->addItem(QString::fromStdString(entry.m_Name));
        }
      }
      m_Filling = false;
      PlcChosen(tab);
    });
    connect(t.m_Plc, &QComboBox::currentIndexChanged, this, [this, portId] {
      if (!m_Filling) PlcChosen(*const_cast<CPortTab*>(Tab(portId)));
    });
  }
  for (CPortTab& tab : m_Tabs) ShowPort(tab);
  m_Filling = false;
}

void CNewProjectDialog::PlcChosen(CPortTab& a_Tab) {
  std::optional<std::pair<std::size_t, std::size_t>> plc;
  if (a_Tab.m_Maker->currentIndex() > 0 && a_Tab.m_Plc->currentIndex() >= 0) {
    plc = {static_cast<std::size_t>(a_Tab.m_Maker->currentIndex() - 1), static_cast<std::size_t>(a_Tab.m_Plc->currentIndex())};
  }
  // The core presets the port's serial settings from the PLC's protocol.
  m_Wizard.PlcPage().ChoosePlc(a_Tab.m_PortId, plc);
  m_Filling = true;
  ShowPort(a_Tab);
  m_Filling = false;
}

void CNewProjectDialog::ShowPort(CPortTab& a_Tab) {
  CPortPageValues* values = m_Wizard.PlcPage().Port(a_Tab.m_PortId);
  if (values == nullptr || a_Tab.m_Maker == nullptr) return;
  const CPortCom& s = values->m_Settings;
  if (values->m_Plc) {
    if (a_Tab.m_Maker->currentIndex() != static_cast<int>(values->m_Plc->first) + 1) {
      a_Tab.m_Maker->setCurrentIndex(static_cast<int>(values->m_Plc->first) + 1);
      const CPlcLibrary& library = m_Doc.Context().GetPlcLibrary();
      a_Tab.m_Plc->clear();
      for (const CPlcEntry& entry : library.Manufacturers()[values->m_Plc->first].m_Plcs) {
        a_Tab.m_Plc->addItem(QString::fromStdString(entry.m_Name));
      }
    }
    a_Tab.m_Plc->setCurrentIndex(static_cast<int>(values->m_Plc->second));
  }
  const bool plc = values->m_Plc.has_value();
  for (QComboBox* box : {a_Tab.m_SerialType, a_Tab.m_Baud, a_Tab.m_DataBits, a_Tab.m_Parity, a_Tab.m_StopBits}) {
    box->setEnabled(plc);
  }
  a_Tab.m_SerialType->setCurrentIndex(std::max(0, a_Tab.m_SerialType->findData(s.m_SerialType)));
  a_Tab.m_Baud->setCurrentIndex(std::max(0, a_Tab.m_Baud->findData(s.m_BaudRate)));
  a_Tab.m_DataBits->setCurrentIndex(std::max(0, a_Tab.m_DataBits->findData(s.m_DataBits)));
  a_Tab.m_Parity->setCurrentIndex(std::max(0, a_Tab.m_Parity->findData(s.m_Parity)));
  a_Tab.m_StopBits->setCurrentIndex(std::max(0, a_Tab.m_StopBits->findData(s.m_StopBits)));
  a_Tab.m_Station->setValue(s.m_Station);
  // The station is entered only for a protocol that uses stations.
  a_Tab.m_Station->setEnabled(plc && s.m_StationUsed != 0);
}

void CNewProjectDialog::StorePorts() {
  for (const CPortTab& tab : m_Tabs) {
    CPortPageValues* values = m_Wizard.PlcPage().Port(tab.m_PortId);
    if (values == nullptr || tab.m_Maker == nullptr || !values->m_Plc) continue;
    CPortCom& s = values->m_Settings;
    s.m_SerialType = tab.m_SerialType->currentData().toInt();
    s.m_BaudRate = tab.m_Baud->currentData().toInt();
    s.m_DataBits = tab.m_DataBits->currentData().toInt();
    s.m_Parity = tab.m_Parity->currentData().toInt();
    s.m_StopBits = tab.m_StopBits->currentData().toInt();
    if (s.m_StationUsed != 0) s.m_Station = tab.m_Station->value();
  }
}

bool CNewProjectDialog::validateCurrentPage() {
  if (currentId() != kPlcPage) return QWizard::validateCurrentPage();
  StorePorts();
  // A station outside its protocol's range keeps the page open.
  for (const CPortTab& tab : m_Tabs) {
    const CPortPageValues* values = m_Wizard.PlcPage().Port(tab.m_PortId);
    if (values == nullptr || !values->m_Plc || values->m_Settings.m_StationUsed == 0) continue;
    CPLCModel model;
    if (!m_Doc.Context().GetPlcLibrary().LoadPortModel(model, values->m_Settings.m_ProtocolId)) continue;
    if (auto problem = StationProblem(values->m_Settings.m_Station, model)) {
      m_Ui.ShowMessage(values->m_DeviceName + ": " + *problem, msg::kAppTitle, MessageIcon::Warning);
      return false;
    }
  }
  if (auto problem = m_Wizard.NamePage().NameProblem()) {
    m_Ui.ShowMessage(*problem, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  // The core's Finish asks its questions; the wizard stays open when it makes no project.
  return m_Wizard.Finish(m_Doc, m_Ui);
}

QComboBox* CNewProjectDialog::MakerBox(int32_t a_PortId) const {
  const CPortTab* tab = Tab(a_PortId);
  return tab == nullptr ? nullptr : tab->m_Maker;
}
QComboBox* CNewProjectDialog::PlcBox(int32_t a_PortId) const {
  const CPortTab* tab = Tab(a_PortId);
  return tab == nullptr ? nullptr : tab->m_Plc;
}
QComboBox* CNewProjectDialog::SerialTypeBox(int32_t a_PortId) const {
  const CPortTab* tab = Tab(a_PortId);
  return tab == nullptr ? nullptr : tab->m_SerialType;
}
QComboBox* CNewProjectDialog::BaudBox(int32_t a_PortId) const {
  const CPortTab* tab = Tab(a_PortId);
  return tab == nullptr ? nullptr : tab->m_Baud;
}
QSpinBox* CNewProjectDialog::StationBox(int32_t a_PortId) const {
  const CPortTab* tab = Tab(a_PortId);
  return tab == nullptr ? nullptr : tab->m_Station;
}

const CNewProjectDialog::CPortTab* CNewProjectDialog::Tab(int32_t a_PortId) const {
  for (const CPortTab& tab : m_Tabs) {
    if (tab.m_PortId == a_PortId) return &tab;
  }
  return nullptr;
}

}  // namespace kd820
