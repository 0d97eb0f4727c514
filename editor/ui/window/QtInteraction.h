#pragma once
// The document's messages and questions as message boxes over the main window.
#include "platform/UserInteraction.h"

class QWidget;

namespace kd820 {

class CQtInteraction : public IUserInteraction {
 public:
  // a_Parent (may be null) is the boxes' parent; it can be set later.
  explicit CQtInteraction(QWidget* a_Parent = nullptr) : m_Parent(a_Parent) {}
  void SetParent(QWidget* a_Parent) { m_Parent = a_Parent; }
  void ShowMessage(const std::string& a_Text, const std::string& a_Caption, MessageIcon a_Icon) override;
  Answer Ask(const std::string& a_Question, const std::string& a_Caption, Choices a_Choices,
             Answer a_Default) override;

 private:
  QWidget* m_Parent;
};

}  // namespace kd820
