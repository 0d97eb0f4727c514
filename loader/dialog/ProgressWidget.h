#pragma once
// The progress bar drawn as the panel tools draw it: the filled part in the highlight colour,
// the rest in the window colour, the text centred over both in the opposite colours.
#include <QWidget>

#include "loader/ProgressBar.h"

namespace nd620 {

class ProgressWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWidget(QWidget* a_Parent = nullptr);
  // Takes the bar's state (on the user-interface thread) and repaints when its drawing changed.
  void SetState(const ProgressBar& a_Bar);
  const ProgressBar& State() const { return m_Bar; }
  QSize sizeHint() const override { return {240, 22}; }

 protected:
  void paintEvent(QPaintEvent* a_Event) override;
  void resizeEvent(QResizeEvent* a_Event) override;

 private:
  ProgressBar m_Bar;
};

}  // namespace nd620
