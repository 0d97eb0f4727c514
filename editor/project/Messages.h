#pragma once

namespace kd820 {
// The editor's own texts shown to the user by the project document.
namespace msg {
inline constexpr const char* kAppTitle = "KD820";
inline constexpr const char* kNotFpjFile = "请确定是否为FPJ文件!";
inline constexpr const char* kFileFormatError = "文件格式错误";
inline constexpr const char* kAlreadyOpen = "工程已处于打开状态，请不要重复打开!";
inline constexpr const char* kOpenFailed = "打开工程失败";
inline constexpr const char* kNewerVersion = "此工程是由新版本软件创建的，请使用新版本软件";
inline constexpr const char* kReplaceProject = "这个工程已经存在于您选择的目录，替换旧的工程吗？";
inline constexpr const char* kOnlyComRange = "Only can switch COM0~2";
inline constexpr const char* kProjectFile = "工程文件";
inline constexpr const char* kResetChangedPorts = "已更改端口的所有关联组态信息都将被复位，是否确认？";
inline constexpr const char* kConfirmModel = "工程创建后，文本显示器型号将不能被修改，确认创建工程？";
inline constexpr const char* kDirectoryExists = "工程目录(%s)已存在，是否覆盖？";
inline constexpr const char* kDirectoryMissing = "目录(%s)不存在，请重新选择！";
inline constexpr const char* kCannotCreateDirectory = "无法创建目录(%s)！";
inline constexpr const char* kCannotRemoveDirectory = "无法删除目录(%s)！";
inline constexpr const char* kChooseProjectFolder = "请选择工程文件夹";
// Standard document texts.
inline constexpr const char* kSaveChanges = "是否保存对 %s 的更改?";
inline constexpr const char* kUntitled = "无标题";
inline constexpr const char* kCannotOpenFile = "无法打开文件 %s";
inline constexpr const char* kCannotSaveFile = "无法保存文件 %s";
}  // namespace msg

}  // namespace kd820
