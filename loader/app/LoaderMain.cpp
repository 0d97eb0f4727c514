// ND620Transfer and ND620Loader, the terminal front-end; one source for both builds.
// ND620Transfer stays for more downloads on a terminal; ND620Loader (started by the editor as
// KD820Loader) does one and ends.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Version.h"
#include "loader/LoaderMessages.h"
#include "platform/Translate.h"
#include "loader/LoaderProtocol.h"
#include "loader/app/LoaderCommandLine.h"
#include "loader/app/TerminalView.h"
#include "platform/NamedLock.h"
#ifdef ND620_WINDOW
#include "loader/dialog/DownloadDialog.h"
#endif

#ifndef ND620_PROGRAM
#define ND620_PROGRAM "ND620Transfer"
#define ND620_CAPTION "KD820Transfer"
#define ND620_ONE_SHOT 0
#endif

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::atomic<nd620::LoaderProtocol*> g_Running{nullptr};

// Ctrl-C during a download stops it at the next block instead of leaving the panel half
// written by a killed process; the worker ends before the program does.
void OnInterrupt(int) {
  nd620::LoaderProtocol* protocol = g_Running.load();
  if (protocol != nullptr) protocol->Cancel();
}

bool Download(const nd620::LoaderCommandLine& a_Line, const std::string& a_Path, nd620::TerminalView& a_View) {
  nd620::LoaderProtocol protocol(a_View);
  protocol.SetTransportSettings(a_Line.m_Transport);
  protocol.SetTiming(a_Line.m_Timing);
  protocol.SetPackagePath(a_Path);
  protocol.SetForceGui(a_Line.m_ForceGui);
  bool ok = false;
  g_Running = &protocol;
  // The worker runs the download; this thread only waits for it.
  std::thread worker([&] { ok = protocol.DownloadProject(); });
  worker.join();
  g_Running = nullptr;
  const bool said = a_View.Finish();
  if (ok) {
    a_View.Say("download finished");
  } else if (!said) {
    a_View.Say("download failed");
  }
  return ok;
}

}  // namespace

int main(int a_Argc, char** a_Argv) {
  // The loaders' texts are English in every language; the locale still comes from the
  // environment, as in every program of the suite.
  kd820::InitTranslation();
  const std::string program = ND620_PROGRAM;
  const std::vector<std::string> arguments(a_Argv, a_Argv + a_Argc);
  nd620::LoaderCommandLine line;
  std::string error;
  if (!nd620::ParseLoaderCommandLine(arguments, line, error)) {
    std::cerr << program << ": " << error << "\n" << nd620::LoaderUsage(program);
    return kExitUsage;
  }
  if (line.m_Help) {
    std::cout << nd620::LoaderUsage(program);
    return kExitOk;
  }
  if (line.m_Version) {
    std::cout << "About " << ND620_CAPTION << "\n" << ND620_CAPTION << " version " << KD820_VERSION_STRING << "\n";
    return kExitOk;
  }

  // One instance per build; the two builds do not block each other.
  NamedLock::Failure failure = NamedLock::Failure::kNone;
  const std::unique_ptr<NamedLock> lock = NamedLock::TryAcquire(program, &error, &failure);
  if (lock == nullptr && failure == NamedLock::Failure::kHeld) {
    std::cerr << program << ": " << nd620::msg::kMultiple << program << "\n";
    return kExitFailure;
  }
  if (lock == nullptr) std::cerr << program << ": warning: " << error << "\n";

#ifdef ND620_WINDOW
  // With a display the dialog opens, as on the panel tools' own desktop.
  if (!line.m_NoWindow && nd620::DialogDisplayAvailable()) {
    nd620::DialogSetup setup;
    setup.m_Program = program;
    setup.m_Caption = ND620_CAPTION;
    setup.m_OneShot = ND620_ONE_SHOT != 0;
    setup.m_Path = line.m_Path;
    setup.m_ForceGui = line.m_ForceGui;
    setup.m_Transport = line.m_Transport;
    setup.m_Timing = line.m_Timing;
    return nd620::RunDownloadDialog(a_Argc, a_Argv, setup);
  }
#endif

  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  nd620::TerminalView view(program, stderr, ::isatty(STDERR_FILENO) != 0);
  const bool interactive = !ND620_ONE_SHOT && ::isatty(STDIN_FILENO) != 0;
  std::string path = line.m_Path;
  if (!line.m_HasPath && interactive) {
    std::cerr << "Package file (*.td): " << std::flush;
    if (!std::getline(std::cin, path)) return kExitFailure;
  }
  bool ok = Download(line, path, view);
  // ND620Transfer stays for more downloads while someone is at the terminal.
  while (interactive) {
    std::cerr << "Enter: download " << path << " again; another path; q: quit: " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer == "q") break;
    if (!answer.empty()) path = answer;
    ok = Download(line, path, view);
  }
  return ok ? kExitOk : kExitFailure;
}
