#include "loader/app/TerminalView.h"

namespace nd620 {

namespace {
constexpr int kBarColumns = 30;
}

TerminalView::TerminalView(std::string a_Program, std::FILE* a_Out, bool a_Terminal)
    : m_Program(std::move(a_Program)), m_Out(a_Out), m_Terminal(a_Terminal) {}

void TerminalView::EndLine() {
  if (m_OnLine) std::fputc('\n', m_Out);
  m_OnLine = false;
}

void TerminalView::ProgressChanged(const ProgressBar& a_Bar) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  const std::string text = a_Bar.Text().empty() ? a_Bar.GetCaption() : a_Bar.Text();
  const bool newCaption = a_Bar.GetCaption() != m_LastCaption;
  const int tenth = a_Bar.Drawable() ? a_Bar.Percent() / 10 : -1;
  const bool end = a_Bar.Drawable() && a_Bar.GetPos() >= a_Bar.GetUpper();
  if (m_Terminal) {
    const auto now = std::chrono::steady_clock::now();
    if (!newCaption && !end && now - m_LastDraw < std::chrono::milliseconds(100)) return;
    m_LastDraw = now;
    std::string bar;
    if (a_Bar.Drawable()) {
      const int filled = kBarColumns * a_Bar.Percent() / 100;
      bar = " [" + std::string(static_cast<std::size_t>(filled), '#') +
            std::string(static_cast<std::size_t>(kBarColumns - filled), '.') + "]";
    }
    std::fprintf(m_Out, "\r%s%s\x1b[K", text.c_str(), bar.c_str());
    m_OnLine = true;
  } else {
    // One line per stage, and one for every tenth of a section.
    if (!newCaption && tenth == m_LastTenth) return;
    if (!text.empty()) std::fprintf(m_Out, "%s\n", text.c_str());
  }
  m_LastCaption = a_Bar.GetCaption();
  m_LastTenth = tenth;
  std::fflush(m_Out);
}

void TerminalView::ShowError(const std::string& a_Text, const std::string& a_Detail) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  EndLine();
  if (!a_Text.empty()) {
    std::fprintf(m_Out, "%s: %s\n", m_Program.c_str(), a_Text.c_str());
    m_Shown = true;
  }
  if (!a_Detail.empty()) std::fprintf(m_Out, "%s: (%s)\n", m_Program.c_str(), a_Detail.c_str());
  std::fflush(m_Out);
}

void TerminalView::Say(const std::string& a_Text) {
  std::lock_guard<std::mutex> lock(m_Mutex);
  EndLine();
  std::fprintf(m_Out, "%s: %s\n", m_Program.c_str(), a_Text.c_str());
  std::fflush(m_Out);
}

bool TerminalView::Finish() {
  std::lock_guard<std::mutex> lock(m_Mutex);
  EndLine();
  std::fflush(m_Out);
  m_LastCaption.clear();
  m_LastTenth = -1;
  const bool shown = m_Shown;
  m_Shown = false;
  return shown;
}

}  // namespace nd620
