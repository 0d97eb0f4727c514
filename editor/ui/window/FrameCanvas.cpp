#include "editor/ui/window/FrameCanvas.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "editor/screens/HMIFrame.h"

namespace kd820 {

namespace {

// The panel's LCD: light background, dark pixels.
const QColor kLight(0xc8, 0xd4, 0xb0);
const QColor kDark(0x1c, 0x24, 0x18);
const QColor kOutside(0x80, 0x80, 0x80);
const QColor kLabel(0x00, 0x40, 0xc0, 0xb0);
const QColor kBezel(0x40, 0x40, 0x40);
const QColor kGridDot(0x8a, 0x96, 0x78);
const QColor kSelection(0x00, 0x50, 0xe0);
// Elements reaching outside the screen.
const QColor kOffScreen(0xe0, 0x20, 0x20);

}  // namespace

QColor CFrameCanvas::LightColor() { return kLight; }
QColor CFrameCanvas::DarkColor() { return kDark; }
QColor CFrameCanvas::SelectionColor() { return kSelection; }

CFrameCanvas::CFrameCanvas(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent)
    : QWidget(a_Parent), m_Doc(a_Doc), m_Editor(a_Editor) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  UpdateGeometry();
}

void CFrameCanvas::Arm(std::optional<CInsertTool> a_Tool) {
  const bool wasArmed = m_Tool.has_value();
  m_Tool = std::move(a_Tool);
  if (m_Tool) {
    setCursor(Qt::CrossCursor);
  } else {
    unsetCursor();
    if (wasArmed) emit ToolDisarmed();
  }
}

namespace {

// The local .bmp file of a drag, or an empty string.
QString DraggedBitmap(const QMimeData* a_Data) {
  if (a_Data == nullptr || !a_Data->hasUrls() || a_Data->urls().size() != 1) return {};
  const QUrl url = a_Data->urls().front();
  if (!url.isLocalFile() || !url.toLocalFile().endsWith(".bmp", Qt::CaseInsensitive)) return {};
  return url.toLocalFile();
}

}  // namespace

void CFrameCanvas::dragEnterEvent(QDragEnterEvent* a_Event) {
  if (m_Editor.CurrentFrame() != nullptr && !DraggedBitmap(a_Event->mimeData()).isEmpty())
    a_Event->acceptProposedAction();
}

void CFrameCanvas::dragMoveEvent(QDragMoveEvent* a_Event) {
  if (m_Editor.CurrentFrame() != nullptr && !DraggedBitmap(a_Event->mimeData()).isEmpty())
    a_Event->acceptProposedAction();
}

void CFrameCanvas::dropEvent(QDropEvent* a_Event) {
  const QString path = DraggedBitmap(a_Event->mimeData());
  if (path.isEmpty() || m_Editor.CurrentFrame() == nullptr) return;
  a_Event->acceptProposedAction();
  const QPoint pixel = PanelPixelAt(a_Event->position().toPoint());
  if (auto tool = m_Editor.ArmPicture(path.toStdString())) m_Editor.Insert(*tool, pixel.x(), pixel.y());
}

bool CFrameCanvas::SetZoom(int a_Zoom) {
  if (a_Zoom < kMinZoom || a_Zoom > kMaxZoom) return false;
  m_Zoom = a_Zoom;
  UpdateGeometry();
  update();
  return true;
}

void CFrameCanvas::SetGridVisible(bool a_Visible) {
  m_Grid = a_Visible;
  update();
}

CRect CFrameCanvas::ScreenRect() const {
  if (m_Doc.GetProject() == nullptr) return {};
  return m_Editor.Screen();
}

QPoint CFrameCanvas::Origin() const {
  const CRect screen = ScreenRect();
  const int x = std::max(kMargin, (width() - screen.m_Right * m_Zoom) / 2);
  const int y = std::max(kMargin, (height() - screen.m_Bottom * m_Zoom) / 2);
  return {x, y};
}

QPoint CFrameCanvas::PanelPixelAt(const QPoint& a_WidgetPoint) const {
  const QPoint d = a_WidgetPoint - Origin();
  // Rounded towards minus infinity, so that the margin left of and above the panel gives
  // negative pixels.
  const auto floorDiv = [](int a_Value, int a_Divisor) {
    return a_Value >= 0 ? a_Value / a_Divisor : -((-a_Value + a_Divisor - 1) / a_Divisor);
  };
  return {floorDiv(d.x(), m_Zoom), floorDiv(d.y(), m_Zoom)};
}

QRect CFrameCanvas::WidgetRect(const CRect& a_Panel) const {
  const QPoint o = Origin();
  return QRect(QPoint(o.x() + a_Panel.m_Left * m_Zoom, o.y() + a_Panel.m_Top * m_Zoom),
               QPoint(o.x() + a_Panel.m_Right * m_Zoom - 1, o.y() + a_Panel.m_Bottom * m_Zoom - 1));
}

