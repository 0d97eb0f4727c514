#pragma once
// Helpers of the loader tests: an in-memory link to an emulated panel, a view that records what
// the protocol shows, packages made to measure, and the emulator run as a program.
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/PackageFormat.h"
#include "loader/LoaderProtocol.h"
#include "loader/Transport.h"
#include "loader/emulator/PanelEmulator.h"

namespace looptest {

// A transport that hands every frame to an emulated panel in the same thread.
class EmulatedLink : public nd620::Transport {
 public:
  EmulatedLink(nd620::PanelEmulator& a_Panel, int a_MaxPacket, std::vector<std::vector<uint8_t>>* a_Sent)
      : m_Panel(a_Panel), m_MaxPacket(a_MaxPacket), m_Sent(a_Sent) {}
  int MaxPacketSize() const override { return m_MaxPacket; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) override;
  bool Close() override { return true; }
  bool Configure(const nd620::TransportSettings&) override { return true; }
  bool Open() override { return true; }
  bool Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) override;

 private:
  nd620::PanelEmulator& m_Panel;
  int m_MaxPacket;
  std::vector<std::vector<uint8_t>>* m_Sent;
  std::optional<std::vector<uint8_t>> m_Reply;
};

// What the protocol showed.
class RecordingView : public nd620::ILoaderView {
 public:
  void ProgressChanged(const nd620::ProgressBar& a_Bar) override;
  void ShowError(const std::string& a_Text, const std::string& a_Detail) override;
  std::vector<std::string> m_Texts;     // the bar's text (or caption) at every change
  std::vector<std::string> m_Captions;  // its caption at every change
  std::vector<std::string> m_Messages;  // non-empty messages
  bool Saw(const std::string& a_Text) const;
};

// An emulated panel, the protocol on a link to it, and the frames sent.
struct Bench {
  explicit Bench(const nd620::EmulatorConfig& a_Config = {}, int a_MaxPacket = 64);
  nd620::PanelEmulator m_Panel;
  RecordingView m_View;
  std::vector<std::vector<uint8_t>> m_Sent;
  int m_OpensLeft = -1;  // fail every open once this reaches 0 (-1: never)
  std::unique_ptr<nd620::LoaderProtocol> m_Protocol;
  // Frames sent with this command code.
  std::vector<std::vector<uint8_t>> Sent(uint8_t a_Code) const;
};

struct Source {
  std::vector<uint8_t> m_Bytes;
  uint16_t m_Version = 0;
};
// A package of format 1 or 2 with those sections; drivers with empty bytes get zero entries.
std::vector<uint8_t> MakePackage(const std::vector<uint8_t>& a_User, const std::vector<std::vector<uint8_t>>& a_Drivers,
                                 const Source& a_Gui1, const std::optional<Source>& a_Gui2, uint32_t a_Format = 2);
std::vector<uint8_t> Pattern(std::size_t a_Size, uint8_t a_Seed = 1);

// panel-emulator of the build tree, started with its first line read.
class EmulatorProcess {
 public:
  explicit EmulatorProcess(const std::vector<std::string>& a_Args);
  ~EmulatorProcess();
  // "127.0.0.1:PORT" or the pty's device path.
  const std::string& Where() const { return m_Where; }
  // Waits for the end; its exit status.
  int Wait();

 private:
  pid_t m_Pid = -1;
  std::string m_Where;
};

std::string BinaryDir();

// A program started without waiting, its standard error going to a_ErrFile.
pid_t StartProgram(const std::string& a_Program, const std::vector<std::string>& a_Args, const std::string& a_ErrFile);
// Waits for it; its exit status (128 + signal when killed).
int WaitProgram(pid_t a_Pid);

}  // namespace looptest
