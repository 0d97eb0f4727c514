// The window's alignment commands on the offscreen platform: aligning and centring the demo's
// pumps frame through the menu, with undo and redo, saves the file the same steps give through the editor
// core, and that file comes back unchanged through KD820 export and import.
#include <QAction>
#include <QTest>
#include <memory>

#include "editor/project/Clipboard.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

class AlignWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void alignAndCentreThroughTheMenuGiveTheCoreFileAndRoundTrip();
};

void AlignWindowTest::alignAndCentreThroughTheMenuGiveTheCoreFileAndRoundTrip() {
  test::TempDir dir;
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(dir.File("locks")));
  const std::string path = dir.File("window/pumps.FPJ");
  QVERIFY(test::WriteProjectFromJson("demo/pump-panel.json", path));
  ScriptedInteraction ui;
  CMainWindow window(ui);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(window.OpenProject(path));
  // The pumps frame: two texts and three pictures.
  window.Editor().SetCurrentFrame(window.Doc().GetProject()->FindFrame(2));
  const std::vector<uint8_t> original = test::ReadFile(path);

  for (const char* name : {"selectAll", "alignLeft", "centreHorizontally", "alignTop", "undo",
                           "redo", "undo"}) {
    QAction* action = window.Action(name);
    QVERIFY2(action != nullptr, name);
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
  }
  QCOMPARE(window.Editor().History().UndoCount(), std::size_t{2});
  // Undoing everything gives back the file as it was opened.
  window.Action("undo")->trigger();
  window.Action("undo")->trigger();
  QVERIFY(!window.Action("undo")->isEnabled());
  window.Action("redo")->trigger();
  window.Action("redo")->trigger();
  window.Action("save")->trigger();
  const std::vector<uint8_t> saved = test::ReadFile(path);
  QVERIFY(saved != original);

  // The same steps through the core.
  const std::string corePath = dir.File("core/pumps.FPJ");
  QVERIFY(test::WriteProjectFromJson("demo/pump-panel.json", corePath));
  ScriptedInteraction coreUi;
  CKV410Doc doc(coreUi);
  CMemoryClipboard clipboard;
  CDocumentEditor editor(doc, clipboard);
  QVERIFY(doc.OpenProject(corePath));
  editor.Reset();
  editor.SetCurrentFrame(doc.GetProject()->FindFrame(2));
  editor.SelectAll();
  QVERIFY(editor.Align(AlignMode::Left));
  QVERIFY(editor.Centre(true, false));
  QVERIFY(editor.Save());
  QVERIFY(saved == test::ReadFile(corePath));

  // Export and import give the saved file back byte for byte.
  const std::string json = dir.File("pumps.json");
  const std::string back = dir.File("back/back.FPJ");
  const std::string kd820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";
  std::string out, err;
  QVERIFY2(test::RunProgram(kd820, {"export", path, "-o", json}, &out, &err) == 0, err.c_str());
  std::filesystem::create_directories(dir.Path() / "back");
  QVERIFY2(test::RunProgram(kd820, {"import", json, "-o", back}, &out, &err) == 0, err.c_str());
  QVERIFY(test::ReadFile(back) == saved);
}

QTEST_MAIN(AlignWindowTest)
#include "AlignWindowTest.moc"
