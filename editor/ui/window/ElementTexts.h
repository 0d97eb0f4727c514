#pragma once
// The texts of the element dialogs and of the register-address editor.
namespace kd820::elemtext {

inline constexpr const char* kElementProperties = "元件属性";
inline constexpr const char* kPageGeneral = "常规";
inline constexpr const char* kPageRegister = "寄存器";
inline constexpr const char* kPageStates = "状态文字";

// Position and the flags every element has.
inline constexpr const char* kLeft = "X:";
inline constexpr const char* kTop = "Y:";
inline constexpr const char* kWidth = "宽度:";
inline constexpr const char* kHeight = "高度:";
inline constexpr const char* kDoubleSize = "倍大显示";
inline constexpr const char* kReverse = "反显";
inline constexpr const char* kName = "名称:";
inline constexpr const char* kInputOrder = "输入顺序:";

// The register-address editor.
inline constexpr const char* kInternalPort = "内部寄存器";
inline constexpr const char* kPort = "端口:";
inline constexpr const char* kStation = "站号:";
inline constexpr const char* kRegisterType = "寄存器类型:";
inline constexpr const char* kAddress = "地址:";
inline constexpr const char* kSubAddress = "位:";
inline constexpr const char* kIndex = "索引:";
inline constexpr const char* kBcd = "BCD码";
inline constexpr const char* kByteOrder = "字节顺序:";
inline constexpr const char* kBigEndian = "高字节在前";
inline constexpr const char* kLittleEndian = "低字节在前";
inline constexpr const char* kRange = "范围:";
inline constexpr const char* kNote = "备注:";
inline constexpr const char* kNotANumber = "地址无效:";

// Texts and fonts.
inline constexpr const char* kText = "文字:";
inline constexpr const char* kFontSize = "字号:";
inline constexpr const char* kLanguage = "语言:";
inline constexpr const char* kFace = "字体:";
inline constexpr const char* kBuiltinFont = "使用内置ASCII字体";
inline constexpr const char* kAlignment = "对齐:";
inline constexpr const char* kAlignLeft = "左";
inline constexpr const char* kAlignCentre = "中";
inline constexpr const char* kAlignRight = "右";
inline constexpr const char* kCharCount = "显示字符数:";
inline constexpr const char* kStateValue = "值";
inline constexpr const char* kStateText = "文字";

// LED.
inline constexpr const char* kShape = "形状:";
inline constexpr const char* kShapeRound = "round";
inline constexpr const char* kShapeSquare = "square";
inline constexpr const char* kImageSize = "尺寸:";
inline constexpr const char* kInvert = "取反";
inline constexpr const char* kBlink = "闪烁";
inline constexpr const char* kBlinkWhileOn = "为1时闪烁";
inline constexpr const char* kBlinkPeriod = "闪烁周期:";

// Numbers: register, bar and trend.
inline constexpr const char* kDataType = "数据类型:";
inline constexpr const char* kTypeSigned = "有符号十进制";
inline constexpr const char* kTypeUnsigned = "无符号十进制";
inline constexpr const char* kTypeHex = "十六进制";
inline constexpr const char* kTypeFloat = "单精度浮点";
inline constexpr const char* kTypeDouble = "双精度浮点";
inline constexpr const char* kTypeSecret = "密码";
inline constexpr const char* kIntegerDigits = "整数位数:";
inline constexpr const char* kDecimalDigits = "小数位数:";
inline constexpr const char* kRegister32 = "32位寄存器";
inline constexpr const char* kFillZero = "前导零";
inline constexpr const char* kInputEnabled = "允许输入";
inline constexpr const char* kGrade = "用户级别:";
inline constexpr const char* kLimitEnabled = "输入范围检查";
inline constexpr const char* kInputUpper = "输入上限:";
inline constexpr const char* kInputLower = "输入下限:";
inline constexpr const char* kProjection = "比例转换";
inline constexpr const char* kProjectionUpper = "显示上限:";
inline constexpr const char* kProjectionLower = "显示下限:";
inline constexpr const char* kRestoreLevel = "完成后恢复用户级别";
inline constexpr const char* kUpper = "上限:";
inline constexpr const char* kLower = "下限:";
inline constexpr const char* kDirection = "方向:";
inline constexpr const char* kDirUp = "向上";
inline constexpr const char* kDirDown = "向下";
inline constexpr const char* kDirLeft = "向左";
inline constexpr const char* kDirRight = "向右";
inline constexpr const char* kPoints = "点数:";
inline constexpr const char* kPeriod = "采样周期:";

// Picture.
inline constexpr const char* kBitmap = "图片:";
inline constexpr const char* kCompress = "压缩";
inline constexpr const char* kPictureReverse = "反色";
inline constexpr const char* kCritical = "关键";
inline constexpr const char* kLeftFill = "左填充";

// Alarm display.
inline constexpr const char* kShowNumber = "显示报警号";
inline constexpr const char* kShowDate = "显示日期";
inline constexpr const char* kDateStyle = "日期格式:";
inline constexpr const char* kDateSeparator = "日期分隔符:";
inline constexpr const char* kFourDigitYear = "四位年份";
inline constexpr const char* kNoLeadingZero = "月日不补零";
inline constexpr const char* kShowTime = "显示时间";
inline constexpr const char* kTimeStyle = "时间格式:";
inline constexpr const char* kFurtherFlag1 = "选项1";
inline constexpr const char* kFurtherFlag2 = "选项2";
inline constexpr const char* kByteValue = "字节值:";
inline constexpr const char* kWordValue = "字值:";

// Function key.
inline constexpr const char* kKeyNumber = "键号:";
inline constexpr const char* kActionClass = "功能类型:";
inline constexpr const char* kClassFrame = "画面操作";
inline constexpr const char* kClassBit = "位操作";
inline constexpr const char* kClassWord = "字操作";
inline constexpr const char* kFrameAction = "画面操作:";
inline constexpr const char* kTargetFrame = "目标画面:";
inline constexpr const char* kBitAction = "位操作:";
inline constexpr const char* kWordAction = "字操作:";
inline constexpr const char* kValue = "常数:";
inline constexpr const char* kLimit = "限值:";
inline constexpr const char* kRepeatDelay = "重复延时:";
inline constexpr const char* kRepeatPeriod = "重复周期:";
inline constexpr const char* kRepeatOnPress = "按下即重复";
inline constexpr const char* kExclude = "不参与输入顺序";

inline constexpr const char* const kFrameActions[] = {"切换画面", "返回上一画面", "密码画面", "报警画面"};
inline constexpr const char* const kBitActions[] = {"置位", "复位", "取反", "点动",
                                                    "进入画面置位", "离开画面置位", "进入画面复位", "离开画面复位"};
inline constexpr const char* const kWordActions[] = {"写常数", "加至上限", "减至下限", "连续加", "连续减",
                                                     "进入画面写入", "离开画面写入", "加至上限后回零",
                                                     "连续加至上限后回零"};
inline constexpr const char* const kDateStyles[] = {"YY-MM-DD", "MM-DD-YY", "DD-MM-YY", "MM-DD"};
inline constexpr const char* const kTimeStyles[] = {"HH:MM:SS", "HH:MM"};
inline constexpr const char* const kSeparators[] = {".", "/", "-"};

}  // namespace kd820::elemtext
