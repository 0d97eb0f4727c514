#pragma once
// The properties dialog of an element, one layout per element kind: the position and the
// flags every element has, then the kind's own settings, its register address and, for the
// text kinds, font and language. The dialog edits its own copy; ApplyTo writes what was
// entered to an element, so that the caller records it as one step.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QFormLayout;
class QHBoxLayout;
class QTabWidget;
class IUserInteraction;

namespace kd820 {

class CAddrEditor;
class CEditorContext;
class CGraphElement;
class CKV410Project;

class CElementDialog : public QDialog {
  Q_OBJECT

 public:
  // Problems with what was entered go to a_Ui.
  CElementDialog(CEditorContext& a_Context, const CKV410Project& a_Project, const CGraphElement& a_Element,
                 IUserInteraction& a_Ui, QWidget* a_Parent = nullptr);
  ~CElementDialog() override;

  // Writes the entered settings to a_Element (of the dialog's kind); the text kinds size
  // themselves afterwards.
  void ApplyTo(CGraphElement& a_Element) const;
  // The first address that does not convert or fit its type's range; empty when all do.
  std::string AddressProblem() const;
  // The address editor of the element (null for the kinds without a register).
  CAddrEditor* AddrEditor() const { return m_Addr; }

  // Refuses OK while an address is wrong.
  void accept() override;

 private:
  using Writer = std::function<void(CGraphElement&)>;
  void BuildGeneral(QFormLayout* a_Form);
  void BuildKind(QFormLayout* a_Form);
  void AddAddressPage(bool a_Bits);
  // The place in the frame's focus order (register and function key).
  void AddInputOrder(QFormLayout* a_Form);
  void AddFont(QFormLayout* a_Form, int32_t a_SizeIndex, const std::string& a_Face, int32_t a_Builtin);

  CEditorContext& m_Context;
  const CKV410Project& m_Project;
  std::unique_ptr<CGraphElement> m_Copy;
  IUserInteraction& m_Ui;
  QTabWidget* m_Tabs = nullptr;
  QHBoxLayout* m_General = nullptr;
  CAddrEditor* m_Addr = nullptr;
  QCheckBox* m_DoubleSize = nullptr;
  bool m_SelfSizing = false;
  std::vector<Writer> m_Writers;
};

}  // namespace kd820
