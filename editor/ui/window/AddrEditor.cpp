#include "editor/ui/window/AddrEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/ui/window/QtText.h"
#include "editor/ui/window/ElementTexts.h"

namespace kd820 {

namespace {

const char* const kPortNames[] = {"COM0", "COM1", "COM2", "CAN"};
const char* const kInternalBitTypes[] = {"LW.B", "RW.B"};
const char* const kInternalWordTypes[] = {"LW", "RW"};

}  // namespace

CAddrEditor::CAddrEditor(const CEditorContext& a_Context, bool a_Bits, QWidget* a_Parent)
    : QWidget(a_Parent), m_Context(a_Context), m_Bits(a_Bits), m_Addr(a_Bits ? CAddr::kBit : CAddr::kWord) {
  m_Port = new QComboBox;
  m_Port->setObjectName("addrPort");
  m_Port->addItem(Text(elemtext::kInternalPort), CAddr::kInternalPort);
  for (int port = 0; port < CEditorContext::kPortCount; ++port) {
    const CPLCModel* model = m_Context.GetPortModel(port);
    // Only ports whose PLC has register types can be addressed.
    if (model != nullptr && model->HasRegisterTypes()) m_Port->addItem(kPortNames[port], port);
  }
  m_Station = new QSpinBox;
  m_Station->setObjectName("addrStation");
  m_Station->setRange(0, 255);
  m_Type = new QComboBox;
  m_Type->setObjectName("addrType");
  m_Address = new QLineEdit;
  m_Address->setObjectName("addrAddress");
  m_SubAddress = new QLineEdit;
  m_SubAddress->setObjectName("addrSubAddress");
  m_Index = new QLineEdit;
  m_Index->setObjectName("addrIndex");
  m_Bcd = new QCheckBox(Text(elemtext::kBcd));
  m_Bcd->setObjectName("addrBcd");
  m_Note = new QLineEdit;
  m_Range = new QLabel;
  m_Range->setObjectName("addrRange");
  m_Order = new QLabel;
  m_Order->setObjectName("addrOrder");

  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(Text(elemtext::kPort), m_Port);
  form->addRow(Text(elemtext::kStation), m_Station);
  form->addRow(Text(elemtext::kRegisterType), m_Type);
  form->addRow(Text(elemtext::kAddress), m_Address);
  form->addRow(Text(elemtext::kSubAddress), m_SubAddress);
  form->addRow(Text(elemtext::kIndex), m_Index);
  form->addRow(QString(), m_Bcd);
  form->addRow(Text(elemtext::kByteOrder), m_Order);
  form->addRow(Text(elemtext::kRange), m_Range);
  form->addRow(Text(elemtext::kNote), m_Note);

  connect(m_Port, &QComboBox::currentIndexChanged, this, [this] {
    if (m_Filling) return;
    // Another port: its default address, with the station its PLC starts with.
    m_Addr.ResetToPort(m_Bits ? CAddr::kBit : CAddr::kWord, m_Port->currentData().toInt(), m_Context);
    SetAddress(m_Addr);
  });
  connect(m_Type, &QComboBox::currentIndexChanged, this, [this] {
    if (!m_Filling) TypeChosen();
  });
  SetAddress(m_Addr);
}

void CAddrEditor::SetBits(bool a_Bits) {
  if (a_Bits == m_Bits) return;
  m_Bits = a_Bits;
  CAddr addr = m_Addr;
  addr.ResetToPort(a_Bits ? CAddr::kBit : CAddr::kWord, m_Addr.m_Port, m_Context);
  SetAddress(addr);
}

void CAddrEditor::SetAddress(const CAddr& a_Addr) {
  m_Filling = true;
  m_Addr.CopyFrom(a_Addr);
  int portIndex = m_Port->findData(m_Addr.m_Port);
  if (portIndex < 0) portIndex = 0;
  m_Port->setCurrentIndex(portIndex);
  FillTypes();
  m_Station->setValue(m_Addr.m_Station);
  m_Bcd->setChecked(m_Addr.m_Bcd != 0);
  m_Note->setText(QString::fromStdString(m_Addr.m_Note));
  // The number fields show the address in its type's bases.
  const std::string number = m_Addr.FormatNumber(m_Context);
  const std::size_t dot = number.find('.');
  m_Address->setText(QString::fromStdString(number.substr(0, dot)));
  m_SubAddress->setText(dot == std::string::npos ? QString() : QString::fromStdString(number.substr(dot + 1)));
  const CRegisterType* type = m_Addr.FindType(m_Context);
  m_Index->setText(m_Addr.m_HasIndex != 0 && type != nullptr
                       ? QString::fromStdString(FormatInBase(m_Addr.m_Index, type->m_IndexBase))
                       : QString());
  m_Filling = false;
  TypeChosen();
}

void CAddrEditor::FillTypes() {
  m_Type->clear();
  std::vector<std::string> names;
  if (m_Addr.IsInternal()) {
    if (m_Bits) {
      names.assign(std::begin(kInternalBitTypes), std::end(kInternalBitTypes));
    } else {
      names.assign(std::begin(kInternalWordTypes), std::end(kInternalWordTypes));
    }
  } else if (const CPLCModel* model = m_Context.GetPortModel(m_Addr.m_Port)) {
    model->ListRegisterNames(m_Bits, names);
  }
  for (const std::string& name : names) m_Type->addItem(QString::fromStdString(name));
  int typeIndex = m_Type->findText(QString::fromStdString(m_Addr.m_TypeName));
  if (typeIndex < 0 && !names.empty()) typeIndex = 0;
  m_Type->setCurrentIndex(typeIndex);
}

CAddr CAddrEditor::Chosen() const {
  CAddr addr;
  addr.CopyFrom(m_Addr);
  addr.m_Port = m_Port->currentData().toInt();
  addr.m_TypeName = m_Type->currentText().toStdString();
  addr.m_Station = addr.IsInternal() ? 0 : m_Station->value();
  addr.m_Bcd = m_Bcd->isChecked() ? 1 : 0;
  addr.m_Note = m_Note->text().toStdString();
  if (addr.IsInternal()) {
    // An internal word type stays a word, whatever width the address had.
    addr.m_Width = m_Bits ? CAddr::kBit : CAddr::kWord;
    addr.m_HasSubAddress = m_Bits ? 1 : 0;
    addr.m_HasIndex = 0;
  } else if (const CPLCModel* model = m_Context.GetPortModel(addr.m_Port)) {
    // A port type gives the address its width.
    if (const CRegisterType* type = model->FindRegisterType(m_Bits, addr.m_TypeName)) {
      addr.m_Width = type->m_Width == kWidthBit ? CAddr::kBit : type->m_Width == kWidthWord ? CAddr::kWord : CAddr::kDoubleWord;
      addr.m_HasSubAddress = type->m_HasSubAddress ? 1 : 0;
      addr.m_HasIndex = type->m_HasIndex ? 1 : 0;
    }
  }
  addr.m_Length = addr.m_Width == CAddr::kDoubleWord ? 2 : 1;
  return addr;
}

void CAddrEditor::TypeChosen() {
  const CAddr addr = Chosen();
  const bool internal = addr.IsInternal();
  m_Station->setEnabled(!internal);
  if (!internal) {
    if (const CPLCModel* model = m_Context.GetPortModel(addr.m_Port)) {
      m_Station->setRange(model->m_StationMin, std::max(model->m_StationMin, model->m_StationMax));
    }
  }
  m_SubAddress->setEnabled(addr.m_HasSubAddress != 0);
  m_Index->setEnabled(addr.m_HasIndex != 0);
  const CRegisterType* type = addr.FindType(m_Context);
  m_Order->setText(Text(type != nullptr && type->m_BigEndian ? elemtext::kBigEndian : elemtext::kLittleEndian));
  m_Range->setText(QString::fromStdString(addr.RangeText(m_Context)));
}

QString CAddrEditor::RangeHint() const { return m_Range->text(); }
QString CAddrEditor::ByteOrder() const { return m_Order->text(); }

std::optional<CAddr> CAddrEditor::Address(std::string* a_Problem) const {
  CAddr addr = Chosen();
  const auto refuse = [&](const std::string& a_Why) -> std::optional<CAddr> {
    if (a_Problem != nullptr) *a_Problem = a_Why;
    return std::nullopt;
  };
  std::string number = m_Address->text().trimmed().toStdString();
  if (addr.m_HasSubAddress != 0) number += "." + m_SubAddress->text().trimmed().toStdString();
  if (!addr.ParseNumber(number, m_Context)) {
    return refuse(std::string(Tr(elemtext::kNotANumber)) + " " + addr.RangeText(m_Context));
  }
  if (addr.m_HasIndex != 0) {
    const CRegisterType* type = addr.FindType(m_Context);
    const auto index = ParseNumberInBase(m_Index->text().trimmed().toStdString(), type->m_IndexBase);
    if (!index) return refuse(std::string(Tr(elemtext::kNotANumber)) + " " + addr.RangeText(m_Context));
    addr.m_Index = static_cast<int32_t>(*index);
  } else {
    addr.m_Index = 0;
  }
  if (auto problem = addr.Validate(m_Context)) return refuse(*problem);
  return addr;
}

}  // namespace kd820
