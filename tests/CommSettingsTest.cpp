// New projects through the wizard, the PLC page and changing the communication settings.
#include <gtest/gtest.h>

#include "editor/devices/PlcLibrary.h"
#include "editor/project/DocumentEditor.h"
#include "editor/project/EditRules.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "editor/project/NewProjectWizard.h"
#include "editor/screens/RegisterGE.h"
#include "tests/ScriptedInteraction.h"
#include "tests/LibraryFixture.h"

using namespace kd820;

namespace {

std::pair<std::size_t, std::size_t> Plc(int32_t a_Id) {
  std::size_t m = 0, p = 0;
  CEditorContext context;
  EXPECT_TRUE(context.GetPlcLibrary().FindPlc(a_Id, &m, &p));
  return {m, p};
}

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KD820_LOCK_DIR", m_Work.File("locks").c_str(), 1); }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  // Fills the wizard for a project "Plant" in the work directory with protocol 11 on COM0.
  void Fill(CNewProjectWizard& a_Wizard) {
    a_Wizard.NamePage().SetParentFolder(m_Work.Path().string());
    a_Wizard.NamePage().SetName("  Plant ");
    ASSERT_TRUE(a_Wizard.PlcPage().ChoosePlc(0, Plc(11)));
  }

  test::TempDir m_Work;
  ScriptedInteraction m_Ui;
};

}  // namespace

TEST_F(WizardTest, NamePageTrimsAndFollowsTheName) {
  test::LibraryFixture lib;
  CNewProjectName page;
  EXPECT_EQ(page.GetDirectory(), lib.Home() + "/projects/");
  EXPECT_FALSE(page.CanFinish());
  page.SetName("  pump station  ");
  EXPECT_EQ(page.GetName(), "pump station");
  EXPECT_EQ(page.GetDirectory(), lib.Home() + "/projects/pump station");
  page.SetParentFolder("/data");
  EXPECT_EQ(page.GetDirectory(), "/data/pump station");
  page.SetName("p2");
  EXPECT_EQ(page.GetDirectory(), "/data/p2");
  page.SetName("   ");
  EXPECT_FALSE(page.CanFinish());
}

