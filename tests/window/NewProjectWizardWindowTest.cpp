// The new-project wizard of the window: the same answers give the same project file as
// KD820 new; the name page follows the name; the core's questions keep it open.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <memory>

#include "editor/devices/EditorContext.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Project.h"
#include "editor/project/Messages.h"
#include "editor/ui/ProjectCommands.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/NewProjectDialog.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

using namespace kd820;

class NewProjectWizardWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void theWizardMakesWhatKd820NewMakes();
  void theDirectoryFollowsTheTrimmedName();
  void aBlankNameCannotGoOn();
  void anExistingDirectoryAnsweredNoKeepsTheWizardOpen();
  void cancelMakesNoProject();

 private:
  // Runs the wizard: a_Steps once it shows, then Finish (when a_Finish).
  bool Run(const std::function<void(CNewProjectDialog&)>& a_Steps, bool a_Finish = true);

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
  bool m_StillOpen = false;
};

void NewProjectWizardWindowTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  std::filesystem::create_directories(m_Dir->File("cli"));
  std::filesystem::create_directories(m_Dir->File("window"));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui);
}

void NewProjectWizardWindowTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

bool NewProjectWizardWindowTest::Run(const std::function<void(CNewProjectDialog&)>& a_Steps, bool a_Finish) {
  m_StillOpen = false;
  m_Window->m_PrepareNewProjectDialog = [&](CNewProjectDialog& a_Wizard) {
    QTimer::singleShot(0, &a_Wizard, [&, a_Finish] {
      a_Steps(a_Wizard);
      if (a_Finish) {
        a_Wizard.button(QWizard::FinishButton)->click();
        m_StillOpen = a_Wizard.isVisible();
      }
      if (a_Wizard.isVisible()) a_Wizard.reject();
    });
  };
  const bool made = m_Window->RunNewProjectWizard();
  m_Window->m_PrepareNewProjectDialog = nullptr;
  return made;
}

void NewProjectWizardWindowTest::theWizardMakesWhatKd820NewMakes() {
  CEditorContext& context = m_Window->Doc().Context();
  const auto& models = context.GetHardwareLibrary().Index();
  QVERIFY(models.size() >= 2);
  const CPlcLibrary& plcs = context.GetPlcLibrary();
  QVERIFY(!plcs.Manufacturers().empty());
  const CManufacturer& maker = plcs.Manufacturers().back();
  const CPlcEntry& plc = maker.m_Plcs.back();

  CliNewOptions options;
  options.m_Name = "Plant";
  options.m_Parent = m_Dir->File("cli");
  options.m_Model = models[1].m_Id;
  options.m_Ports[0].m_Plc = maker.m_Description + "/" + plc.m_Name;
  options.m_Ports[0].m_Baud = 19200;
  options.m_Preset = Answer::Yes;
  QCOMPARE(RunNewCommand(options), 0);

  m_Ui->QueueAnswer(Answer::Yes);  // the panel model cannot be changed afterwards
  QVERIFY(Run([&](CNewProjectDialog& w) {
    w.Wizard().NamePage().SetParentFolder(m_Dir->File("window"));
    w.NameBox().setText("Plant");
    w.next();
    w.ModelList().setCurrentRow(1);
    // The selected model's data, as the hardware library words it.
    CHardwareModel model;
    QVERIFY(context.GetHardwareLibrary().LoadModelByIndex(model, 1));
    QCOMPARE(w.ModelData().text().split('\n').first().toStdString(), HardwareModelTexts(model).front());
    w.next();
    QVERIFY(w.MakerBox(0) != nullptr);
    w.MakerBox(0)->setCurrentIndex(static_cast<int>(plcs.Manufacturers().size()));
    w.PlcBox(0)->setCurrentIndex(static_cast<int>(maker.m_Plcs.size()) - 1);
    w.BaudBox(0)->setCurrentText("19200");
  }));
  QCOMPARE(m_Ui->Questions().size(), std::size_t{1});
  QCOMPARE(m_Ui->Questions()[0], std::string(msg::kConfirmModel));
  QVERIFY(!m_Window->Doc().IsModified());
  const std::vector<uint8_t> byWindow = test::ReadFile(m_Dir->File("window/Plant/Plant.FPJ"));
  const std::vector<uint8_t> byCli = test::ReadFile(m_Dir->File("cli/Plant/Plant.FPJ"));
  QVERIFY(!byWindow.empty());
  QVERIFY(byWindow == byCli);
  QCOMPARE(m_Window->Doc().GetProject()->GetHardwareModelId(), models[1].m_Id);
}

void NewProjectWizardWindowTest::theDirectoryFollowsTheTrimmedName() {
  Run([&](CNewProjectDialog& w) {
    w.Wizard().NamePage().SetParentFolder(m_Dir->File("window"));
    w.NameBox().setText("  Line 2 ");
    QVERIFY(w.DirectoryBox().text().endsWith("/Line 2"));
    QVERIFY(w.DirectoryBox().text().startsWith(QString::fromStdString(m_Dir->File("window"))));
  }, false);
}

void NewProjectWizardWindowTest::aBlankNameCannotGoOn() {
  Run([&](CNewProjectDialog& w) {
    w.NameBox().setText("   ");
    QVERIFY(!w.button(QWizard::NextButton)->isEnabled());
    w.NameBox().setText("x");
    QVERIFY(w.button(QWizard::NextButton)->isEnabled());
  }, false);
}

void NewProjectWizardWindowTest::anExistingDirectoryAnsweredNoKeepsTheWizardOpen() {
  std::filesystem::create_directories(m_Dir->File("window/Old"));
  m_Ui->QueueAnswer(Answer::Yes);  // the model question
  m_Ui->QueueAnswer(Answer::No);   // overwrite the directory?
  QVERIFY(!Run([&](CNewProjectDialog& w) {
    w.Wizard().NamePage().SetParentFolder(m_Dir->File("window"));
    w.NameBox().setText("Old");
    w.next();
    w.next();
  }));
  QVERIFY(m_StillOpen);
  QCOMPARE(m_Ui->Questions().size(), std::size_t{2});
  QVERIFY(m_Window->Doc().GetProject() == nullptr);
  QVERIFY(!std::filesystem::exists(m_Dir->File("window/Old/Old.FPJ")));
}

void NewProjectWizardWindowTest::cancelMakesNoProject() {
  QVERIFY(!Run([&](CNewProjectDialog& w) { w.NameBox().setText("Gone"); }, false));
  QVERIFY(m_Window->Doc().GetProject() == nullptr);
  QVERIFY(m_Ui->Questions().empty());
}

QTEST_MAIN(NewProjectWizardWindowTest)
#include "NewProjectWizardWindowTest.moc"
