// The canvas draws the pixels the panel shows: its picture of a project's start frame equals
// the LCD the simulator program writes for the same compiled image, at every zoom, and every
// other frame equals the panel picture made in-process.
#include <QAction>
#include <QImage>
#include <QTest>
#include <fstream>
#include <memory>

#include "editor/compiler/CompileProject.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/PanelPixels.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

// Compares the canvas's picture, block by block, with a panel picture (dark: a_Dark(x, y)).
// The first differing pixel, or an empty string.
template <typename Dark>
QString Compare(CFrameCanvas& a_Canvas, int a_Width, int a_Height, Dark a_Dark) {
  const QImage picture = a_Canvas.grab().toImage();
  const int zoom = a_Canvas.Zoom();
  const QPoint origin = a_Canvas.Origin();
  for (int y = 0; y < a_Height; ++y) {
    for (int x = 0; x < a_Width; ++x) {
      const QColor want = a_Dark(x, y) ? CFrameCanvas::DarkColor() : CFrameCanvas::LightColor();
      for (int dy = 0; dy < zoom; ++dy) {
        for (int dx = 0; dx < zoom; ++dx) {
          const QColor got = picture.pixelColor(origin.x() + x * zoom + dx, origin.y() + y * zoom + dy);
          if (got != want) return QString("panel pixel (%1, %2) at zoom %3: %4").arg(x).arg(y).arg(zoom).arg(got.name());
        }
      }
    }
  }
  return {};
}

}  // namespace

class CanvasPixelsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theStartFrameIsTheSimulatorsLcd_data();
  void theStartFrameIsTheSimulatorsLcd();
  void everyFrameIsThePanelPicture_data();
  void everyFrameIsThePanelPicture();
  void aFrameTheImageLacksIsRefused();
  void elementLabelsAreDrawnOnlyWhileSwitchedOn();

 private:
  void Open(const char* a_Json);

  std::unique_ptr<test::TempDir> m_Dir;
  std::string m_Path;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void CanvasPixelsTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
  m_Window->resize(900, 480);
  m_Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_Window.get()));
}

void CanvasPixelsTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

void CanvasPixelsTest::Open(const char* a_Json) {
  m_Path = m_Dir->File("project/panel.FPJ");
  QVERIFY(test::WriteProjectFromJson(a_Json, m_Path));
  QVERIFY(m_Window->OpenProject(m_Path));
  m_Window->Canvas().SetGridVisible(false);
  // The element labels are drawn over the panel's pixels.
  if (m_Window->Doc().GetElementLabels()) m_Window->Action("elementLabels")->trigger();
  QVERIFY(!m_Window->Doc().GetElementLabels());
}

void CanvasPixelsTest::theStartFrameIsTheSimulatorsLcd_data() {
  QTest::addColumn<QString>("json");
  QTest::addColumn<int>("zoom");
  // The demo (texts in two fonts, a picture, inverted text) and every element kind.
  for (const char* json : {"demo/pump-panel.json", "tests/simulator/golden/elements.json"}) {
    for (int zoom : {CFrameCanvas::kMinZoom, CFrameCanvas::kDefaultZoom, CFrameCanvas::kMaxZoom}) {
      QTest::addRow("%s at %d", json, zoom) << QString(json) << zoom;
    }
  }
}

