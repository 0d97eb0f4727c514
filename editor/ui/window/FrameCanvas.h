#pragma once
// The frame canvas: the current frame as the panel shows it, each panel pixel a square of
// zoom x zoom screen pixels, with a dot grid, the selection's handles, the rubber band and the
// mouse and key tools that select, move and resize elements. Every change goes through the
// document editor, one command per mouse gesture or key press.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

#include "editor/project/DocumentEditor.h"
#include "editor/ui/window/PanelPixels.h"

namespace kd820 {

class CFrameCanvas : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 8;
  static constexpr int kDefaultZoom = 2;
  // Screen pixels around the panel, where elements lying outside it show.
  static constexpr int kMargin = 24;
  // Panel pixels between the dots of the grid.
  static constexpr int kGridStep = 8;

  CFrameCanvas(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent = nullptr);

  // The colours of the panel's light and dark pixels, and of the selection's handles.
  static QColor LightColor();
  static QColor DarkColor();
  static QColor SelectionColor();

  int Zoom() const { return m_Zoom; }
  // False, and the zoom unchanged, outside kMinZoom..kMaxZoom.
  bool SetZoom(int a_Zoom);
  bool GridVisible() const { return m_Grid; }
  void SetGridVisible(bool a_Visible);

  // Where panel pixel (0, 0) lies in the widget, and the panel pixel under a widget point
  // (outside the panel too).
  QPoint Origin() const;
  QPoint PanelPixelAt(const QPoint& a_WidgetPoint) const;
  // The widget rectangle of a panel rectangle (right and bottom exclusive).
  QRect WidgetRect(const CRect& a_Panel) const;

  // The panel's picture of the current frame, made again after a change; empty when no frame
  // is shown or the project does not compile (RenderError says why).
  const CPanelPixels& Pixels();
  const QString& RenderError() const { return m_RenderError; }

  // An armed creation tool: the next click on the canvas puts its element there. Esc, or
  // arming none, disarms it.
  void Arm(std::optional<CInsertTool> a_Tool);
  bool IsArmed() const { return m_Tool.has_value(); }

  // Redraws after a change event of the document editor.
  void OnChange(const CChange& a_Change);
  // Draws everything anew (after another project or frame was shown).
  void Refresh();

  QSize sizeHint() const override;

 signals:
  void CursorMoved(int a_X, int a_Y);
  void CursorLeft();
  // The armed tool was used or disarmed.
  void ToolDisarmed();
  // An element was double-clicked (it is then the selection).
  void ElementDoubleClicked(CGraphElement* a_Element);

 protected:
  void paintEvent(QPaintEvent* a_Event) override;
  void mousePressEvent(QMouseEvent* a_Event) override;
  void mouseMoveEvent(QMouseEvent* a_Event) override;
  void mouseReleaseEvent(QMouseEvent* a_Event) override;
  void mouseDoubleClickEvent(QMouseEvent* a_Event) override;
  void keyPressEvent(QKeyEvent* a_Event) override;
  void leaveEvent(QEvent* a_Event) override;
  // A dropped single-colour .bmp file becomes a picture where it is dropped.
  void dragEnterEvent(QDragEnterEvent* a_Event) override;
  void dragMoveEvent(QDragMoveEvent* a_Event) override;
  void dropEvent(QDropEvent* a_Event) override;

 private:
  enum class Drag { None, Band, Move, Resize };
  // Handles: 0 top-left, 1 top, 2 top-right, 3 right, 4 bottom-right, 5 bottom, 6 bottom-left,
  // 7 left.
  static constexpr int kHandleCount = 8;
  static constexpr int kHandleSize = 5;

  CRect ScreenRect() const;
  QRect HandleRect(const CRect& a_Panel, int a_Handle) const;
  // The handle of the single selected element under a widget point; -1 for none.
  int HandleAt(const QPoint& a_WidgetPoint) const;
  CGraphElement* TopElementAt(const QPoint& a_Pixel) const;
  // The box of the element being resized with the mouse at a_Pixel.
  CElementBox ResizedBox(const QPoint& a_Pixel) const;
  void UpdateGeometry();
  void EnsurePicture();

  CKV410Doc& m_Doc;
  CDocumentEditor& m_Editor;
  int m_Zoom = kDefaultZoom;
  bool m_Grid = true;

  bool m_PictureValid = false;
  CPanelPixels m_Pixels;
  QImage m_Picture;
  QString m_RenderError;

  Drag m_Drag = Drag::None;
  QPoint m_PressPixel;
  QPoint m_DragPixel;
  int m_Handle = -1;
  CElementBox m_ResizeStart;
  std::optional<CInsertTool> m_Tool;
  // The selected element pressed on without a modifier.
  CGraphElement* m_Clicked = nullptr;
};

}  // namespace kd820
