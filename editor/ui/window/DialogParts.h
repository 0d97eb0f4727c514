#pragma once
// Pieces the settings dialogs share: texts, the frame-number combo and the OK/Cancel row
// (Enter = OK, Esc = Cancel).
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QStringList>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/QtText.h"

namespace kd820::dialogparts {

// The catalogue's texts, as in every window.
using ::kd820::Text;

// The numbers of the project's frames in list order, a_Value selected; a number no frame has
// is offered too, so that OK keeps it.
inline QComboBox* FrameCombo(const CKV410Project& a_Project, int32_t a_Value, const char* a_Name) {
  auto* box = new QComboBox;
  box->setObjectName(a_Name);
  for (const auto& frame : a_Project.GetFrames()) box->addItem(QString::number(frame->GetNumber()), frame->GetNumber());
  if (box->findData(a_Value) < 0) box->addItem(QString::number(a_Value), a_Value);
  box->setCurrentIndex(box->findData(a_Value));
  return box;
}

inline int32_t FrameOf(const QComboBox* a_Box) { return a_Box->currentData().toInt(); }

// The font families offered: the names the project already uses (which the application's
// font configuration maps to installed fonts), then the families fontconfig lists.
inline QStringList FontFamilies(const std::vector<std::string>& a_Used) {
  QStringList families;
  for (const std::string& name : a_Used) {
    if (!name.empty() && !families.contains(QString::fromStdString(name))) families << QString::fromStdString(name);
  }
  for (const QString& family : QFontDatabase::families()) {
    if (!families.contains(family)) families << family;
  }
  return families;
}

// OK (the default button: Enter) and Cancel (also Esc) wired to the dialog.
inline QDialogButtonBox* OkCancel(QDialog* a_Dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(Text("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(Text("取消"));
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, a_Dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, a_Dialog, &QDialog::reject);
  return buttons;
}

}  // namespace kd820::dialogparts
