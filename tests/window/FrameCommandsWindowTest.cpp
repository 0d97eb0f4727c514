// The frame commands of the main window: New frame and the frame properties through the
// frame-properties dialog, Copy frame and Delete frame; each one undoable step that the
// frame tree follows.
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameDialog.h"
#include "editor/ui/window/FrameTree.h"
#include "editor/ui/window/MainWindow.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

class FrameCommandsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theDialogsKeysFollowANewFramesNumber();
  void newFrameThroughTheDialog();
  void aCancelledDialogChangesNothing();
  void framePropertiesThroughTheDialog();
  void copyAndDeleteFrame();

 private:
  // Triggers an action whose modal dialog a_Fill fills and accepts (or rejects).
  template <typename Dialog>
  void WithDialog(const char* a_Action, std::function<void(Dialog&)> a_Fill);
  CKV410Project& Project() const { return *m_Window->Doc().GetProject(); }

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void FrameCommandsWindowTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  const std::string path = m_Dir->File("window/sample.FPJ");
  test::WriteSampleProject(path);
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
  m_Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_Window.get()));
  QVERIFY(m_Window->OpenProject(path));
}

void FrameCommandsWindowTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

template <typename Dialog>
void FrameCommandsWindowTest::WithDialog(const char* a_Action, std::function<void(Dialog&)> a_Fill) {
  bool seen = false;
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    a_Fill(*dialog);
  });
  m_Window->Action(a_Action)->trigger();
  QVERIFY2(seen, a_Action);
}

void FrameCommandsWindowTest::theDialogsKeysFollowANewFramesNumber() {
  CFrameDialog dialog(3);
  QCOMPARE(dialog.Number(), uint16_t{3});
  QCOMPARE(dialog.Fields().m_Previous, uint16_t{2});
  QCOMPARE(dialog.Fields().m_Next, uint16_t{4});
  // The first number: its up key does nothing; below it nothing can be chosen.
  dialog.NumberBox().setValue(1);
  QCOMPARE(dialog.Fields().m_Previous, uint16_t{0});
  QCOMPARE(dialog.Fields().m_Next, uint16_t{2});
  dialog.NumberBox().setValue(0);
  QCOMPARE(dialog.Number(), uint16_t{1});
  // The last number: its down key does nothing; beyond it nothing can be chosen.
  dialog.NumberBox().setValue(65534);
  QCOMPARE(dialog.Fields().m_Next, uint16_t{65535});
  dialog.NumberBox().setValue(65535);
  QCOMPARE(dialog.Fields().m_Previous, uint16_t{65534});
  QCOMPARE(dialog.Fields().m_Next, uint16_t{0});
  dialog.NumberBox().setValue(65536);
  QCOMPARE(dialog.Number(), uint16_t{65535});
  // An existing frame keeps its number; its keys are its own.
  CFrameDialog existing(7, CFrameFields{"Pumps", 0, 9});
  QVERIFY(!existing.NumberBox().isEnabled());
  QCOMPARE(existing.Fields(), (CFrameFields{"Pumps", 0, 9}));
}

void FrameCommandsWindowTest::newFrameThroughTheDialog() {
  const uint16_t offered = Project().NextFreeFrameNumber();
  WithDialog<CFrameDialog>("newFrame", [offered](CFrameDialog& a_Dialog) {
    QCOMPARE(a_Dialog.Number(), offered);
    a_Dialog.DescriptionBox().setText("Pumps");
    a_Dialog.accept();
  });
  CHMIFrame* added = Project().FindFrame(offered);
  QVERIFY(added != nullptr);
  QCOMPARE(added->GetDescription(), std::string("Pumps"));
  QCOMPARE(m_Window->Editor().CurrentFrame(), added);
  QVERIFY(m_Window->Tree().FrameItem(added) != nullptr);
  QVERIFY(m_Window->Tree().FrameItem(added)->isSelected());
  m_Window->Action("undo")->trigger();
  QVERIFY(Project().FindFrame(offered) == nullptr);
  QCOMPARE(m_Window->Tree().topLevelItemCount(), static_cast<int>(Project().GetFrames().size()));
}

void FrameCommandsWindowTest::aCancelledDialogChangesNothing() {
  const std::size_t frames = Project().GetFrames().size();
  WithDialog<CFrameDialog>("newFrame", [](CFrameDialog& a_Dialog) { a_Dialog.reject(); });
  QCOMPARE(Project().GetFrames().size(), frames);
  WithDialog<CFrameDialog>("frameProperties", [](CFrameDialog& a_Dialog) {
    a_Dialog.DescriptionBox().setText("changed");
    a_Dialog.reject();
  });
  QVERIFY(!m_Window->Doc().IsModified());
  QVERIFY(!m_Window->Action("undo")->isEnabled());
}

void FrameCommandsWindowTest::framePropertiesThroughTheDialog() {
  CHMIFrame* frame = m_Window->Editor().CurrentFrame();
  const CFrameFields before = CFrameFields::Of(*frame);
  WithDialog<CFrameDialog>("frameProperties", [](CFrameDialog& a_Dialog) {
    a_Dialog.DescriptionBox().setText("Start page");
    a_Dialog.UpBox().setValue(0);
    a_Dialog.DownBox().setValue(5);
    a_Dialog.accept();
  });
  QCOMPARE(CFrameFields::Of(*frame), (CFrameFields{"Start page", 0, 5}));
  QVERIFY(m_Window->Tree().FrameItem(frame)->text(0).endsWith("Start page"));
  QVERIFY(m_Window->windowTitle().endsWith(" *]"));
  m_Window->Action("undo")->trigger();
  QCOMPARE(CFrameFields::Of(*frame), before);
  QVERIFY(!m_Window->Doc().IsModified());
}

void FrameCommandsWindowTest::copyAndDeleteFrame() {
  CHMIFrame* source = m_Window->Editor().CurrentFrame();
  const std::size_t elements = source->GetElements().size();
  WithDialog<QInputDialog>("copyFrame", [](QInputDialog& a_Dialog) {
    a_Dialog.setIntValue(9);
    a_Dialog.accept();
  });
  CHMIFrame* copy = Project().FindFrame(9);
  QVERIFY(copy != nullptr);
  QCOMPARE(copy->GetElements().size(), elements);
  QCOMPARE(m_Window->Tree().FrameItem(copy)->childCount(), static_cast<int>(elements));

  // Delete frame asks first; No keeps it.
  m_Window->Editor().SetCurrentFrame(copy);
  m_Ui->QueueAnswer(Answer::No);
  m_Window->Action("deleteFrame")->trigger();
  QVERIFY(Project().FindFrame(9) != nullptr);
  m_Ui->QueueAnswer(Answer::Yes);
  m_Window->Action("deleteFrame")->trigger();
  QVERIFY(Project().FindFrame(9) == nullptr);
  QVERIFY(m_Window->Tree().FrameItem(copy) == nullptr);
  QCOMPARE(m_Ui->Questions().size(), std::size_t{2});
  m_Window->Action("undo")->trigger();
  QVERIFY(Project().FindFrame(9) != nullptr);
}

QTEST_MAIN(FrameCommandsWindowTest)
#include "FrameCommandsWindowTest.moc"
