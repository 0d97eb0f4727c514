#pragma once
// The dialog "语言设置": the number of languages, per language its language and font, and
// the language of the panel's own messages. Languages are the locales the catalogue knows,
// fonts the families fontconfig lists. The checks and what OK stores are the core's
// (ApplyLanguageDialog).
#include <QDialog>
#include <array>
#include <vector>

#include "editor/project/EditRules.h"
#include "editor/project/LangDefine.h"

class QComboBox;
class IUserInteraction;

namespace kd820 {

class CKV410Project;

class CLanguageDialog : public QDialog {
  Q_OBJECT

 public:
  CLanguageDialog(const CKV410Project& a_Project, IUserInteraction& a_Ui, QWidget* a_Parent = nullptr);

  // What was entered (valid after OK): store it with ApplyLanguageDialog.
  int Count() const;
  std::vector<CLanguageRow> Rows() const;
  bool MessagesInFirstLanguage() const;

  QComboBox& CountBox() { return *m_Count; }
  QComboBox& LanguageBox(int a_Row) { return *m_Languages[static_cast<std::size_t>(a_Row)]; }
  QComboBox& FontBox(int a_Row) { return *m_Fonts[static_cast<std::size_t>(a_Row)]; }
  QComboBox& MessagesBox() { return *m_Messages; }

  // Keeps the dialog open with the core's message while a row is incomplete.
  void accept() override;

 private:
  void UpdateEnabled();

  IUserInteraction& m_Ui;
  QComboBox* m_Count = nullptr;
  std::array<QComboBox*, CLangDefine::kMaxLanguages> m_Languages{};
  std::array<QComboBox*, CLangDefine::kMaxLanguages> m_Fonts{};
  QComboBox* m_Messages = nullptr;
};

}  // namespace kd820
