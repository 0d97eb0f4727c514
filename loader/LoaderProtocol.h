#pragma once
// The conversation with the panel's bootloader: one function per request, and the procedures
// built from them (firmware update, whole project download, one section's transfer, the
// version comparison and the size check). Runs on the loader's worker thread; it reports
// through a view: progress changes and error messages.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/PackageFormat.h"
#include "loader/PackageReader.h"
#include "loader/ProgressBar.h"
#include "loader/Transport.h"
#include "loader/TransportSettings.h"

namespace nd620 {

// What the panel tells about itself.
struct SlaveInfo {
  uint8_t m_AppFlag = 0;           // 1 runs its firmware, 0 has none, other: in boot mode
  uint16_t m_HardwareVersion = 0;  // 1 or 0xFFFF, 2
  uint16_t m_GuiVersion = 0;
};

class ILoaderView {
 public:
  virtual ~ILoaderView() = default;
  // The bar needs drawing again; called on the worker thread.
  virtual void ProgressChanged(const ProgressBar& a_Bar) = 0;
  // A failure message; a_Detail is what the link said about it (may be empty).
  virtual void ShowError(const std::string& a_Text, const std::string& a_Detail) = 0;
};

class LoaderProtocol {
 public:
  static constexpr int kUnits = 1;  // every send and receive waits one time-out unit

  explicit LoaderProtocol(ILoaderView& a_View, TransportFactory a_Factory = MakeTransport);
  ~LoaderProtocol();

  void SetTransportSettings(const TransportSettings& a_Settings) { m_Settings = a_Settings; }
  void SetTiming(const ProtocolTiming& a_Timing) { m_Timing = a_Timing; }
  void SetPackagePath(const std::string& a_Path) { m_PackagePath = a_Path; }
  void SetForceGui(bool a_Force) { m_ForceGui = a_Force; }
  ProgressBar& Bar() { return m_Bar; }

  // A new transport for the settings' kind, configured and opened; the old one closed first.
  bool Connect();
  void Close();
  bool GetInformation(SlaveInfo& a_Info);
  bool EnterDownloadMode();
  bool EnterBootMode();
  bool Restart();
  bool BeginSection(uint8_t a_Kind, uint16_t a_Blocks, uint32_t a_Size, uint32_t a_Sum, uint16_t a_Version);
  bool DataBlock(const uint8_t* a_Bytes, std::size_t a_Count, uint16_t a_Sequence);
  bool FinishSection();

  // After boot mode or a firmware update: wait, then connect again and read the panel's
  // information; false after the message.
  bool Reconnect();
  bool BurnSection(PackageReader& a_File, const pkg::SectionEntry& a_Entry, uint8_t a_Kind);
  // The firmware version the package holds for hardware version a_Hardware; 0 on any problem.
  uint16_t PanelGuiVersion(uint16_t a_Hardware);
  enum class SizeCheck { kFits, kTooBig, kUnknownHardware };
  static SizeCheck CheckProjectSize(uint16_t a_Hardware, uint32_t a_GuiSize, uint32_t a_UserSize, bool a_Driver1);
  bool UpdateGui();
  // The whole download; true when every section was burned.
  bool DownloadProject();

  // Asks a running procedure to stop at its next block or connection attempt (any thread).
  void Cancel() { m_Cancel = true; }
  bool Cancelled() const { return m_Cancel; }

  const SlaveInfo& Info() const { return m_Info; }
  // Exchanges made since construction (each one request and its reply).
  uint64_t Exchanges() const { return m_Exchanges; }

 private:
  bool Exchange(uint8_t a_Code, const std::vector<uint8_t>& a_Data, std::vector<uint8_t>& a_Reply);
  bool Command(uint8_t a_Code, const std::vector<uint8_t>& a_Data);
  bool Fail(const std::string& a_Text);
  bool FailCancelled();
  void Caption(const std::string& a_Caption);
  void Changed();
  void Sleep(int a_Ms);
  std::string LinkError() const;

  ILoaderView& m_View;
  TransportFactory m_Factory;
  std::unique_ptr<Transport> m_Transport;
  std::string m_LastLinkError;
  TransportSettings m_Settings;
  ProtocolTiming m_Timing;
  std::string m_PackagePath;
  bool m_ForceGui = false;
  ProgressBar m_Bar;
  SlaveInfo m_Info;
  int m_FinishStatus = 0;
  std::atomic<bool> m_Cancel{false};
  uint64_t m_Exchanges = 0;
};

}  // namespace nd620
