#include "editor/base/Problem.h"

#include <iostream>

namespace kd820 {

bool CProblemList::HasErrors() const {
  for (const CProblem& p : m_Problems) {
    if (p.m_Severity == Severity::Error) return true;
  }
  return false;
}

std::vector<std::string> CProblemList::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(m_Problems.size());
  for (const CProblem& p : m_Problems) texts.push_back(p.m_Text);
  return texts;
}

void CStderrProblemSink::Report(const CProblem& a_Problem) { std::cerr << a_Problem.m_Text << "\n"; }

IProblemSink& StderrProblems() {
  static CStderrProblemSink sink;
  return sink;
}

}  // namespace kd820
