#pragma once
// KD820 new and KD820 comm: the new-project wizard and the communication settings from the
// command line.
#include <array>
#include <optional>
#include <string>

#include "platform/UserInteraction.h"

namespace kd820 {

// The settings given for one serial port; unset fields keep the page's values.
struct CliPortOptions {
  std::optional<std::string> m_Plc;  // "none", a protocol id, or "Manufacturer/PLC name"
  std::optional<std::string> m_SerialType;  // RS232, RS485, RS422
  std::optional<int> m_Baud;                // bit/s
  std::optional<int> m_DataBits;            // 7 or 8
  std::optional<std::string> m_Parity;      // none, odd, even
  std::optional<int> m_StopBits;            // 1 or 2
  std::optional<int> m_Station;
};

struct CliNewOptions {
  std::string m_Name;
  std::optional<std::string> m_Parent;
  std::optional<int> m_Model;
  std::array<CliPortOptions, 3> m_Ports;
  std::optional<Answer> m_Preset;
};

int RunNewCommand(const CliNewOptions& a_Options);
int RunCommCommand(const std::string& a_Project, const std::array<CliPortOptions, 3>& a_Ports,
                   std::optional<Answer> a_Preset);

}  // namespace kd820
