// The dialogs "全局设定" and "语言设置" on the sample project: what OK takes is the project the
// JSON import gives for the same settings, as one undoable step; the enable rules follow the
// switches; every refusal keeps the dialog open and the project unchanged; Cancel changes
// nothing; Enter is OK and Esc is Cancel.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "editor/project/KV410Project.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/LanguageDialog.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/SettingsDialog.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/SettingsDialogTestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void globalSettingsAreWhatTheImportGivesInOneStep();
  void globalSettingsEnableRulesFollowTheSwitches();
  void aWrongControlAddressIsRefusedAndChangesNothing();
  void languagesAreWhatTheImportGivesInOneStep();
  void incompleteLanguagesAreRefused();
  void aSaverDelayNoChoiceHasIsKeptByOk();
  void cancelChangesNothing();
  void enterIsOkAndEscapeIsCancel();
  void theSettingsMenuOpensEachDialog();

 private:
  CKV410Project& Project() { return *m_Window->Doc().GetProject(); }
  // The JSON form of the project as it was before the dialog, edited and imported.
  std::vector<uint8_t> Imported(const std::function<void(QJsonObject&)>& a_Edit) {
    std::string error;
    std::vector<uint8_t> bytes = test::ImportedWith(m_Json, a_Edit, &error);
    if (bytes.empty()) qWarning("import: %s", error.c_str());
    return bytes;
  }

  std::unique_ptr<test::TempDir> m_Dir;
  std::unique_ptr<ScriptedInteraction> m_Ui;
  std::unique_ptr<CMainWindow> m_Window;
  std::string m_Json;
};

void SettingsDialogTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui, m_Dir->File("config/recent"));
  test::WriteSampleProject(m_Dir->File("sample/SAMPLE.FPJ"));
  QVERIFY(m_Window->OpenProject(m_Dir->File("sample/SAMPLE.FPJ")));
  m_Json = test::ExportJson(*m_Window);
}

void SettingsDialogTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

void SettingsDialogTest::globalSettingsAreWhatTheImportGivesInOneStep() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  const uint32_t ownLanguage = Project().GetSettings().m_Flags & CGlobalSettings::kOwnMessageLanguage;
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    a_Dialog.StartFrameBox().setCurrentText("2");
    a_Dialog.SaverMinutesBox().setCurrentText(QString::fromUtf8("1小时"));
    a_Dialog.BacklightOnlyButton().setChecked(true);
    a_Dialog.PasswordLevelBox().setCurrentIndex(4);
    a_Dialog.BuzzerOffBox().setChecked(true);
    a_Dialog.SwapWordsBox().setChecked(true);
    a_Dialog.FocusBox().setCurrentIndex(1);
    a_Dialog.PasswordFrameBox().setCurrentText("2");
    a_Dialog.CommonFrameUsedBox().setChecked(false);
    // Digits only: "-1x" leaves "1".
    a_Dialog.PasswordBox(0).clear();
    QTest::keyClicks(&a_Dialog.PasswordBox(0), "-1x");
    QCOMPARE(a_Dialog.PasswordBox(0).text(), QString("1"));
    a_Dialog.PasswordBox(7).setText("999999999");
    a_Dialog.ReportFrameBox().setChecked(false);
    a_Dialog.ControlAddress().TypeBox().setCurrentText("RW");
    a_Dialog.ControlAddress().AddressBox().setText("20");
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditGlobalSettings());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  QVERIFY(m_Window->Doc().IsModified());
  const CGlobalSettings& s = Project().GetSettings();
  QCOMPARE(s.m_ScreenSaverMinutes, uint16_t{60});
  QCOMPARE(s.m_ControlAddress.m_TypeName, std::string("RW"));
  QCOMPARE(s.m_ControlAddress.m_Address, 20);
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);

  // The same settings through the import: the control register as exported, the rest as set.
  QJsonObject controlRegister;
  controlRegister["port"] = "internal";
  controlRegister["type"] = "RW";
  controlRegister["number"] = "20";
  QCOMPARE(Imported([&](QJsonObject& a_Root) {
             QJsonObject settings = a_Root["settings"].toObject();
             settings["flags"] = static_cast<qint64>(0x1F | ownLanguage);
             settings["startFrame"] = 2;
             settings["screenSaverMinutes"] = 60;
             settings["passwordLevel"] = 4;
             settings["passwordFrame"] = 2;
             settings["controlFlags"] = 1;
             settings["controlRegister"] = controlRegister;
             QJsonArray passwords = settings["passwords"].toArray();
             passwords[0] = 1;
             passwords[7] = 999999999;
             settings["passwords"] = passwords;
             a_Root["settings"] = settings;
           }) == byDialog,
           true);

  // One undo takes the whole dialog back.
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void SettingsDialogTest::globalSettingsEnableRulesFollowTheSwitches() {
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    // The sample: the saver only switches the backlight off; password to wake, common
    // frame, both control registers.
    QVERIFY(a_Dialog.BacklightOnlyButton().isChecked());
    QVERIFY(!a_Dialog.SaverFrameBox().isEnabled());
    QVERIFY(a_Dialog.PasswordLevelBox().isEnabled());
    QVERIFY(a_Dialog.CommonFrameBox().isEnabled());
    QVERIFY(a_Dialog.ControlAddress().isEnabled());
    QCOMPARE(a_Dialog.SaverMinutesBox().currentText(), QString::fromUtf8("10分钟"));
    QCOMPARE(a_Dialog.PasswordLevelBox().currentText(), QString("3"));
    a_Dialog.ShowFrameButton().setChecked(true);
    QVERIFY(a_Dialog.SaverFrameBox().isEnabled());
    a_Dialog.BacklightOnlyButton().setChecked(true);
    QVERIFY(!a_Dialog.SaverFrameBox().isEnabled());
    a_Dialog.PasswordToWakeBox().setChecked(false);
    QVERIFY(!a_Dialog.PasswordLevelBox().isEnabled());
    a_Dialog.CommonFrameUsedBox().setChecked(false);
    QVERIFY(!a_Dialog.CommonFrameBox().isEnabled());
    // The control address only while one of the control registers is used.
    a_Dialog.PlcSelectsFrameBox().setChecked(false);
    QVERIFY(a_Dialog.ControlAddress().isEnabled());
    a_Dialog.ReportFrameBox().setChecked(false);
    QVERIFY(!a_Dialog.ControlAddress().isEnabled());
    a_Dialog.ReportFrameBox().setChecked(true);
    QVERIFY(a_Dialog.ControlAddress().isEnabled());
    a_Dialog.reject();
  });
  QVERIFY(!m_Window->EditGlobalSettings());
}

