// The alarm list and the data transfer list with their item dialogs, on the sample project:
// what OK takes is the project the JSON import gives for the same lists, as one undoable
// step; each refusal of the item dialogs keeps them open and leaves the project unchanged;
// Cancel changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "editor/project/KV410Project.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/AlarmDialog.h"
#include "editor/ui/window/MainWindow.h"
#include "editor/ui/window/TransferDialog.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"
#include "tests/window/SettingsDialogTestSupport.h"
#include "tests/window/WindowTestSupport.h"

using namespace kd820;

namespace {

void SetAddress(CAddrEditor& a_Editor, const char* a_Type, const char* a_Address, const char* a_Sub = nullptr) {
  a_Editor.TypeBox().setCurrentText(a_Type);
  a_Editor.AddressBox().setText(a_Address);
  if (a_Sub != nullptr) a_Editor.SubAddressBox().setText(a_Sub);
}

QJsonObject Internal(const char* a_Type, const char* a_Number) {
  QJsonObject addr;
  addr["port"] = "internal";
  addr["type"] = a_Type;
  addr["number"] = a_Number;
  return addr;
}

// The door alarm: LW.B 5.2 on 1 with the buzzer for 3 s.
void FillDoorAlarm(CAlarmItemDialog& a_Item) {
  a_Item.BitAlarmButton().setChecked(true);
  SetAddress(a_Item.Register(), "LW.B", "5", "2");
  a_Item.FiresOnOneButton().setChecked(true);
  a_Item.BuzzerBox().setChecked(true);
  a_Item.BuzzerSecondsBox().setValue(3);
  a_Item.TextBox().setText(QString::fromUtf8("门打开"));
}

// Every 20 ticks LW 3 to RW 4, two registers, on frame 2, five times.
void FillCopy(CTransferItemDialog& a_Item) {
  a_Item.PeriodicButton().setChecked(true);
  a_Item.PeriodBox().setValue(20);
  SetAddress(a_Item.Source(), "LW", "3");
  SetAddress(a_Item.Destination(), "RW", "4");
  a_Item.CountBox().setValue(2);
  a_Item.FrameBox().setValue(2);
  a_Item.LimitBox().setValue(5);
}

}  // namespace

class ListDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void alarmsAreWhatTheImportGivesInOneStep();
  void alarmItemRefusals();
  void transfersAreWhatTheImportGivesInOneStep();
  void transferItemRefusals();
  void cancelChangesNothing();

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

void ListDialogTest::init() {
  m_Dir = std::make_unique<test::TempDir>();
  qputenv("KD820_LOCK_DIR", QByteArray::fromStdString(m_Dir->File("locks")));
  m_Ui = std::make_unique<ScriptedInteraction>();
  m_Window = std::make_unique<CMainWindow>(*m_Ui, m_Dir->File("config/recent"));
  test::WriteSampleProject(m_Dir->File("sample/SAMPLE.FPJ"));
  QVERIFY(m_Window->OpenProject(m_Dir->File("sample/SAMPLE.FPJ")));
  m_Json = test::ExportJson(*m_Window);
}

void ListDialogTest::cleanup() {
  m_Window.reset();
  m_Ui.reset();
  m_Dir.reset();
}

