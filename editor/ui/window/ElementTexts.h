#pragma once
#include "platform/Translate.h"
// The texts of the element dialogs and of the register-address editor.
namespace kd820::elemtext {

inline constexpr const char* kElementProperties = N_("元件属性");
inline constexpr const char* kPageGeneral = N_("常规");
inline constexpr const char* kPageRegister = N_("寄存器");
inline constexpr const char* kPageStates = N_("状态文字");

// Position and the flags every element has.
inline constexpr const char* kLeft = "X:";
inline constexpr const char* kTop = "Y:";
inline constexpr const char* kWidth = N_("宽度:");
inline constexpr const char* kHeight = N_("高度:");
inline constexpr const char* kDoubleSize = N_("倍大显示");
inline constexpr const char* kReverse = N_("反显");
inline constexpr const char* kName = N_("名称:");
inline constexpr const char* kInputOrder = N_("输入顺序:");

// The register-address editor.
inline constexpr const char* kInternalPort = N_("内部寄存器");
inline constexpr const char* kPort = N_("端口:");
inline constexpr const char* kStation = N_("站号:");
inline constexpr const char* kRegisterType = N_("寄存器类型:");
inline constexpr const char* kAddress = N_("地址:");
inline constexpr const char* kSubAddress = N_("位:");
inline constexpr const char* kIndex = N_("索引:");
inline constexpr const char* kBcd = N_("BCD码");
inline constexpr const char* kByteOrder = N_("字节顺序:");
inline constexpr const char* kBigEndian = N_("高字节在前");
inline constexpr const char* kLittleEndian = N_("低字节在前");
inline constexpr const char* kRange = N_("范围:");
inline constexpr const char* kNote = N_("备注:");
inline constexpr const char* kNotANumber = N_("地址无效:");

// Texts and fonts.
inline constexpr const char* kText = N_("文字:");
inline constexpr const char* kFontSize = N_("字号:");
inline constexpr const char* kLanguage = N_("语言:");
inline constexpr const char* kFace = N_("字体:");
inline constexpr const char* kBuiltinFont = N_("使用内置ASCII字体");
inline constexpr const char* kAlignment = N_("对齐:");
inline constexpr const char* kAlignLeft = N_("左");
inline constexpr const char* kAlignCentre = N_("中");
inline constexpr const char* kAlignRight = N_("右");
inline constexpr const char* kCharCount = N_("显示字符数:");
inline constexpr const char* kStateValue = N_("值");
inline constexpr const char* kStateText = N_("文字");

// LED.
inline constexpr const char* kShape = N_("形状:");
inline constexpr const char* kShapeRound = "round";
inline constexpr const char* kShapeSquare = "square";
inline constexpr const char* kImageSize = N_("尺寸:");
inline constexpr const char* kInvert = N_("取反");
inline constexpr const char* kBlink = N_("闪烁");
inline constexpr const char* kBlinkWhileOn = N_("为1时闪烁");
inline constexpr const char* kBlinkPeriod = N_("闪烁周期:");

// Numbers: register, bar and trend.
inline constexpr const char* kDataType = N_("数据类型:");
inline constexpr const char* kTypeSigned = N_("有符号十进制");
inline constexpr const char* kTypeUnsigned = N_("无符号十进制");
inline constexpr const char* kTypeHex = N_("十六进制");
inline constexpr const char* kTypeFloat = N_("单精度浮点");
inline constexpr const char* kTypeDouble = N_("双精度浮点");
inline constexpr const char* kTypeSecret = N_("密码");
inline constexpr const char* kIntegerDigits = N_("整数位数:");
inline constexpr const char* kDecimalDigits = N_("小数位数:");
inline constexpr const char* kRegister32 = N_("32位寄存器");
inline constexpr const char* kFillZero = N_("前导零");
inline constexpr const char* kInputEnabled = N_("允许输入");
inline constexpr const char* kGrade = N_("用户级别:");
inline constexpr const char* kLimitEnabled = N_("输入范围检查");
inline constexpr const char* kInputUpper = N_("输入上限:");
inline constexpr const char* kInputLower = N_("输入下限:");
inline constexpr const char* kProjection = N_("比例转换");
inline constexpr const char* kProjectionUpper = N_("显示上限:");
inline constexpr const char* kProjectionLower = N_("显示下限:");
inline constexpr const char* kRestoreLevel = N_("完成后恢复用户级别");
inline constexpr const char* kUpper = N_("上限:");
inline constexpr const char* kLower = N_("下限:");
inline constexpr const char* kDirection = N_("方向:");
inline constexpr const char* kDirUp = N_("向上");
inline constexpr const char* kDirDown = N_("向下");
inline constexpr const char* kDirLeft = N_("向左");
inline constexpr const char* kDirRight = N_("向右");
inline constexpr const char* kPoints = N_("点数:");
inline constexpr const char* kPeriod = N_("采样周期:");

// Picture.
inline constexpr const char* kBitmap = N_("图片:");
inline constexpr const char* kCompress = N_("压缩");
inline constexpr const char* kPictureReverse = N_("反色");
inline constexpr const char* kCritical = N_("关键");
inline constexpr const char* kLeftFill = N_("左填充");

// Alarm display.
inline constexpr const char* kShowNumber = N_("显示报警号");
inline constexpr const char* kShowDate = N_("显示日期");
inline constexpr const char* kDateStyle = N_("日期格式:");
inline constexpr const char* kDateSeparator = N_("日期分隔符:");
inline constexpr const char* kFourDigitYear = N_("四位年份");
inline constexpr const char* kNoLeadingZero = N_("月日不补零");
inline constexpr const char* kShowTime = N_("显示时间");
inline constexpr const char* kTimeStyle = N_("时间格式:");
inline constexpr const char* kFurtherFlag1 = N_("选项1");
inline constexpr const char* kFurtherFlag2 = N_("选项2");
inline constexpr const char* kByteValue = N_("字节值:");
inline constexpr const char* kWordValue = N_("字值:");

// Function key.
inline constexpr const char* kKeyNumber = N_("键号:");
inline constexpr const char* kActionClass = N_("功能类型:");
inline constexpr const char* kClassFrame = N_("画面操作");
inline constexpr const char* kClassBit = N_("位操作");
inline constexpr const char* kClassWord = N_("字操作");
inline constexpr const char* kFrameAction = N_("画面操作:");
inline constexpr const char* kTargetFrame = N_("目标画面:");
inline constexpr const char* kBitAction = N_("位操作:");
inline constexpr const char* kWordAction = N_("字操作:");
inline constexpr const char* kValue = N_("常数:");
inline constexpr const char* kLimit = N_("限值:");
inline constexpr const char* kRepeatDelay = N_("重复延时:");
inline constexpr const char* kRepeatPeriod = N_("重复周期:");
inline constexpr const char* kRepeatOnPress = N_("按下即重复");
inline constexpr const char* kExclude = N_("不参与输入顺序");

inline constexpr const char* const kFrameActions[] = {N_("切换画面"), N_("返回上一画面"), N_("密码画面"), N_("报警画面")};
inline constexpr const char* const kBitActions[] = {N_("置位"), N_("复位"), N_("取反"), N_("点动"),
                                                    N_("进入画面置位"), N_("离开画面置位"), N_("进入画面复位"), N_("离开画面复位")};
inline constexpr const char* const kWordActions[] = {N_("写常数"), N_("加至上限"), N_("减至下限"), N_("连续加"), N_("连续减"),
                                                     N_("进入画面写入"), N_("离开画面写入"), N_("加至上限后回零"),
                                                     N_("连续加至上限后回零")};
inline constexpr const char* const kDateStyles[] = {"YY-MM-DD", "MM-DD-YY", "DD-MM-YY", "MM-DD"};
inline constexpr const char* const kTimeStyles[] = {"HH:MM:SS", "HH:MM"};
inline constexpr const char* const kSeparators[] = {".", "/", "-"};

}  // namespace kd820::elemtext
