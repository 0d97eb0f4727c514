#include "editor/ui/window/AlarmDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

#include "editor/devices/EditorContext.h"
#include "editor/fonts/FontRasterizer.h"
#include "editor/project/EditRules.h"
#include "editor/project/KV410Project.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/ElementTexts.h"
#include "editor/ui/window/SettingsTexts.h"
#include "platform/UserInteraction.h"

namespace kd820 {

using dialogparts::Text;

namespace {

constexpr uint32_t kCompareShift = 1;
const char* const kPortNames[] = {"COM0", "COM1", "COM2", "CAN"};

// A limit as typed: a signed number, held wider than 32 bits so that the check sees one that
// does not fit; beyond 64 bits it counts as the largest (or smallest) value.
int64_t LimitOf(const QLineEdit* a_Box) {
  const QString text = a_Box->text().trimmed();
  if (text.isEmpty() || text == "-") return 0;
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (ok) return value;
  return text.startsWith('-') ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

QLineEdit* LimitBox(int32_t a_Value, const char* a_Name) {
  auto* box = new QLineEdit(QString::number(a_Value));
  box->setObjectName(a_Name);
  box->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,20}"), box));
  return box;
}

QString PortText(const CAddr& a_Addr) {
  if (a_Addr.IsInternal()) return Text(elemtext::kInternalPort);
  return a_Addr.m_Port >= 0 && a_Addr.m_Port < 4 ? QString(kPortNames[a_Addr.m_Port]) : QString::number(a_Addr.m_Port);
}

}  // namespace

// ---- one alarm ----------------------------------------------------------------------------

CAlarmItemDialog::CAlarmItemDialog(const CEditorContext& a_Context, const CAlarmItem& a_Item, IUserInteraction& a_Ui,
                                   QWidget* a_Parent)
    : QDialog(a_Parent), m_Ui(a_Ui), m_Item(a_Item) {
  setWindowTitle(Text(settext::kAlarmItemTitle));
  const bool valueAlarm = (a_Item.m_Flags & CAlarmItem::kValueAlarm) != 0;
  auto* form = new QFormLayout;
  m_BitAlarm = new QRadioButton(Text(settext::kBitAlarm));
  m_BitAlarm->setObjectName("bitAlarm");
  m_ValueAlarm = new QRadioButton(Text(settext::kValueAlarm));
  m_ValueAlarm->setObjectName("valueAlarm");
  (valueAlarm ? m_ValueAlarm : m_BitAlarm)->setChecked(true);
  auto* kind = new QHBoxLayout;
  kind->addWidget(m_BitAlarm);
  kind->addWidget(m_ValueAlarm);
  form->addRow(kind);

  m_Register = new CAddrEditor(a_Context, !valueAlarm);
  m_Register->setObjectName("alarmRegister");
  m_Register->SetAddress(a_Item.m_Register);
  form->addRow(Text(settext::kRegister), m_Register);

  // A bit alarm fires on 1 or on 0.
  auto* onGroup = new QWidget;
  auto* on = new QHBoxLayout(onGroup);
  on->setContentsMargins(0, 0, 0, 0);
  m_OnOne = new QRadioButton(Text(settext::kFiresOnOne));
  m_OnOne->setObjectName("firesOnOne");
  m_OnZero = new QRadioButton(Text(settext::kFiresOnZero));
  m_OnZero->setObjectName("firesOnZero");
  ((a_Item.m_Flags & CAlarmItem::kFiresOnOne) != 0 ? m_OnOne : m_OnZero)->setChecked(true);
  on->addWidget(m_OnOne);
  on->addWidget(m_OnZero);
  form->addRow(onGroup);

  // A value alarm compares with one limit or a range.
  m_Compare = new QComboBox;
  m_Compare->setObjectName("compare");
  for (const char* name : settext::kCompareNames) m_Compare->addItem(Text(name));
  const int compare = static_cast<int>((a_Item.m_Flags & CAlarmItem::kCompareMask) >> kCompareShift);
  m_Compare->setCurrentIndex(compare < m_Compare->count() ? compare : 0);
  form->addRow(Text(settext::kCompare), m_Compare);
  m_Value = LimitBox(a_Item.m_Value, "value");
  form->addRow(Text(settext::kValue), m_Value);
  m_RangeUsed = new QCheckBox(Text(settext::kRangeUsed));
  m_RangeUsed->setObjectName("rangeUsed");
  m_RangeUsed->setChecked(a_Item.m_RangeUsed != 0);
  form->addRow(m_RangeUsed);
  m_Upper = LimitBox(a_Item.m_RangeA, "rangeUpper");
  form->addRow(Text(settext::kUpper), m_Upper);
  m_Lower = LimitBox(a_Item.m_RangeB, "rangeLower");
  form->addRow(Text(settext::kLower), m_Lower);

  m_Buzzer = new QCheckBox(Text(settext::kBuzzer));
  m_Buzzer->setObjectName("buzzer");
  m_Buzzer->setChecked((a_Item.m_Flags & CAlarmItem::kBuzzer) != 0);
  form->addRow(m_Buzzer);
  m_BuzzerSeconds = new QSpinBox;
  m_BuzzerSeconds->setObjectName("buzzerSeconds");
  m_BuzzerSeconds->setRange(0, 65535);
  m_BuzzerSeconds->setValue(a_Item.m_BuzzerSeconds);
  form->addRow(Text(settext::kBuzzerSeconds), m_BuzzerSeconds);
  m_Text = new QLineEdit(QString::fromStdString(a_Item.m_Text));
  m_Text->setObjectName("text");
  form->addRow(Text(settext::kMessage), m_Text);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(dialogparts::OkCancel(this));

  connect(m_ValueAlarm, &QRadioButton::toggled, this, [this](bool a_Value) {
    m_Register->SetBits(!a_Value);
    UpdateEnabled();
  });
  connect(m_RangeUsed, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(m_Compare, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(m_Buzzer, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void CAlarmItemDialog::UpdateEnabled() {
  const bool value = m_ValueAlarm->isChecked();
  m_OnOne->setEnabled(!value);
  m_OnZero->setEnabled(!value);
  m_Compare->setEnabled(value);
  // Only the range kinds (within, outside) use the two limits.
  const bool rangeKind = m_Compare->currentIndex() == 2 || m_Compare->currentIndex() == 3;
  m_RangeUsed->setEnabled(value && rangeKind);
  const bool range = value && rangeKind && m_RangeUsed->isChecked();
  m_Value->setEnabled(value && !range);
  m_Upper->setEnabled(range);
  m_Lower->setEnabled(range);
  m_BuzzerSeconds->setEnabled(m_Buzzer->isChecked());
}

void CAlarmItemDialog::accept() {
  std::string problem;
  std::optional<CAddr> address = m_Register->Address(&problem);
  if (!address) {
    m_Ui.ShowMessage(problem, settext::kAlarmItemTitle, MessageIcon::Warning);
    return;
  }
  CAlarmItemInput input;
  CAlarmItem& item = input.m_Item;
  item = m_Item;
  item.m_Register = *address;
  uint32_t flags = 0;
  if (m_ValueAlarm->isChecked()) {
    flags |= CAlarmItem::kValueAlarm | (static_cast<uint32_t>(m_Compare->currentIndex()) << kCompareShift);
  } else if (m_OnOne->isChecked()) {
    flags |= CAlarmItem::kFiresOnOne;
  }
  if (m_Buzzer->isChecked()) flags |= CAlarmItem::kBuzzer;
  item.m_Flags = flags;
  item.m_RangeUsed = m_RangeUsed->isEnabled() && m_RangeUsed->isChecked() ? 1 : 0;
  item.m_BuzzerSeconds = m_BuzzerSeconds->value();
  item.m_Text = m_Text->text().toStdString();
  input.m_Value = LimitOf(m_Value);
  input.m_RangeA = LimitOf(m_Upper);
  input.m_RangeB = LimitOf(m_Lower);
  if (auto message = CheckAlarmItem(input)) {
    m_Ui.ShowMessage(*message, settext::kAlarmItemTitle, MessageIcon::Warning);
    return;
  }
  item.m_Value = static_cast<int32_t>(input.m_Value);
  item.m_RangeA = static_cast<int32_t>(input.m_RangeA);
  item.m_RangeB = static_cast<int32_t>(input.m_RangeB);
  if (m_Take) {
    if (auto message = m_Take(item)) {
      m_Ui.ShowMessage(*message, settext::kAlarmItemTitle, MessageIcon::Warning);
      return;
    }
  }
  m_Item = item;
  QDialog::accept();
}

// ---- the list -----------------------------------------------------------------------------

CAlarmDialog::CAlarmDialog(const CEditorContext& a_Context, const CKV410Project& a_Project, IUserInteraction& a_Ui,
                           QWidget* a_Parent)
    : QDialog(a_Parent), m_Context(a_Context), m_Ui(a_Ui), m_Edited(a_Project.GetAlarms()) {
  setWindowTitle(Text(settext::kAlarmTitle));
  m_Grid = new QTableWidget(0, 4);
  m_Grid->setObjectName("alarms");
  m_Grid->setHorizontalHeaderLabels({Text(settext::kColumnNumber), Text(settext::kColumnPort),
                                     Text(settext::kColumnType), Text(settext::kColumnText)});
  m_Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_Grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_Grid->verticalHeader()->hide();
  m_Grid->horizontalHeader()->setStretchLastSection(true);
  m_Grid->setMinimumWidth(420);
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
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(modify);
  buttons->addWidget(remove);
  buttons->addStretch();

  auto* form = new QFormLayout;
  m_Font = new QComboBox;
  m_Font->setObjectName("font");
  m_Font->setEditable(true);
  std::vector<std::string> used = {m_Edited.m_FontName, DefaultFontName()};
  for (const auto& item : a_Project.GetLangDefine().m_Items) used.push_back(item->m_FontName);
  m_Font->addItems(dialogparts::FontFamilies(used));
  m_Font->setCurrentText(QString::fromStdString(m_Edited.m_FontName));
  form->addRow(Text(settext::kAlarmFont), m_Font);
  m_FontSize = new QComboBox;
  m_FontSize->setObjectName("fontSize");
  for (const char* size : {"8", "12", "16", "24", "32"}) m_FontSize->addItem(size);
  m_FontSize->setCurrentIndex(m_Edited.m_FontSizeIndex >= 0 && m_Edited.m_FontSizeIndex < 5 ? m_Edited.m_FontSizeIndex : 1);
  form->addRow(Text(settext::kFontSize), m_FontSize);
  m_Frame = dialogparts::FrameCombo(a_Project, m_Edited.m_AlarmFrame, "alarmFrame");
  form->addRow(Text(settext::kAlarmFrame), m_Frame);
  m_FrameOption = new QCheckBox(Text(settext::kAlarmFrameOption));
  m_FrameOption->setObjectName("alarmFrameOption");
  m_FrameOption->setChecked(m_Edited.m_AlarmFrameOption != 0);
  form->addRow(m_FrameOption);

  auto* list = new QHBoxLayout;
  list->addWidget(m_Grid, 1);
  list->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(list);
  layout->addLayout(form);
  layout->addWidget(dialogparts::OkCancel(this));
}

void CAlarmDialog::FillGrid() {
  m_Grid->setRowCount(static_cast<int>(m_Edited.m_Alarms.size()));
  for (std::size_t i = 0; i < m_Edited.m_Alarms.size(); ++i) {
    const CAlarmItem& item = m_Edited.m_Alarms[i];
    const int row = static_cast<int>(i);
    m_Grid->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
    m_Grid->setItem(row, 1, new QTableWidgetItem(PortText(item.m_Register)));
    m_Grid->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(item.m_Register.m_TypeName)));
    m_Grid->setItem(row, 3, new QTableWidgetItem(QString::fromStdString(item.m_Text)));
  }
}

bool CAlarmDialog::RunItem(CAlarmItemDialog& a_Dialog) {
  if (m_PrepareItem) m_PrepareItem(a_Dialog);
  return a_Dialog.exec() == QDialog::Accepted;
}

bool CAlarmDialog::AddItem() {
  CAlarmItemDialog dialog(m_Context, CAlarmItem{}, m_Ui, this);
  // An item equal to one in the list is refused, and the item dialog stays open.
  dialog.m_Take = [this](const CAlarmItem& a_Item) {
    std::vector<CAlarmItem> list = m_Edited.m_Alarms;
    return AddAlarmToList(list, a_Item, m_Context);
  };
  if (!RunItem(dialog)) return false;
  AddAlarmToList(m_Edited.m_Alarms, dialog.Item(), m_Context);
  FillGrid();
  m_Grid->setCurrentCell(m_Grid->rowCount() - 1, 0);
  return true;
}

bool CAlarmDialog::ModifyItem(int a_Row) {
  if (a_Row < 0 || a_Row >= static_cast<int>(m_Edited.m_Alarms.size())) return false;
  const auto at = static_cast<std::size_t>(a_Row);
  CAlarmItemDialog dialog(m_Context, m_Edited.m_Alarms[at], m_Ui, this);
  // Compared with the other items only.
  dialog.m_Take = [this, at](const CAlarmItem& a_Item) {
    std::vector<CAlarmItem> others = m_Edited.m_Alarms;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(at));
    return AddAlarmToList(others, a_Item, m_Context);
  };
  if (!RunItem(dialog)) return false;
  m_Edited.m_Alarms[at] = dialog.Item();
  FillGrid();
  m_Grid->setCurrentCell(a_Row, 0);
  return true;
}

bool CAlarmDialog::RemoveItem(int a_Row) {
  if (a_Row < 0 || a_Row >= static_cast<int>(m_Edited.m_Alarms.size())) return false;
  m_Edited.m_Alarms.erase(m_Edited.m_Alarms.begin() + a_Row);
  FillGrid();
  return true;
}

void CAlarmDialog::accept() {
  m_Edited.m_FontName = m_Font->currentText().toStdString();
  m_Edited.m_FontSizeIndex = m_FontSize->currentIndex();
  m_Edited.m_AlarmFrame = dialogparts::FrameOf(m_Frame);
  m_Edited.m_AlarmFrameOption = m_FrameOption->isChecked() ? 1 : 0;
  QDialog::accept();
}

}  // namespace kd820
