#include "editor/ui/window/PortTabs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/base/CodeTables.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/SettingsTexts.h"
#include "editor/ui/window/WindowTexts.h"

namespace kd820 {

using dialogparts::Text;

namespace {

const char* const kParityNames[] = {N_("无校验"), N_("奇校验"), N_("偶校验")};
// The compatible-PLC list shows at most this many names.
constexpr std::size_t kMaxCompatible = 7;

struct CAdvancedField {
  const char* m_Label;
  int32_t CPortCom::*m_Field;
  int m_Max;
};

const CAdvancedField kAdvancedFields[] = {
    {settext::kResponseTimeout, &CPortCom::m_ResponseTimeout, 65535},
    {settext::kProtocolTimeout1, &CPortCom::m_ProtocolTimeout1, 65535},
    {settext::kProtocolTimeout2, &CPortCom::m_ProtocolTimeout2, 65535},
    {settext::kWordPacketMax, &CPortCom::m_WordPacketMax, 65535},
    {settext::kBitPacketMax, &CPortCom::m_BitPacketMax, 65535},
    {settext::kWordInterval, &CPortCom::m_WordPackingInterval, 255},
    {settext::kBitInterval, &CPortCom::m_BitPackingInterval, 255},
    {settext::kCommInterval, &CPortCom::m_CommunicationInterval, 255},
    {settext::kMessageTime, &CPortCom::m_MessageTime, 255},
    {settext::kRetryCount, &CPortCom::m_RetryCount, 255},
};

}  // namespace

// ---- advanced settings ---------------------------------------------------------------------

CAdvancedPortDialog::CAdvancedPortDialog(const CPortCom& a_Settings, std::optional<CPortCom> a_Defaults,
                                         QWidget* a_Parent)
    : QDialog(a_Parent), m_Defaults(std::move(a_Defaults)) {
  setWindowTitle(Text(settext::kAdvancedTitle));
  auto* form = new QFormLayout;
  for (const CAdvancedField& field : kAdvancedFields) {
    auto* box = new QSpinBox;
    // The stored value is shown even when it lies beyond what the record holds.
    box->setRange(0, std::max(field.m_Max, a_Settings.*field.m_Field));
    form->addRow(Text(field.m_Label), box);
    m_Fields.push_back(box);
  }
  m_Retry = new QRadioButton(Text(settext::kRetry));
  m_Cut = new QRadioButton(Text(settext::kCut));
  auto* after = new QHBoxLayout;
  after->addWidget(m_Retry);
  after->addWidget(m_Cut);
  form->addRow(Text(settext::kAfterRetries), after);
  auto* restore = new QPushButton(Text(settext::kRestoreAdvanced));
  restore->setAutoDefault(false);
  restore->setEnabled(m_Defaults.has_value());
  connect(restore, &QPushButton::clicked, this, [this] { RestoreDefaults(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(restore, 0, Qt::AlignLeft);
  layout->addWidget(dialogparts::OkCancel(this));
  Show(a_Settings);
}

void CAdvancedPortDialog::Show(const CPortCom& a_Settings) {
  for (std::size_t i = 0; i < m_Fields.size(); ++i) m_Fields[i]->setValue(a_Settings.*kAdvancedFields[i].m_Field);
  (a_Settings.m_RetryAfterFailure != 0 ? m_Retry : m_Cut)->setChecked(true);
}

void CAdvancedPortDialog::RestoreDefaults() {
  if (m_Defaults) Show(*m_Defaults);
}

void CAdvancedPortDialog::ApplyTo(CPortCom& a_Settings) const {
  for (std::size_t i = 0; i < m_Fields.size(); ++i) a_Settings.*kAdvancedFields[i].m_Field = m_Fields[i]->value();
  a_Settings.m_RetryAfterFailure = m_Retry->isChecked() ? 1 : 0;
}

// ---- the tabs ------------------------------------------------------------------------------

CPortTabs::CPortTabs(CEditorContext& a_Context, QWidget* a_Parent) : QTabWidget(a_Parent), m_Context(a_Context) {}

void CPortTabs::Fill(CNewProjectPlc& a_Page) {
  m_Page = &a_Page;
  m_Filling = true;
  clear();
  m_Tabs.clear();
  m_Tabs.reserve(a_Page.Ports().size());
  const CPlcLibrary& library = m_Context.GetPlcLibrary();
  for (CPortPageValues& values : a_Page.Ports()) {
    auto* tab = new QWidget;
    CTab& t = m_Tabs.emplace_back();
    t.m_PortId = values.m_PortId;
    addTab(tab, QString::fromStdString(values.m_DeviceName));
    if (!values.m_IsSerial) {
      auto* can = new QVBoxLayout(tab);
      can->addWidget(new QLabel(Text(settext::kCanPage)));
      can->addStretch();
      continue;
    }
    auto* form = new QFormLayout;
    t.m_Maker = new QComboBox;
    t.m_Maker->setObjectName("maker");
    t.m_Maker->addItem(Text(wintext::kNoPlc));
    for (const CManufacturer& maker : library.Manufacturers()) t.m_Maker->addItem(QString::fromStdString(maker.m_Description));
    t.m_Plc = new QComboBox;
    t.m_Plc->setObjectName("plc");
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
    t.m_Compatible = new QListWidget;
    t.m_Compatible->setObjectName("compatible");
    t.m_Compatible->setFocusPolicy(Qt::NoFocus);
    t.m_Compatible->setSelectionMode(QAbstractItemView::NoSelection);
    t.m_Restore = new QPushButton(Text(settext::kRestoreDefaults));
    t.m_Restore->setAutoDefault(false);
    t.m_Advanced = new QPushButton(Text(settext::kAdvanced));
    t.m_Advanced->setAutoDefault(false);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(Text(settext::kCompatible)));
    side->addWidget(t.m_Compatible, 1);
    side->addWidget(t.m_Restore);
    side->addWidget(t.m_Advanced);
    auto* columns = new QHBoxLayout(tab);
    columns->addLayout(form, 1);
    columns->addLayout(side);

    const int32_t portId = t.m_PortId;
    connect(t.m_Maker, &QComboBox::currentIndexChanged, this, [this, portId, &library](int a_Index) {
      if (m_Filling) return;
      CTab& tab = *Tab(portId);
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
      if (!m_Filling) PlcChosen(*Tab(portId));
    });
    connect(t.m_Restore, &QPushButton::clicked, this, [this, portId] {
      CTab& tab = *Tab(portId);
      m_Page->RestoreDefaults(portId);
      m_Filling = true;
      Show(tab);
      m_Filling = false;
    });
    connect(t.m_Advanced, &QPushButton::clicked, this, [this, portId] { RunAdvanced(portId); });
  }
  for (CTab& tab : m_Tabs) Show(tab);
  m_Filling = false;
}

void CPortTabs::PlcChosen(CTab& a_Tab) {
  std::optional<std::pair<std::size_t, std::size_t>> plc;
  if (a_Tab.m_Maker->currentIndex() > 0 && a_Tab.m_Plc->currentIndex() >= 0) {
    plc = {static_cast<std::size_t>(a_Tab.m_Maker->currentIndex() - 1),
           static_cast<std::size_t>(a_Tab.m_Plc->currentIndex())};
  }
  // The core presets the port's serial settings from the PLC's protocol.
  m_Page->ChoosePlc(a_Tab.m_PortId, plc);
  m_Filling = true;
  Show(a_Tab);
  m_Filling = false;
}

void CPortTabs::Show(CTab& a_Tab) {
  CPortPageValues* values = m_Page == nullptr ? nullptr : m_Page->Port(a_Tab.m_PortId);
  if (values == nullptr || a_Tab.m_Maker == nullptr) return;
  const CPortCom& s = values->m_Settings;
  const CPlcLibrary& library = m_Context.GetPlcLibrary();
  if (values->m_Plc) {
    if (a_Tab.m_Maker->currentIndex() != static_cast<int>(values->m_Plc->first) + 1) {
      a_Tab.m_Maker->setCurrentIndex(static_cast<int>(values->m_Plc->first) + 1);
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
  a_Tab.m_Restore->setEnabled(plc);
  a_Tab.m_Advanced->setEnabled(plc);
  a_Tab.m_SerialType->setCurrentIndex(std::max(0, a_Tab.m_SerialType->findData(s.m_SerialType)));
  a_Tab.m_Baud->setCurrentIndex(std::max(0, a_Tab.m_Baud->findData(s.m_BaudRate)));
  a_Tab.m_DataBits->setCurrentIndex(std::max(0, a_Tab.m_DataBits->findData(s.m_DataBits)));
  a_Tab.m_Parity->setCurrentIndex(std::max(0, a_Tab.m_Parity->findData(s.m_Parity)));
  a_Tab.m_StopBits->setCurrentIndex(std::max(0, a_Tab.m_StopBits->findData(s.m_StopBits)));
  a_Tab.m_Station->setValue(s.m_Station);
  // The station is entered only for a protocol that uses stations.
  a_Tab.m_Station->setEnabled(plc && s.m_StationUsed != 0);
  a_Tab.m_Compatible->clear();
  CPLCModel model;
  if (plc && library.LoadPortModel(model, s.m_ProtocolId)) {
    for (std::size_t i = 0; i < model.m_SupportedPlcs.size() && i < kMaxCompatible; ++i) {
      a_Tab.m_Compatible->addItem(QString::fromStdString(model.m_SupportedPlcs[i]));
    }
  }
}

void CPortTabs::StoreTab(const CTab& a_Tab) {
  CPortPageValues* values = m_Page == nullptr ? nullptr : m_Page->Port(a_Tab.m_PortId);
  if (values == nullptr || a_Tab.m_Maker == nullptr || !values->m_Plc) return;
  CPortCom& s = values->m_Settings;
  s.m_SerialType = a_Tab.m_SerialType->currentData().toInt();
  s.m_BaudRate = a_Tab.m_Baud->currentData().toInt();
  s.m_DataBits = a_Tab.m_DataBits->currentData().toInt();
  s.m_Parity = a_Tab.m_Parity->currentData().toInt();
  s.m_StopBits = a_Tab.m_StopBits->currentData().toInt();
  if (s.m_StationUsed != 0) s.m_Station = a_Tab.m_Station->value();
}

void CPortTabs::Store() {
  for (const CTab& tab : m_Tabs) StoreTab(tab);
}

std::optional<std::string> CPortTabs::StationProblem() const {
  if (m_Page == nullptr) return std::nullopt;
  for (const CTab& tab : m_Tabs) {
    const CPortPageValues* values = m_Page->Port(tab.m_PortId);
    if (values == nullptr || !values->m_Plc || values->m_Settings.m_StationUsed == 0) continue;
    CPLCModel model;
    if (!m_Context.GetPlcLibrary().LoadPortModel(model, values->m_Settings.m_ProtocolId)) continue;
    if (auto problem = kd820::StationProblem(values->m_Settings.m_Station, model)) {
      return values->m_DeviceName + ": " + *problem;
    }
  }
  return std::nullopt;
}

bool CPortTabs::RunAdvanced(int32_t a_PortId) {
  CTab* tab = Tab(a_PortId);
  CPortPageValues* values = m_Page == nullptr ? nullptr : m_Page->Port(a_PortId);
  if (tab == nullptr || values == nullptr || !values->m_Plc) return false;
  // What the basic controls show is kept while the advanced fields are edited.
  StoreTab(*tab);
  CAdvancedPortDialog dialog(values->m_Settings, m_Page->ProtocolDefaults(a_PortId), this);
  if (m_PrepareAdvanced) m_PrepareAdvanced(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.ApplyTo(values->m_Settings);
  return true;
}

CPortTabs::CTab* CPortTabs::Tab(int32_t a_PortId) {
  for (CTab& tab : m_Tabs) {
    if (tab.m_PortId == a_PortId) return &tab;
  }
  return nullptr;
}

const CPortTabs::CTab* CPortTabs::Tab(int32_t a_PortId) const {
  for (const CTab& tab : m_Tabs) {
    if (tab.m_PortId == a_PortId) return &tab;
  }
  return nullptr;
}

#define KD_TAB_ACCESSOR(a_Type, a_Name, a_Member)          \
  a_Type* CPortTabs::a_Name(int32_t a_PortId) const {      \
    const CTab* tab = Tab(a_PortId);                       \
    return tab == nullptr ? nullptr : tab->a_Member;       \
  }
KD_TAB_ACCESSOR(QComboBox, MakerBox, m_Maker)
KD_TAB_ACCESSOR(QComboBox, PlcBox, m_Plc)
KD_TAB_ACCESSOR(QComboBox, SerialTypeBox, m_SerialType)
KD_TAB_ACCESSOR(QComboBox, BaudBox, m_Baud)
KD_TAB_ACCESSOR(QComboBox, DataBitsBox, m_DataBits)
KD_TAB_ACCESSOR(QComboBox, ParityBox, m_Parity)
KD_TAB_ACCESSOR(QComboBox, StopBitsBox, m_StopBits)
KD_TAB_ACCESSOR(QSpinBox, StationBox, m_Station)
KD_TAB_ACCESSOR(QListWidget, CompatibleList, m_Compatible)
KD_TAB_ACCESSOR(QPushButton, RestoreButton, m_Restore)
#undef KD_TAB_ACCESSOR

}  // namespace kd820
