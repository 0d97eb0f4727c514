#include "editor/ui/ProjectCommands.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "editor/base/CodeTables.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/NewProjectWizard.h"
#include "editor/ui/ProjectInfo.h"
#include "editor/base/TextCase.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;

std::optional<int32_t> ParseNumberText(const std::string& a_Text) {
  if (a_Text.empty() || a_Text.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : a_Text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Finds a PLC by protocol id or by "Manufacturer/PLC name" (letter case ignored).
std::optional<std::pair<std::size_t, std::size_t>> FindPlcByText(const CPlcLibrary& a_Library,
                                                                 const std::string& a_Text) {
  const CPlcLibrary& library = a_Library;
  const auto id = ParseNumberText(a_Text);
  if (id) {
    std::size_t m = 0, p = 0;
    if (library.FindPlc(*id, &m, &p)) return std::make_pair(m, p);
    return std::nullopt;
  }
  const std::size_t slash = a_Text.find('/');
  for (std::size_t m = 0; m < library.Manufacturers().size(); ++m) {
    const CManufacturer& maker = library.Manufacturers()[m];
    if (slash != std::string::npos && AsciiUpper(maker.m_Description) != AsciiUpper(a_Text.substr(0, slash))) {
      continue;
    }
    const std::string name = slash == std::string::npos ? a_Text : a_Text.substr(slash + 1);
    for (std::size_t p = 0; p < maker.m_Plcs.size(); ++p) {
      if (AsciiUpper(maker.m_Plcs[p].m_Name) == AsciiUpper(name)) return std::make_pair(m, p);
    }
  }
  return std::nullopt;
}

// Applies one port's options to the page; false with a_Error set when they do not fit.
bool ApplyPortOptions(CNewProjectPlc& a_Page, int a_Port, const CliPortOptions& a_Options,
                      CEditorContext& a_Context, std::string& a_Error) {
  const std::string where = "--com" + std::to_string(a_Port);
  CPortPageValues* values = a_Page.Port(a_Port);
  const bool serialGiven = a_Options.m_SerialType || a_Options.m_Baud || a_Options.m_DataBits ||
                           a_Options.m_Parity || a_Options.m_StopBits || a_Options.m_Station;
  const bool anyGiven = a_Options.m_Plc || serialGiven;
  if (values == nullptr) {
    if (anyGiven) a_Error = where + ": the panel model has no port COM" + std::to_string(a_Port);
    return !anyGiven;
  }
  if (a_Options.m_Plc) {
    if (AsciiUpper(*a_Options.m_Plc) == "NONE") {
      a_Page.ChoosePlc(a_Port, std::nullopt);
    } else {
      const auto plc = FindPlcByText(a_Context.GetPlcLibrary(), *a_Options.m_Plc);
      if (!plc) {
        a_Error = where + ": no PLC \"" + *a_Options.m_Plc + "\" in the library (see KD820 plcs)";
        return false;
      }
      if (!a_Page.ChoosePlc(a_Port, plc)) {
        a_Error = where + ": the protocol file of \"" + *a_Options.m_Plc + "\" does not load";
        return false;
      }
    }
  }
  if (serialGiven && !values->m_Plc) {
    a_Error = where + ": serial settings need a PLC on the port";
    return false;
  }
  if (a_Options.m_SerialType) {
    const auto code = CodeOfName(kSerialTypes, *a_Options.m_SerialType, true);
    const auto& offered = values->m_OfferedSerialTypes;
    if (!code) {
      std::string list;
      for (int32_t c : offered) list += std::string(list.empty() ? "" : ", ") + NameOf(kSerialTypes, c);
      a_Error = where + "-type: " + *a_Options.m_SerialType + " is not offered by this port (" + list + ")";
      return false;
    }
    if (const auto problem = SerialTypeProblem(*code, offered)) {
      a_Error = where + "-type: " + *problem;
      return false;
    }
    values->m_Settings.m_SerialType = *code;
  }
  if (a_Options.m_Baud) {
    const auto code = CodeOfNumber(kBaudRates, *a_Options.m_Baud);
    if (!code) {
      std::string rates;
      for (const NumberedCode& rate : kBaudRates) rates += " " + std::to_string(rate.m_Number);
      a_Error = where + "-baud: " + std::to_string(*a_Options.m_Baud) + " is not one of" + rates;
      return false;
    }
    values->m_Settings.m_BaudRate = *code;
  }
  if (a_Options.m_DataBits) {
    const auto code = CodeOfNumber(kDataBits, *a_Options.m_DataBits);
    if (!code) {
      a_Error = where + "-data: data bits are 7 or 8";
      return false;
    }
    values->m_Settings.m_DataBits = *code;
  }
  if (a_Options.m_Parity) {
    const auto code = CodeOfName(kParities, *a_Options.m_Parity, true);
    if (!code) {
      a_Error = where + "-parity: parity is none, odd or even";
      return false;
    }
    values->m_Settings.m_Parity = *code;
  }
  if (a_Options.m_StopBits) {
    const auto code = CodeOfNumber(kStopBits, *a_Options.m_StopBits);
    if (!code) {
      a_Error = where + "-stop: stop bits are 1 or 2";
      return false;
    }
    values->m_Settings.m_StopBits = *code;
  }
  if (a_Options.m_Station) {
    CPLCModel model;
    if (values->m_Settings.m_StationUsed == 0) {
      a_Error = where + "-station: the protocol on this port does not use stations";
      return false;
    }
    if (a_Context.GetPlcLibrary().LoadPortModel(model, values->m_Settings.m_ProtocolId)) {
      if (const auto problem = StationProblem(*a_Options.m_Station, model)) {
        a_Error = where + "-station: " + *problem;
        return false;
      }
    }
    values->m_Settings.m_Station = *a_Options.m_Station;
  }
  return true;
}

bool ApplyAllPorts(CNewProjectPlc& a_Page, const std::array<CliPortOptions, 3>& a_Ports,
                   CEditorContext& a_Context) {
  for (int port = 0; port < 3; ++port) {
    std::string error;
    if (!ApplyPortOptions(a_Page, port, a_Ports[static_cast<std::size_t>(port)], a_Context, error)) {
      std::cerr << "KD820: " << error << "\n";
      return false;
    }
  }
  return true;
}

void PrintPorts(const CKV410Project& a_Project, CEditorContext& a_Context) {
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) {
    const CPortCom& port = *a_Project.GetPort(i);
    std::cout << "  COM" << i << ": ";
    if (!port.IsEnabled()) {
      std::cout << "not used\n";
      continue;
    }
    std::size_t m = 0, p = 0;
    const CPlcLibrary& library = a_Context.GetPlcLibrary();
    if (library.FindPlc(port.m_ProtocolId, &m, &p)) {
      std::cout << library.Manufacturers()[m].m_Description << "/"
                << library.Manufacturers()[m].m_Plcs[p].m_Name << " ";
    }
    std::cout << "(protocol " << port.m_ProtocolId << ")\n";
  }
}

}  // namespace

