// The creation tools of the main window: one element of every kind armed from the Insert menu
// and put where the canvas is clicked, a picture from a .bmp file and one dropped on the
// canvas; each one undoable step; the file saved equals the one the core's steps give.
#include <QAction>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

#include "common/ImageFormat.h"
#include "editor/project/KV410Project.h"
#include "editor/project/NewProjectWizard.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/FrameTree.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/BmpTestSupport.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

struct CPlace {
  const char* m_Action;
  int32_t m_Type;
  int m_X, m_Y;
};

// Where each kind is put.
const CPlace kPlaces[] = {
    {"insertLed", kTypeLed, 0, 0},          {"insertFunckey", kTypeFunckey, 20, 0},
    {"insertStaticText", kTypeStaticText, 40, 0}, {"insertDynamicText", kTypeDynamicText, 0, 20},
    {"insertRegister", kTypeRegister, 100, 20},   {"insertBar", kTypeBar, 150, 10},
    {"insertTrend", kTypeTrend, 60, 16},      {"insertAscii", kTypeAscii, 168, 0},
    {"insertEventList", kTypeEventList, 0, 0},
};

}  // namespace

class InsertToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void everyKindIsPutWhereTheCanvasIsClicked();
  void escapeDisarmsTheTool();
  void aBitmapThatIsNoSingleColourOneIsRefused();

 private:
  QPoint At(int a_X, int a_Y) const;
  CHMIFrame& Frame() const { return *m_Window->Editor().CurrentFrame(); }

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void InsertToolsTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  std::filesystem::create_directories(m_Dir->File("window"));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
  m_Window->resize(900, 480);
  m_Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_Window.get()));
  m_Ui->QueueAnswer(Answer::Yes);
  QVERIFY(m_Window->NewProject("tools", m_Dir->File("window")));
  QVERIFY(m_Window->Editor().CurrentFrame() != nullptr);
}

void InsertToolsTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

QPoint InsertToolsTest::At(int a_X, int a_Y) const {
  const CFrameCanvas& canvas = m_Window->Canvas();
  return canvas.Origin() + QPoint(a_X * canvas.Zoom() + canvas.Zoom() / 2, a_Y * canvas.Zoom() + canvas.Zoom() / 2);
}

