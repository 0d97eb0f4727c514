#include "tests/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>


extern char** environ;

namespace {

// The tests assert the suite's own (Chinese) texts and the programs they run choose their
// language from the environment: pin the C locale for them and for every program they start.
// Tests of the English catalogue set their own environment for the program they run.
[[maybe_unused]] const bool g_CLocale = [] {
  setenv("LC_ALL", "C", 1);
  unsetenv("LANGUAGE");
  return true;
}();

}  // namespace

namespace test {

NoDisplay::NoDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    m_Saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    unsetenv(name);
  }
}

NoDisplay::~NoDisplay() {
  for (const auto& [name, value] : m_Saved) {
    if (value) setenv(name.c_str(), value->c_str(), 1);
  }
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  m_Path = std::filesystem::temp_directory_path() /
           ("kd820-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(m_Path);
  std::filesystem::create_directories(m_Path);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_Path, ec);
}

std::vector<uint8_t> ReadFile(const std::string& a_Path) {
  std::ifstream in(a_Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + a_Path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes) {
  std::ofstream out(a_Path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(a_Bytes.data()), static_cast<std::streamsize>(a_Bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + a_Path);
}

namespace {
std::string Slurp(int a_Fd) {
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = read(a_Fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  return out;
}
}  // namespace

int RunProgram(const std::string& a_Program, const std::vector<std::string>& a_Args,
               std::string* a_Stdout, std::string* a_Stderr, const std::string& a_Directory) {
  TempDir dir;
  const std::string outFile = dir.File("stdout"), errFile = dir.File("stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!a_Directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, a_Directory.c_str());
  std::vector<std::string> args = {a_Program};
  args.insert(args.end(), a_Args.begin(), a_Args.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, a_Program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + a_Program);
  int status = 0;
  waitpid(pid, &status, 0);
  const auto slurpFile = [](const std::string& a_Path) {
    const int fd = open(a_Path.c_str(), O_RDONLY);
    std::string s = fd >= 0 ? Slurp(fd) : std::string();
    if (fd >= 0) close(fd);
    return s;
  };
  if (a_Stdout != nullptr) *a_Stdout = slurpFile(outFile);
  if (a_Stderr != nullptr) *a_Stderr = slurpFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::size_t ReplayFuzzInputs(const std::string& a_Target, int (*a_Body)(const uint8_t*, std::size_t)) {
  std::size_t count = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path dir =
        std::filesystem::path(KD820_TEST_SOURCE_DIR) / "fuzz" / kind / a_Target;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      const auto bytes = test::ReadFile(entry.path().string());
      EXPECT_EQ(a_Body(bytes.data(), bytes.size()), 0);
      ++count;
    }
  }
  return count;
}

}  // namespace test
