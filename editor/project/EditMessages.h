#pragma once
#include "platform/Translate.h"

namespace kd820 {
// The editor's texts for the canvas and frame commands.
namespace msg {
inline constexpr const char* kStaticTextDefault = N_("文字串");
inline constexpr const char* kDynamicTextDefault = N_("动态文字串");
inline constexpr const char* kOnlySingleColorBitmaps = N_("文件格式非法，只能导入单色位图");
inline constexpr const char* kLoadPictureFailed = N_("载入图片失败");
inline constexpr const char* kPictureTooLarge = N_("图片尺寸太大，无法载入!");
inline constexpr const char* kBitmapFilter = "bitmap files (*.bmp;)|*.bmp;||";
inline constexpr const char* kFrameExists = N_("该画面号已存在，是否覆盖?");
inline constexpr const char* kCopyFrame = N_("复制画面");
inline constexpr const char* kDeleteFrame = N_("删除画面");
}  // namespace msg

}  // namespace kd820
