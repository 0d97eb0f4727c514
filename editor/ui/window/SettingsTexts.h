#pragma once
// The texts of the project settings dialogs: global settings, alarms, communication, data
// transfers, languages and the data upload/download task. Their refusals come from the core's
// rules (editor/project/EditRules.h).
namespace kd820::settext {

// The Settings menu.
inline constexpr const char* kMenuSettings = "设置(&S)";
inline constexpr const char* kGlobalCommand = "全局设置";
inline constexpr const char* kAlarmCommand = "报警设置";
inline constexpr const char* kCommCommand = "通讯设置";
inline constexpr const char* kTransferCommand = "数据传输设置";
inline constexpr const char* kLanguageCommand = "语言设置";
inline constexpr const char* kMissionCommand = "上传数据";

// Global settings.
inline constexpr const char* kGlobalTitle = "全局设定";
inline constexpr const char* kStartFrame = "初始画面:";
inline constexpr const char* kScreenSaver = "屏幕保护:";
inline constexpr const char* kSaverShowFrame = "显示画面";
inline constexpr const char* kSaverBacklightOnly = "仅关闭背光";
inline constexpr const char* kPasswordToWake = "屏保恢复时需要口令";
inline constexpr const char* kPasswordLevel = "密码级:";
inline constexpr const char* kBuzzerOff = "蜂鸣器静音";
inline constexpr const char* kSwapWords = "双字交换(大端字节序)";
inline constexpr const char* kFocus = "焦点显示：";
inline constexpr const char* kFocusInverse = "反色";
inline constexpr const char* kFocusBlink = "闪烁";
inline constexpr const char* kPasswordFrame = "密码画面:";
inline constexpr const char* kCommonFrame = "公共画面:";
inline constexpr const char* kPasswords = "密码设定(0~999999999)";
inline constexpr const char* kPasswordFormat = "%1级密码:";
inline constexpr const char* kPlcSelectsFrame = "自动变换显示画面，对应";
inline constexpr const char* kReportFrame = "报告当前画面号，对应";
inline constexpr const char* kControlAddress = "控制地址";
inline constexpr const char* kControl = "控制寄存器";

// Alarms.
inline constexpr const char* kAlarmTitle = "设置报警列表内容";
inline constexpr const char* kAlarmItemTitle = "报警条目";
inline constexpr const char* kColumnNumber = "序号";
inline constexpr const char* kColumnPort = "端口";
inline constexpr const char* kColumnType = "寄存器类型";
inline constexpr const char* kColumnText = "信息内容";
inline constexpr const char* kAdd = "添加";
inline constexpr const char* kModify = "修改";
inline constexpr const char* kRemove = "删除";
inline constexpr const char* kAlarmFont = "报警字体:";
inline constexpr const char* kFontSize = "字号:";
inline constexpr const char* kAlarmFrame = "报警画面:";
inline constexpr const char* kAlarmFrameOption = "报警时显示报警画面";
inline constexpr const char* kBitAlarm = "位报警";
inline constexpr const char* kValueAlarm = "字报警";
inline constexpr const char* kFiresOnOne = "为1时报警";
inline constexpr const char* kFiresOnZero = "为0时报警";
inline constexpr const char* kCompare = "比较方式:";
inline constexpr const char* kValue = "数值:";
inline constexpr const char* kRangeUsed = "使用范围";
inline constexpr const char* kUpper = "上限:";
inline constexpr const char* kLower = "下限:";
inline constexpr const char* kBuzzer = "蜂鸣器";
inline constexpr const char* kBuzzerSeconds = "蜂鸣时间(秒):";
inline constexpr const char* kMessage = "信息内容:";
inline constexpr const char* kRegister = "寄存器";
// Compare kinds 0 to 5: value < A, > B, within B..A, outside B..A, >= B, <= A.
inline constexpr const char* kCompareNames[] = {"小于", "大于", "在范围内", "在范围外", "大于等于", "小于等于"};

// Communication.
inline constexpr const char* kCommTitle = "选择组态使用的PLC型号";
inline constexpr const char* kCompatible = "兼容型号";
inline constexpr const char* kRestoreDefaults = "恢复默认";
inline constexpr const char* kAdvanced = "高级设定";
inline constexpr const char* kAdvancedTitle = "通讯高级设置";
inline constexpr const char* kRestoreAdvanced = "恢复默认设置";
inline constexpr const char* kResponseTimeout = "通讯超时时间(mS)";
inline constexpr const char* kProtocolTimeout1 = "协议超时参数1";
inline constexpr const char* kProtocolTimeout2 = "协议超时参数2";
inline constexpr const char* kWordPacketMax = "字组包最大寄存器个数";
inline constexpr const char* kBitPacketMax = "位组包最大寄存器个数";
inline constexpr const char* kWordInterval = "组包字寄存器间隔";
inline constexpr const char* kBitInterval = "组包位寄存器间隔";
inline constexpr const char* kCommInterval = "通讯时间间隔(mS)";
inline constexpr const char* kMessageTime = "提示信息显示时间(S)";
inline constexpr const char* kRetryCount = "出现错误后重试次数";
inline constexpr const char* kAfterRetries = "超过重试次数后";
inline constexpr const char* kRetry = "重试";
inline constexpr const char* kCut = "切断";
inline constexpr const char* kCanPage = "CAN口无需设置";

// Data transfers.
inline constexpr const char* kTransferTitle = "数据传输设置";
inline constexpr const char* kTransferItemTitle = "数据传输条目";
inline constexpr const char* kColumnTrigger = "触发方式";
inline constexpr const char* kColumnSource = "源地址";
inline constexpr const char* kColumnDestination = "目标地址";
inline constexpr const char* kColumnCount = "传输个数";
inline constexpr const char* kColumnLimit = "执行次数";
inline constexpr const char* kColumnFrame = "有效窗口";
inline constexpr const char* kColumnTriggerAddress = "触发地址";
inline constexpr const char* kPeriodic = "Periodical Trigger";
inline constexpr const char* kRegisterTrigger = "Register Trigger";
inline constexpr const char* kPeriod = "周期(x100mS):";
inline constexpr const char* kEdge = "触发沿:";
inline constexpr const char* kEdgeNames[] = {"无", "上升沿", "下降沿", "双边沿"};
inline constexpr const char* kFrameAlways = "(0: 所有画面)";
inline constexpr const char* kLimitNote = "(0: 不限次数)";

// Languages.
inline constexpr const char* kLanguageTitle = "语言设置";
inline constexpr const char* kLanguageCount = "语言数目:";
inline constexpr const char* kLanguageFormat = "语言%1:";
inline constexpr const char* kFont = "字体";
inline constexpr const char* kPanelMessages = "面板提示信息语言:";
inline constexpr const char* kPanelMessageNames[] = {"中文", "English"};

// The data upload/download task.
inline constexpr const char* kMissionTitle = "Mission";
inline constexpr const char* kTaskMode = "任务模式";
inline constexpr const char* kUpload = "上传";
inline constexpr const char* kDownload = "下载";
inline constexpr const char* kTargetFile = "目标文件";
inline constexpr const char* kBrowseFile = "<<";
inline constexpr const char* kComPort = "串  口:";
inline constexpr const char* kCommParameters = "设置通讯参数";
inline constexpr const char* kMissionBaud = "波特率";
inline constexpr const char* kMissionDataBits = "数据位";
inline constexpr const char* kMissionStopBits = "停止位";
inline constexpr const char* kMissionParity = "校验位";
inline constexpr const char* kMissionOption = "选  项";
inline constexpr const char* kOk = "确定";
inline constexpr const char* kQuit = "退出";
inline constexpr const char* kMissionFileKind = "KV410 Upload(*.dat)";

}  // namespace kd820::settext