TEST_F(WizardTest, NewProjectWithAPlcOnCom0) {
  test::LibraryFixture lib;
  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  ASSERT_TRUE(wizard.HmiPage().HasModel());
  EXPECT_EQ(wizard.HmiPage().GetModel().m_Id, 1);
  Fill(wizard);
  m_Ui.QueueAnswer(Answer::Yes);  // the model cannot be changed later
  ASSERT_TRUE(wizard.Finish(doc, m_Ui)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_EQ(m_Ui.Questions(), std::vector<std::string>{msg::kConfirmModel});

  const std::string file = m_Work.File("Plant/Plant.FPJ");
  ASSERT_TRUE(std::filesystem::exists(file));
  CKV410Project& project = *doc.GetProject();
  EXPECT_EQ(project.GetHardwareModelId(), 1);
  const CPortCom& com0 = *project.GetPort(0);
  EXPECT_TRUE(com0.IsEnabled());
  EXPECT_EQ(com0.m_ProtocolId, 11);
  EXPECT_EQ(com0.m_StationUsed, 1);
  EXPECT_EQ(com0.m_Station, 1);
  EXPECT_EQ(com0.m_SerialType, CPortCom::kRs485);
  EXPECT_EQ(com0.m_BaudRate, 4);
  EXPECT_EQ(com0.m_ResponseTimeout, 300);
  EXPECT_EQ(com0.m_RetryCount, 10);
  EXPECT_FALSE(project.GetPort(1)->IsEnabled());
  EXPECT_EQ(doc.Context().GetPortModel(0)->m_Id, 11);
  std::vector<uint8_t> record;
  com0.Compile(record, StderrProblems());
  ASSERT_EQ(record.size(), 36u);
  EXPECT_EQ(record[1], 2);      // RS485 two-wire
  EXPECT_EQ(record[2], 8);
  EXPECT_EQ(record[3], 'E');
  EXPECT_EQ(record[4] | (record[5] << 8), 19200);
  EXPECT_EQ(record[8], 1);
  EXPECT_EQ(record[10], 11);

  // The stored project opens again with the same ports.
  EXPECT_TRUE(doc.CloseProject());
  ASSERT_TRUE(doc.OpenProject(file));
  EXPECT_EQ(doc.GetProject()->GetPort(0)->m_ProtocolId, 11);
}

TEST_F(WizardTest, SingleModelIsNotConfirmedAndMissingPortsStayDisabled) {
  test::LibraryFixture lib(false);
  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  Fill(wizard);
  EXPECT_EQ(wizard.PlcPage().Port(1), nullptr);
  EXPECT_FALSE(wizard.PlcPage().ChoosePlc(1, Plc(12)));
  ASSERT_TRUE(wizard.Finish(doc, m_Ui));
  EXPECT_TRUE(m_Ui.Questions().empty());
  EXPECT_FALSE(doc.GetProject()->GetPort(1)->IsEnabled());
  EXPECT_FALSE(doc.GetProject()->GetPort(2)->IsEnabled());
}

TEST_F(WizardTest, ExistingDirectoryIsAskedAndMissingParentRefused) {
  test::LibraryFixture lib(false);
  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  Fill(wizard);
  std::filesystem::create_directories(m_Work.File("Plant"));
  m_Ui.QueueAnswer(Answer::No);
  EXPECT_FALSE(wizard.Finish(doc, m_Ui));
  ASSERT_EQ(m_Ui.Questions().size(), 1u);
  EXPECT_EQ(m_Ui.Questions()[0], "工程目录(" + m_Work.File("Plant") + ")已存在，是否覆盖？");
  EXPECT_EQ(doc.GetProject(), nullptr);

  wizard.NamePage().SetParentFolder(m_Work.File("missing"));
  m_Ui.Clear();
  EXPECT_FALSE(wizard.Finish(doc, m_Ui));
  EXPECT_EQ(m_Ui.Messages(),
            std::vector<std::string>{"目录(" + m_Work.File("missing") + "/)不存在，请重新选择！"});
}

TEST_F(WizardTest, TemplateOfTheModelIsCopiedAndThePlcPageApplied) {
  test::LibraryFixture lib(false);
  // A template whose project has a described frame.
  CKV410Project templ;
  templ.SetHardwareModelId(2);
  auto frame = std::make_unique<CHMIFrame>(7);
  frame->SetDescription("from the template");
  templ.AddFrame(frame);
  CArchive ar;
  ar.WriteObject(&templ);
  test::WriteFile(lib.Home() + "/lib/hardware/beta.SFP", ar.Bytes());

  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  Fill(wizard);
  ASSERT_TRUE(wizard.Finish(doc, m_Ui)) << ::testing::PrintToString(m_Ui.Messages());
  auto saved = CKV410Doc::LoadFromBytes(test::ReadFile(m_Work.File("Plant/Plant.FPJ")));
  ASSERT_NE(saved->FindFrame(7), nullptr);
  EXPECT_EQ(saved->FindFrame(7)->GetDescription(), "from the template");
  EXPECT_EQ(saved->GetPort(0)->m_ProtocolId, 11);
}

TEST_F(WizardTest, ChangingAPortsPlcAsksAndResetsExactlyItsAddresses) {
  test::LibraryFixture lib;
  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  Fill(wizard);
  ASSERT_TRUE(wizard.PlcPage().ChoosePlc(1, Plc(11)));
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(wizard.Finish(doc, m_Ui));
  CKV410Project& project = *doc.GetProject();

  // One register on COM0 and one on COM1, both valid.
  auto make = [](int32_t a_Port) {
    auto reg = std::make_unique<CRegisterGE>();
    reg->m_Reg.m_Port = a_Port;
    reg->m_Reg.m_TypeName = "D";
    reg->m_Reg.m_Address = 40;
    return reg;
  };
  CHMIFrame* frame = project.FindFrame(1);
  auto* onCom0 = static_cast<CRegisterGE*>(frame->AddElement(make(0)));
  auto* onCom1 = static_cast<CRegisterGE*>(frame->AddElement(make(1)));
  project.GetAlarms().m_Alarms.emplace_back();
  project.GetAlarms().m_Alarms.back().m_Register.m_Port = 0;
  project.GetAlarms().m_Alarms.back().m_Register.m_TypeName = "M";

  CEditorContext& context = doc.Context();
  CNewProjectPlc page(context.CurrentHardwareModel(), context);
  page.LoadFromProject(project);
  ASSERT_TRUE(page.Port(0)->m_Plc);
  // Only timing changes: applied without a question, nothing reset.
  page.Port(0)->m_Settings.m_ResponseTimeout = 777;
  m_Ui.Clear();
  ASSERT_TRUE(ApplyCommunicationSettings(project, page, m_Ui, context));
  EXPECT_TRUE(m_Ui.Questions().empty());
  EXPECT_EQ(project.GetPort(0)->m_ResponseTimeout, 777);
  EXPECT_EQ(onCom0->m_Reg.m_TypeName, "D");

  // Another protocol on COM0: asked; No changes nothing.
  ASSERT_TRUE(page.ChoosePlc(0, Plc(12)));
  m_Ui.QueueAnswer(Answer::No);
  EXPECT_FALSE(ApplyCommunicationSettings(project, page, m_Ui, context));
  EXPECT_EQ(m_Ui.Questions(), std::vector<std::string>{msg::kResetChangedPorts});
  EXPECT_EQ(project.GetPort(0)->m_ProtocolId, 11);
  EXPECT_EQ(onCom0->m_Reg.m_Port, 0);

  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(ApplyCommunicationSettings(project, page, m_Ui, context));
  EXPECT_EQ(project.GetPort(0)->m_ProtocolId, 12);
  EXPECT_EQ(context.GetPortModel(0)->m_Id, 12);
  EXPECT_TRUE(onCom0->m_Reg.IsInternal());
  EXPECT_EQ(onCom0->m_Reg.m_TypeName, "LW");
  EXPECT_TRUE(project.GetAlarms().m_Alarms.back().m_Register.IsInternal());
  EXPECT_EQ(onCom1->m_Reg.m_Port, 1);
  EXPECT_EQ(onCom1->m_Reg.m_TypeName, "D");
  EXPECT_FALSE(context.IsPortChanged(0));
}

TEST(EditRules, SettingsDialog) {
  CGlobalSettings settings;
  settings.m_Flags |= CGlobalSettings::kOwnMessageLanguage;
  CGlobalSettings edited;
  edited.m_Flags = CGlobalSettings::kCommonFrameUsed | CGlobalSettings::kPasswordToWake;
  edited.m_ScreenSaverMinutes = ScreenSaverChoices()[10].second;
  ApplySettingsDialog(settings, edited);
  EXPECT_EQ(settings.m_ScreenSaverMinutes, 60);
  EXPECT_NE(settings.m_Flags & CGlobalSettings::kOwnMessageLanguage, 0u);
  EXPECT_EQ(settings.m_ControlFlags & 0x80, 0x80);
  EXPECT_TRUE(ScreenSaverFrameEnabled(settings));
  EXPECT_TRUE(PasswordLevelEnabled(settings));
  EXPECT_TRUE(CommonFrameEnabled(settings));
  EXPECT_FALSE(ControlAddressEnabled(settings));
  EXPECT_EQ(ScreenSaverChoiceIndex(45), 9u);
  EXPECT_EQ(ScreenSaverChoiceIndex(4), std::nullopt);
}

TEST(EditRules, AlarmItemChecks) {
  CAlarmItemInput input;
  EXPECT_EQ(CheckAlarmItem(input), "信息输入不能为空");
  input.m_Item.m_Text = "Hot";
  EXPECT_EQ(CheckAlarmItem(input), std::nullopt);
  input.m_Value = 2147483648LL;
  EXPECT_EQ(CheckAlarmItem(input), "字状态取值范围越界，必须在-2147483648和2147483647");
  input.m_Value = 0;
  input.m_Item.m_RangeUsed = 1;
  input.m_RangeA = 4;
  input.m_RangeB = 5;
  EXPECT_EQ(CheckAlarmItem(input), "上限必须大于下限");
  input.m_RangeA = 5;
  EXPECT_EQ(CheckAlarmItem(input), std::nullopt);

  CEditorContext context;
  std::vector<CAlarmItem> list;
  EXPECT_EQ(AddAlarmToList(list, input.m_Item, context), std::nullopt);
  CAlarmItem noted = input.m_Item;
  noted.m_Register.m_Note = "a remark";
  EXPECT_EQ(AddAlarmToList(list, noted, context), "报警设置条目已存在");
  // Registers on a port compare by their compiled form, station included.
  CRegisterType m;
  m.m_Name = "M";
  context.GetPortModel(0)->m_BitNames["M"] = m;
  context.GetPortModel(0)->m_BitTypes.push_back(m);
  CAlarmItem otherStation = input.m_Item;
  otherStation.m_Register.m_Port = 0;
  otherStation.m_Register.m_TypeName = "M";
  otherStation.m_Register.m_HasSubAddress = 0;
  otherStation.m_Register.m_Station = 5;
  CAlarmItem station6 = otherStation;
  station6.m_Register.m_Station = 6;
  EXPECT_EQ(AddAlarmToList(list, otherStation, context), std::nullopt);
  EXPECT_EQ(AddAlarmToList(list, station6, context), std::nullopt);
  EXPECT_EQ(AddAlarmToList(list, station6, context), "报警设置条目已存在");
}

TEST(EditRules, LanguageDialog) {
  CKV410Project project;
  EXPECT_EQ(ApplyLanguageDialog(project, 0, {}, true), "请至少配置一种语言！");
  EXPECT_EQ(ApplyLanguageDialog(project, 2, {{0x0804, "宋体"}, {std::nullopt, "Arial"}}, true),
            "请选择语言！");
  EXPECT_EQ(ApplyLanguageDialog(project, 1, {{0x0804, ""}}, true), "请选择字体！");
  EXPECT_EQ(project.GetLangDefine().m_Items.size(), 1u);
  EXPECT_EQ(ApplyLanguageDialog(project, 3, {{0x0804, "宋体"}, {0x0409, "Arial"}, {0x0407, "Arial"}}, false),
            std::nullopt);
  ASSERT_EQ(project.GetLangDefine().m_Items.size(), 3u);
  EXPECT_EQ(project.GetLangDefine().GetLanguageId(1), 0x0409);
  EXPECT_NE(project.GetSettings().m_Flags & CGlobalSettings::kOwnMessageLanguage, 0u);
  ASSERT_EQ(ApplyLanguageDialog(project, 1, {{0x0409, "Arial"}}, true), std::nullopt);
  EXPECT_EQ(project.GetSettings().m_Flags & CGlobalSettings::kOwnMessageLanguage, 0u);
}

TEST_F(WizardTest, ACommunicationChangeAndItsResetAreOneStep) {
  test::LibraryFixture lib;
  CKV410Doc doc(m_Ui);
  CNewProjectWizard wizard(doc.Context());
  Fill(wizard);
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(wizard.Finish(doc, m_Ui));
  CKV410Project& project = *doc.GetProject();
  CMemoryClipboard clipboard;
  CDocumentEditor editor(doc, clipboard);
  ASSERT_TRUE(doc.Save());
  editor.Reset();
  auto reg = std::make_unique<CRegisterGE>();
  reg->m_Reg.m_Port = 0;
  reg->m_Reg.m_TypeName = "D";
  reg->m_Reg.m_Address = 40;
  auto* onCom0 = static_cast<CRegisterGE*>(project.FindFrame(1)->AddElement(std::move(reg)));
  project.GetSettings().m_ControlAddress.m_Port = 0;
  project.GetSettings().m_ControlAddress.m_TypeName = "D";
  const std::vector<uint8_t> before = CKV410Doc::ProjectFileBytes(project);
  CEditorContext& context = doc.Context();

  CNewProjectPlc page(context.CurrentHardwareModel(), context);
  page.LoadFromProject(project);
  // Taken without a change: accepted, no step.
  EXPECT_TRUE(editor.EditCommunication(page));
  EXPECT_EQ(editor.History().UndoCount(), 0u);

  // Another protocol on COM0, refused: nothing changes.
  ASSERT_TRUE(page.ChoosePlc(0, Plc(12)));
  m_Ui.Clear();
  m_Ui.QueueAnswer(Answer::No);
  EXPECT_FALSE(editor.EditCommunication(page));
  EXPECT_EQ(m_Ui.Questions(), std::vector<std::string>{msg::kResetChangedPorts});
  EXPECT_EQ(editor.History().UndoCount(), 0u);
  EXPECT_TRUE(CKV410Doc::ProjectFileBytes(project) == before);

  // Confirmed: the port, the element and the control address change in one step.
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(editor.EditCommunication(page));
  EXPECT_EQ(editor.History().UndoCount(), 1u);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(project.GetPort(0)->m_ProtocolId, 12);
  EXPECT_TRUE(onCom0->m_Reg.IsInternal());
  EXPECT_TRUE(project.GetSettings().m_ControlAddress.IsInternal());
  EXPECT_EQ(context.GetPortModel(0)->m_Id, 12);
  const std::vector<uint8_t> after = CKV410Doc::ProjectFileBytes(project);

  // Undo gives the project and the port model back; redo makes the change again.
  ASSERT_TRUE(editor.Undo());
  EXPECT_TRUE(CKV410Doc::ProjectFileBytes(project) == before);
  EXPECT_EQ(onCom0->m_Reg.m_Port, 0);
  EXPECT_EQ(onCom0->m_Reg.m_TypeName, "D");
  EXPECT_EQ(context.GetPortModel(0)->m_Id, 11);
  EXPECT_FALSE(doc.IsModified());
  ASSERT_TRUE(editor.Redo());
  EXPECT_TRUE(CKV410Doc::ProjectFileBytes(project) == after);
  EXPECT_EQ(context.GetPortModel(0)->m_Id, 12);
}

TEST(EditRules, TransferItemChecksAndDuplicates) {
  CDataTransferItem item;
  item.m_Periodic = 1;
  EXPECT_EQ(CheckTransferItem(item), std::nullopt);
  CDataTransferItem none = item;
  none.m_Count = 0;
  EXPECT_EQ(CheckTransferItem(none), "传输个数必须大于0");
  none = item;
  none.m_Periodic = 0;
  EXPECT_EQ(CheckTransferItem(none), "请选择触发方式");
  none.m_EdgeMode = CDataTransferItem::kFalling;
  EXPECT_EQ(CheckTransferItem(none), std::nullopt);
  none = item;
  none.m_Period = 0;
  EXPECT_EQ(CheckTransferItem(none), "触发周期必须大于0");

  const CEditorContext context;
  std::vector<CDataTransferItem> list;
  EXPECT_EQ(AddTransferToList(list, item, context), std::nullopt);
  EXPECT_EQ(AddTransferToList(list, item, context), "数据传输条目已存在");
  // Another source register, or another count, is another transfer.
  CDataTransferItem other = item;
  other.m_Source.m_Address = 7;
  EXPECT_EQ(AddTransferToList(list, other, context), std::nullopt);
  other.m_Count = 2;
  EXPECT_EQ(AddTransferToList(list, other, context), std::nullopt);
  EXPECT_EQ(list.size(), 3u);
}

TEST_F(WizardTest, ProtocolDefaultsLeaveTheTabAsItIs) {
  test::LibraryFixture lib;
  CEditorContext context;
  CNewProjectWizard wizard(context);
  CNewProjectPlc& page = wizard.PlcPage();
  EXPECT_FALSE(page.ProtocolDefaults(0).has_value());
  ASSERT_TRUE(page.ChoosePlc(0, Plc(11)));
  const CPortCom preset = page.Port(0)->m_Settings;
  page.Port(0)->m_Settings.m_ResponseTimeout = preset.m_ResponseTimeout + 1;
  page.Port(0)->m_Settings.m_RetryCount = 3;
  const std::optional<CPortCom> defaults = page.ProtocolDefaults(0);
  ASSERT_TRUE(defaults.has_value());
  EXPECT_EQ(defaults->m_ResponseTimeout, preset.m_ResponseTimeout);
  EXPECT_EQ(defaults->m_RetryCount, 10);
  EXPECT_EQ(defaults->m_ProtocolId, 11);
  EXPECT_EQ(page.Port(0)->m_Settings.m_RetryCount, 3);
}
