#include "tests/ScriptedInteraction.h"

void ScriptedInteraction::ShowMessage(const std::string& a_Text, const std::string& a_Caption,
                                      MessageIcon) {
  m_Shown.push_back({a_Text, a_Caption, false});
}

Answer ScriptedInteraction::Ask(const std::string& a_Question, const std::string& a_Caption,
                                Choices, Answer a_Default) {
  m_Shown.push_back({a_Question, a_Caption, true});
  if (m_Answers.empty()) return a_Default;
  const Answer a = m_Answers.front();
  m_Answers.pop_front();
  return a;
}

std::vector<std::string> ScriptedInteraction::Messages() const {
  std::vector<std::string> out;
  for (const auto& s : m_Shown) {
    if (!s.m_IsQuestion) out.push_back(s.m_Text);
  }
  return out;
}

std::vector<std::string> ScriptedInteraction::Questions() const {
  std::vector<std::string> out;
  for (const auto& s : m_Shown) {
    if (s.m_IsQuestion) out.push_back(s.m_Text);
  }
  return out;
}
