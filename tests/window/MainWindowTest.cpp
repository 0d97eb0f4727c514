// The main window on the offscreen platform: a project opened, an element chosen in the frame
// tree and shown selected on the canvas, moved with the keys and the mouse, undone, redone and
// saved; the file saved equals the one the same steps give through the editor core.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTreeWidgetItem>
#include <memory>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/FrameTree.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void openingShowsTheFramesAndTheTitle();
  void choosingInTheTreeSelectsOnTheCanvasAndBack();
  void arrowKeysUndoRedoAndSaveGiveTheCoreFile();
  void aMouseDragIsOneStep();
  void aDragThatWouldLeaveTheScreenMovesNothing();
  void resizingWithAHandleIsOneStep();
  void theRubberBandAppendsWhatLiesInside();
  void deleteAndEscape();
  void closingWithUnsavedChangesAsks();
  void zoomStaysWithinItsLimits();
  void aNewProjectOpensItsFirstFrame();
  void eachProblemIsShownOnce();
  void copyAndPasteGoThroughTheSystemClipboard();
  void aGestureEndsWhenItsElementsAreDeleted();

 private:
  // The element of frame 1 at a_Index in drawing order.
  CGraphElement* Element(std::size_t a_Index) const;
  void ClickInTree(QTreeWidgetItem* a_Item, Qt::KeyboardModifiers a_Modifiers = {});
  // The widget point in the middle of panel pixel (a_X, a_Y).
  QPoint At(int a_X, int a_Y) const;

  std::unique_ptr<test::TempDir> m_Dir;
  std::string m_Path;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void MainWindowTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Path = m_Dir->File("window/sample.FPJ");
  test::WriteSampleProject(m_Path);
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
  m_Window->resize(900, 480);
  m_Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_Window.get()));
  QVERIFY(m_Window->OpenProject(m_Path));
}

void MainWindowTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

CGraphElement* MainWindowTest::Element(std::size_t a_Index) const {
  CHMIFrame* frame = m_Window->Doc().GetProject()->FindFrame(1);
  return frame->GetElements().at(a_Index).get();
}

void MainWindowTest::ClickInTree(QTreeWidgetItem* a_Item, Qt::KeyboardModifiers a_Modifiers) {
  CFrameTree& tree = m_Window->Tree();
  if (a_Item->parent() != nullptr) a_Item->parent()->setExpanded(true);
  tree.scrollToItem(a_Item);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, a_Modifiers, tree.visualItemRect(a_Item).center());
}

QPoint MainWindowTest::At(int a_X, int a_Y) const {
  const CFrameCanvas& canvas = m_Window->Canvas();
  return canvas.Origin() + QPoint(a_X * canvas.Zoom() + canvas.Zoom() / 2, a_Y * canvas.Zoom() + canvas.Zoom() / 2);
}

