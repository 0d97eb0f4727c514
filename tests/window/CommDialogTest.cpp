// The communication dialog and the data upload/download task on the sample project. A
// change without another PLC is taken at once, as the JSON import gives it; another PLC on a
// port is asked about, No keeps the dialog open and changes nothing, Yes resets what was tied
// to the port exactly as the core's rule does, all of it one undoable step. The task runs
// the transfer tool with the core's command lines and stays open until "退出".
#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <filesystem>
#include <memory>

#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Project.h"
#include "editor/project/Messages.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/RegisterGE.h"
#include "editor/ui/window/CommDialog.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/MissionDialog.h"
#include "editor/ui/window/PortTabs.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/SettingsDialogTestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

// Records the programs it is asked to start.
class CRecordingStarter : public IProgramStarter {
 public:
  bool Start(const CProgramCall& a_Call, int& a_ExitCode, std::string&) override {
    m_Calls.push_back(a_Call);
    a_ExitCode = 0;
    return true;
  }
  std::vector<CProgramCall> m_Calls;
};

// Another PLC than protocol a_Id: its manufacturer and index in the library.
std::optional<std::pair<std::size_t, std::size_t>> OtherPlc(const CPlcLibrary& a_Library, int32_t a_Id) {
  for (std::size_t m = 0; m < a_Library.Manufacturers().size(); ++m) {
    const auto& plcs = a_Library.Manufacturers()[m].m_Plcs;
    for (std::size_t p = 0; p < plcs.size(); ++p) {
      if (plcs[p].m_Id != a_Id) return std::make_pair(m, p);
    }
  }
  return std::nullopt;
}

}  // namespace

class CommDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void aChangeWithTheSamePlcIsWhatTheImportGives();
  void anotherPlcIsAskedAndResetsAsTheCoreDoes();
  void advancedSettingsAndTheirDefaults();
  void aStationOutsideItsRangeIsRefused();
  void cancelChangesNothing();
  void theMissionRunsTheTransferToolAndStaysOpen();

 private:
  CKV410Project& Project() { return *m_Window->Doc().GetProject(); }

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
};

void CommDialogTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui, m_Dir->File("config/recent"));
  test::WriteSampleProject(m_Dir->File("sample/SAMPLE.FPJ"));
  QVERIFY(m_Window->OpenProject(m_Dir->File("sample/SAMPLE.FPJ")));
}

void CommDialogTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

void CommDialogTest::aChangeWithTheSamePlcIsWhatTheImportGives() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  const std::string json = test::ExportJson(*m_Window);
  test::DriveSettings<CCommDialog>(*m_Window, [](CCommDialog& a_Dialog) {
    CPortTabs& ports = a_Dialog.Ports();
    QVERIFY(ports.MakerBox(0) != nullptr);
    QCOMPARE(ports.MakerBox(0)->currentIndex(), 1);
    QVERIFY(ports.CompatibleList(0)->count() <= 7);
    QCOMPARE(ports.SerialTypeBox(0)->currentText(), QString("RS485"));
    ports.BaudBox(0)->setCurrentText("19200");
    ports.ParityBox(0)->setCurrentIndex(1);
    ports.StationBox(0)->setValue(7);
    a_Dialog.accept();
  });
  m_Ui->Clear();
  QVERIFY(m_Window->EditCommunication());
  QVERIFY(m_Ui->Questions().empty());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);
  std::string error;
  const std::vector<uint8_t> imported = test::ImportedWith(json, [](QJsonObject& a_Root) {
    QJsonObject ports = a_Root["ports"].toObject();
    QJsonObject com0 = ports["COM0"].toObject();
    com0["baudRate"] = 19200;
    com0["parity"] = "odd";
    com0["station"] = 7;
    ports["COM0"] = com0;
    a_Root["ports"] = ports;
  }, &error);
  QVERIFY2(imported == byDialog, error.c_str());
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void CommDialogTest::anotherPlcIsAskedAndResetsAsTheCoreDoes() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  const auto other = OtherPlc(m_Window->Doc().Context().GetPlcLibrary(), Project().GetPort(0)->m_ProtocolId);
  QVERIFY(other.has_value());
  std::vector<bool> open;
  test::DriveSettings<CCommDialog>(*m_Window, [&](CCommDialog& a_Dialog) {
    CPortTabs& ports = a_Dialog.Ports();
    ports.MakerBox(0)->setCurrentIndex(static_cast<int>(other->first) + 1);
    ports.PlcBox(0)->setCurrentIndex(static_cast<int>(other->second));
    a_Dialog.accept();
    open.push_back(a_Dialog.isVisible());
    a_Dialog.accept();
    open.push_back(a_Dialog.isVisible());
  });
  m_Ui->Clear();
  m_Ui->QueueAnswer(Answer::No);
  m_Ui->QueueAnswer(Answer::Yes);
  QVERIFY(m_Window->EditCommunication());
  QCOMPARE(open, (std::vector<bool>{true, false}));
  QCOMPARE(m_Ui->Questions(), (std::vector<std::string>{msg::kResetChangedPorts, msg::kResetChangedPorts}));
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  // Every address on COM0 went back to the internal default.
  for (const auto& frame : Project().GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      if (element->GetTypeCode() != kTypeRegister) continue;
      QVERIFY(static_cast<CRegisterGE&>(*element).m_Reg.IsInternal());
    }
  }
  QVERIFY(Project().GetAlarms().m_Alarms[0].m_Register.IsInternal());
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);

  // The core's rule on the same file gives the same project.
  ScriptedInteraction coreUi;
  coreUi.QueueAnswer(Answer::Yes);
  CKV410Doc doc(coreUi);
  test::WriteFile(m_Dir->File("core.FPJ"), before);
  QVERIFY(doc.OpenProject(m_Dir->File("core.FPJ")));
  CNewProjectPlc page(doc.Context().CurrentHardwareModel(), doc.Context());
  page.LoadFromProject(*doc.GetProject());
  QVERIFY(page.ChoosePlc(0, other));
  QVERIFY(ApplyCommunicationSettings(*doc.GetProject(), page, coreUi, doc.Context()));
  QVERIFY(CKV410Doc::ProjectFileBytes(*doc.GetProject()) == byDialog);

  // One undo gives back the PLC and every address.
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
  QCOMPARE(m_Window->Doc().Context().GetPortModel(0)->m_Id, Project().GetPort(0)->m_ProtocolId);
}

