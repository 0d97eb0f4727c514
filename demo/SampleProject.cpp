#include "demo/SampleProject.h"

#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

namespace {

// An address on COM0, where the sample has a Modbus RTU PLC at station 1: coils "0x",
// holding registers "4x" (with "4x.B" for their bits and "4xD" for double words).
CAddr PortAddr(int32_t a_Width, const char* a_Type, int32_t a_Address, int32_t a_Sub = -1) {
  CAddr a(a_Width);
  a.m_Port = 0;
  a.m_Station = 1;
  a.m_TypeName = a_Type;
  a.m_Address = a_Address;
  a.m_HasSubAddress = a_Sub >= 0 ? 1 : 0;
  a.m_SubAddress = a_Sub >= 0 ? a_Sub : 0;
  if (a_Width == CAddr::kDoubleWord) a.m_Length = 2;
  return a;
}

// A checkerboard picture of the given size in the library layout.
std::vector<uint8_t> Checkerboard(int32_t a_Width, int32_t a_Height, int a_Phase) {
  const int32_t stride = (a_Width + 7) / 8;
  std::vector<uint8_t> pixels(static_cast<std::size_t>(stride * a_Height), 0);
  for (int32_t y = 0; y < a_Height; ++y) {
    for (int32_t x = 0; x < a_Width; ++x) {
      if (((x / 2 + y / 2 + a_Phase) & 1) != 0) {
        pixels[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<uint8_t>(1u << (x % 8));
      }
    }
  }
  return pixels;
}

template <class T>
T& Place(CHMIFrame& a_Frame, int32_t a_Left, int32_t a_Top, int32_t a_Width, int32_t a_Height) {
  auto element = std::make_unique<T>();
  element->SetPosition(a_Left, a_Top);
  element->SetWidth(a_Width);
  element->SetHeight(a_Height);
  return static_cast<T&>(*a_Frame.AddElement(std::move(element)));
}

void FillMainFrame(CHMIFrame& a_Frame, int32_t a_PictureA, int32_t a_PictureB,
                   CEditorContext& a_Context) {
  auto& title = Place<CStaticText>(a_Frame, 0, 0, 48, 16);
  title.SetText("泵站 1");
  title.SetFace("宋体");
  title.UpdateSize(a_Context);
  auto& label = Place<CStaticText>(a_Frame, 0, 16, 18, 8);
  label.SetText("RUN");
  label.SetSizeIndex(0);
  label.UpdateSize(a_Context);
  label.SetReverse(true);

  auto& state = Place<CDynamicText>(a_Frame, 60, 0, 48, 16);
  state.m_Reg = PortAddr(CAddr::kWord, "4x", 100);
  state.GetState(1)->m_Text = "停止";
  state.GetState(3)->m_Text = "运行";
  state.GetState(7)->m_Text = "故障";
  state.GetState(7)->m_SecondText = "fault";
  state.m_Alignment = 1;

  auto& value = Place<CRegisterGE>(a_Frame, 110, 0, 48, 16);
  value.m_Reg = PortAddr(CAddr::kWord, "4x", 200);
  value.m_Type = CRegisterGE::kUnsigned;
  value.m_ShowBits = 3;
  value.m_FloatBits = 2;
  value.m_Setting = 1;
  value.m_Limit = 1;
  value.m_InputUpper = 99.5;
  value.m_InputLower = -5.0;
  value.SetInputOrder(2);

  auto& flow = Place<CRegisterGE>(a_Frame, 110, 16, 36, 8);
  flow.m_Reg = PortAddr(CAddr::kDoubleWord, "4xD", 300);
  flow.m_Type = CRegisterGE::kFloat;
  flow.m_RegWidth = 1;
  flow.m_SizeIndex = 0;
  flow.m_Projection = 1;
  flow.m_PrjUpper = 100.0;
  flow.m_Setting = 1;
  flow.SetInputOrder(1);

  auto& lamp = Place<CLedGE>(a_Frame, 170, 0, 16, 16);
  lamp.m_Reg = PortAddr(CAddr::kBit, "0x", 10);
  lamp.m_Shape = CLedGE::kSquare;
  lamp.m_Blink = 1;
  lamp.m_BlinkPeriod = 5;

  auto& bar = Place<CBarGE>(a_Frame, 0, 30, 8, 34);
  bar.m_Reg = PortAddr(CAddr::kWord, "4x", 201);
  bar.m_DataType = 3;
  bar.m_Upper = 100.0;

  auto& trend = Place<CTrendGE>(a_Frame, 12, 30, 100, 34);
  trend.m_Reg = PortAddr(CAddr::kWord, "4x", 202);
  trend.m_Points = 50;
  trend.m_Period = 20;

  auto& picture = Place<CPictureGE>(a_Frame, 120, 30, 24, 16);
  picture.m_ItemId = a_PictureA;
  picture.m_Trait.m_LeftFill = 1;
  auto& second = Place<CPictureGE>(a_Frame, 150, 30, 16, 16);
  second.m_ItemId = a_PictureB;

  auto& text = Place<CAsciiGE>(a_Frame, 120, 50, 36, 8);
  text.m_Reg = PortAddr(CAddr::kWord, "4x", 400);
  text.SetCharCount(6);
  text.SetSizeIndex(0);
  text.UpdateSize(a_Context);

  auto& next = Place<CFunckeyGE>(a_Frame, 170, 48, 16, 16);
  next.m_KeyNumber = 3;
  next.m_ActionClass = CFunckeyGE::kFrameAction;
  next.m_JumpFrame.m_FrameNumber = 2;

  auto& pump = Place<CFunckeyGE>(a_Frame, 0, 0, 0, 0);
  pump.m_KeyNumber = 5;
  pump.m_ActionClass = CFunckeyGE::kBitAction;
  pump.m_BitSet.m_Action = 2;  // toggle
  pump.m_Reg = PortAddr(CAddr::kBit, "0x", 20);
  pump.SetInputOrder(3);
}

void FillAlarmFrame(CHMIFrame& a_Frame, CEditorContext& a_Context) {
  auto& title = Place<CStaticText>(a_Frame, 0, 0, 64, 12);
  title.SetText("Alarms");
  title.SetSizeIndex(1);
  title.SetBuiltinOption(1);
  title.UpdateSize(a_Context);
  auto& list = Place<CEventListGE>(a_Frame, 0, 12, 192, 52);
  list.m_ShowNumber = 1;
  list.m_DateStyle = 2;
  list.m_DateSeparator = 2;
  list.m_TimeStyle = 1;
  list.m_FourDigitYear = 1;
  auto& back = Place<CFunckeyGE>(a_Frame, 176, 0, 16, 12);
  back.m_KeyNumber = 1;
  back.m_JumpFrame.m_Action = CJumpFrame::kBack;
  auto& reset = Place<CFunckeyGE>(a_Frame, 0, 0, 0, 0);
  reset.m_KeyNumber = 30;
  auto& plus = Place<CFunckeyGE>(a_Frame, 0, 0, 0, 0);
  plus.m_KeyNumber = 7;
  plus.m_ActionClass = CFunckeyGE::kWordAction;
  plus.m_WordSet.m_Action = 3;  // repeated add
  plus.m_WordSet.m_Value = 5;
  plus.m_WordSet.m_Limit = 500;
  plus.m_Reg = PortAddr(CAddr::kWord, "4x", 500);
}

}  // namespace

std::unique_ptr<CKV410Project> MakeSampleProject(CEditorContext& a_Context) {
  auto project = std::make_unique<CKV410Project>();
  project->SetHardwareModelId(1);

  CPortCom& com0 = *project->GetPort(0);
  com0.m_Enabled = 1;
  com0.m_ProtocolId = 1;
  com0.m_SerialType = CPortCom::kRs485;
  com0.m_BaudRate = 3;
  com0.m_DataBits = 1;
  com0.m_Parity = 2;
  com0.m_StationUsed = 1;
  com0.m_Station = 1;
  com0.m_ResponseTimeout = 500;
  com0.m_ProtocolTimeout1 = 3;
  com0.m_ProtocolTimeout2 = 10;
  com0.m_WordPacketMax = 32;
  com0.m_BitPacketMax = 128;
  com0.m_WordPackingInterval = 4;
  com0.m_BitPackingInterval = 16;
  com0.m_CommunicationInterval = 10;

  auto& langs = project->GetLangDefine().m_Items;
  langs.clear();
  langs.push_back(std::make_unique<CLangDefineItem>(0x0804, "宋体"));
  langs.push_back(std::make_unique<CLangDefineItem>(0x0409, "Microsoft Sans Serif"));
  langs.push_back(std::make_unique<CLangDefineItem>(0x0407, "Microsoft Sans Serif"));

  CSingleColorBitmapLib& bitmaps = project->GetBitmapLib();
  const int32_t pictureA = bitmaps.AddItem(24, 16, Checkerboard(24, 16, 0));
  const int32_t pictureB = bitmaps.AddItem(16, 16, Checkerboard(16, 16, 1));

  auto main = std::make_unique<CHMIFrame>(1);
  main->SetDescription("Overview");
  main->SetPrevious(0);
  main->SetNext(2);
  FillMainFrame(*main, pictureA, pictureB, a_Context);
  project->AddFrame(main);

  auto alarms = std::make_unique<CHMIFrame>(2);
  alarms->SetDescription("Alarms");
  alarms->SetPrevious(1);
  alarms->SetNext(0);
  FillAlarmFrame(*alarms, a_Context);
  project->AddFrame(alarms);

  CGlobalSettings& settings = project->GetSettings();
  settings.m_Flags |= CGlobalSettings::kCommonFrameUsed | CGlobalSettings::kPasswordToWake;
  settings.m_ScreenSaverMinutes = 10;
  settings.m_PasswordLevel = 2;
  settings.m_Passwords[0] = 1234;
  settings.m_ControlFlags = CGlobalSettings::kPlcSelectsFrame | CGlobalSettings::kReportFrame;

  CAlarmSettings& alarmList = project->GetAlarms();
  alarmList.m_AlarmFrame = 2;
  CAlarmItem overheat;
  overheat.m_Flags = CAlarmItem::kFiresOnOne | CAlarmItem::kBuzzer;
  overheat.m_BuzzerSeconds = 5;
  overheat.m_Register = PortAddr(CAddr::kBit, "4x.B", 100, 3);
  overheat.m_Text = "电机过热";
  alarmList.AddAlarm(overheat, a_Context);
  CAlarmItem level;
  level.m_Flags = CAlarmItem::kValueAlarm | (2u << 1);
  level.m_RangeUsed = 1;
  level.m_RangeA = 900;
  level.m_RangeB = 100;
  level.m_Register = PortAddr(CAddr::kWord, "4x", 210);
  level.m_Text = "Level out of range";
  alarmList.AddAlarm(level, a_Context);

  CDataTransferList& transfers = project->GetTransfers();
  CDataTransferItem periodic;
  periodic.m_Periodic = 1;
  periodic.m_Period = 50;
  periodic.m_Source = PortAddr(CAddr::kWord, "4x", 600);
  periodic.m_Destination.m_TypeName = "RW";
  periodic.m_Count = 4;
  transfers.m_Items.push_back(periodic);
  CDataTransferItem triggered;
  triggered.m_EdgeMode = CDataTransferItem::kRising;
  triggered.m_Trigger = PortAddr(CAddr::kBit, "0x", 30);
  triggered.m_Frame = 1;
  triggered.m_ExecutionLimit = 10;
  triggered.m_Source.m_TypeName = "RW";
  triggered.m_Source.m_Address = 8;
  triggered.m_Destination = PortAddr(CAddr::kWord, "4x", 700);
  triggered.m_Count = 2;
  transfers.m_Items.push_back(triggered);
  return project;
}

}  // namespace kd820
