#pragma once
// The window's own texts: menus, toolbar, status bar and file dialogs. The document's messages
// and questions are in the project's catalogue (editor/project/Messages.h, EditMessages.h).
namespace kd820::wintext {

// Menus.
inline constexpr const char* kMenuFile = "文件(&F)";
inline constexpr const char* kMenuEdit = "编辑(&E)";
inline constexpr const char* kMenuFrame = "画面(&P)";
inline constexpr const char* kMenuView = "查看(&V)";
inline constexpr const char* kMenuTools = "工具(&T)";
inline constexpr const char* kMenuInsert = "插入(&I)";
inline constexpr const char* kMenuAlign = "对齐";
inline constexpr const char* kMenuCentre = "屏幕居中";

// File commands.
inline constexpr const char* kNewProject = "新建工程";
inline constexpr const char* kOpenProject = "打开工程";
inline constexpr const char* kSaveProject = "保存工程";
inline constexpr const char* kSaveProjectAs = "工程另存为";
inline constexpr const char* kCloseProject = "关闭工程";
inline constexpr const char* kExit = "退出(&X)";
// The file dialogs' filter: "KD820 工程文件(*.FPJ)".
inline constexpr const char* kFilterFormat = "%1 %2(*.FPJ)";
inline constexpr const char* kNewProjectName = "工程名称:";
// The new-project wizard.
inline constexpr const char* kProjectDirectory = "工程目录:";
inline constexpr const char* kBrowse = "浏览...";
inline constexpr const char* kWizardNameTitle = "工程名称和目录";
inline constexpr const char* kWizardHmiTitle = "文本显示器型号";
inline constexpr const char* kWizardPlcTitle = "选择组态使用的PLC型号";
inline constexpr const char* kNoPlc = "无";
inline constexpr const char* kPlcMaker = "设备(厂商)分类";
inline constexpr const char* kPlcModel = "设备型号";
inline constexpr const char* kSerialType = "通讯类型";
inline constexpr const char* kBaudRate = "波特率";
inline constexpr const char* kDataBits = "数据位";
inline constexpr const char* kParity = "奇偶校验";
inline constexpr const char* kStopBits = "停止位";
inline constexpr const char* kStation = "从设备号";

// Edit commands.
inline constexpr const char* kUndo = "撤销";
inline constexpr const char* kRedo = "重做";
inline constexpr const char* kCut = "剪切";
inline constexpr const char* kCopy = "复制";
inline constexpr const char* kPaste = "粘贴";
inline constexpr const char* kDelete = "删除";
inline constexpr const char* kSelectAll = "全选";
inline constexpr const char* kSelectNone = "取消选择";
inline constexpr const char* kBringToFront = "置于顶层";
inline constexpr const char* kSendToBack = "置于底层";
inline constexpr const char* kAlignLeft = "左对齐";
inline constexpr const char* kAlignHCentres = "水平居中对齐";
inline constexpr const char* kAlignRight = "右对齐";
inline constexpr const char* kAlignTop = "顶端对齐";
inline constexpr const char* kAlignVMiddles = "垂直居中对齐";
inline constexpr const char* kAlignBottom = "底端对齐";
inline constexpr const char* kSpaceHorizontally = "水平等间距";
inline constexpr const char* kSpaceVertically = "垂直等间距";
inline constexpr const char* kCentreHorizontally = "水平居中";
inline constexpr const char* kCentreVertically = "垂直居中";
inline constexpr const char* kCentreBoth = "居中";

// Insert commands, one per element kind.
inline constexpr const char* kInsertLed = "指示灯";
inline constexpr const char* kInsertFunckey = "功能键";
inline constexpr const char* kInsertStaticText = "静态文字";
inline constexpr const char* kInsertDynamicText = "动态文字";
inline constexpr const char* kInsertRegister = "寄存器";
inline constexpr const char* kInsertBar = "棒图";
inline constexpr const char* kInsertTrend = "趋势图";
inline constexpr const char* kInsertPicture = "图片";
inline constexpr const char* kInsertAscii = "ASCII字符串";
inline constexpr const char* kInsertEventList = "报警显示";
// The picture's file dialog: "bitmap files (*.bmp)".
inline constexpr const char* kBitmapFilter = "bitmap files (*.bmp)";

// Frame commands (the catalogue has Copy frame and Delete frame).
inline constexpr const char* kNewFrame = "新建画面";
inline constexpr const char* kFrame = "画面";
// The frame-properties dialog.
inline constexpr const char* kFrameProperties = "画面属性";
inline constexpr const char* kFrameNumber = "画面号:";
inline constexpr const char* kFrameDescription = "描述:";
inline constexpr const char* kKeyUpTo = "按向上键至画面:";
inline constexpr const char* kKeyDownTo = "按向下键至画面:";
inline constexpr const char* kKeyDisabledNote = "(0: 不使用该键)";

// View.
inline constexpr const char* kElementLabels = "元件标签";
inline constexpr const char* kZoomIn = "放大";
inline constexpr const char* kZoomOut = "缩小";
inline constexpr const char* kZoomDefault = "原始大小";
inline constexpr const char* kDotGrid = "网格";

// Tools.
inline constexpr const char* kSimulate = "离线模拟(&S)";
inline constexpr const char* kCompile = "编译";
inline constexpr const char* kCompileAndView = "编译并查看数据";

// Status bar: the cursor's panel pixel and the selection's rectangle.
inline constexpr const char* kCursorFormat = "X:%1 Y:%2";
inline constexpr const char* kSelectionFormat = "(%1,%2)-(%3,%4) %5x%6";
inline constexpr const char* kCompileFailed = "编译失败";

}  // namespace kd820::wintext