void CommDialogTest::advancedSettingsAndTheirDefaults() {
  int32_t protocolTimeout = -1;
  test::DriveSettings<CCommDialog>(*m_Window, [&](CCommDialog& a_Dialog) {
    CPortTabs& ports = a_Dialog.Ports();
    ports.m_PrepareAdvanced = [&](CAdvancedPortDialog& a_Advanced) {
      test::DriveDialog<CAdvancedPortDialog>(a_Advanced, [&](CAdvancedPortDialog& a_A) {
        QCOMPARE(a_A.Field(0).value(), 500);
        a_A.Field(0).setValue(1234);
        a_A.Field(9).setValue(3);
        a_A.CutButton().setChecked(true);
        a_A.RestoreDefaults();
        protocolTimeout = a_A.Field(0).value();
        QCOMPARE(a_A.Field(8).value(), 0);
        QCOMPARE(a_A.Field(9).value(), 10);
        QVERIFY(a_A.RetryButton().isChecked());
        a_A.Field(8).setValue(4);
        a_A.CutButton().setChecked(true);
        a_A.accept();
      });
    };
    QVERIFY(ports.RunAdvanced(0));
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditCommunication());
  const CPortCom& com0 = *Project().GetPort(0);
  QCOMPARE(com0.m_ResponseTimeout, protocolTimeout);
  QCOMPARE(com0.m_MessageTime, 4);
  QCOMPARE(com0.m_RetryAfterFailure, 0);
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
}

void CommDialogTest::aStationOutsideItsRangeIsRefused() {
  bool stayedOpen = false;
  test::DriveSettings<CCommDialog>(*m_Window, [&](CCommDialog& a_Dialog) {
    a_Dialog.Ports().StationBox(0)->setValue(250);
    a_Dialog.accept();
    stayedOpen = a_Dialog.isVisible();
    a_Dialog.reject();
  });
  m_Ui->Clear();
  QVERIFY(!m_Window->EditCommunication());
  QVERIFY(stayedOpen);
  QCOMPARE(m_Ui->Messages().size(), std::size_t{1});
  QVERIFY2(m_Ui->Messages()[0].find("250") != std::string::npos, m_Ui->Messages()[0].c_str());
  QCOMPARE(Project().GetPort(0)->m_Station, 1);
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
}

void CommDialogTest::cancelChangesNothing() {
  test::DriveSettings<CCommDialog>(*m_Window, [](CCommDialog& a_Dialog) {
    a_Dialog.Ports().MakerBox(0)->setCurrentIndex(0);
    QTest::keyClick(&a_Dialog, Qt::Key_Escape);
  });
  m_Ui->Clear();
  QVERIFY(!m_Window->EditCommunication());
  QVERIFY(m_Ui->Questions().empty());
  QVERIFY(Project().GetPort(0)->IsEnabled());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(!m_Window->Doc().IsModified());
}

void CommDialogTest::theMissionRunsTheTransferToolAndStaysOpen() {
  CRecordingStarter starter;
  m_Window->SetProgramStarter(starter);
  const std::string directory = std::filesystem::path(Project().GetPath()).parent_path().string();
  const std::string target = m_Dir->File("sample/new.dat");
  std::vector<CMissionValues> runs;
  bool openAfterRuns = false;
  test::DriveSettings<CMissionDialog>(*m_Window, [&](CMissionDialog& a_Dialog) {
    QCOMPARE(a_Dialog.FileBox().text().toStdString(), InitialMissionValues(directory).m_File);
    QVERIFY(a_Dialog.UploadButton().isChecked());
    QCOMPARE(a_Dialog.BaudBox().currentText(), QString("115200"));
    a_Dialog.OkButton().click();
    runs.push_back(a_Dialog.Values());
    a_Dialog.DownloadButton().setChecked(true);
    a_Dialog.PortBox().setCurrentIndex(2);
    QVERIFY(!std::filesystem::exists(target));
    QVERIFY(a_Dialog.ChooseFile(target));
    QVERIFY(std::filesystem::exists(target));
    QTest::keyClick(&a_Dialog.PortBox(), Qt::Key_Return);
    runs.push_back(a_Dialog.Values());
    openAfterRuns = a_Dialog.isVisible();
    a_Dialog.QuitButton().click();
  });
  m_Window->RunMission();
  QVERIFY(openAfterRuns);
  QCOMPARE(starter.m_Calls.size(), std::size_t{2});
  QCOMPARE(runs[1].m_File, target);
  QCOMPARE(runs[1].m_PortIndex, 2);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    QVERIFY(starter.m_Calls[i] == TransferCall(runs[i], directory));
    QVERIFY(starter.m_Calls[i].m_Wait);
  }
  QCOMPARE(runs[0].m_Task, CMissionValues::kUpload);
  QCOMPARE(runs[1].m_Task, CMissionValues::kDownload);
}

QTEST_MAIN(CommDialogTest)
#include "CommDialogTest.moc"
