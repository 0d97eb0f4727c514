// panel-emulator: an emulated panel bootloader for the loaders, over UDP on loopback or over a
// pseudo-terminal. It prints where it listens ("udp 127.0.0.1:PORT" or "pty /dev/pts/N") as its
// first line, answers until the panel has been restarted (one download) or nothing arrived for
// the idle time, and writes what it received to --out.
#include <CLI/CLI.hpp>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "Version.h"
#include "loader/Frame.h"
#include "loader/emulator/EmulatorServer.h"

namespace {

nd620::EmulatorServer* g_Server = nullptr;
void OnSignal(int) {
  if (g_Server != nullptr) g_Server->Stop();
}

// "0x11", "17" or a command's name.
int CommandCode(const std::string& a_Text) {
  static const std::pair<const char*, int> kNames[] = {
      {"info", nd620::kGetInfo},       {"download-mode", nd620::kEnterDownload}, {"boot-mode", nd620::kEnterBoot},
      {"restart", nd620::kRestart},    {"begin", nd620::kBeginSection},          {"data", nd620::kDataBlock},
      {"finish", nd620::kFinishSection}};
  for (const auto& [name, code] : kNames) {
    if (a_Text == name) return code;
  }
  return static_cast<int>(std::stoul(a_Text, nullptr, 0));
}

}  // namespace

int main(int a_Argc, char** a_Argv) {
  CLI::App app{"panel-emulator: an emulated panel bootloader for ND620Transfer and ND620Loader", "panel-emulator"};
  app.set_version_flag("--version", std::string("panel-emulator ") + KD820_VERSION_STRING);
  int udpPort = -1;
  bool pty = false;
  std::string link, out, drop, badSum, refuse;
  int restarts = 1, idleMs = 30000;
  nd620::EmulatorConfig config;
  int hardware = 1, gui = 0, appFlag = 1;
  auto* udpOpt = app.add_option("--udp", udpPort, "Listen on 127.0.0.1:PORT (0: a free port)");
  auto* ptyOpt = app.add_flag("--pty", pty, "Serve a pseudo-terminal; its device path is printed");
  udpOpt->excludes(ptyOpt);
  app.add_option("--link", link, "With --pty: also make a symbolic link of this name to the device");
  app.add_option("--out", out, "Directory for what the panel received");
  app.add_option("--restarts", restarts, "End after this many restarts (downloads); 0: never")->check(CLI::NonNegativeNumber);
  app.add_option("--idle-ms", idleMs, "End after this long without a request; 0: never")->check(CLI::NonNegativeNumber);
  app.add_option("--hardware", hardware, "Hardware version the panel reports (1, 2, 0xFFFF or anything else)");
  app.add_option("--gui-version", gui, "Firmware version the panel reports");
  app.add_option("--app-flag", appFlag, "Application flag: 1 runs its firmware, 0 has none");
  app.add_option("--drop-reply", drop, "Leave a request unanswered: CODE or CODE:N (the N-th of that code)");
  app.add_option("--bad-sum", badSum, "Give the first reply to CODE a wrong checksum");
  app.add_option("--refuse", refuse, "Answer every CODE request with status 0 (begin, finish, download-mode, ...)");
  app.add_flag("--wrong-sequence", config.m_WrongSequence, "Name another block in every data-block reply");
  app.add_option("--delay-ms", config.m_DelayMs, "Wait before every reply")->check(CLI::NonNegativeNumber);
  try {
    app.parse(a_Argc, a_Argv);
    if (!pty && udpPort < 0) throw CLI::RequiredError("--udp or --pty");
    config.m_HardwareVersion = static_cast<uint16_t>(hardware);
    config.m_GuiVersion = static_cast<uint16_t>(gui);
    config.m_AppFlag = static_cast<uint8_t>(appFlag);
    if (!drop.empty()) {
      const auto colon = drop.find(':');
      config.m_DropReplyCode = CommandCode(drop.substr(0, colon));
      if (colon != std::string::npos) config.m_DropReplyNth = std::stoi(drop.substr(colon + 1));
    }
    if (!badSum.empty()) config.m_BadSumCode = CommandCode(badSum);
    if (!refuse.empty()) config.m_RefuseCode = CommandCode(refuse);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? 0 : 2;
  } catch (const std::exception& e) {
    std::cerr << "panel-emulator: not a command code: " << e.what() << "\n";
    return 2;
  }

  nd620::EmulatorServer server(config);
  std::string error;
  if (pty ? !server.OpenPty(error) : !server.OpenUdp(udpPort, error)) {
    std::cerr << "panel-emulator: " << error << "\n";
    return 1;
  }
  if (pty && !link.empty()) {
    std::error_code ec;
    std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(server.SlavePath(), link, ec);
    if (ec) {
      std::cerr << "panel-emulator: cannot link " << link << ": " << ec.message() << "\n";
      return 1;
    }
  }
  if (pty) {
    std::cout << "pty " << server.SlavePath() << std::endl;
  } else {
    std::cout << "udp 127.0.0.1:" << server.UdpPort() << std::endl;
  }
  g_Server = &server;
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);

  std::size_t written = 0;
  const auto save = [&](const nd620::PanelEmulator& a_Panel) {
    if (out.empty() || a_Panel.Finished().size() == written) return;
    written = a_Panel.Finished().size();
    if (!nd620::WriteReceived(a_Panel, out, error)) std::cerr << "panel-emulator: " << error << "\n";
  };
  server.Run(restarts, idleMs, save);
  if (!out.empty() && !nd620::WriteReceived(server.Panel(), out, error)) {
    std::cerr << "panel-emulator: " << error << "\n";
    return 1;
  }
  for (const std::string& line : server.Panel().Log()) std::cerr << "panel-emulator: " << line << "\n";
  return 0;
}