void ListDialogTest::alarmsAreWhatTheImportGivesInOneStep() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  test::DriveSettings<CAlarmDialog>(*m_Window, [](CAlarmDialog& a_Dialog) {
    QCOMPARE(a_Dialog.Grid().rowCount(), 2);
    QCOMPARE(a_Dialog.Grid().horizontalHeaderItem(2)->text(), QString::fromUtf8("寄存器类型"));
    QCOMPARE(a_Dialog.Grid().item(0, 1)->text(), QString("COM0"));
    QCOMPARE(a_Dialog.Grid().item(0, 3)->text(), QString::fromUtf8("电机过热"));
    a_Dialog.m_PrepareItem = [](CAlarmItemDialog& a_Item) {
      test::DriveDialog<CAlarmItemDialog>(a_Item, [](CAlarmItemDialog& a_I) {
        FillDoorAlarm(a_I);
        a_I.accept();
      });
    };
    QVERIFY(a_Dialog.AddItem());
    QCOMPARE(a_Dialog.Grid().rowCount(), 3);
    QCOMPARE(a_Dialog.Grid().item(2, 2)->text(), QString("LW.B"));
    a_Dialog.FontSizeBox().setCurrentText("16");
    a_Dialog.AlarmFrameOptionBox().setChecked(false);
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditAlarms());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  QCOMPARE(Project().GetAlarms().m_Alarms.size(), std::size_t{3});
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);
  QVERIFY(Imported([](QJsonObject& a_Root) {
            QJsonObject alarms = a_Root["alarms"].toObject();
            QJsonArray items = alarms["items"].toArray();
            QJsonObject door;
            door["flags"] = 0x30;
            door["buzzerSeconds"] = 3;
            door["register"] = Internal("LW.B", "5.2");
            door["text"] = QString::fromUtf8("门打开");
            items.append(door);
            alarms["items"] = items;
            alarms["fontSizeIndex"] = 2;
            alarms["frameOption"] = 0;
            a_Root["alarms"] = alarms;
          }) == byDialog);
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void ListDialogTest::alarmItemRefusals() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  // Each step of the item dialog: what is entered, then whether OK closed it.
  const std::vector<std::function<void(CAlarmItemDialog&)>> steps = {
      [](CAlarmItemDialog& a_I) {
        FillDoorAlarm(a_I);
        a_I.TextBox().clear();
      },
      [](CAlarmItemDialog& a_I) {
        a_I.TextBox().setText("Pressure");
        a_I.ValueAlarmButton().setChecked(true);
        a_I.CompareBox().setCurrentIndex(1);
        a_I.ValueBox().setText("3000000000");
      },
      [](CAlarmItemDialog& a_I) {
        a_I.ValueBox().setText("0");
        a_I.CompareBox().setCurrentIndex(2);
        a_I.RangeUsedBox().setChecked(true);
        a_I.UpperBox().setText("5");
        a_I.LowerBox().setText("10");
      },
  };
  std::vector<bool> open;
  test::DriveSettings<CAlarmDialog>(*m_Window, [&](CAlarmDialog& a_Dialog) {
    a_Dialog.m_PrepareItem = [&](CAlarmItemDialog& a_Item) {
      test::DriveDialog<CAlarmItemDialog>(a_Item, [&](CAlarmItemDialog& a_I) {
        for (const auto& step : steps) {
          step(a_I);
          a_I.accept();
          open.push_back(a_I.isVisible());
        }
        // Equal limits are accepted.
        a_I.UpperBox().setText("10");
        a_I.accept();
        open.push_back(a_I.isVisible());
      });
    };
    QVERIFY(a_Dialog.AddItem());
    // The same alarm again is refused.
    a_Dialog.m_PrepareItem = [&](CAlarmItemDialog& a_Item) {
      test::DriveDialog<CAlarmItemDialog>(a_Item, [&](CAlarmItemDialog& a_I) {
        a_I.ValueAlarmButton().setChecked(true);
        a_I.CompareBox().setCurrentIndex(2);
        a_I.RangeUsedBox().setChecked(true);
        a_I.UpperBox().setText("10");
        a_I.LowerBox().setText("10");
        a_I.BuzzerBox().setChecked(true);
        a_I.BuzzerSecondsBox().setValue(3);
        a_I.TextBox().setText("Pressure");
        a_I.accept();
        open.push_back(a_I.isVisible());
      });
    };
    QVERIFY(!a_Dialog.AddItem());
    QCOMPARE(a_Dialog.Grid().rowCount(), 3);
    a_Dialog.reject();
  });
  m_Ui->Clear();
  QVERIFY(!m_Window->EditAlarms());
  QCOMPARE(open, (std::vector<bool>{true, true, true, false, true}));
  QCOMPARE(m_Ui->Messages(), (std::vector<std::string>{"信息输入不能为空",
                                                        "字状态取值范围越界，必须在-2147483648和2147483647",
                                                        "上限必须大于下限", "报警设置条目已存在"}));
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(test::Saved(*m_Window) == before);
}