void MainWindowTest::openingShowsTheFramesAndTheTitle() {
  CFrameTree& tree = m_Window->Tree();
  const auto& frames = m_Window->Doc().GetProject()->GetFrames();
  QCOMPARE(tree.topLevelItemCount(), static_cast<int>(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    QTreeWidgetItem* item = tree.topLevelItem(static_cast<int>(i));
    QVERIFY(item->text(0).startsWith(QString("HMI%1  ").arg(frames[i]->GetNumber())));
    QCOMPARE(item->childCount(), static_cast<int>(frames[i]->GetElements().size()));
  }
  QCOMPARE(m_Window->windowTitle(), QString::fromStdString(m_Path + " - [sample.FPJ]"));
  // Undo and redo are there, and unavailable until something was done.
  QVERIFY(!m_Window->Action("undo")->isEnabled());
  QVERIFY(!m_Window->Action("redo")->isEnabled());
  QCOMPARE(m_Window->Action("save")->shortcut(), QKeySequence("Ctrl+S"));
  QCOMPARE(m_Window->Action("open")->shortcut(), QKeySequence("Ctrl+O"));
  QCOMPARE(m_Window->Action("new")->shortcut(), QKeySequence("Ctrl+N"));
  QCOMPARE(m_Window->Action("close")->shortcut(), QKeySequence("Ctrl+E"));
  QCOMPARE(m_Window->Action("open")->text(), QString("打开工程"));
}

void MainWindowTest::choosingInTheTreeSelectsOnTheCanvasAndBack() {
  CGraphElement* text = Element(1);
  ClickInTree(m_Window->Tree().ElementItem(text));
  QCOMPARE(m_Window->Editor().Selection().Elements(), std::vector<CGraphElement*>{text});
  // The canvas shows it selected: the reference's top-left handle lies just outside its
  // top-left corner.
  CFrameCanvas& canvas = m_Window->Canvas();
  const QRect r = canvas.WidgetRect(text->GetRect());
  const QImage picture = canvas.grab().toImage();
  QCOMPARE(picture.pixelColor(r.left() - 1, r.top() - 1), CFrameCanvas::SelectionColor());
  const CRect rect = text->GetRect();
  QCOMPARE(m_Window->SelectionText(), QString("(%1,%2)-(%3,%4) %5x%6")
                                          .arg(rect.m_Left).arg(rect.m_Top).arg(rect.m_Right).arg(rect.m_Bottom)
                                          .arg(rect.m_Right - rect.m_Left).arg(rect.m_Bottom - rect.m_Top));

  // Ctrl adds to the selection; the element clicked last is the reference.
  CGraphElement* led = Element(5);
  ClickInTree(m_Window->Tree().ElementItem(led), Qt::ControlModifier);
  QCOMPARE(m_Window->Editor().Selection().Elements(), (std::vector<CGraphElement*>{text, led}));
  QVERIFY(m_Window->Action("alignLeft")->isEnabled());

  // A click on the canvas selects there, and the tree follows.
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, At(led->GetLeft() + 1, led->GetTop() + 1));
  QCOMPARE(m_Window->Editor().Selection().Elements(), std::vector<CGraphElement*>{led});
  QVERIFY(m_Window->Tree().ElementItem(led)->isSelected());
  QVERIFY(!m_Window->Tree().ElementItem(text)->isSelected());

  // An element of another frame: that frame is shown.
  CHMIFrame* second = m_Window->Doc().GetProject()->FindFrame(2);
  CGraphElement* other = second->GetElements().front().get();
  ClickInTree(m_Window->Tree().ElementItem(other));
  QCOMPARE(m_Window->Editor().CurrentFrame(), second);
  QCOMPARE(m_Window->Editor().Selection().Elements(), std::vector<CGraphElement*>{other});
}

void MainWindowTest::arrowKeysUndoRedoAndSaveGiveTheCoreFile() {
  CGraphElement* text = Element(1);
  const CRect before = text->GetRect();
  ClickInTree(m_Window->Tree().ElementItem(text));
  CFrameCanvas& canvas = m_Window->Canvas();
  canvas.setFocus();
  QTest::keyClick(&canvas, Qt::Key_Right);
  QCOMPARE(text->GetLeft(), before.m_Left + 1);
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  QVERIFY(m_Window->windowTitle().endsWith(" *]"));
  QVERIFY(m_Window->Action("undo")->isEnabled());

  m_Window->Action("undo")->trigger();
  QCOMPARE(text->GetRect(), before);
  QCOMPARE(m_Window->windowTitle(), QString::fromStdString(m_Path + " - [sample.FPJ]"));
  QVERIFY(m_Window->Action("redo")->isEnabled());
  m_Window->Action("redo")->trigger();
  QCOMPARE(text->GetLeft(), before.m_Left + 1);
  QVERIFY(m_Window->windowTitle().endsWith(" *]"));

  m_Window->Action("save")->trigger();
  QCOMPARE(m_Window->windowTitle(), QString::fromStdString(m_Path + " - [sample.FPJ]"));
  const std::vector<uint8_t> saved = test::ReadFile(m_Path);

  // The same steps through the core.
  const std::string corePath = m_Dir->File("core/sample.FPJ");
  test::WriteSampleProject(corePath);
  ScriptedInteraction ui;
  CKV410Doc doc(ui);
  CMemoryClipboard clipboard;
  CDocumentEditor editor(doc, clipboard);
  QVERIFY(doc.OpenProject(corePath));
  editor.Reset();
  editor.Select(doc.GetProject()->FindFrame(1)->GetElements().at(1).get());
  QVERIFY(editor.MoveByPixel(1, 0));
  QVERIFY(editor.Undo());
  QVERIFY(editor.Redo());
  QVERIFY(editor.Save());
  QVERIFY(saved == test::ReadFile(corePath));
}

