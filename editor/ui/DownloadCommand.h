#pragma once
// KD820 download PROJECT.FPJ [--wait] [--no-start] [-- LOADER-OPTIONS]: compiles the project,
// writes its package <name>.td and starts the loader on it, as the Download command does.
#include <string>
#include <vector>

#include "platform/Translate.h"

namespace kd820 {

class IProgramStarter;

inline constexpr const char* kLoaderProgram = "KD820Loader";
// Said when the package cannot be written.
inline constexpr const char* kPackageFailed = N_("制作下载文件包失败！");

struct DownloadOptions {
  std::string project;
  bool wait = false;     // wait for the loader and return its exit code
  bool noStart = false;  // write the package only
  std::vector<std::string> loaderOptions;  // appended after the loader's own arguments
};

// 0 when the loader started (with wait: its exit code; with noStart: when the package was
// written); 1 when the project does not open, the package cannot be written or the loader
// cannot start.
int RunDownloadCommand(const DownloadOptions& a_Options, IProgramStarter& a_Starter);

}  // namespace kd820
