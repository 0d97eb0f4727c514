// A session in the window from the wizard to the saved file: a new project, one element of
// every kind, each one's properties set in its dialog, alignment and a move, undo and redo,
// save. The file equals the one the same steps give through the core, and it round-trips
// through the JSON export. And a project made only in the wizard and the settings dialogs,
// saved and compiled, starts in the simulator on the frame its global settings name.
#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QRadioButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <memory>

#include "common/ImageFormat.h"
#include "editor/project/DocumentEditor.h"
#include "editor/project/KV410Project.h"
#include "editor/project/NewProjectWizard.h"
#include "editor/project/ProjectJson.h"
#include "editor/screens/HMIFrame.h"
#include "editor/compiler/CompileProject.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/AlarmDialog.h"
#include "editor/ui/window/CommDialog.h"
#include "editor/ui/window/ElementDialog.h"
#include "editor/ui/window/LanguageDialog.h"
#include "editor/ui/window/PanelPixels.h"
#include "editor/ui/window/PortTabs.h"
#include "editor/ui/window/SettingsDialog.h"
#include "editor/ui/window/TransferDialog.h"
#include "tests/window/SettingsDialogTestSupport.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/NewProjectDialog.h"
#include "tests/BmpTestSupport.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/ElementChanges.h"

using namespace kd820;
using test::bmp::Bytes;

namespace {

struct CPlace {
  int32_t m_Type;
  int m_X, m_Y;
};

const CPlace kPlaces[] = {
    {kTypeLed, 0, 0},        {kTypeFunckey, 20, 0}, {kTypeStaticText, 40, 0}, {kTypeDynamicText, 0, 20},
    {kTypeRegister, 100, 20}, {kTypeBar, 150, 10},   {kTypeTrend, 60, 16},     {kTypePicture, 120, 40},
    {kTypeAscii, 120, 50},    {kTypeEventList, 0, 0},
};

// Inserts one element of every kind into the current frame, each where it still lies inside
// the display once its properties are changed (the JSON form holds no element outside it).
bool InsertEveryKind(CDocumentEditor& a_Editor, const std::string& a_Bmp) {
  for (const CPlace& place : kPlaces) {
    std::optional<CInsertTool> tool =
        place.m_Type == kTypePicture ? a_Editor.ArmPicture(a_Bmp) : a_Editor.ArmInsert(place.m_Type);
    if (!tool || a_Editor.Insert(*tool, place.m_X, place.m_Y) == nullptr) return false;
  }
  return true;
}

// The first element of a kind in the current frame.
CGraphElement* OfKind(CDocumentEditor& a_Editor, int32_t a_Type) {
  for (const auto& element : a_Editor.CurrentFrame()->GetElements()) {
    if (element->GetTypeCode() == a_Type) return element.get();
  }
  return nullptr;
}

// Selects the LED, the function key, the static text and, as the reference, the bar.
void SelectSome(CDocumentEditor& a_Editor) {
  a_Editor.SelectNone();
  for (int32_t type : {kTypeLed, kTypeFunckey, kTypeStaticText, kTypeBar}) a_Editor.Select(OfKind(a_Editor, type), true);
}

}  // namespace

class EndToEndWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theWindowSessionSavesWhatTheCoreSaves();
  void aProjectMadeInTheDialogsStartsOnItsStartFrame();
};