void SettingsDialogTest::aWrongControlAddressIsRefusedAndChangesNothing() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  bool stayedOpen = false;
  test::DriveSettings<CSettingsDialog>(*m_Window, [&](CSettingsDialog& a_Dialog) {
    a_Dialog.ControlAddress().TypeBox().setCurrentText("LW");
    a_Dialog.ControlAddress().AddressBox().setText("256");
    a_Dialog.accept();
    stayedOpen = a_Dialog.isVisible();
    // Unused, the same address is not read at all.
    a_Dialog.PlcSelectsFrameBox().setChecked(false);
    a_Dialog.ReportFrameBox().setChecked(false);
    a_Dialog.accept();
  });
  m_Ui->Clear();
  QVERIFY(m_Window->EditGlobalSettings());
  QVERIFY(stayedOpen);
  QCOMPARE(m_Ui->Messages().size(), std::size_t{1});
  QVERIFY2(m_Ui->Messages()[0].find("DDD(0~255)") != std::string::npos, m_Ui->Messages()[0].c_str());
  QCOMPARE(Project().GetSettings().m_ControlFlags & 3, 0);
  QCOMPARE(Project().GetSettings().m_ControlAddress.m_Address, 0);
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void SettingsDialogTest::languagesAreWhatTheImportGivesInOneStep() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  test::DriveSettings<CLanguageDialog>(*m_Window, [](CLanguageDialog& a_Dialog) {
    QCOMPARE(a_Dialog.CountBox().currentText(), QString("3"));
    QVERIFY(a_Dialog.LanguageBox(2).isEnabled());
    QVERIFY(!a_Dialog.LanguageBox(3).isEnabled());
    a_Dialog.CountBox().setCurrentText("2");
    QVERIFY(!a_Dialog.LanguageBox(2).isEnabled());
    a_Dialog.LanguageBox(1).setCurrentIndex(a_Dialog.LanguageBox(1).findData(0x040C));
    a_Dialog.FontBox(1).setCurrentText(QString::fromUtf8("宋体"));
    a_Dialog.MessagesBox().setCurrentIndex(1);
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditLanguages());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  QCOMPARE(Project().GetLangDefine().m_Items.size(), std::size_t{2});
  QCOMPARE(Project().GetLangDefine().GetLanguageId(1), uint16_t{0x040C});
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);
  QVERIFY(Imported([](QJsonObject& a_Root) {
            QJsonObject first;
            first["languageId"] = 0x0804;
            first["font"] = QString::fromUtf8("宋体");
            QJsonObject second;
            second["languageId"] = 0x040C;
            second["font"] = QString::fromUtf8("宋体");
            a_Root["languages"] = QJsonArray{first, second};
            QJsonObject settings = a_Root["settings"].toObject();
            settings["flags"] = settings["flags"].toInteger() | CGlobalSettings::kOwnMessageLanguage;
            a_Root["settings"] = settings;
          }) == byDialog);
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void SettingsDialogTest::incompleteLanguagesAreRefused() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  std::vector<bool> open;
  test::DriveSettings<CLanguageDialog>(*m_Window, [&](CLanguageDialog& a_Dialog) {
    a_Dialog.CountBox().setCurrentIndex(-1);
    a_Dialog.accept();
    open.push_back(a_Dialog.isVisible());
    a_Dialog.CountBox().setCurrentText("4");
    a_Dialog.accept();
    open.push_back(a_Dialog.isVisible());
    a_Dialog.LanguageBox(3).setCurrentIndex(a_Dialog.LanguageBox(3).findData(0x0411));
    a_Dialog.accept();
    open.push_back(a_Dialog.isVisible());
    a_Dialog.reject();
  });
  m_Ui->Clear();
  QVERIFY(!m_Window->EditLanguages());
  QCOMPARE(open, (std::vector<bool>{true, true, true}));
  QCOMPARE(m_Ui->Messages(),
           (std::vector<std::string>{"请至少配置一种语言！", "请选择语言！", "请选择字体！"}));
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(test::Saved(*m_Window) == before);
}