void CanvasPixelsTest::theStartFrameIsTheSimulatorsLcd() {
  QFETCH(QString, json);
  QFETCH(int, zoom);
  Open(json.toUtf8().constData());
  QVERIFY(m_Window->Canvas().SetZoom(zoom));
  m_Window->resize(m_Window->sizeHint().expandedTo(QSize(900, 480)));

  // The simulator program's LCD for the image the compile writes.
  CKV410Project& project = *m_Window->Doc().GetProject();
  QVERIFY(CompileProjectToFile(project, m_Window->Doc().Context()).Ok());
  const std::string script = m_Dir->File("lcd.pansim");
  const std::string png = m_Dir->File("lcd.png");
  std::ofstream(script) << "lcd " << png << "\n";
  std::string out, err;
  QCOMPARE(test::RunProgram(std::string(KD820_TEST_BINARY_DIR) + "/PanSim",
                            {"--headless", "--script", script, std::to_string(project.GetHardwareModelId()),
                             project.GetImagePath()},
                            &out, &err),
           0);
  QImage lcd(QString::fromStdString(png));
  QVERIFY(!lcd.isNull());
  const CRect screen = m_Window->Editor().Screen();
  QCOMPARE(lcd.width(), screen.m_Right);
  QCOMPARE(lcd.height(), screen.m_Bottom);

  // The canvas shows the start frame after opening.
  QCOMPARE(m_Window->Editor().CurrentFrame()->GetNumber(), project.GetFrames().front()->GetNumber());
  const QString difference = Compare(m_Window->Canvas(), lcd.width(), lcd.height(),
                                     [&lcd](int a_X, int a_Y) { return qGray(lcd.pixel(a_X, a_Y)) < 128; });
  QVERIFY2(difference.isEmpty(), qPrintable(difference));
  // Something is drawn at all.
  int dark = 0;
  for (int y = 0; y < lcd.height(); ++y)
    for (int x = 0; x < lcd.width(); ++x) dark += qGray(lcd.pixel(x, y)) < 128 ? 1 : 0;
  QVERIFY(dark > 100);
}

void CanvasPixelsTest::everyFrameIsThePanelPicture_data() {
  QTest::addColumn<QString>("json");
  QTest::newRow("demo") << QString("demo/pump-panel.json");
  QTest::newRow("elements") << QString("tests/simulator/golden/elements.json");
}

void CanvasPixelsTest::everyFrameIsThePanelPicture() {
  QFETCH(QString, json);
  Open(json.toUtf8().constData());
  CKV410Project& project = *m_Window->Doc().GetProject();
  QVERIFY(project.GetFrames().size() >= 2);
  for (const auto& frame : project.GetFrames()) {
    m_Window->Editor().SetCurrentFrame(frame.get());
    CPanelPixels want;
    std::string error;
    QVERIFY2(CPanelRenderer::Render(project, m_Window->Doc().Context(), frame->GetNumber(), want, error),
             error.c_str());
    QVERIFY(m_Window->Canvas().Pixels() == want);
    const QString difference = Compare(m_Window->Canvas(), want.m_Width, want.m_Height,
                                       [&want](int a_X, int a_Y) { return want.Dark(a_X, a_Y); });
    QVERIFY2(difference.isEmpty(), qPrintable(QString("frame %1: %2").arg(frame->GetNumber()).arg(difference)));
  }
}

void CanvasPixelsTest::aFrameTheImageLacksIsRefused() {
  // A frame the image does not hold is refused by the renderer with the frame's number.
  Open("demo/pump-panel.json");
  CPanelPixels pixels;
  std::string error;
  QVERIFY(!CPanelRenderer::Render(*m_Window->Doc().GetProject(), m_Window->Doc().Context(), 999, pixels, error));
  QVERIFY(error.find("999") != std::string::npos);
}

void CanvasPixelsTest::elementLabelsAreDrawnOnlyWhileSwitchedOn() {
  Open("demo/pump-panel.json");
  CFrameCanvas& canvas = m_Window->Canvas();
  const QImage off = canvas.grab().toImage();
  QAction* labels = m_Window->Action("elementLabels");
  QVERIFY(!labels->isChecked());
  labels->trigger();
  QVERIFY(labels->isChecked());
  QVERIFY(m_Window->Doc().GetElementLabels());
  QVERIFY(canvas.grab().toImage() != off);
  // The switch is kept in the project without marking it modified.
  QVERIFY(!m_Window->Doc().IsModified());
  QVERIFY(m_Window->Doc().GetProject()->GetElementLabels());
  labels->trigger();
  QVERIFY(canvas.grab().toImage() == off);
}

QTEST_MAIN(CanvasPixelsTest)
#include "CanvasPixelsTest.moc"
