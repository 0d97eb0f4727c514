#pragma once
// The loaders' terminal: the progress bar drawn on standard error (in place on a terminal, at
// most ten times a second; as plain lines elsewhere) and the messages as lines.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "loader/LoaderProtocol.h"

namespace nd620 {

class TerminalView : public ILoaderView {
 public:
  TerminalView(std::string a_Program, std::FILE* a_Out, bool a_Terminal);
  void ProgressChanged(const ProgressBar& a_Bar) override;
  void ShowError(const std::string& a_Text, const std::string& a_Detail) override;
  // Ends the bar's line; true when a message was shown since the last call.
  bool Finish();
  void Say(const std::string& a_Text);

 private:
  void EndLine();

  std::mutex m_Mutex;
  std::string m_Program;
  std::FILE* m_Out;
  bool m_Terminal;
  bool m_OnLine = false;
  bool m_Shown = false;
  std::string m_LastCaption;
  int m_LastTenth = -1;
  std::chrono::steady_clock::time_point m_LastDraw{};
};

}  // namespace nd620
