#pragma once
// Problems found while reading, checking or compiling a project: one type for all of them, and
// the sink they are reported to. Questions to the user are not problems; they go through the
// user-interaction interface.
#include <string>
#include <vector>

namespace kd820 {

enum class Severity { Warning, Error };

// Where a problem lies; the parts that do not apply stay empty.
struct CProblemPlace {
  std::string m_Frame;    // "HMI3"
  std::string m_Element;  // "REG2"
  std::string m_Field;    // "register", a file name, a JSON path
};

struct CProblem {
  Severity m_Severity = Severity::Warning;
  // The whole message as the user reads it.
  std::string m_Text;
  CProblemPlace m_Where;
};

class IProblemSink {
 public:
  virtual ~IProblemSink() = default;
  virtual void Report(const CProblem& a_Problem) = 0;

  void Warn(const std::string& a_Text, CProblemPlace a_Where = {}) {
    Report({Severity::Warning, a_Text, std::move(a_Where)});
  }
  void Error(const std::string& a_Text, CProblemPlace a_Where = {}) {
    Report({Severity::Error, a_Text, std::move(a_Where)});
  }
};

// Keeps what is reported, in order.
class CProblemList : public IProblemSink {
 public:
  void Report(const CProblem& a_Problem) override { m_Problems.push_back(a_Problem); }
  const std::vector<CProblem>& Problems() const { return m_Problems; }
  bool HasErrors() const;
  // The texts, in order.
  std::vector<std::string> Texts() const;
  void Clear() { m_Problems.clear(); }

 private:
  std::vector<CProblem> m_Problems;
};

// Writes each problem's text as a line to standard error.
class CStderrProblemSink : public IProblemSink {
 public:
  void Report(const CProblem& a_Problem) override;
};

// A sink for callers that have none of their own: standard error.
IProblemSink& StderrProblems();

}  // namespace kd820
