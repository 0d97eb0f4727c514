#pragma once
// The PLC page of the new-project wizard and of the communication settings: one set of
// serial settings per port of the hardware model, as operations without a window.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/devices/EditorContext.h"
#include "editor/project/PortCom.h"
#include "platform/UserInteraction.h"

namespace kd820 {

class CKV410Project;

// What one port's tab holds: the port settings it edits and what the page shows around them.
struct CPortPageValues {
  int32_t m_PortId = 0;
  std::string m_DeviceName;
  bool m_IsSerial = true;
  // The chosen PLC (manufacturer and PLC index in the library); none = no PLC.
  std::optional<std::pair<std::size_t, std::size_t>> m_Plc;
  // The values of the controls; enabled and the port number are set when the page is applied.
  CPortCom m_Settings;
  // Interfaces the hardware port offers, as serial-type codes.
  std::vector<int32_t> m_OfferedSerialTypes;
};

// The rules of a port's tab, shared by the page, the command line and the JSON import.
// The interfaces a hardware port offers, as serial-type codes (RS232, RS485, RS422 order).
std::vector<int32_t> OfferedSerialTypes(const CHardwarePort& a_Port);
// "RS422 is not offered by this port (RS232, RS485)" when a_Type is not among a_Offered.
std::optional<std::string> SerialTypeProblem(int32_t a_Type, const std::vector<int32_t>& a_Offered);
// "300 is outside 1~247" when a station is outside the range of a protocol that uses stations.
std::optional<std::string> StationProblem(int32_t a_Station, const CPLCModel& a_Protocol);

class CNewProjectPlc {
 public:
  // The ports of a_Model; the PLCs come from the library of a_Context, which must outlive the
  // page.
  CNewProjectPlc(const CHardwareModel& a_Model, CEditorContext& a_Context);

  std::vector<CPortPageValues>& Ports() { return m_Ports; }
  const std::vector<CPortPageValues>& Ports() const { return m_Ports; }
  // The tab of a port id; null when the model has no such port.
  CPortPageValues* Port(int32_t a_PortId);

  // Shows a project's stored settings: per port, the PLC found by its protocol id (none
  // when the library lacks it) and the stored values.
  void LoadFromProject(const CKV410Project& a_Project);
  // Chooses a PLC for a serial port (none with nullopt) and presets the serial parameters
  // and timing from its protocol file. False when the port or the PLC does not exist or the
  // protocol file does not load.
  bool ChoosePlc(int32_t a_PortId, std::optional<std::pair<std::size_t, std::size_t>> a_Plc);
  // Restores the protocol defaults of the chosen PLC, message time 0, 10 retries, "retry".
  bool RestoreDefaults(int32_t a_PortId);
  // The settings the chosen PLC's protocol presets (as ChoosePlc does), the tab unchanged;
  // nullopt without a PLC or when its protocol file does not load.
  std::optional<CPortCom> ProtocolDefaults(int32_t a_PortId) const;
  // Disables all four ports of the project, then writes each tab into its port.
  void Apply(CKV410Project& a_Project) const;

 private:
  static void Preset(CPortPageValues& a_Values, const CPLCModel& a_Model);

  CEditorContext* m_Context;
  std::vector<CPortPageValues> m_Ports;
};

// Changes the communication settings of an open project from the page: applies them at once
// when no port changed its PLC; otherwise asks before everything tied to the changed ports is
// reset. The port models of a_Context are reloaded from the new settings. False when the user
// said no (nothing changed).
bool ApplyCommunicationSettings(CKV410Project& a_Project, const CNewProjectPlc& a_Page,
                                IUserInteraction& a_Ui, CEditorContext& a_Context);

}  // namespace kd820
