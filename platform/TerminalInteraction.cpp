#include "platform/TerminalInteraction.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

TerminalInteraction::TerminalInteraction(std::optional<Answer> a_Preset) : m_Preset(a_Preset) {}

void TerminalInteraction::ShowMessage(const std::string& a_Text, const std::string& a_Caption,
                                      MessageIcon a_Icon) {
  const char* level = a_Icon == MessageIcon::Error     ? "error"
                      : a_Icon == MessageIcon::Warning ? "warning"
                                                       : "note";
  std::cerr << "KD820: " << level << ": ";
  if (!a_Caption.empty() && a_Caption != "KD820") std::cerr << a_Caption << ": ";
  std::cerr << a_Text << "\n";
}

Answer TerminalInteraction::Ask(const std::string& a_Question, const std::string& a_Caption,
                                Choices a_Choices, Answer a_Default) {
  const bool cancel = a_Choices == Choices::YesNoCancel;
  const Answer refusal = cancel ? Answer::Cancel : Answer::No;
  std::string prefix = a_Caption.empty() || a_Caption == "KD820" ? std::string() : a_Caption + ": ";
  if (m_Preset) {
    const Answer a = (*m_Preset == Answer::Cancel && !cancel) ? Answer::No : *m_Preset;
    std::cerr << "KD820: " << prefix << a_Question << " -> "
              << (a == Answer::Yes ? "yes" : a == Answer::No ? "no" : "cancel") << "\n";
    return a;
  }
  if (!isatty(STDIN_FILENO)) {
    std::cerr << "KD820: " << prefix << a_Question << "\n"
              << "KD820: no terminal to answer on; give --yes or --no\n";
    return refusal;
  }
  const char* hint = cancel ? (a_Default == Answer::Yes  ? " [Y/n/c] "
                               : a_Default == Answer::No ? " [y/N/c] "
                                                         : " [y/n/C] ")
                            : (a_Default == Answer::Yes ? " [Y/n] " : " [y/N] ");
  for (;;) {
    std::cerr << prefix << a_Question << hint << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return refusal;
    if (line.empty()) return (!cancel && a_Default == Answer::Cancel) ? Answer::No : a_Default;
    const char c = static_cast<char>(line[0] | 0x20);
    if (c == 'y') return Answer::Yes;
    if (c == 'n') return Answer::No;
    if (c == 'c' && cancel) return Answer::Cancel;
  }
}