void SettingsDialogTest::aSaverDelayNoChoiceHasIsKeptByOk() {
  // 4 minutes is none of the choices: the combo shows none, and OK leaves the delay alone.
  QVERIFY(m_Window->Editor().EditSettings([](CKV410Project& a_P) { a_P.GetSettings().m_ScreenSaverMinutes = 4; }));
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    QCOMPARE(a_Dialog.SaverMinutesBox().currentIndex(), -1);
    a_Dialog.accept();
  });
  m_Window->EditGlobalSettings();
  QCOMPARE(Project().GetSettings().m_ScreenSaverMinutes, uint16_t{4});
  // A choice made replaces it.
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    a_Dialog.SaverMinutesBox().setCurrentIndex(2);
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditGlobalSettings());
  QCOMPARE(Project().GetSettings().m_ScreenSaverMinutes, uint16_t{2});
}

void SettingsDialogTest::cancelChangesNothing() {
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    a_Dialog.BuzzerOffBox().setChecked(true);
    a_Dialog.reject();
  });
  QVERIFY(!m_Window->EditGlobalSettings());
  test::DriveSettings<CLanguageDialog>(*m_Window, [](CLanguageDialog& a_Dialog) {
    a_Dialog.CountBox().setCurrentText("1");
    a_Dialog.reject();
  });
  QVERIFY(!m_Window->EditLanguages());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(!m_Window->Doc().IsModified());
  QCOMPARE(Project().GetLangDefine().m_Items.size(), std::size_t{3});
}

void SettingsDialogTest::enterIsOkAndEscapeIsCancel() {
  // Esc cancels the language dialog after a change.
  test::DriveSettings<CLanguageDialog>(*m_Window, [](CLanguageDialog& a_Dialog) {
    a_Dialog.CountBox().setCurrentText("1");
    QTest::keyClick(&a_Dialog, Qt::Key_Escape);
  });
  QVERIFY(!m_Window->EditLanguages());
  QCOMPARE(Project().GetLangDefine().m_Items.size(), std::size_t{3});
  // Enter in a text field is OK; Tab walks from the first field to the OK button.
  test::DriveSettings<CSettingsDialog>(*m_Window, [](CSettingsDialog& a_Dialog) {
    a_Dialog.activateWindow();
    a_Dialog.StartFrameBox().setFocus();
    QWidget* first = &a_Dialog.StartFrameBox();
    bool reachedPassword = false;
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain()) {
      if (w == &a_Dialog.PasswordBox(7)) reachedPassword = true;
    }
    QVERIFY(reachedPassword);
    a_Dialog.PasswordBox(1).setText("4321");
    QTest::keyClick(&a_Dialog.PasswordBox(1), Qt::Key_Return);
  });
  QVERIFY(m_Window->EditGlobalSettings());
  QCOMPARE(Project().GetSettings().m_Passwords[1], 4321);
}

void SettingsDialogTest::theSettingsMenuOpensEachDialog() {
  QStringList titles;
  m_Window->m_PrepareSettingsDialog = [&](QDialog& a_Dialog) {
    titles << a_Dialog.windowTitle();
    QMetaObject::invokeMethod(&a_Dialog, "reject", Qt::QueuedConnection);
  };
  const char* const actions[] = {"globalSettings", "alarmSettings", "commSettings", "transferSettings",
                                 "languageSettings", "mission"};
  for (const char* name : actions) {
    QAction* action = m_Window->Action(name);
    QVERIFY2(action != nullptr && action->isEnabled(), name);
    action->trigger();
  }
  QCOMPARE(titles, (QStringList{QString::fromUtf8("全局设定"), QString::fromUtf8("设置报警列表内容"),
                                QString::fromUtf8("选择组态使用的PLC型号"), QString::fromUtf8("数据传输设置"),
                                QString::fromUtf8("语言设置"), QString("Mission")}));
  QCOMPARE(m_Window->Action("mission")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
  // Without a project there is nothing to set.
  QVERIFY(m_Window->CloseProject());
  for (const char* name : actions) QVERIFY2(!m_Window->Action(name)->isEnabled(), name);
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
