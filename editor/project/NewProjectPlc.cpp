#include "editor/project/NewProjectPlc.h"

#include <algorithm>
#include <array>

#include "editor/base/CodeTables.h"
#include "editor/devices/Addr.h"
#include "editor/project/KV410Project.h"
#include "editor/project/Messages.h"
#include "editor/project/ProjectModels.h"

namespace kd820 {

std::vector<int32_t> OfferedSerialTypes(const CHardwarePort& a_Port) {
  std::vector<int32_t> offered;
  if (a_Port.m_Rs232) offered.push_back(CPortCom::kRs232);
  if (a_Port.m_Rs485Two) offered.push_back(CPortCom::kRs485);
  if (a_Port.m_Rs485Four) offered.push_back(CPortCom::kRs422);
  return offered;
}

std::optional<std::string> SerialTypeProblem(int32_t a_Type, const std::vector<int32_t>& a_Offered) {
  if (std::find(a_Offered.begin(), a_Offered.end(), a_Type) != a_Offered.end()) return std::nullopt;
  const auto name = [](int32_t a_Code) {
    const char* text = NameOf(kSerialTypes, a_Code);
    return text != nullptr ? std::string(text) : "serial type " + std::to_string(a_Code);
  };
  std::string list;
  for (int32_t code : a_Offered) list += (list.empty() ? "" : ", ") + name(code);
  return name(a_Type) + " is not offered by this port (" + list + ")";
}

std::optional<std::string> StationProblem(int32_t a_Station, const CPLCModel& a_Protocol) {
  if (!a_Protocol.m_StationUsed) return std::nullopt;
  if (a_Station >= a_Protocol.m_StationMin && a_Station <= a_Protocol.m_StationMax) return std::nullopt;
  return std::to_string(a_Station) + " is outside " + std::to_string(a_Protocol.m_StationMin) + "~" +
         std::to_string(a_Protocol.m_StationMax);
}

CNewProjectPlc::CNewProjectPlc(const CHardwareModel& a_Model, CEditorContext& a_Context)
    : m_Context(&a_Context) {
  for (const CHardwarePort& port : a_Model.m_Ports) {
    CPortPageValues values;
    values.m_PortId = port.m_Id;
    values.m_DeviceName = port.m_DeviceName;
    values.m_IsSerial = port.m_Id <= 2;
    values.m_OfferedSerialTypes = OfferedSerialTypes(port);
    m_Ports.push_back(values);
  }
}

CPortPageValues* CNewProjectPlc::Port(int32_t a_PortId) {
  for (auto& p : m_Ports) {
    if (p.m_PortId == a_PortId) return &p;
  }
  return nullptr;
}

void CNewProjectPlc::Preset(CPortPageValues& a_Values, const CPLCModel& a_Model) {
  CPortCom& port = a_Values.m_Settings;
  port.m_ProtocolId = a_Model.m_Id;
  port.m_StationUsed = a_Model.m_StationUsed ? 1 : 0;
  port.m_SerialType = a_Model.m_SerialType;
  port.m_BaudRate = a_Model.m_BaudRate;
  port.m_DataBits = a_Model.m_DataBits;
  port.m_Parity = a_Model.m_Parity;
  port.m_StopBits = a_Model.m_StopBits;
  port.m_Station = 1;
  port.m_ResponseTimeout = a_Model.m_ResponseTimeout;
  port.m_ProtocolTimeout1 = a_Model.m_ProtocolTimeout1;
  port.m_ProtocolTimeout2 = a_Model.m_ProtocolTimeout2;
  port.m_WordPacketMax = a_Model.m_PacketMaxWords;
  port.m_BitPacketMax = a_Model.m_PacketMaxBits;
  port.m_WordPackingInterval = a_Model.m_WordBreakInterval;
  port.m_BitPackingInterval = a_Model.m_BitBreakInterval;
  port.m_CommunicationInterval = a_Model.m_CommunicationInterval;
  port.m_MessageTime = 0;
  port.m_RetryCount = 10;
  port.m_RetryAfterFailure = 1;
  // The protocol's default interface, when the hardware port offers it.
  const auto& offered = a_Values.m_OfferedSerialTypes;
  if (!offered.empty() &&
      std::find(offered.begin(), offered.end(), port.m_SerialType) == offered.end()) {
    port.m_SerialType = offered.front();
  }
}

bool CNewProjectPlc::ChoosePlc(int32_t a_PortId,
                               std::optional<std::pair<std::size_t, std::size_t>> a_Plc) {
  CPortPageValues* values = Port(a_PortId);
  if (values == nullptr || !values->m_IsSerial) return false;
  if (!a_Plc) {
    values->m_Plc.reset();
    values->m_Settings.m_ProtocolId = 0;
    return true;
  }
  const CPlcLibrary& library = m_Context->GetPlcLibrary();
  if (a_Plc->first >= library.Manufacturers().size() ||
      a_Plc->second >= library.Manufacturers()[a_Plc->first].m_Plcs.size()) {
    return false;
  }
  CPLCModel model;
  if (!model.Load(library.GetPlcPath(a_Plc->first, a_Plc->second), m_Context->Problems())) {
    return false;
  }
  values->m_Plc = a_Plc;
  Preset(*values, model);
  return true;
}

bool CNewProjectPlc::RestoreDefaults(int32_t a_PortId) {
  CPortPageValues* values = Port(a_PortId);
  if (values == nullptr || !values->m_Plc) return false;
  return ChoosePlc(a_PortId, values->m_Plc);
}

std::optional<CPortCom> CNewProjectPlc::ProtocolDefaults(int32_t a_PortId) const {
  for (const CPortPageValues& values : m_Ports) {
    if (values.m_PortId != a_PortId || !values.m_Plc) continue;
    const CPlcLibrary& library = m_Context->GetPlcLibrary();
    CPLCModel model;
    if (!model.Load(library.GetPlcPath(values.m_Plc->first, values.m_Plc->second), m_Context->Problems())) {
      return std::nullopt;
    }
    CPortPageValues preset = values;
    Preset(preset, model);
    return preset.m_Settings;
  }
  return std::nullopt;
}

void CNewProjectPlc::LoadFromProject(const CKV410Project& a_Project) {
  for (auto& values : m_Ports) {
    const CPortCom* port = a_Project.GetPort(values.m_PortId);
    if (port == nullptr) continue;
    std::size_t manufacturer = 0, plc = 0;
    values.m_Plc.reset();
    if (port->IsEnabled() && m_Context->GetPlcLibrary().FindPlc(port->m_ProtocolId, &manufacturer, &plc)) {
      values.m_Plc = std::make_pair(manufacturer, plc);
    }
    values.m_Settings = *port;
  }
}

void CNewProjectPlc::Apply(CKV410Project& a_Project) const {
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) a_Project.GetPort(i)->m_Enabled = 0;
  a_Project.GetCanPort().m_Enabled = 0;
  for (const auto& values : m_Ports) {
    CPortCom* port = a_Project.GetPort(values.m_PortId);
    if (port == nullptr) continue;  // the CAN tab has no settings
    const int32_t number = port->m_PortNumber;
    *port = values.m_Settings;
    port->m_PortNumber = number;
    port->m_Enabled = values.m_Plc ? 1 : 0;
  }
}

