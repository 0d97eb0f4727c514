#include "loader/dialog/ProgressWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

namespace nd620 {

ProgressWidget::ProgressWidget(QWidget* a_Parent) : QWidget(a_Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_Bar.SetClientWidth(width());
}

void ProgressWidget::SetState(const ProgressBar& a_Bar) {
  const std::string oldText = m_Bar.Text();
  const int oldWidth = m_Bar.FilledWidth();
  m_Bar.SetRange(a_Bar.GetLower(), a_Bar.GetUpper());
  m_Bar.SetPos(a_Bar.GetPos());
  m_Bar.SetCaption(a_Bar.GetCaption());
  if (m_Bar.TakeRepaint() || oldText != m_Bar.Text() || oldWidth != m_Bar.FilledWidth()) update();
}

void ProgressWidget::resizeEvent(QResizeEvent* a_Event) {
  m_Bar.SetClientWidth(width());
  QWidget::resizeEvent(a_Event);
}

void ProgressWidget::paintEvent(QPaintEvent*) {
  // Drawn off screen and copied in one piece.
  QPixmap canvas(size());
  const QPalette& colours = palette();
  canvas.fill(colours.color(QPalette::Window));
  if (m_Bar.Drawable()) {
    QPainter painter(&canvas);
    const int filled = m_Bar.FilledWidth();
    const QRect all = rect();
    const QRect left(0, 0, filled, height());
    const QRect right(filled, 0, width() - filled, height());
    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor window = colours.color(QPalette::Base);
    painter.fillRect(left, highlight);
    painter.fillRect(right, window);
    const QString text = QString::fromStdString(m_Bar.Text());
    if (!text.isEmpty()) {
      painter.setClipRect(left);
      painter.setPen(window);
      painter.drawText(all, Qt::AlignCenter, text);
      painter.setClipRect(right);
      painter.setPen(highlight);
      painter.drawText(all, Qt::AlignCenter, text);
    }
  }
  QPainter(this).drawPixmap(0, 0, canvas);
}

}  // namespace nd620
