#pragma once
// A user interaction for tests: scripted answers, everything shown recorded.
#include <deque>
#include <string>
#include <vector>

#include "platform/UserInteraction.h"

// Answers questions from a script and records everything it was shown; for tests. With no
// scripted answer left, a question gets its default.
class ScriptedInteraction : public IUserInteraction {
 public:
  struct Shown {
    std::string m_Text;
    std::string m_Caption;
    bool m_IsQuestion;
  };

  void QueueAnswer(Answer a_Answer) { m_Answers.push_back(a_Answer); }
  void ShowMessage(const std::string& a_Text, const std::string& a_Caption,
                   MessageIcon a_Icon) override;
  Answer Ask(const std::string& a_Question, const std::string& a_Caption, Choices a_Choices,
             Answer a_Default) override;

  const std::vector<Shown>& GetShown() const { return m_Shown; }
  std::vector<std::string> Messages() const;   // texts of messages, in order
  std::vector<std::string> Questions() const;  // texts of questions, in order
  void Clear() { m_Shown.clear(); }

 private:
  std::deque<Answer> m_Answers;
  std::vector<Shown> m_Shown;
};
