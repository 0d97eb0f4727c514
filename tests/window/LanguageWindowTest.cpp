// The window under an English locale: its menus and the document's messages come from the
// English catalogue, the project's own texts stay as they are stored.
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/MainWindow.h"
#include "platform/Translate.h"
#include "tests/JsonTestSupport.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

class LanguageWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void theMenusAreEnglish();
  void aDamagedProjectIsReportedInEnglish();
  void theProjectsTextsAreNotTranslated();
};

void LanguageWindowTest::initTestCase() {
  // The build tree's catalogue, chosen by the language list of a UTF-8 locale.
  qputenv("LC_ALL", "C.UTF-8");
  qputenv("LANGUAGE", "en");
  qputenv("KD820_HOME", KD820_TEST_BINARY_DIR);
  InitTranslation();
}

void LanguageWindowTest::theMenusAreEnglish() {
  ScriptedInteraction ui;
  CMainWindow window(ui);
  QStringList titles;
  for (QAction* menu : window.menuBar()->actions()) titles << menu->text();
  QCOMPARE(titles.value(0), QString("&File"));
  QCOMPARE(titles.value(1), QString("&Edit"));
  QVERIFY2(titles.contains("&Tools"), qPrintable(titles.join(' ')));
  for (const QString& title : titles) {
    for (QChar c : title) QVERIFY2(c.unicode() < 0x80, qPrintable(title));
  }
}

void LanguageWindowTest::aDamagedProjectIsReportedInEnglish() {
  test::TempDir dir;
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(dir.File("locks")));
  const std::string path = dir.File("damaged.FPJ");
  test::WriteFile(path, {'x', 'y', 'z'});
  ScriptedInteraction ui;
  CMainWindow window(ui);
  QVERIFY(!window.OpenProject(path));
  QCOMPARE(ui.Messages().size(), std::size_t{1});
  QVERIFY2(ui.Messages()[0].rfind("Failed to open the project", 0) == 0, ui.Messages()[0].c_str());
}

void LanguageWindowTest::theProjectsTextsAreNotTranslated() {
  // A frame description that is also an id of the catalogue ("删除" reads "Delete" there):
  // what the project stores is shown as stored.
  test::TempDir dir;
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(dir.File("locks")));
  auto sample = test::Sample();
  sample->GetFrames().front()->SetDescription("删除");
  const std::string path = dir.File("sample.FPJ");
  test::WriteFile(path, test::StoreProject(*sample));
  ScriptedInteraction ui;
  CMainWindow window(ui);
  QVERIFY(window.OpenProject(path));
  auto* tree = window.findChild<QTreeWidget*>();
  QVERIFY(tree != nullptr);
  const QString first = tree->topLevelItem(0)->text(0);
  QVERIFY2(first.contains(QString::fromUtf8("删除")), qPrintable(first));
}

QTEST_MAIN(LanguageWindowTest)
#include "LanguageWindowTest.moc"
