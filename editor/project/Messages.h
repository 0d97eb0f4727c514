#pragma once
#include "platform/Translate.h"

namespace kd820 {
// The editor's own texts shown to the user by the project document.
namespace msg {
inline constexpr const char* kAppTitle = "KD820";
inline constexpr const char* kNotFpjFile = N_("请确定是否为FPJ文件!");
inline constexpr const char* kFileFormatError = N_("文件格式错误");
inline constexpr const char* kAlreadyOpen = N_("工程已处于打开状态，请不要重复打开!");
inline constexpr const char* kOpenFailed = N_("打开工程失败");
inline constexpr const char* kNewerVersion = N_("此工程是由新版本软件创建的，请使用新版本软件");
inline constexpr const char* kReplaceProject = N_("这个工程已经存在于您选择的目录，替换旧的工程吗？");
inline constexpr const char* kOnlyComRange = "Only can switch COM0~2";
inline constexpr const char* kProjectFile = N_("工程文件");
inline constexpr const char* kResetChangedPorts = N_("已更改端口的所有关联组态信息都将被复位，是否确认？");
inline constexpr const char* kConfirmModel = N_("工程创建后，文本显示器型号将不能被修改，确认创建工程？");
inline constexpr const char* kDirectoryExists = N_("工程目录(%s)已存在，是否覆盖？");
inline constexpr const char* kDirectoryMissing = N_("目录(%s)不存在，请重新选择！");
inline constexpr const char* kCannotCreateDirectory = N_("无法创建目录(%s)！");
inline constexpr const char* kCannotRemoveDirectory = N_("无法删除目录(%s)！");
inline constexpr const char* kChooseProjectFolder = N_("请选择工程文件夹");
// Standard document texts.
inline constexpr const char* kSaveChanges = N_("是否保存对 %s 的更改?");
inline constexpr const char* kUntitled = N_("无标题");
inline constexpr const char* kCannotOpenFile = N_("无法打开文件 %s");
inline constexpr const char* kCannotSaveFile = N_("无法保存文件 %s");
}  // namespace msg

}  // namespace kd820
