#pragma once
// Serves an emulated panel over UDP on loopback or over a pseudo-terminal, until asked to stop
// or until the panel has been restarted the given number of times.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "loader/emulator/PanelEmulator.h"

namespace nd620 {

class EmulatorServer {
 public:
  explicit EmulatorServer(const EmulatorConfig& a_Config) : m_Panel(a_Config) {}
  ~EmulatorServer();

  // Binds 127.0.0.1:a_Port (0: a free port); false with a_Error set.
  bool OpenUdp(int a_Port, std::string& a_Error);
  // Makes a pseudo-terminal pair; the loader opens SlavePath().
  bool OpenPty(std::string& a_Error);
  int UdpPort() const { return m_Port; }
  const std::string& SlavePath() const { return m_SlavePath; }

  // Answers requests until Stop(), until a_Restarts restarts (0: no limit), or until nothing
  // arrived for a_IdleMs (0: no limit). a_AfterRequest runs after every answered request.
  void Run(int a_Restarts, int a_IdleMs, const std::function<void(const PanelEmulator&)>& a_AfterRequest = {});
  void Stop() { m_Stop = true; }

  // The panel, for reading what it received once Run has returned.
  const PanelEmulator& Panel() const { return m_Panel; }

 private:
  void Answer(const std::vector<uint8_t>& a_Request, const std::function<void(const std::vector<uint8_t>&)>& a_Send);

  PanelEmulator m_Panel;
  std::atomic<bool> m_Stop{false};
  int m_Udp = -1;
  int m_Port = 0;
  int m_Master = -1;
  int m_Slave = -1;
  std::string m_SlavePath;
};

// Writes what the panel received into a_Directory: gui.bin, user-data.bin, driver0.bin,
// driver1.bin (the last of each kind) and sections.txt (kind, version, size, sum per line).
bool WriteReceived(const PanelEmulator& a_Panel, const std::string& a_Directory, std::string& a_Error);

}  // namespace nd620
