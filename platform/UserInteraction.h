#pragma once
// Messages and questions put to the user. The editor core reports through this interface;
// the terminal front-end and the tests provide implementations.
#include <deque>
#include <optional>
#include <string>
#include <vector>

enum class MessageIcon { Information, Warning, Error, Question };
enum class Answer { Yes, No, Cancel };
enum class Choices { YesNo, YesNoCancel };

class IUserInteraction {
 public:
  virtual ~IUserInteraction() = default;
  virtual void ShowMessage(const std::string& a_Text, const std::string& a_Caption,
                           MessageIcon a_Icon) = 0;
  virtual Answer Ask(const std::string& a_Question, const std::string& a_Caption,
                     Choices a_Choices, Answer a_Default) = 0;
};

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
