#pragma once
// The progress bar's state and its drawing rules, without a window: range, position, step,
// caption, the text shown over the bar, and whether a change needs a repaint (only when the
// filled width in pixels changes, or the caption does).
#include <cstdint>
#include <string>

namespace nd620 {

class ProgressBar {
 public:
  void SetRange(int a_Lower, int a_Upper) {
    m_Lower = a_Lower;
    m_Upper = a_Upper;
  }
  int GetLower() const { return m_Lower; }
  int GetUpper() const { return m_Upper; }
  // Returns the old position.
  int SetPos(int a_Pos);
  int GetPos() const { return m_Pos; }
  int StepIt() { return SetPos(m_Pos + m_Step); }
  void SetStep(int a_Step) { m_Step = a_Step; }
  void SetCaption(const std::string& a_Caption);
  const std::string& GetCaption() const { return m_Caption; }
  void SetShowText(bool a_On) { m_ShowText = a_On; }

  // The client width the filled width is measured in; a resize forgets the last drawn width.
  void SetClientWidth(int a_Width) {
    m_ClientWidth = a_Width;
    m_LastWidth = -1;
    m_Repaint = true;
  }
  // Nothing is drawn when the lower bound is not below the upper one.
  bool Drawable() const { return m_Lower < m_Upper; }
  int FilledWidth() const;
  // (position - lower) / (upper - lower) x 100, truncated, at most 100.
  int Percent() const;
  // The text drawn over the bar.
  std::string Text() const;

  // True once after a change that needs the bar drawn again; the caller then draws it.
  bool TakeRepaint();

 private:
  int m_Lower = 0;
  int m_Upper = 100;
  int m_Pos = 0;
  int m_Step = 1;
  std::string m_Caption;
  bool m_ShowText = true;
  int m_ClientWidth = 100;
  int m_LastWidth = -1;
  bool m_Repaint = true;
};

}  // namespace nd620
