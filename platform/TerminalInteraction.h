#pragma once
// The terminal's user interaction, for the command-line front-ends.
#include <optional>

#include "platform/UserInteraction.h"

// Writes messages to standard error. Questions are answered by a preset answer (--yes /
// --no), else read from the terminal; without a terminal they are refused (No, or Cancel
// when Cancel is offered) with a hint.
class TerminalInteraction : public IUserInteraction {
 public:
  explicit TerminalInteraction(std::optional<Answer> a_Preset = std::nullopt);
  void ShowMessage(const std::string& a_Text, const std::string& a_Caption,
                   MessageIcon a_Icon) override;
  Answer Ask(const std::string& a_Question, const std::string& a_Caption, Choices a_Choices,
             Answer a_Default) override;

 private:
  std::optional<Answer> m_Preset;
};
