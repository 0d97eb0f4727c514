// The window's recent projects (kept under the configuration directory), the single-open
// lock seen from a second window, and compile-and-view from the Tools menu.
#include <QAction>
#include <QTest>
#include <memory>

#include "editor/compiler/ToolLaunch.h"
#include "editor/project/KV410Project.h"
#include "editor/project/Messages.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/RecentFiles.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

class CRecordingStarter : public IProgramStarter {
 public:
  bool Start(const CProgramCall& a_Call, int&, std::string& a_Error) override {
    m_Calls.push_back(a_Call);
    if (!m_Starts) a_Error = "not found";
    return m_Starts;
  }
  std::vector<CProgramCall> m_Calls;
  bool m_Starts = true;
};

}  // namespace

class WindowToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theListKeepsFourLatestFirstOnce();
  void theListIsKeptInTheFile();
  void onlyFilesThatExistAreOffered();
  void theDefaultFileIsUnderTheConfigDirectory();
  void openedAndSavedProjectsLeadTheFileMenu();
  void aProjectOpenInAnotherWindowIsRefused();
  void compileAndViewStartsTheViewerOnTheImage();
  void aViewerThatDoesNotStartIsNoSuccess();

 private:
  std::string Project(const char* a_Name);

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
};

void WindowToolsTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
}

void WindowToolsTest::cleanup() {
  m_Ui.reset();
  m_Dir.reset();
}

std::string WindowToolsTest::Project(const char* a_Name) {
  const std::string path = m_Dir->File(std::string(a_Name) + "/" + a_Name + ".FPJ");
  test::WriteSampleProject(path);
  return path;
}

void WindowToolsTest::theListKeepsFourLatestFirstOnce() {
  CRecentFiles recent(m_Dir->File("config/recent"));
  QVERIFY(recent.Entries().empty());
  for (const char* path : {"/a.FPJ", "/b.FPJ", "/c.FPJ", "/d.FPJ"}) QVERIFY(recent.Add(path));
  QCOMPARE(recent.Entries(), (std::vector<std::string>{"/d.FPJ", "/c.FPJ", "/b.FPJ", "/a.FPJ"}));
  // A fifth drops the oldest; one added again moves to the front.
  QVERIFY(recent.Add("/e.FPJ"));
  QCOMPARE(recent.Entries(), (std::vector<std::string>{"/e.FPJ", "/d.FPJ", "/c.FPJ", "/b.FPJ"}));
  QVERIFY(recent.Add("/c.FPJ"));
  QCOMPARE(recent.Entries(), (std::vector<std::string>{"/c.FPJ", "/e.FPJ", "/d.FPJ", "/b.FPJ"}));
  QVERIFY(recent.Remove("/e.FPJ"));
  QCOMPARE(recent.Entries(), (std::vector<std::string>{"/c.FPJ", "/d.FPJ", "/b.FPJ"}));
  QVERIFY(!recent.Add(""));
}

void WindowToolsTest::theListIsKeptInTheFile() {
  const std::string file = m_Dir->File("config/KD820/recent");
  {
    CRecentFiles recent(file);
    QVERIFY(recent.Add("/x/one.FPJ"));
    QVERIFY(recent.Add("/y/two words.FPJ"));
  }
  CRecentFiles again(file);
  QCOMPARE(again.Entries(), (std::vector<std::string>{"/y/two words.FPJ", "/x/one.FPJ"}));
  // A longer list written by hand is read up to four entries, without repeats.
  test::WriteFile(file, {'1', '\n', '2', '\n', '1', '\n', '3', '\r', '\n', '4', '\n', '5', '\n'});
  CRecentFiles hand(file);
  QCOMPARE(hand.Entries(), (std::vector<std::string>{"1", "2", "3", "4"}));
  // A list that cannot be written is still kept in memory.
  CRecentFiles blocked(m_Dir->File("config/KD820/recent/inside"));
  QVERIFY(!blocked.Add("/z.FPJ"));
  QCOMPARE(blocked.Entries().size(), std::size_t{1});
}

void WindowToolsTest::onlyFilesThatExistAreOffered() {
  const std::string one = Project("One");
  CRecentFiles recent(m_Dir->File("config/recent"));
  recent.Add(m_Dir->File("Gone/Gone.FPJ"));
  recent.Add(one);
  // A name without an extension opens its ".FPJ" file.
  const std::string bare = one.substr(0, one.size() - 4);
  recent.Add(bare);
  QCOMPARE(CRecentFiles::FileOf(bare), one);
  QCOMPARE(CRecentFiles::FileOf(one), one);
  QCOMPARE(recent.Offered(), (std::vector<std::string>{bare, one}));
}

