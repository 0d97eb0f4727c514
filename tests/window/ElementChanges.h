#pragma once
// One change of every element kind, made in its properties dialog and the same made through
// the core, for the window's tests that compare the two.
#include <QWidget>
#include <functional>
#include <vector>

#include "editor/ui/window/ElementDialog.h"

namespace kd820 {
class CAddr;
class CGraphElement;
class CEditorContext;
}  // namespace kd820

namespace test {

// The dialog's field of that object name (the test stops when there is none).
template <class W>
W& Field(kd820::CElementDialog& a_Dialog, const char* a_Name) {
  W* widget = a_Dialog.findChild<W*>(a_Name);
  if (widget == nullptr) qFatal("no field %s", a_Name);
  return *widget;
}

// Enters an internal address in the dialog's address editor.
void SetAddr(kd820::CElementDialog& a_Dialog, const char* a_Type, const char* a_Address, const char* a_Sub = nullptr);
// The internal address the dialog's editor gives for the same entries.
void SetAddr(kd820::CAddr& a_Addr, const char* a_Type, int32_t a_Address, int32_t a_Sub = 0);

// A change of one kind: in the dialog, and the same through the core.
struct CKindChange {
  int32_t m_Type;
  std::function<void(kd820::CElementDialog&)> m_InDialog;
  std::function<void(kd820::CGraphElement&, kd820::CEditorContext&)> m_InCore;
};

// A change of every kind, in the order of the type codes.
std::vector<CKindChange> Changes();

}  // namespace test
