#include "loader/ProgressBar.h"

#include <algorithm>

namespace nd620 {

int ProgressBar::SetPos(int a_Pos) {
  const int old = m_Pos;
  m_Pos = a_Pos;
  if (FilledWidth() != m_LastWidth) m_Repaint = true;
  return old;
}

void ProgressBar::SetCaption(const std::string& a_Caption) {
  if (a_Caption == m_Caption) return;
  m_Caption = a_Caption;
  m_Repaint = true;
}

int ProgressBar::FilledWidth() const {
  if (!Drawable()) return 0;
  const double fraction = static_cast<double>(m_Pos - m_Lower) / (m_Upper - m_Lower);
  return static_cast<int>(m_ClientWidth * fraction);
}

int ProgressBar::Percent() const {
  if (!Drawable()) return 0;
  const double fraction = static_cast<double>(m_Pos - m_Lower) / (m_Upper - m_Lower);
  return std::min(100, static_cast<int>(fraction * 100));
}

std::string ProgressBar::Text() const {
  if (!Drawable() || !m_ShowText) return {};
  const int percent = Percent();
  if (!m_Caption.empty()) return percent != 0 ? m_Caption + std::to_string(percent) + "%" : m_Caption;
  return percent > 0 ? std::to_string(percent) + "%" : std::string();
}

bool ProgressBar::TakeRepaint() {
  if (!m_Repaint) return false;
  m_Repaint = false;
  m_LastWidth = FilledWidth();
  return true;
}

}  // namespace nd620