void ListDialogTest::transfersAreWhatTheImportGivesInOneStep() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  test::DriveSettings<CTransferDialog>(*m_Window, [](CTransferDialog& a_Dialog) {
    QCOMPARE(a_Dialog.Grid().rowCount(), 2);
    QCOMPARE(a_Dialog.Grid().item(0, 1)->text(), QString("Periodical Trigger"));
    QCOMPARE(a_Dialog.Grid().item(1, 1)->text(), QString("Register Trigger"));
    QCOMPARE(a_Dialog.Grid().item(1, 2)->text(), QString("RW8"));
    QVERIFY(a_Dialog.RemoveItem(0));
    a_Dialog.m_PrepareItem = [](CTransferItemDialog& a_Item) {
      test::DriveDialog<CTransferItemDialog>(a_Item, [](CTransferItemDialog& a_I) {
        FillCopy(a_I);
        QVERIFY(!a_I.Trigger().isEnabled());
        a_I.accept();
      });
    };
    QVERIFY(a_Dialog.AddItem());
    QCOMPARE(a_Dialog.Grid().item(1, 3)->text(), QString("RW4"));
    a_Dialog.accept();
  });
  QVERIFY(m_Window->EditTransfers());
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{1});
  const std::vector<uint8_t> byDialog = test::Saved(*m_Window);
  QVERIFY(Imported([](QJsonObject& a_Root) {
            QJsonArray transfers = a_Root["transfers"].toArray();
            transfers.removeFirst();
            QJsonObject copy;
            copy["periodic"] = 1;
            copy["period"] = 20;
            copy["frame"] = 2;
            copy["executionLimit"] = 5;
            copy["count"] = 2;
            copy["source"] = Internal("LW", "3");
            copy["destination"] = Internal("RW", "4");
            transfers.append(copy);
            a_Root["transfers"] = transfers;
          }) == byDialog);
  QVERIFY(m_Window->Editor().Undo());
  QVERIFY(test::Saved(*m_Window) == before);
}

void ListDialogTest::transferItemRefusals() {
  const std::vector<uint8_t> before = test::Saved(*m_Window);
  std::vector<bool> open;
  test::DriveSettings<CTransferDialog>(*m_Window, [&](CTransferDialog& a_Dialog) {
    a_Dialog.m_PrepareItem = [&](CTransferItemDialog& a_Item) {
      test::DriveDialog<CTransferItemDialog>(a_Item, [&](CTransferItemDialog& a_I) {
        FillCopy(a_I);
        a_I.CountBox().setValue(0);
        a_I.accept();
        open.push_back(a_I.isVisible());
        a_I.CountBox().setValue(2);
        a_I.PeriodBox().setValue(0);
        a_I.accept();
        open.push_back(a_I.isVisible());
        a_I.PeriodBox().setValue(20);
        // An edge of a trigger bit outside its range.
        a_I.RegisterTriggerButton().setChecked(true);
        QVERIFY(a_I.Trigger().isEnabled());
        SetAddress(a_I.Trigger(), "LW.B", "300", "0");
        a_I.accept();
        open.push_back(a_I.isVisible());
        a_I.PeriodicButton().setChecked(true);
        a_I.accept();
        open.push_back(a_I.isVisible());
      });
    };
    QVERIFY(a_Dialog.AddItem());
    // The same transfer again is refused.
    a_Dialog.m_PrepareItem = [&](CTransferItemDialog& a_Item) {
      test::DriveDialog<CTransferItemDialog>(a_Item, [&](CTransferItemDialog& a_I) {
        FillCopy(a_I);
        a_I.accept();
        open.push_back(a_I.isVisible());
      });
    };
    QVERIFY(!a_Dialog.AddItem());
    a_Dialog.reject();
  });
  m_Ui->Clear();
  QVERIFY(!m_Window->EditTransfers());
  QCOMPARE(open, (std::vector<bool>{true, true, true, false, true}));
  const std::vector<std::string> messages = m_Ui->Messages();
  QCOMPARE(messages.size(), std::size_t{4});
  QCOMPARE(messages[0], std::string("传输个数必须大于0"));
  QCOMPARE(messages[1], std::string("触发周期必须大于0"));
  QVERIFY2(messages[2].find("255") != std::string::npos, messages[2].c_str());
  QCOMPARE(messages[3], std::string("数据传输条目已存在"));
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(test::Saved(*m_Window) == before);
}

void ListDialogTest::cancelChangesNothing() {
  test::DriveSettings<CAlarmDialog>(*m_Window, [](CAlarmDialog& a_Dialog) {
    QVERIFY(a_Dialog.RemoveItem(0));
    a_Dialog.reject();
  });
  QVERIFY(!m_Window->EditAlarms());
  test::DriveSettings<CTransferDialog>(*m_Window, [](CTransferDialog& a_Dialog) {
    QVERIFY(a_Dialog.RemoveItem(1));
    QTest::keyClick(&a_Dialog, Qt::Key_Escape);
  });
  QVERIFY(!m_Window->EditTransfers());
  QCOMPARE(Project().GetAlarms().m_Alarms.size(), std::size_t{2});
  QCOMPARE(Project().GetTransfers().m_Items.size(), std::size_t{2});
  QCOMPARE(m_Window->Editor().History().UndoCount(), std::size_t{0});
  QVERIFY(!m_Window->Doc().IsModified());
}

QTEST_MAIN(ListDialogTest)
#include "ListDialogTest.moc"
