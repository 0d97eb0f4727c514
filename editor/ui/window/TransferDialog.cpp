#include "editor/ui/window/TransferDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/devices/EditorContext.h"
#include "editor/project/EditRules.h"
#include "editor/project/KV410Project.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/SettingsTexts.h"
#include "platform/UserInteraction.h"

namespace kd820 {

using dialogparts::Text;

namespace {

QSpinBox* Spin(int a_Min, int a_Max, int a_Value, const char* a_Name) {
  auto* box = new QSpinBox;
  box->setObjectName(a_Name);
  box->setRange(a_Min, std::max(a_Max, a_Value));
  box->setValue(a_Value);
  return box;
}

QGroupBox* AddressGroup(const char* a_Title, CAddrEditor* a_Editor) {
  auto* group = new QGroupBox(Text(a_Title));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(a_Editor);
  return group;
}

// An address as the list shows it: its type name followed by its number text.
QString AddressText(const CAddr& a_Addr, const CEditorContext& a_Context) {
  return QString::fromStdString(a_Addr.m_TypeName + a_Addr.FormatNumber(a_Context));
}

}  // namespace

// ---- one transfer -------------------------------------------------------------------------

CTransferItemDialog::CTransferItemDialog(const CEditorContext& a_Context, const CDataTransferItem& a_Item,
                                         IUserInteraction& a_Ui, QWidget* a_Parent)
    : QDialog(a_Parent), m_Ui(a_Ui), m_Item(a_Item) {
  setWindowTitle(Text(settext::kTransferItemTitle));
  m_Source = new CAddrEditor(a_Context, false);
  m_Source->setObjectName("source");
  m_Source->SetAddress(a_Item.m_Source);
  m_Destination = new CAddrEditor(a_Context, false);
  m_Destination->setObjectName("destination");
  m_Destination->SetAddress(a_Item.m_Destination);

  auto* trigger = new QGroupBox(Text(settext::kColumnTrigger));
  auto* triggerForm = new QFormLayout(trigger);
  m_Periodic = new QRadioButton(Text(settext::kPeriodic));
  m_Periodic->setObjectName("periodic");
  m_RegisterTrigger = new QRadioButton(Text(settext::kRegisterTrigger));
  m_RegisterTrigger->setObjectName("registerTrigger");
  (a_Item.m_Periodic != 0 || a_Item.m_EdgeMode == CDataTransferItem::kNoEdge ? m_Periodic : m_RegisterTrigger)
      ->setChecked(true);
  m_Period = Spin(0, 0x7fffffff, a_Item.m_Period, "period");
  triggerForm->addRow(m_Periodic);
  triggerForm->addRow(Text(settext::kPeriod), m_Period);
  triggerForm->addRow(m_RegisterTrigger);
  m_Edge = new QComboBox;
  m_Edge->setObjectName("edge");
  for (int mode = CDataTransferItem::kRising; mode <= CDataTransferItem::kBothEdges; ++mode) {
    m_Edge->addItem(Text(settext::kEdgeNames[mode]), mode);
  }
  m_Edge->setCurrentIndex(std::max(0, m_Edge->findData(a_Item.m_EdgeMode)));
  triggerForm->addRow(Text(settext::kEdge), m_Edge);
  m_Trigger = new CAddrEditor(a_Context, true);
  m_Trigger->setObjectName("trigger");
  m_Trigger->SetAddress(a_Item.m_Trigger);
  triggerForm->addRow(Text(settext::kColumnTriggerAddress), m_Trigger);

  auto* form = new QFormLayout;
  m_Count = Spin(0, 32767, a_Item.m_Count, "count");
  form->addRow(Text(settext::kColumnCount), m_Count);
  m_Limit = Spin(0, 32767, a_Item.m_ExecutionLimit, "executionLimit");
  auto* limit = new QHBoxLayout;
  limit->addWidget(m_Limit);
  limit->addWidget(new QLabel(Text(settext::kLimitNote)));
  form->addRow(Text(settext::kColumnLimit), limit);
  m_Frame = Spin(0, 32767, a_Item.m_Frame, "frame");
  auto* frame = new QHBoxLayout;
  frame->addWidget(m_Frame);
  frame->addWidget(new QLabel(Text(settext::kFrameAlways)));
  form->addRow(Text(settext::kColumnFrame), frame);

  auto* ends = new QHBoxLayout;
  ends->addWidget(AddressGroup(settext::kColumnSource, m_Source));
  ends->addWidget(AddressGroup(settext::kColumnDestination, m_Destination));
  auto* lower = new QHBoxLayout;
  lower->addWidget(trigger);
  lower->addLayout(form);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(ends);
  layout->addLayout(lower);
  layout->addWidget(dialogparts::OkCancel(this));
  connect(m_Periodic, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void CTransferItemDialog::UpdateEnabled() {
  const bool periodic = m_Periodic->isChecked();
  m_Period->setEnabled(periodic);
  m_Edge->setEnabled(!periodic);
  m_Trigger->setEnabled(!periodic);
}

void CTransferItemDialog::accept() {
  CDataTransferItem item = m_Item;
  std::string problem;
  const auto address = [&](CAddrEditor& a_Editor, CAddr& a_Into) {
    std::optional<CAddr> addr = a_Editor.Address(&problem);
    if (addr) a_Into = *addr;
    return addr.has_value();
  };
  if (!address(*m_Source, item.m_Source) || !address(*m_Destination, item.m_Destination)) {
    m_Ui.ShowMessage(problem, settext::kTransferItemTitle, MessageIcon::Warning);
    return;
  }
  if (m_Periodic->isChecked()) {
    // The trigger bit is kept as it was; only an edge reads it.
    item.m_Periodic = 1;
    item.m_EdgeMode = CDataTransferItem::kNoEdge;
    item.m_Period = m_Period->value();
  } else {
    if (!address(*m_Trigger, item.m_Trigger)) {
      m_Ui.ShowMessage(problem, settext::kTransferItemTitle, MessageIcon::Warning);
      return;
    }
    item.m_Periodic = 0;
    item.m_EdgeMode = m_Edge->currentData().toInt();
  }
  item.m_Count = static_cast<int16_t>(m_Count->value());
  item.m_ExecutionLimit = static_cast<int16_t>(m_Limit->value());
  item.m_Frame = static_cast<int16_t>(m_Frame->value());
  std::optional<std::string> message = CheckTransferItem(item);
  if (!message && m_Take) message = m_Take(item);
  if (message) {
    m_Ui.ShowMessage(*message, settext::kTransferItemTitle, MessageIcon::Warning);
    return;
  }
  m_Item = item;
  QDialog::accept();
}

// ---- the list -----------------------------------------------------------------------------

CTransferDialog::CTransferDialog(const CEditorContext& a_Context, const CKV410Project& a_Project,
                                 IUserInteraction& a_Ui, QWidget* a_Parent)
    : QDialog(a_Parent), m_Context(a_Context), m_Ui(a_Ui), m_Edited(a_Project.GetTransfers()) {
  setWindowTitle(Text(settext::kTransferTitle));
  m_Grid = new QTableWidget(0, 8);
  m_Grid->setObjectName("transfers");
  m_Grid->setHorizontalHeaderLabels({Text(settext::kColumnNumber), Text(settext::kColumnTrigger),
                                     Text(settext::kColumnSource), Text(settext::kColumnDestination),
                                     Text(settext::kColumnCount), Text(settext::kColumnLimit),
                                     Text(settext::kColumnFrame), Text(settext::kColumnTriggerAddress)});
  m_Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_Grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_Grid->verticalHeader()->hide();
  m_Grid->horizontalHeader()->setStretchLastSection(true);
  m_Grid->horizontalHeader()->setDefaultSectionSize(84);
  m_Grid->setMinimumWidth(8 * 84 + 4);
  FillGrid();
  auto* add = new QPushButton(Text(settext::kAdd));
  add->setObjectName("add");
  auto* modify = new QPushButton(Text(settext::kModify));
  modify->setObjectName("modify");
  auto* remove = new QPushButton(Text(settext::kRemove));
  remove->setObjectName("remove");
  for (QPushButton* button : {add, modify, remove}) button->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, [this] { AddItem(); });
  connect(modify, &QPushButton::clicked, this, [this] { ModifyItem(m_Grid->currentRow()); });
  connect(remove, &QPushButton::clicked, this, [this] { RemoveItem(m_Grid->currentRow()); });
  connect(m_Grid, &QTableWidget::cellDoubleClicked, this, [this](int a_Row) { ModifyItem(a_Row); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(modify);
  buttons->addWidget(remove);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_Grid, 1);
  layout->addLayout(buttons);
  layout->addWidget(dialogparts::OkCancel(this));
}

void CTransferDialog::FillGrid() {
  m_Grid->setRowCount(static_cast<int>(m_Edited.m_Items.size()));
  for (std::size_t i = 0; i < m_Edited.m_Items.size(); ++i) {
    const CDataTransferItem& item = m_Edited.m_Items[i];
    const int row = static_cast<int>(i);
    const char* trigger = item.m_Periodic != 0                             ? settext::kPeriodic
                          : item.m_EdgeMode != CDataTransferItem::kNoEdge ? settext::kRegisterTrigger
                                                                           : "";
    const QString cells[] = {QString::number(row + 1),
                             Text(trigger),
                             AddressText(item.m_Source, m_Context),
                             AddressText(item.m_Destination, m_Context),
                             QString::number(item.m_Count),
                             QString::number(item.m_ExecutionLimit),
                             QString::number(item.m_Frame),
                             item.m_Periodic != 0 ? QString() : AddressText(item.m_Trigger, m_Context)};
    for (int column = 0; column < 8; ++column) m_Grid->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
}

bool CTransferDialog::RunItem(CTransferItemDialog& a_Dialog) {
  if (m_PrepareItem) m_PrepareItem(a_Dialog);
  return a_Dialog.exec() == QDialog::Accepted;
}

bool CTransferDialog::AddItem() {
  CTransferItemDialog dialog(m_Context, CDataTransferItem{}, m_Ui, this);
  // A transfer equal to one in the list is refused, and the item dialog stays open.
  dialog.m_Take = [this](const CDataTransferItem& a_Item) {
    std::vector<CDataTransferItem> list = m_Edited.m_Items;
    return AddTransferToList(list, a_Item, m_Context);
  };
  if (!RunItem(dialog)) return false;
  m_Edited.m_Items.push_back(dialog.Item());
  FillGrid();
  m_Grid->setCurrentCell(m_Grid->rowCount() - 1, 0);
  return true;
}

bool CTransferDialog::ModifyItem(int a_Row) {
  if (a_Row < 0 || a_Row >= static_cast<int>(m_Edited.m_Items.size())) return false;
  const auto at = static_cast<std::size_t>(a_Row);
  CTransferItemDialog dialog(m_Context, m_Edited.m_Items[at], m_Ui, this);
  dialog.m_Take = [this, at](const CDataTransferItem& a_Item) {
    std::vector<CDataTransferItem> others = m_Edited.m_Items;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(at));
    return AddTransferToList(others, a_Item, m_Context);
  };
  if (!RunItem(dialog)) return false;
  m_Edited.m_Items[at] = dialog.Item();
  FillGrid();
  m_Grid->setCurrentCell(a_Row, 0);
  return true;
}

bool CTransferDialog::RemoveItem(int a_Row) {
  if (a_Row < 0 || a_Row >= static_cast<int>(m_Edited.m_Items.size())) return false;
  m_Edited.m_Items.erase(m_Edited.m_Items.begin() + a_Row);
  FillGrid();
  return true;
}

}  // namespace kd820