QSize CFrameCanvas::sizeHint() const {
  const CRect screen = ScreenRect();
  const int w = screen.m_Right > 0 ? screen.m_Right : 192;
  const int h = screen.m_Bottom > 0 ? screen.m_Bottom : 64;
  return {w * m_Zoom + 2 * kMargin, h * m_Zoom + 2 * kMargin};
}

void CFrameCanvas::UpdateGeometry() {
  setMinimumSize(sizeHint());
  updateGeometry();
}

void CFrameCanvas::Refresh() {
  Arm(std::nullopt);
  m_PictureValid = false;
  m_Drag = Drag::None;
  UpdateGeometry();
  update();
}

void CFrameCanvas::OnChange(const CChange& a_Change) {
  switch (a_Change.m_Kind) {
    case ChangeKind::SelectionChanged:
    case ChangeKind::ModifiedChanged:
      break;
    case ChangeKind::CurrentFrameChanged:
    case ChangeKind::FrameRemoved:
      Arm(std::nullopt);
      [[fallthrough]];
    case ChangeKind::ElementsRemoved:
      // A gesture on elements that are gone, or on another frame, ends.
      m_Drag = Drag::None;
      m_Clicked = nullptr;
      m_PictureValid = false;
      break;
    default:
      m_PictureValid = false;
      break;
  }
  update();
}

void CFrameCanvas::EnsurePicture() {
  if (m_PictureValid) return;
  m_PictureValid = true;
  m_Pixels = {};
  m_Picture = QImage();
  m_RenderError.clear();
  CKV410Project* project = m_Doc.GetProject();
  CHMIFrame* frame = m_Editor.CurrentFrame();
  if (project == nullptr || frame == nullptr) return;
  std::string error;
  if (!CPanelRenderer::Render(*project, m_Doc.Context(), frame->GetNumber(), m_Pixels, error)) {
    m_Pixels = {};
    m_RenderError = QString::fromStdString(error);
    return;
  }
  m_Picture = QImage(m_Pixels.m_Width, m_Pixels.m_Height, QImage::Format_RGB32);
  for (int y = 0; y < m_Pixels.m_Height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(m_Picture.scanLine(y));
    for (int x = 0; x < m_Pixels.m_Width; ++x) line[x] = (m_Pixels.Dark(x, y) ? kDark : kLight).rgb();
  }
}

const CPanelPixels& CFrameCanvas::Pixels() {
  EnsurePicture();
  return m_Pixels;
}

QRect CFrameCanvas::HandleRect(const CRect& a_Panel, int a_Handle) const {
  const QRect r = WidgetRect(a_Panel);
  const int left = r.left() - 1, right = r.right() + 1, top = r.top() - 1, bottom = r.bottom() + 1;
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  static constexpr int kX[kHandleCount] = {0, 1, 2, 2, 2, 1, 0, 0};
  static constexpr int kY[kHandleCount] = {0, 0, 0, 1, 2, 2, 2, 1};
  const int xs[3] = {left, midX, right};
  const int ys[3] = {top, midY, bottom};
  const int half = kHandleSize / 2;
  return QRect(xs[kX[a_Handle]] - half, ys[kY[a_Handle]] - half, kHandleSize, kHandleSize);
}

int CFrameCanvas::HandleAt(const QPoint& a_WidgetPoint) const {
  if (m_Editor.Selection().Size() != 1) return -1;
  const CRect rect = m_Editor.Selection().Reference()->GetRect();
  for (int h = 0; h < kHandleCount; ++h) {
    if (HandleRect(rect, h).adjusted(-1, -1, 1, 1).contains(a_WidgetPoint)) return h;
  }
  return -1;
}

CGraphElement* CFrameCanvas::TopElementAt(const QPoint& a_Pixel) const {
  CHMIFrame* frame = m_Editor.CurrentFrame();
  if (frame == nullptr) return nullptr;
  const auto& elements = frame->GetElements();
  // Later elements are drawn over earlier ones: the last hit is on top.
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    const CRect r = (*it)->GetRect();
    if (a_Pixel.x() >= r.m_Left && a_Pixel.x() < r.m_Right && a_Pixel.y() >= r.m_Top && a_Pixel.y() < r.m_Bottom)
      return it->get();
  }
  return nullptr;
}

