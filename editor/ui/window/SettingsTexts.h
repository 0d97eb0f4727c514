#pragma once
#include "platform/Translate.h"
// The texts of the project settings dialogs: global settings, alarms, communication, data
// transfers, languages and the data upload/download task. Their refusals come from the core's
// rules (editor/project/EditRules.h).
namespace kd820::settext {

// The Settings menu.
inline constexpr const char* kMenuSettings = N_("设置(&S)");
inline constexpr const char* kGlobalCommand = N_("全局设置");
inline constexpr const char* kAlarmCommand = N_("报警设置");
inline constexpr const char* kCommCommand = N_("通讯设置");
inline constexpr const char* kTransferCommand = N_("数据传输设置");
inline constexpr const char* kLanguageCommand = N_("语言设置");
inline constexpr const char* kMissionCommand = N_("上传数据");

// Global settings.
inline constexpr const char* kGlobalTitle = N_("全局设定");
inline constexpr const char* kStartFrame = N_("初始画面:");
inline constexpr const char* kScreenSaver = N_("屏幕保护:");
inline constexpr const char* kSaverShowFrame = N_("显示画面");
inline constexpr const char* kSaverBacklightOnly = N_("仅关闭背光");
inline constexpr const char* kPasswordToWake = N_("屏保恢复时需要口令");
inline constexpr const char* kPasswordLevel = N_("密码级:");
inline constexpr const char* kBuzzerOff = N_("蜂鸣器静音");
inline constexpr const char* kSwapWords = N_("双字交换(大端字节序)");
inline constexpr const char* kFocus = N_("焦点显示：");
inline constexpr const char* kFocusInverse = N_("反色");
inline constexpr const char* kFocusBlink = N_("闪烁");
inline constexpr const char* kPasswordFrame = N_("密码画面:");
inline constexpr const char* kCommonFrame = N_("公共画面:");
inline constexpr const char* kPasswords = N_("密码设定(0~999999999)");
inline constexpr const char* kPasswordFormat = N_("%1级密码:");
inline constexpr const char* kPlcSelectsFrame = N_("自动变换显示画面，对应");
inline constexpr const char* kReportFrame = N_("报告当前画面号，对应");
inline constexpr const char* kControlAddress = N_("控制地址");
inline constexpr const char* kControl = N_("控制寄存器");

// Alarms.
inline constexpr const char* kAlarmTitle = N_("设置报警列表内容");
inline constexpr const char* kAlarmItemTitle = N_("报警条目");
inline constexpr const char* kColumnNumber = N_("序号");
inline constexpr const char* kColumnPort = N_("端口");
inline constexpr const char* kColumnType = N_("寄存器类型");
inline constexpr const char* kColumnText = N_("信息内容");
inline constexpr const char* kAdd = N_("添加");
inline constexpr const char* kModify = N_("修改");
inline constexpr const char* kRemove = N_("删除");
inline constexpr const char* kAlarmFont = N_("报警字体:");
inline constexpr const char* kFontSize = N_("字号:");
inline constexpr const char* kAlarmFrame = N_("报警画面:");
inline constexpr const char* kAlarmFrameOption = N_("报警时显示报警画面");
inline constexpr const char* kBitAlarm = N_("位报警");
inline constexpr const char* kValueAlarm = N_("字报警");
inline constexpr const char* kFiresOnOne = N_("为1时报警");
inline constexpr const char* kFiresOnZero = N_("为0时报警");
inline constexpr const char* kCompare = N_("比较方式:");
inline constexpr const char* kValue = N_("数值:");
inline constexpr const char* kRangeUsed = N_("使用范围");
inline constexpr const char* kUpper = N_("上限:");
inline constexpr const char* kLower = N_("下限:");
inline constexpr const char* kBuzzer = N_("蜂鸣器");
inline constexpr const char* kBuzzerSeconds = N_("蜂鸣时间(秒):");
inline constexpr const char* kMessage = N_("信息内容:");
inline constexpr const char* kRegister = N_("寄存器");
// Compare kinds 0 to 5: value < A, > B, within B..A, outside B..A, >= B, <= A.
inline constexpr const char* kCompareNames[] = {N_("小于"), N_("大于"), N_("在范围内"), N_("在范围外"), N_("大于等于"), N_("小于等于")};

// Communication.
inline constexpr const char* kCommTitle = N_("选择组态使用的PLC型号");
inline constexpr const char* kCompatible = N_("兼容型号");
inline constexpr const char* kRestoreDefaults = N_("恢复默认");
inline constexpr const char* kAdvanced = N_("高级设定");
inline constexpr const char* kAdvancedTitle = N_("通讯高级设置");
inline constexpr const char* kRestoreAdvanced = N_("恢复默认设置");
inline constexpr const char* kResponseTimeout = N_("通讯超时时间(mS)");
inline constexpr const char* kProtocolTimeout1 = N_("协议超时参数1");
inline constexpr const char* kProtocolTimeout2 = N_("协议超时参数2");
inline constexpr const char* kWordPacketMax = N_("字组包最大寄存器个数");
inline constexpr const char* kBitPacketMax = N_("位组包最大寄存器个数");
inline constexpr const char* kWordInterval = N_("组包字寄存器间隔");
inline constexpr const char* kBitInterval = N_("组包位寄存器间隔");
inline constexpr const char* kCommInterval = N_("通讯时间间隔(mS)");
inline constexpr const char* kMessageTime = N_("提示信息显示时间(S)");
inline constexpr const char* kRetryCount = N_("出现错误后重试次数");
inline constexpr const char* kAfterRetries = N_("超过重试次数后");
inline constexpr const char* kRetry = N_("重试");
inline constexpr const char* kCut = N_("切断");
inline constexpr const char* kCanPage = N_("CAN口无需设置");

// Data transfers.
inline constexpr const char* kTransferTitle = N_("数据传输设置");
inline constexpr const char* kTransferItemTitle = N_("数据传输条目");
inline constexpr const char* kColumnTrigger = N_("触发方式");
inline constexpr const char* kColumnSource = N_("源地址");
inline constexpr const char* kColumnDestination = N_("目标地址");
inline constexpr const char* kColumnCount = N_("传输个数");
inline constexpr const char* kColumnLimit = N_("执行次数");
inline constexpr const char* kColumnFrame = N_("有效窗口");
inline constexpr const char* kColumnTriggerAddress = N_("触发地址");
inline constexpr const char* kPeriodic = "Periodical Trigger";
inline constexpr const char* kRegisterTrigger = "Register Trigger";
inline constexpr const char* kPeriod = N_("周期(x100mS):");
inline constexpr const char* kEdge = N_("触发沿:");
inline constexpr const char* kEdgeNames[] = {N_("无"), N_("上升沿"), N_("下降沿"), N_("双边沿")};
inline constexpr const char* kFrameAlways = N_("(0: 所有画面)");
inline constexpr const char* kLimitNote = N_("(0: 不限次数)");

// Languages.
inline constexpr const char* kLanguageTitle = N_("语言设置");
inline constexpr const char* kLanguageCount = N_("语言数目:");
inline constexpr const char* kLanguageFormat = N_("语言%1:");
inline constexpr const char* kFont = N_("字体");
inline constexpr const char* kPanelMessages = N_("面板提示信息语言:");
inline constexpr const char* kPanelMessageNames[] = {N_("中文"), "English"};

// The data upload/download task.
inline constexpr const char* kMissionTitle = "Mission";
inline constexpr const char* kTaskMode = N_("任务模式");
inline constexpr const char* kUpload = N_("上传");
inline constexpr const char* kDownload = N_("下载");
inline constexpr const char* kTargetFile = N_("目标文件");
inline constexpr const char* kBrowseFile = "<<";
inline constexpr const char* kComPort = N_("串  口:");
inline constexpr const char* kCommParameters = N_("设置通讯参数");
inline constexpr const char* kMissionBaud = N_("波特率");
inline constexpr const char* kMissionDataBits = N_("数据位");
inline constexpr const char* kMissionStopBits = N_("停止位");
inline constexpr const char* kMissionParity = N_("校验位");
inline constexpr const char* kMissionOption = N_("选  项");
inline constexpr const char* kOk = N_("确定");
inline constexpr const char* kQuit = N_("退出");
inline constexpr const char* kMissionFileKind = "KV410 Upload(*.dat)";

}  // namespace kd820::settext