int RunNewCommand(const CliNewOptions& a_Options) {
  TerminalInteraction ui(a_Options.m_Preset);
  CKV410Doc doc(ui);
  CNewProjectWizard wizard(doc.Context());
  if (wizard.HmiPage().Count() == 0) {
    std::cerr << "KD820: the hardware library holds no panel model\n";
    return kExitFailure;
  }
  if (a_Options.m_Model && !wizard.HmiPage().SelectById(*a_Options.m_Model)) {
    std::cerr << "KD820: --model: no panel model with id " << *a_Options.m_Model
              << " (see KD820 models)\n";
    return kExitFailure;
  }
  if (a_Options.m_Parent) {
    wizard.NamePage().SetParentFolder(
        std::filesystem::absolute(*a_Options.m_Parent).lexically_normal().string());
  }
  wizard.NamePage().SetName(a_Options.m_Name);
  if (!wizard.NamePage().CanFinish()) {
    std::cerr << "KD820: the project name is empty\n";
    return kExitFailure;
  }
  if (!ApplyAllPorts(wizard.PlcPage(), a_Options.m_Ports, doc.Context())) return kExitFailure;
  if (!wizard.Finish(doc, ui)) {
    std::cerr << "KD820: no project created\n";
    return kExitFailure;
  }
  std::cout << "created " << doc.GetPathName() << " for panel model "
            << doc.GetProject()->GetHardwareModelId() << "\n";
  PrintPorts(*doc.GetProject(), doc.Context());
  if (!doc.Save()) return kExitFailure;
  return kExitOk;
}

int RunCommCommand(const std::string& a_Project, const std::array<CliPortOptions, 3>& a_Ports,
                   std::optional<Answer> a_Preset) {
  TerminalInteraction ui(a_Preset);
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Project)) return kExitFailure;
  CKV410Project& project = *doc.GetProject();
  CEditorContext& context = doc.Context();
  if (context.CurrentHardwareModel().m_Id != project.GetHardwareModelId()) {
    std::cerr << "KD820: panel model " << project.GetHardwareModelId()
              << " is not in the hardware library\n";
    return kExitFailure;
  }
  CNewProjectPlc page(context.CurrentHardwareModel(), context);
  page.LoadFromProject(project);
  if (!ApplyAllPorts(page, a_Ports, context)) return kExitFailure;
  if (!ApplyCommunicationSettings(project, page, ui, context)) {
    std::cerr << "KD820: communication settings not changed\n";
    return kExitFailure;
  }
  if (!doc.Save()) return kExitFailure;
  std::cout << "saved " << doc.GetPathName() << "\n";
  PrintPorts(project, context);
  return kExitOk;
}

}  // namespace kd820