bool ApplyCommunicationSettings(CKV410Project& a_Project, const CNewProjectPlc& a_Page,
                                IUserInteraction& a_Ui, CEditorContext& a_Context) {
  const auto enabledOf = [](const CKV410Project& a_P, int a_Port) {
    return a_Port == 3 ? a_P.GetCanPort().IsEnabled() : a_P.GetPort(a_Port)->IsEnabled();
  };
  const auto protocolOf = [](const CKV410Project& a_P, int a_Port) {
    return a_Port == 3 ? 0 : a_P.GetPort(a_Port)->m_ProtocolId;
  };
  CKV410Project proposed;
  a_Page.Apply(proposed);
  std::array<bool, 4> changed{};
  bool any = false;
  for (int port = 0; port < 4; ++port) {
    changed[static_cast<std::size_t>(port)] = enabledOf(proposed, port) != enabledOf(a_Project, port);
    any = any || changed[static_cast<std::size_t>(port)];
  }
  if (!any) {
    for (int port = 0; port < 4; ++port) {
      changed[static_cast<std::size_t>(port)] =
          enabledOf(a_Project, port) && protocolOf(proposed, port) != protocolOf(a_Project, port);
      any = any || changed[static_cast<std::size_t>(port)];
    }
  }
  if (any && a_Ui.Ask(Tr(msg::kResetChangedPorts), msg::kAppTitle, Choices::YesNo, Answer::No) !=
                 Answer::Yes) {
    return false;
  }
  a_Page.Apply(a_Project);
  ReloadPortModels(a_Project, a_Context);
  if (any) {
    a_Context.SetChangedPorts(changed);
    a_Project.ResetPortConfiguration(a_Context.ChangedPorts());
    a_Context.SetChangedPorts({});
  }
  return true;
}

}  // namespace kd820