void EndToEndWindowTest::theWindowSessionSavesWhatTheCoreSaves() {
  test::TempDir dir;
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(dir.File("locks")));
  std::filesystem::create_directories(dir.File("window"));
  std::filesystem::create_directories(dir.File("core"));
  const std::string bmp = dir.File("mark.bmp");
  test::WriteFile(bmp, test::bmp::MakeBmp(8, 2, {Bytes(4, 0x0f), Bytes(4, 0xf0)}));

  // In the window.
  ScriptedInteraction ui;
  CMainWindow window(ui, dir.File("config/recent"));
  ui.QueueAnswer(Answer::Yes);  // the panel model cannot be changed afterwards
  window.m_PrepareNewProjectDialog = [&](CNewProjectDialog& a_Wizard) {
    QTimer::singleShot(0, &a_Wizard, [&] {
      a_Wizard.Wizard().NamePage().SetParentFolder(dir.File("window"));
      a_Wizard.NameBox().setText("Line");
      a_Wizard.next();
      a_Wizard.next();
      a_Wizard.button(QWizard::FinishButton)->click();
    });
  };
  QVERIFY(window.RunNewProjectWizard());
  CDocumentEditor& editor = window.Editor();
  QVERIFY(InsertEveryKind(editor, bmp));
  for (const test::CKindChange& change : test::Changes()) {
    CGraphElement* element = OfKind(editor, change.m_Type);
    QVERIFY(element != nullptr);
    window.m_PrepareElementDialog = [&](CElementDialog& a_Dialog) {
      change.m_InDialog(a_Dialog);
      QMetaObject::invokeMethod(&a_Dialog, "accept", Qt::QueuedConnection);
    };
    QVERIFY2(window.EditElementProperties(*element), qPrintable(QString("kind %1").arg(change.m_Type)));
  }
  SelectSome(editor);
  window.Action("alignTop")->trigger();
  QVERIFY(editor.MoveByPixel(1, 0));
  window.Action("undo")->trigger();
  window.Action("redo")->trigger();
  QVERIFY(window.SaveProject());
  const std::vector<uint8_t> byWindow = test::ReadFile(dir.File("window/Line/Line.FPJ"));

  // The same steps through the core.
  ScriptedInteraction coreUi;
  CKV410Doc doc(coreUi);
  CMemoryClipboard clipboard;
  CDocumentEditor core(doc, clipboard);
  CNewProjectWizard wizard(doc.Context());
  wizard.NamePage().SetParentFolder(dir.File("core"));
  wizard.NamePage().SetName("Line");
  coreUi.QueueAnswer(Answer::Yes);
  QVERIFY(wizard.Finish(doc, coreUi));
  QVERIFY(doc.Save());
  core.Reset();
  QVERIFY(InsertEveryKind(core, bmp));
  for (const test::CKindChange& change : test::Changes()) {
    QVERIFY(core.EditElement(*OfKind(core, change.m_Type),
                             [&](CGraphElement& a_E) { change.m_InCore(a_E, doc.Context()); }));
  }
  SelectSome(core);
  QVERIFY(core.Align(AlignMode::Top));
  QVERIFY(core.MoveByPixel(1, 0));
  QVERIFY(core.Undo());
  QVERIFY(core.Redo());
  QVERIFY(core.Save());
  const std::vector<uint8_t> byCore = test::ReadFile(dir.File("core/Line/Line.FPJ"));

  QVERIFY(!byWindow.empty());
  QCOMPARE(editor.History().UndoCount(), core.History().UndoCount());
  QVERIFY(byWindow == byCore);

  // The JSON export of the saved project imports as the same file.
  QVERIFY(window.CloseProject());
  QVERIFY(window.OpenProject(dir.File("window/Line/Line.FPJ")));
  const std::string json = ExportProjectJson(*window.Doc().GetProject(), window.Doc().Context());
  CEditorContext context;
  ProjectJsonImport imported = ImportProjectJson(json, context);
  QVERIFY2(imported, imported.m_Error.c_str());
  QVERIFY(CKV410Doc::ProjectFileBytes(*imported.m_Project) == byWindow);
}