void MainWindowTest::aMouseDragIsOneStep() {
  CGraphElement* led = Element(5);
  const CRect before = led->GetRect();
  CFrameCanvas& canvas = m_Window->Canvas();
  const QPoint from = At(before.m_Left + 2, before.m_Top + 2);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
  QTest::mouseMove(&canvas, At(before.m_Left, before.m_Top + 5));
  QTest::mouseMove(&canvas, At(before.m_Left - 3, before.m_Top + 7));
  QCOMPARE(m_Window->CursorText(), QString("X:%1 Y:%2").arg(before.m_Left - 3).arg(before.m_Top + 7));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(before.m_Left - 3, before.m_Top + 7));
  QCOMPARE(led->GetLeft(), before.m_Left - 5);
  QCOMPARE(led->GetTop(), before.m_Top + 5);
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  m_Window->Action("undo")->trigger();
  QCOMPARE(led->GetRect(), before);
  QVERIFY(!m_Window->Doc().IsModified());
}

void MainWindowTest::aDragThatWouldLeaveTheScreenMovesNothing() {
  CGraphElement* led = Element(5);  // at the right of the screen
  const CRect before = led->GetRect();
  const CRect screen = m_Window->Editor().Screen();
  CFrameCanvas& canvas = m_Window->Canvas();
  const int room = screen.m_Right - before.m_Right;
  // Up to the edge it moves; one pixel further nothing moves.
  QTest::mousePress(&canvas, Qt::LeftButton, {}, At(before.m_Left + 1, before.m_Top + 1));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(before.m_Left + 1 + room + 1, before.m_Top + 1));
  QCOMPARE(led->GetRect(), before);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, At(before.m_Left + 1, before.m_Top + 1));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(before.m_Left + 1 + room, before.m_Top + 1));
  QCOMPARE(led->GetRect().m_Right, screen.m_Right);
}

void MainWindowTest::resizingWithAHandleIsOneStep() {
  CGraphElement* led = Element(5);
  m_Window->Editor().Select(led);
  const CRect before = led->GetRect();
  CFrameCanvas& canvas = m_Window->Canvas();
  // The bottom-right handle lies just outside the bottom-right corner.
  const QRect r = canvas.WidgetRect(before);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, r.bottomRight() + QPoint(1, 1));
  QTest::mouseMove(&canvas, At(before.m_Right + 3, before.m_Bottom + 2));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(before.m_Right - 5, before.m_Bottom - 4));
  QCOMPARE(led->GetLeft(), before.m_Left);
  QCOMPARE(led->GetWidth(), before.m_Right - before.m_Left - 4);
  QCOMPARE(led->GetHeight(), before.m_Bottom - before.m_Top - 3);
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  // Dragged past the opposite edge, one pixel is left.
  QTest::mousePress(&canvas, Qt::LeftButton, {}, canvas.WidgetRect(led->GetRect()).bottomRight() + QPoint(1, 1));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(before.m_Left - 10, before.m_Top - 10));
  QCOMPARE(led->GetWidth(), 1);
  QCOMPARE(led->GetHeight(), 1);
  m_Window->Action("undo")->trigger();
  m_Window->Action("undo")->trigger();
  QCOMPARE(led->GetRect(), before);
}

