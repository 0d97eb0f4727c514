#include "editor/ui/window/FrameDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/ui/window/QtText.h"
#include "editor/ui/window/WindowTexts.h"

namespace kd820 {

namespace {

QSpinBox* FrameNumberBox(int a_Minimum) {
  auto* box = new QSpinBox;
  box->setRange(a_Minimum, 65535);
  return box;
}

}  // namespace

CFrameDialog::CFrameDialog(uint16_t a_Number, QWidget* a_Parent) : QDialog(a_Parent) {
  Build(true);
  m_Number->setValue(a_Number);
  // The new frame's keys lead to the neighbouring numbers.
  const auto follow = [this](int a_Value) {
    m_Up->setValue(a_Value - 1);
    // The last number has no next frame: its down key does nothing.
    m_Down->setValue(a_Value < 65535 ? a_Value + 1 : 0);
  };
  connect(m_Number, &QSpinBox::valueChanged, this, follow);
  follow(a_Number);
}

CFrameDialog::CFrameDialog(uint16_t a_Number, const CFrameFields& a_Fields, QWidget* a_Parent) : QDialog(a_Parent) {
  Build(false);
  m_Number->setValue(a_Number);
  m_Description->setText(QString::fromStdString(a_Fields.m_Description));
  m_Up->setValue(a_Fields.m_Previous);
  m_Down->setValue(a_Fields.m_Next);
}

void CFrameDialog::Build(bool a_New) {
  setWindowTitle(Text(wintext::kFrameProperties));
  m_Number = FrameNumberBox(1);
  m_Number->setEnabled(a_New);
  m_Description = new QLineEdit;
  m_Up = FrameNumberBox(0);
  m_Down = FrameNumberBox(0);
  // A new frame is given the neighbouring numbers; they are edited afterwards.
  m_Up->setEnabled(!a_New);
  m_Down->setEnabled(!a_New);
  auto* form = new QFormLayout;
  form->addRow(Text(wintext::kFrameNumber), m_Number);
  form->addRow(Text(wintext::kFrameDescription), m_Description);
  form->addRow(Text(wintext::kKeyUpTo), m_Up);
  form->addRow(Text(wintext::kKeyDownTo), m_Down);
  form->addRow(QString(), new QLabel(Text(wintext::kKeyDisabledNote)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

uint16_t CFrameDialog::Number() const { return static_cast<uint16_t>(m_Number->value()); }

CFrameFields CFrameDialog::Fields() const {
  CFrameFields fields;
  fields.m_Description = m_Description->text().toStdString();
  fields.m_Previous = static_cast<uint16_t>(m_Up->value());
  fields.m_Next = static_cast<uint16_t>(m_Down->value());
  return fields;
}

}  // namespace kd820