void WindowToolsTest::theDefaultFileIsUnderTheConfigDirectory() {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "/somewhere/config");
  QCOMPARE(CRecentFiles::DefaultFile(), std::string("/somewhere/config/KD820/recent-projects"));
  // A relative setting is ignored, as the XDG base directory rules say.
  qputenv("XDG_CONFIG_HOME", "relative");
  QVERIFY(CRecentFiles::DefaultFile().ends_with("/.config/KD820/recent-projects"));
  qputenv("XDG_CONFIG_HOME", saved);
}

void WindowToolsTest::openedAndSavedProjectsLeadTheFileMenu() {
  const std::string one = Project("One");
  const std::string two = Project("Two");
  const std::string file = m_Dir->File("config/recent");
  {
    CMainWindow window(*m_Ui, file);
    QVERIFY(!window.Action("recent0")->isVisible());
    QVERIFY(window.OpenProject(one));
    QVERIFY(window.OpenProject(two));
    QCOMPARE(window.Recent().Entries(), (std::vector<std::string>{two, one}));
    QVERIFY(window.Action("recent0")->isVisible());
    QVERIFY(window.Action("recent1")->text().endsWith(QString::fromStdString(one)));
    QVERIFY(!window.Action("recent2")->isVisible());
    const std::string copy = m_Dir->File("Copy/Copy.FPJ");
    std::filesystem::create_directories(m_Dir->File("Copy"));
    m_Ui->QueueAnswer(Answer::Yes);
    QVERIFY(window.SaveProjectAs(copy));
    QCOMPARE(window.Recent().Entries().front(), copy);
    QVERIFY(window.CloseProject());
  }
  // The next window offers them, and its entry opens the project.
  CMainWindow next(*m_Ui, file);
  QVERIFY(next.Action("recent2")->isVisible());
  next.Action("recent2")->trigger();
  QVERIFY(next.Doc().GetProject() != nullptr);
  QCOMPARE(next.Doc().GetPathName(), one);
}

void WindowToolsTest::aProjectOpenInAnotherWindowIsRefused() {
  const std::string one = Project("One");
  CMainWindow first(*m_Ui, m_Dir->File("config/recent"));
  QVERIFY(first.OpenProject(one));
  ScriptedInteraction secondUi;
  CMainWindow second(secondUi, m_Dir->File("config/recent"));
  QVERIFY(!second.OpenProject(one));
  QCOMPARE(secondUi.Messages(), (std::vector<std::string>{msg::kAlreadyOpen}));
  QVERIFY(second.Doc().GetProject() == nullptr);
  QCOMPARE(second.windowTitle(), QString("KD820"));
  // Once the first window closed it, the second one opens it.
  QVERIFY(first.CloseProject());
  QVERIFY(second.OpenProject(one));
}

void WindowToolsTest::compileAndViewStartsTheViewerOnTheImage() {
  CMainWindow window(*m_Ui, m_Dir->File("config/recent"));
  CRecordingStarter starter;
  window.SetProgramStarter(starter);
  QVERIFY(!window.Action("compileAndView")->isEnabled());
  QVERIFY(!window.CompileAndViewData());
  QVERIFY(starter.m_Calls.empty());
  QVERIFY(window.OpenProject(Project("One")));
  QVERIFY(window.Action("compileAndView")->isEnabled());
  window.Action("compileAndView")->trigger();
  QCOMPARE(starter.m_Calls.size(), std::size_t{1});
  const CKV410Project& project = *window.Doc().GetProject();
  QCOMPARE(starter.m_Calls[0], ViewerCall(project));
  QVERIFY(std::filesystem::exists(project.GetImagePath()));
  QCOMPARE(window.Action("compileAndView")->text(), QString::fromUtf8("编译并查看数据"));
}

void WindowToolsTest::aViewerThatDoesNotStartIsNoSuccess() {
  CMainWindow window(*m_Ui, m_Dir->File("config/recent"));
  CRecordingStarter starter;
  starter.m_Starts = false;
  window.SetProgramStarter(starter);
  QVERIFY(window.OpenProject(Project("One")));
  QVERIFY(!window.CompileAndViewData());
  QCOMPARE(starter.m_Calls.size(), std::size_t{1});
}

QTEST_MAIN(WindowToolsTest)
#include "WindowToolsTest.moc"