void MainWindowTest::theRubberBandAppendsWhatLiesInside() {
  CGraphElement* first = Element(0);   // (0,0)-(35,16)
  CGraphElement* second = Element(1);  // (0,16)-(18,24)
  CFrameCanvas& canvas = m_Window->Canvas();
  // Dragged from the bottom-right pixel of the first, (34, 23), up and to the left of both.
  QTest::mousePress(&canvas, Qt::LeftButton, {}, At(34, 23));
  QTest::mouseMove(&canvas, At(10, 10));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(-2, -2));
  const auto& selected = m_Window->Editor().Selection().Elements();
  QVERIFY(std::find(selected.begin(), selected.end(), first) != selected.end());
  QVERIFY(std::find(selected.begin(), selected.end(), second) != selected.end());
  QVERIFY(m_Window->Tree().ElementItem(first)->isSelected());
  // One pixel short on the right: the first no longer lies inside.
  m_Window->Editor().SelectNone();
  QTest::mousePress(&canvas, Qt::LeftButton, {}, At(33, 23));
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(-2, -2));
  QVERIFY(!m_Window->Editor().Selection().Contains(first));
  QVERIFY(m_Window->Editor().Selection().Contains(second));
}

void MainWindowTest::deleteAndEscape() {
  CHMIFrame* frame = m_Window->Doc().GetProject()->FindFrame(1);
  const std::size_t count = frame->GetElements().size();
  CGraphElement* text = Element(1);
  ClickInTree(m_Window->Tree().ElementItem(text));
  CFrameCanvas& canvas = m_Window->Canvas();
  canvas.setFocus();
  QTest::keyClick(&canvas, Qt::Key_Escape);
  QVERIFY(m_Window->Editor().Selection().IsEmpty());
  QVERIFY(m_Window->SelectionText().isEmpty());
  QVERIFY(!m_Window->Action("delete")->isEnabled());
  m_Window->Editor().Select(text);
  QTest::keyClick(&canvas, Qt::Key_Delete);
  QCOMPARE(frame->GetElements().size(), count - 1);
  QCOMPARE(m_Window->Tree().FrameItem(frame)->childCount(), static_cast<int>(count - 1));
  m_Window->Action("undo")->trigger();
  QCOMPARE(frame->GetElements().size(), count);
  QCOMPARE(m_Window->Tree().FrameItem(frame)->childCount(), static_cast<int>(count));
}

void MainWindowTest::closingWithUnsavedChangesAsks() {
  m_Window->Editor().Select(Element(1));
  QVERIFY(m_Window->Editor().MoveByPixel(1, 0));
  // Cancel keeps the window and the project.
  m_Ui->QueueAnswer(Answer::Cancel);
  QVERIFY(!m_Window->close());
  QCOMPARE(m_Ui->Questions().size(), std::size_t{1});
  QVERIFY(m_Window->isVisible());
  QVERIFY(m_Window->Doc().GetProject() != nullptr);
  // No closes without saving.
  const std::vector<uint8_t> before = test::ReadFile(m_Path);
  m_Ui->QueueAnswer(Answer::No);
  QVERIFY(m_Window->close());
  QVERIFY(m_Window->Doc().GetProject() == nullptr);
  QVERIFY(test::ReadFile(m_Path) == before);
  QCOMPARE(m_Window->windowTitle(), QString("KD820"));
}

void MainWindowTest::zoomStaysWithinItsLimits() {
  CFrameCanvas& canvas = m_Window->Canvas();
  QCOMPARE(canvas.Zoom(), 2);
  QVERIFY(!canvas.SetZoom(0));
  QVERIFY(canvas.SetZoom(1));
  m_Window->Action("zoomOut")->trigger();
  QCOMPARE(canvas.Zoom(), 1);
  QVERIFY(canvas.SetZoom(8));
  m_Window->Action("zoomIn")->trigger();
  QCOMPARE(canvas.Zoom(), 8);
  QVERIFY(!canvas.SetZoom(9));
  QCOMPARE(canvas.Zoom(), 8);
  // The panel pixel under a point follows the zoom; the margin gives negative pixels.
  QCOMPARE(canvas.PanelPixelAt(canvas.Origin() + QPoint(15, 16)), QPoint(1, 2));
  QCOMPARE(canvas.PanelPixelAt(canvas.Origin() - QPoint(1, 1)), QPoint(-1, -1));
}