void EndToEndWindowTest::aProjectMadeInTheDialogsStartsOnItsStartFrame() {
  test::TempDir dir;
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(dir.File("locks")));
  ScriptedInteraction ui;
  CMainWindow window(ui, dir.File("config/recent"));
  ui.QueueAnswer(Answer::Yes);  // the panel model cannot be changed afterwards
  window.m_PrepareNewProjectDialog = [&](CNewProjectDialog& a_Wizard) {
    QTimer::singleShot(0, &a_Wizard, [&] {
      a_Wizard.Wizard().NamePage().SetParentFolder(dir.File(""));
      a_Wizard.NameBox().setText("Shown");
      a_Wizard.next();
      a_Wizard.next();
      a_Wizard.button(QWizard::FinishButton)->click();
    });
  };
  QVERIFY(window.RunNewProjectWizard());
  // A second frame with a text, the one the panel is to start on.
  CDocumentEditor& editor = window.Editor();
  QVERIFY(editor.NewFrame(2, "Start"));
  std::optional<CInsertTool> text = editor.ArmInsert(kTypeStaticText);
  QVERIFY(text && editor.Insert(*text, 10, 10) != nullptr);

  // The settings, each in its dialog.
  test::DriveSettings<CCommDialog>(window, [](CCommDialog& a_Dialog) {
    a_Dialog.Ports().MakerBox(0)->setCurrentIndex(1);
    a_Dialog.Ports().PlcBox(0)->setCurrentIndex(0);
    a_Dialog.accept();
  });
  ui.QueueAnswer(Answer::Yes);  // a port that gets a PLC counts as changed
  QVERIFY(window.EditCommunication());
  test::DriveSettings<CSettingsDialog>(window, [](CSettingsDialog& a_Dialog) {
    a_Dialog.StartFrameBox().setCurrentText("2");
    a_Dialog.SaverMinutesBox().setCurrentIndex(0);
    a_Dialog.accept();
  });
  QVERIFY(window.EditGlobalSettings());
  test::DriveSettings<CAlarmDialog>(window, [](CAlarmDialog& a_Dialog) {
    a_Dialog.m_PrepareItem = [](CAlarmItemDialog& a_Item) {
      test::DriveDialog<CAlarmItemDialog>(a_Item, [](CAlarmItemDialog& a_I) {
        // On 1: an alarm active at start would show the alarm frame.
        a_I.FiresOnOneButton().setChecked(true);
        a_I.TextBox().setText("Door");
        a_I.accept();
      });
    };
    a_Dialog.AddItem();
    a_Dialog.accept();
  });
  QVERIFY(window.EditAlarms());
  test::DriveSettings<CTransferDialog>(window, [](CTransferDialog& a_Dialog) {
    a_Dialog.m_PrepareItem = [](CTransferItemDialog& a_Item) {
      test::DriveDialog<CTransferItemDialog>(a_Item, [](CTransferItemDialog& a_I) {
        a_I.Destination().AddressBox().setText("5");
        a_I.accept();
      });
    };
    a_Dialog.AddItem();
    a_Dialog.accept();
  });
  QVERIFY(window.EditTransfers());
  test::DriveSettings<CLanguageDialog>(window, [](CLanguageDialog& a_Dialog) { a_Dialog.accept(); });
  window.EditLanguages();
  QVERIFY(window.SaveProject());
  CKV410Project& project = *window.Doc().GetProject();
  QCOMPARE(project.GetSettings().m_StartFrame, uint16_t{2});
  QVERIFY(project.GetPort(0)->IsEnabled());
  QCOMPARE(project.GetAlarms().m_Alarms.size(), std::size_t{1});
  QCOMPARE(project.GetTransfers().m_Items.size(), std::size_t{1});

  // Reopened from its file, compiled and run headless: the LCD is frame 2.
  QVERIFY(window.CloseProject());
  QVERIFY(window.OpenProject(dir.File("Shown/Shown.FPJ")));
  CKV410Project& saved = *window.Doc().GetProject();
  QVERIFY(CompileProjectToFile(saved, window.Doc().Context()).Ok());
  const std::string script = dir.File("lcd.pansim");
  const std::string png = dir.File("lcd.png");
  std::ofstream(script) << "lcd " << png << "\n";
  std::string out, err;
  QCOMPARE(test::RunProgram(std::string(KD820_TEST_BINARY_DIR) + "/PanSim",
                            {"--headless", "--script", script, std::to_string(saved.GetHardwareModelId()),
                             saved.GetImagePath()},
                            &out, &err),
           0);
  const QImage lcd(QString::fromStdString(png));
  QVERIFY(!lcd.isNull());
  CPanelPixels start, first;
  std::string error;
  QVERIFY2(CPanelRenderer::Render(saved, window.Doc().Context(), 2, start, error), error.c_str());
  QVERIFY2(CPanelRenderer::Render(saved, window.Doc().Context(), 1, first, error), error.c_str());
  QVERIFY(!(start == first));
  QCOMPARE(lcd.width(), start.m_Width);
  QCOMPARE(lcd.height(), start.m_Height);
  int dark = 0;
  for (int y = 0; y < lcd.height(); ++y) {
    for (int x = 0; x < lcd.width(); ++x) {
      const bool lcdDark = qGray(lcd.pixel(x, y)) < 128;
      QVERIFY2(lcdDark == start.Dark(x, y), qPrintable(QString("pixel (%1, %2)").arg(x).arg(y)));
      dark += lcdDark ? 1 : 0;
    }
  }
  QVERIFY(dark > 0);
}

QTEST_MAIN(EndToEndWindowTest)
#include "EndToEndWindowTest.moc"