void InsertToolsTest::everyKindIsPutWhereTheCanvasIsClicked() {
  using test::bmp::Bytes;
  const std::string bmp = m_Dir->File("eight.bmp");
  test::WriteFile(bmp, test::bmp::MakeBmp(8, 2, {Bytes(4, 0x0f), Bytes(4, 0xf0)}));
  const std::string dropped = m_Dir->File("dropped.bmp");
  test::WriteFile(dropped, test::bmp::MakeBmp(16, 1, {Bytes(4, 0x55)}));
  CFrameCanvas& canvas = m_Window->Canvas();

  for (const CPlace& place : kPlaces) {
    const std::size_t count = Frame().GetElements().size();
    QVERIFY(m_Window->Action(place.m_Action)->isEnabled());
    m_Window->Action(place.m_Action)->trigger();
    QVERIFY2(canvas.IsArmed(), place.m_Action);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, At(place.m_X, place.m_Y));
    QVERIFY(!canvas.IsArmed());
    QCOMPARE(Frame().GetElements().size(), count + 1);
    const CGraphElement& added = *Frame().GetElements().back();
    QCOMPARE(added.GetTypeCode(), place.m_Type);
    QCOMPARE(added.GetLeft(), place.m_X);
    QCOMPARE(added.GetTop(), place.m_Y);
    QVERIFY(added.GetWidth() > 0 && added.GetHeight() > 0);
    // It is selected, here and in the tree.
    QCOMPARE(m_Window->Editor().Selection().Reference(), &added);
    QVERIFY(m_Window->Tree().ElementItem(&added)->isSelected());
  }
  QVERIFY(m_Window->ArmPicture(bmp));
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, At(120, 40));
  QCOMPARE(Frame().GetElements().back()->GetTypeCode(), static_cast<int32_t>(kTypePicture));
  QCOMPARE(Frame().GetElements().back()->GetWidth(), 8);
  QCOMPARE(Frame().GetElements().back()->GetHeight(), 2);

  // A .bmp file dropped on the canvas becomes a picture there.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
  QDragEnterEvent enter(At(130, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(&canvas, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(At(130, 50)), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(&canvas, &drop);
  QCOMPARE(Frame().GetElements().back()->GetLeft(), 130);
  QCOMPARE(Frame().GetElements().back()->GetTop(), 50);
  QCOMPARE(Frame().GetElements().back()->GetWidth(), 16);

  const std::size_t steps = std::size(kPlaces) + 2;
  QCOMPARE(m_Window->Editor().History().UndoCount(), steps);
  QVERIFY(m_Window->SaveProject());
  const std::vector<uint8_t> saved = test::ReadFile(m_Dir->File("window/tools/tools.FPJ"));

  // The same steps through the core, in a project of the same name.
  ScriptedInteraction ui;
  ui.QueueAnswer(Answer::Yes);
  CKV410Doc doc(ui);
  CMemoryClipboard clipboard;
  CDocumentEditor editor(doc, clipboard);
  std::filesystem::create_directories(m_Dir->File("core"));
  CNewProjectWizard wizard(doc.Context());
  wizard.NamePage().SetParentFolder(m_Dir->File("core"));
  wizard.NamePage().SetName("tools");
  QVERIFY(wizard.Finish(doc, ui));
  editor.Reset();
  for (const CPlace& place : kPlaces) {
    auto tool = editor.ArmInsert(place.m_Type);
    QVERIFY(tool.has_value());
    QVERIFY(editor.Insert(*tool, place.m_X, place.m_Y) != nullptr);
  }
  QVERIFY(editor.Insert(*editor.ArmPicture(bmp), 120, 40) != nullptr);
  QVERIFY(editor.Insert(*editor.ArmPicture(dropped), 130, 50) != nullptr);
  QVERIFY(editor.Save());
  QVERIFY(saved == test::ReadFile(m_Dir->File("core/tools/tools.FPJ")));

  // Every step undoes.
  for (std::size_t i = 0; i < steps; ++i) m_Window->Action("undo")->trigger();
  QVERIFY(Frame().GetElements().empty());
  QCOMPARE(m_Window->Tree().FrameItem(&Frame())->childCount(), 0);
}

void InsertToolsTest::escapeDisarmsTheTool() {
  CFrameCanvas& canvas = m_Window->Canvas();
  m_Window->Action("insertLed")->trigger();
  QVERIFY(canvas.IsArmed());
  QTest::keyClick(&canvas, Qt::Key_Escape);
  QVERIFY(!canvas.IsArmed());
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, At(10, 10));
  QVERIFY(Frame().GetElements().empty());
  // Without a project nothing is armed.
  QVERIFY(m_Window->CloseProject());
  QVERIFY(!m_Window->ArmInsert(kTypeLed));
  QVERIFY(!m_Window->Action("insertLed")->isEnabled());
}

void InsertToolsTest::aBitmapThatIsNoSingleColourOneIsRefused() {
  using test::bmp::Bytes;
  const std::string colour = m_Dir->File("colour.bmp");
  test::WriteFile(colour, test::bmp::MakeBmp(2, 1, {Bytes(6, 0)}, 24));
  QVERIFY(!m_Window->ArmPicture(colour));
  QVERIFY(!m_Window->Canvas().IsArmed());
  QCOMPARE(m_Ui->Messages().size(), std::size_t{1});
  QCOMPARE(m_Ui->Messages().front(), std::string("文件格式非法，只能导入单色位图"));
}

QTEST_MAIN(InsertToolsTest)
#include "InsertToolsTest.moc"