CElementBox CFrameCanvas::ResizedBox(const QPoint& a_Pixel) const {
  int left = m_ResizeStart.m_Left, top = m_ResizeStart.m_Top;
  int right = left + m_ResizeStart.m_Width, bottom = top + m_ResizeStart.m_Height;
  const bool moveLeft = m_Handle == 0 || m_Handle == 6 || m_Handle == 7;
  const bool moveRight = m_Handle == 2 || m_Handle == 3 || m_Handle == 4;
  const bool moveTop = m_Handle == 0 || m_Handle == 1 || m_Handle == 2;
  const bool moveBottom = m_Handle == 4 || m_Handle == 5 || m_Handle == 6;
  // The edge follows the pixel boundary nearest the mouse; the box keeps at least one pixel.
  if (moveLeft) left = std::min(a_Pixel.x(), right - 1);
  if (moveRight) right = std::max(a_Pixel.x() + 1, left + 1);
  if (moveTop) top = std::min(a_Pixel.y(), bottom - 1);
  if (moveBottom) bottom = std::max(a_Pixel.y() + 1, top + 1);
  return {left, top, right - left, bottom - top};
}

void CFrameCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kOutside);
  if (m_Doc.GetProject() == nullptr) return;
  EnsurePicture();
  const CRect screen = ScreenRect();
  const QRect lcd = WidgetRect(screen);
  // A bezel around the LCD, outside its pixels.
  p.fillRect(lcd.adjusted(-3, -3, 3, 3), kBezel);
  if (m_Picture.isNull()) {
    p.fillRect(lcd, kLight);
  } else {
    // Each panel pixel a square of zoom x zoom screen pixels, without smoothing.
    p.drawImage(QRect(lcd.topLeft(), QSize(m_Pixels.m_Width * m_Zoom, m_Pixels.m_Height * m_Zoom)), m_Picture);
  }
  if (m_Grid && m_Zoom >= 2) {
    p.setPen(kGridDot);
    for (int y = kGridStep; y < screen.m_Bottom; y += kGridStep) {
      for (int x = kGridStep; x < screen.m_Right; x += kGridStep) {
        const QPoint at = Origin() + QPoint(x * m_Zoom, y * m_Zoom);
        if (!m_Pixels.Dark(x, y)) p.drawPoint(at);
      }
    }
  }
  if (!m_RenderError.isEmpty()) {
    p.setPen(kOffScreen);
    p.drawText(lcd.adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_RenderError);
  }

  CHMIFrame* frame = m_Editor.CurrentFrame();
  if (frame == nullptr) return;
  // Elements reaching outside the screen are outlined.
  p.setBrush(Qt::NoBrush);
  for (const auto& e : frame->GetElements()) {
    if (LiesWithin(e->GetRect(), screen)) continue;
    p.setPen(QPen(kOffScreen, 1, Qt::DashLine));
    p.drawRect(WidgetRect(e->GetRect()).adjusted(-1, -1, 0, 0));
  }
  // Element labels: each element's name over its top-left corner, while the project's switch
  // is on.
  if (m_Doc.GetElementLabels()) {
    QFont font = p.font();
    font.setPixelSize(std::clamp(4 * m_Zoom, 8, 16));
    p.setFont(font);
    p.setPen(kLabel);
    for (const auto& e : frame->GetElements()) {
      const QRect r = WidgetRect(e->GetRect());
      p.drawText(r.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                 QString::fromStdString(e->GetName()));
    }
  }
  // The selection: a frame around each element, handles on the reference (filled) and the
  // others (hollow).
  for (CGraphElement* e : m_Editor.Selection().Elements()) {
    const CRect r = e->GetRect();
    p.setPen(QPen(kSelection, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(WidgetRect(r).adjusted(-1, -1, 0, 0));
    const bool reference = e == m_Editor.Selection().Reference();
    p.setPen(kSelection);
    p.setBrush(reference ? QBrush(kSelection) : QBrush(Qt::white));
    for (int h = 0; h < kHandleCount; ++h) p.drawRect(HandleRect(r, h).adjusted(0, 0, -1, -1));
  }
  // What a drag would make: the moved or resized outlines, or the band.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kSelection, 1, Qt::DashLine));
  if (m_Drag == Drag::Move && m_DragPixel != m_PressPixel) {
    const QPoint d = m_DragPixel - m_PressPixel;
    for (CGraphElement* e : m_Editor.Selection().Elements()) {
      CRect r = e->GetRect();
      r = {r.m_Left + d.x(), r.m_Top + d.y(), r.m_Right + d.x(), r.m_Bottom + d.y()};
      p.drawRect(WidgetRect(r).adjusted(-1, -1, 0, 0));
    }
  } else if (m_Drag == Drag::Resize) {
    const CElementBox b = ResizedBox(m_DragPixel);
    p.drawRect(WidgetRect({b.m_Left, b.m_Top, b.m_Left + b.m_Width, b.m_Top + b.m_Height}).adjusted(-1, -1, 0, 0));
  } else if (m_Drag == Drag::Band) {
    const QPoint a = m_PressPixel, b = m_DragPixel;
    const CRect band{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                     std::max(a.y(), b.y()) + 1};
    p.drawRect(WidgetRect(band).adjusted(0, 0, -1, -1));
  }
}

void CFrameCanvas::mouseDoubleClickEvent(QMouseEvent* a_Event) {
  if (a_Event->button() != Qt::LeftButton || m_Editor.CurrentFrame() == nullptr || m_Tool) return;
  CGraphElement* hit = TopElementAt(PanelPixelAt(a_Event->position().toPoint()));
  if (hit == nullptr) return;
  m_Drag = Drag::None;
  m_Editor.Select(hit);
  emit ElementDoubleClicked(hit);
}

void CFrameCanvas::mousePressEvent(QMouseEvent* a_Event) {
  setFocus(Qt::MouseFocusReason);
  if (a_Event->button() != Qt::LeftButton || m_Editor.CurrentFrame() == nullptr) return;
  const QPoint widgetPoint = a_Event->position().toPoint();
  const QPoint pixel = PanelPixelAt(widgetPoint);
  if (m_Tool) {
    const CInsertTool tool = *m_Tool;
    Arm(std::nullopt);
    m_Editor.Insert(tool, pixel.x(), pixel.y());
    return;
  }
  m_PressPixel = m_DragPixel = pixel;
  const int handle = HandleAt(widgetPoint);
  if (handle >= 0) {
    m_Drag = Drag::Resize;
    m_Handle = handle;
    m_ResizeStart = CElementBox::Of(*m_Editor.Selection().Reference());
    return;
  }
  const bool add = (a_Event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) != 0;
  CGraphElement* hit = TopElementAt(pixel);
  m_Clicked = nullptr;
  if (hit != nullptr) {
    if (!m_Editor.Selection().Contains(hit)) {
      m_Editor.Select(hit, add);
    } else if (!add) {
      // The selection stays for a drag; a click without one selects this element alone.
      m_Clicked = hit;
    }
    m_Drag = Drag::Move;
  } else {
    if (!add) m_Editor.SelectNone();
    m_Drag = Drag::Band;
  }
  update();
}

void CFrameCanvas::mouseMoveEvent(QMouseEvent* a_Event) {
  const QPoint pixel = PanelPixelAt(a_Event->position().toPoint());
  emit CursorMoved(pixel.x(), pixel.y());
  if (m_Drag == Drag::None) return;
  if (pixel != m_DragPixel) {
    m_DragPixel = pixel;
    update();
  }
}

void CFrameCanvas::mouseReleaseEvent(QMouseEvent* a_Event) {
  if (a_Event->button() != Qt::LeftButton || m_Drag == Drag::None) return;
  const Drag drag = m_Drag;
  m_Drag = Drag::None;
  m_DragPixel = PanelPixelAt(a_Event->position().toPoint());
  const QPoint d = m_DragPixel - m_PressPixel;
  switch (drag) {
    case Drag::Move:
      // One command for the whole gesture; refused when an element would leave the screen.
      if (d != QPoint()) {
        m_Editor.MoveByPixel(d.x(), d.y());
      } else if (m_Clicked != nullptr && m_Editor.Selection().Size() > 1) {
        m_Editor.Select(m_Clicked);
      }
      break;
    case Drag::Resize: {
      CGraphElement* element = m_Editor.Selection().Reference();
      const CElementBox box = ResizedBox(m_DragPixel);
      if (element != nullptr && !(box == m_ResizeStart)) m_Editor.SetGeometry(*element, box);
      break;
    }
    case Drag::Band: {
      const QPoint a = m_PressPixel, b = m_DragPixel;
      if (a != b) {
        m_Editor.SelectInBand({std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                               std::max(a.y(), b.y()) + 1});
      }
      break;
    }
    case Drag::None:
      break;
  }
  update();
}

void CFrameCanvas::keyPressEvent(QKeyEvent* a_Event) {
  switch (a_Event->key()) {
    case Qt::Key_Left: m_Editor.MoveByPixel(-1, 0); break;
    case Qt::Key_Right: m_Editor.MoveByPixel(1, 0); break;
    case Qt::Key_Up: m_Editor.MoveByPixel(0, -1); break;
    case Qt::Key_Down: m_Editor.MoveByPixel(0, 1); break;
    case Qt::Key_Delete: m_Editor.Delete(); break;
    case Qt::Key_Escape:
      Arm(std::nullopt);
      m_Drag = Drag::None;
      m_Editor.SelectNone();
      update();
      break;
    default: QWidget::keyPressEvent(a_Event); return;
  }
  a_Event->accept();
}

void CFrameCanvas::leaveEvent(QEvent* a_Event) {
  emit CursorLeft();
  QWidget::leaveEvent(a_Event);
}

}  // namespace kd820
