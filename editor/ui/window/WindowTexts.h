#pragma once
#include "platform/Translate.h"
// The window's own texts: menus, toolbar, status bar and file dialogs. The document's messages
// and questions are in the project's catalogue (editor/project/Messages.h, EditMessages.h).
namespace kd820::wintext {

// Menus.
inline constexpr const char* kMenuFile = N_("文件(&F)");
inline constexpr const char* kMenuEdit = N_("编辑(&E)");
inline constexpr const char* kMenuFrame = N_("画面(&P)");
inline constexpr const char* kMenuView = N_("查看(&V)");
inline constexpr const char* kMenuTools = N_("工具(&T)");
inline constexpr const char* kMenuInsert = N_("插入(&I)");
inline constexpr const char* kMenuAlign = N_("对齐");
inline constexpr const char* kMenuCentre = N_("屏幕居中");

// File commands.
inline constexpr const char* kNewProject = N_("新建工程");
inline constexpr const char* kOpenProject = N_("打开工程");
inline constexpr const char* kSaveProject = N_("保存工程");
inline constexpr const char* kSaveProjectAs = N_("工程另存为");
inline constexpr const char* kCloseProject = N_("关闭工程");
inline constexpr const char* kExit = N_("退出(&X)");
// The file dialogs' filter: "KD820 工程文件(*.FPJ)".
inline constexpr const char* kFilterFormat = "%1 %2(*.FPJ)";
inline constexpr const char* kNewProjectName = N_("工程名称:");
// The new-project wizard.
inline constexpr const char* kProjectDirectory = N_("工程目录:");
inline constexpr const char* kBrowse = N_("浏览...");
inline constexpr const char* kWizardNameTitle = N_("工程名称和目录");
inline constexpr const char* kWizardHmiTitle = N_("文本显示器型号");
inline constexpr const char* kWizardPlcTitle = N_("选择组态使用的PLC型号");
inline constexpr const char* kNoPlc = N_("无");
inline constexpr const char* kPlcMaker = N_("设备(厂商)分类");
inline constexpr const char* kPlcModel = N_("设备型号");
inline constexpr const char* kSerialType = N_("通讯类型");
inline constexpr const char* kBaudRate = N_("波特率");
inline constexpr const char* kDataBits = N_("数据位");
inline constexpr const char* kParity = N_("奇偶校验");
inline constexpr const char* kStopBits = N_("停止位");
inline constexpr const char* kStation = N_("从设备号");

// Edit commands.
inline constexpr const char* kUndo = N_("撤销");
inline constexpr const char* kRedo = N_("重做");
inline constexpr const char* kCut = N_("剪切");
inline constexpr const char* kCopy = N_("复制");
inline constexpr const char* kPaste = N_("粘贴");
inline constexpr const char* kDelete = N_("删除");
inline constexpr const char* kSelectAll = N_("全选");
inline constexpr const char* kSelectNone = N_("取消选择");
inline constexpr const char* kBringToFront = N_("置于顶层");
inline constexpr const char* kSendToBack = N_("置于底层");
inline constexpr const char* kAlignLeft = N_("左对齐");
inline constexpr const char* kAlignHCentres = N_("水平居中对齐");
inline constexpr const char* kAlignRight = N_("右对齐");
inline constexpr const char* kAlignTop = N_("顶端对齐");
inline constexpr const char* kAlignVMiddles = N_("垂直居中对齐");
inline constexpr const char* kAlignBottom = N_("底端对齐");
inline constexpr const char* kSpaceHorizontally = N_("水平等间距");
inline constexpr const char* kSpaceVertically = N_("垂直等间距");
inline constexpr const char* kCentreHorizontally = N_("水平居中");
inline constexpr const char* kCentreVertically = N_("垂直居中");
inline constexpr const char* kCentreBoth = N_("居中");

// Insert commands, one per element kind.
inline constexpr const char* kInsertLed = N_("指示灯");
inline constexpr const char* kInsertFunckey = N_("功能键");
inline constexpr const char* kInsertStaticText = N_("静态文字");
inline constexpr const char* kInsertDynamicText = N_("动态文字");
inline constexpr const char* kInsertRegister = N_("寄存器");
inline constexpr const char* kInsertBar = N_("棒图");
inline constexpr const char* kInsertTrend = N_("趋势图");
inline constexpr const char* kInsertPicture = N_("图片");
inline constexpr const char* kInsertAscii = N_("ASCII字符串");
inline constexpr const char* kInsertEventList = N_("报警显示");
// The picture's file dialog: "bitmap files (*.bmp)".
inline constexpr const char* kBitmapFilter = "bitmap files (*.bmp)";

// Frame commands (the catalogue has Copy frame and Delete frame).
inline constexpr const char* kNewFrame = N_("新建画面");
inline constexpr const char* kFrame = N_("画面");
// The frame-properties dialog.
inline constexpr const char* kFrameProperties = N_("画面属性");
inline constexpr const char* kFrameNumber = N_("画面号:");
inline constexpr const char* kFrameDescription = N_("描述:");
inline constexpr const char* kKeyUpTo = N_("按向上键至画面:");
inline constexpr const char* kKeyDownTo = N_("按向下键至画面:");
inline constexpr const char* kKeyDisabledNote = N_("(0: 不使用该键)");

// View.
inline constexpr const char* kElementLabels = N_("元件标签");
inline constexpr const char* kZoomIn = N_("放大");
inline constexpr const char* kZoomOut = N_("缩小");
inline constexpr const char* kZoomDefault = N_("原始大小");
inline constexpr const char* kDotGrid = N_("网格");

// Tools.
inline constexpr const char* kSimulate = N_("离线模拟(&S)");
inline constexpr const char* kCompile = N_("编译");
inline constexpr const char* kCompileAndView = N_("编译并查看数据");

// Status bar: the cursor's panel pixel and the selection's rectangle.
inline constexpr const char* kCursorFormat = "X:%1 Y:%2";
inline constexpr const char* kSelectionFormat = "(%1,%2)-(%3,%4) %5x%6";
inline constexpr const char* kCompileFailed = N_("编译失败");

}  // namespace kd820::wintext