void MainWindowTest::aNewProjectOpensItsFirstFrame() {
  std::filesystem::create_directories(m_Dir->File("projects"));
  m_Ui->QueueAnswer(Answer::Yes);  // the panel model cannot be changed afterwards
  QVERIFY(m_Window->NewProject("plant", m_Dir->File("projects")));
  CKV410Project* project = m_Window->Doc().GetProject();
  QVERIFY(project != nullptr);
  QCOMPARE(project->GetFrames().size(), std::size_t{1});
  QCOMPARE(m_Window->Tree().topLevelItemCount(), 1);
  QVERIFY(std::filesystem::exists(m_Dir->File("projects/plant/plant.FPJ")));
  QVERIFY(m_Window->windowTitle().endsWith("[plant.FPJ]"));
  // A name that is no plain name is refused with a message.
  m_Ui->Clear();
  QVERIFY(!m_Window->NewProject("a/b", m_Dir->File("projects")));
  QCOMPARE(m_Ui->Messages().size(), std::size_t{1});
}

void MainWindowTest::eachProblemIsShownOnce() {
  // The canvas compiles after every change; the warnings of each compile come again.
  CWindowProblems problems;
  int shown = 0;
  problems.m_OnReport = [&shown](const CProblem&) { ++shown; };
  problems.Warn("warning: text cut", {"HMI1", "ST0", ""});
  problems.Warn("warning: text cut", {"HMI1", "ST0", ""});
  QCOMPARE(shown, 1);
  problems.Warn("warning: text cut", {"HMI1", "ST1", ""});
  problems.Error("warning: text cut", {"HMI1", "ST1", ""});  // the same text and place
  problems.Warn("warning: text cut");
  QCOMPARE(shown, 3);
  QCOMPARE(problems.Problems().size(), std::size_t{3});
}

namespace {

bool ClipboardHoldsElements() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat("application/x-kd820-GraphElement");
}

}  // namespace

void MainWindowTest::copyAndPasteGoThroughTheSystemClipboard() {
  CHMIFrame* frame = m_Window->Doc().GetProject()->FindFrame(1);
  const std::size_t count = frame->GetElements().size();
  m_Window->Editor().Select(Element(1));
  m_Window->Action("copy")->trigger();
  QVERIFY(ClipboardHoldsElements());
  QVERIFY(m_Window->Action("paste")->isEnabled());
  m_Window->Action("paste")->trigger();
  QCOMPARE(frame->GetElements().size(), count + 1);
  QCOMPARE(m_Window->Tree().FrameItem(frame)->childCount(), static_cast<int>(count + 1));
  // Closing the project empties the clipboard of the editor's elements...
  m_Ui->QueueAnswer(Answer::No);
  QVERIFY(m_Window->CloseProject());
  QVERIFY(!ClipboardHoldsElements());
  QVERIFY(!m_Window->Action("paste")->isEnabled());
  // ...but leaves what another program put there.
  QGuiApplication::clipboard()->setText("other");
  QVERIFY(m_Window->OpenProject(m_Path));
  QVERIFY(m_Window->CloseProject());
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("other"));
}

void MainWindowTest::aGestureEndsWhenItsElementsAreDeleted() {
  CGraphElement* first = Element(0);
  CGraphElement* led = Element(5);
  m_Window->Editor().Select(first);
  m_Window->Editor().Select(led, true);
  CFrameCanvas& canvas = m_Window->Canvas();
  canvas.setFocus();
  QTest::mousePress(&canvas, Qt::LeftButton, {}, At(led->GetLeft() + 1, led->GetTop() + 1));
  QTest::keyClick(&canvas, Qt::Key_Delete);
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, At(led->GetLeft() + 1, led->GetTop() + 1));
  QVERIFY(m_Window->Editor().Selection().IsEmpty());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
