#include "platform/Process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "platform/ProgramDirectory.h"

extern char** environ;

namespace {
bool Executable(const std::filesystem::path& a_Path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(a_Path, ec) && access(a_Path.c_str(), X_OK) == 0;
}
}  // namespace

std::string FindProgram(const std::string& a_Name) {
  if (a_Name.empty()) return {};
  if (a_Name.find('/') != std::string::npos) return Executable(a_Name) ? a_Name : std::string{};
  const auto own = ExecutableDirectory();
  if (!own.empty() && Executable(own / a_Name)) return (own / a_Name).string();
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) dir = ".";
    if (Executable(std::filesystem::path(dir) / a_Name))
      return (std::filesystem::path(dir) / a_Name).string();
  }
  return {};
}

bool StartProgram(const std::string& a_Program, const std::vector<std::string>& a_Arguments,
                  const std::string& a_WorkingDirectory, bool a_Wait, int& a_ExitCode,
                  std::string& a_Error) {
  std::string path = FindProgram(a_Program);
  if (path.empty()) {
    a_Error = a_Program;
    a_Error += ": program not found";
    return false;
  }
  // The program starts in another directory: a relative path would be taken from there.
  std::error_code ec;
  if (const auto absolute = std::filesystem::absolute(path, ec); !ec) path = absolute.string();
  std::vector<std::string> strings;
  strings.push_back(a_Program);
  strings.insert(strings.end(), a_Arguments.begin(), a_Arguments.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!a_WorkingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, a_WorkingDirectory.c_str());
  }
  pid_t pid = 0;
  int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    a_Error = path;
    a_Error.append(": ").append(std::strerror(rc));
    return false;
  }
  a_ExitCode = 0;
  if (!a_Wait) return true;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      a_Error = "waiting for ";
      a_Error.append(path).append(": ").append(std::strerror(errno));
      return false;
    }
  }
  a_ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return true;
}
