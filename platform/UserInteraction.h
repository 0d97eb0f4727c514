#pragma once
// Messages and questions put to the user. The editor core reports through this interface;
// the terminal front-end (TerminalInteraction.h) and the tests provide implementations.
#include <string>

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
