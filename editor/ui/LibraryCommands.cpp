#include "editor/ui/LibraryCommands.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "editor/base/CodeTables.h"
#include "editor/devices/Addr.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/devices/PlcLibrary.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

namespace {

std::string FileName(const std::string& a_Path) { return std::filesystem::path(a_Path).filename().string(); }

std::string PortInterfaces(const CHardwarePort& a_Port) {
  if (a_Port.m_Type == "can") return a_Port.m_Can ? "CAN" : "";
  std::string text;
  const auto add = [&text](bool a_On, const char* a_Name) {
    if (!a_On) return;
    if (!text.empty()) text += "/";
    text += a_Name;
  };
  add(a_Port.m_Rs232, NameOf(kSerialTypes, 0));
  add(a_Port.m_Rs485Two, NameOf(kSerialTypes, 1));
  add(a_Port.m_Rs485Four, NameOf(kSerialTypes, 2));
  return text;
}

const char* LibraryText(std::span<const NamedCode> a_Table, int32_t a_Code) {
  const char* name = NameOf(a_Table, a_Code);
  return name != nullptr ? name : "?";
}

const char* WidthText(int32_t a_Width) { return LibraryText(kLibraryWidths, a_Width); }
const char* BaseText(int32_t a_Base) { return LibraryText(kLibraryBases, a_Base); }
const char* UnitText(int32_t a_Unit) { return LibraryText(kLibraryUnits, a_Unit); }

std::string BaudText(int32_t a_Code) {
  const NumberedCode* rate = FindCode(kBaudRates, a_Code);
  return rate != nullptr ? std::to_string(rate->m_Number) : "?";
}

std::string ParityText(int32_t a_Parity) {
  const char* name = NameOf(kParities, a_Parity);
  return name != nullptr ? name : "? (" + std::to_string(a_Parity) + ")";
}

void PrintRegisterType(std::ostream& a_Out, const CRegisterType& a_Type) {
  a_Out << "      " << a_Type.m_Name << "  id " << a_Type.m_Id << ", " << WidthText(a_Type.m_Width)
        << ", address " << BaseText(a_Type.m_AddressBase) << " in " << UnitText(a_Type.m_AddressUnit)
        << " units";
  if (a_Type.m_HasSubAddress) {
    a_Out << ", sub-address " << a_Type.m_SubBits << " bits " << BaseText(a_Type.m_SubBase);
  }
  if (a_Type.m_HasIndex) {
    a_Out << ", index " << FormatInBase(a_Type.m_IndexMin, a_Type.m_IndexBase) << "~"
          << FormatInBase(a_Type.m_IndexMax, a_Type.m_IndexBase) << " " << BaseText(a_Type.m_IndexBase);
  }
  if (a_Type.m_BigEndian) a_Out << ", big-endian";
  a_Out << ": " << RangeText(a_Type) << "\n";
}

void PrintProtocol(std::ostream& a_Out, const CPlcEntry& a_Entry, const CPLCModel& a_Model,
                   const std::string& a_Driver0, const std::string& a_Driver1) {
  a_Out << "  protocol " << a_Model.m_Id << ": " << a_Model.m_Name << " (" << FileName(a_Entry.m_Path)
        << "; drivers " << FileName(a_Driver0) << ", " << FileName(a_Driver1) << ")\n";
  a_Out << "    stations " << a_Model.m_StationMin << ".." << a_Model.m_StationMax << ", default "
        << a_Model.m_StationDefault << ", station used: " << (a_Model.m_StationUsed ? "yes" : "no") << "\n";
  a_Out << "    serial: " << SerialTypeText(a_Model.m_SerialType) << ", " << BaudText(a_Model.m_BaudRate)
        << " baud, " << (a_Model.m_DataBits == 0 ? 7 : 8) << " data bits, parity "
        << ParityText(a_Model.m_Parity) << ", " << (a_Model.m_StopBits == 0 ? 1 : 2) << " stop bits\n";
  a_Out << "    timing: response timeout " << a_Model.m_ResponseTimeout << " ms, protocol timeouts "
        << a_Model.m_ProtocolTimeout1 << " / " << a_Model.m_ProtocolTimeout2 << ", packet max "
        << a_Model.m_PacketMaxWords << " words / " << a_Model.m_PacketMaxBits << " bits, break intervals "
        << a_Model.m_WordBreakInterval << " words / " << a_Model.m_BitBreakInterval
        << " bits, communication interval " << a_Model.m_CommunicationInterval << " ms\n";
  a_Out << "    supported PLCs:";
  if (a_Model.m_SupportedPlcs.empty()) a_Out << " (none)";
  a_Out << "\n";
  for (const auto& plc : a_Model.m_SupportedPlcs) a_Out << "      " << plc << "\n";
  const std::size_t count = a_Model.m_BitTypes.size() + a_Model.m_WordTypes.size() + a_Model.m_DWordTypes.size();
  a_Out << "    register types (" << count << "):\n";
  for (const auto* list : {&a_Model.m_BitTypes, &a_Model.m_WordTypes, &a_Model.m_DWordTypes}) {
    for (const auto& type : *list) PrintRegisterType(a_Out, type);
  }
}

}  // namespace

int RunModelsCommand(std::ostream& a_Out) {
  CEditorContext context;
  CHardwareLibrary& library = context.GetHardwareLibrary();
  const auto& index = library.Index();
  const auto dir = ProgramDirectory() / "lib" / "hardware";
  if (index.empty()) {
    std::cerr << "KD820: no hardware models in " << dir.string() << "\n";
    return 1;
  }
  a_Out << "hardware models in " << dir.string() << ": " << index.size() << "\n";
  int status = 0;
  for (std::size_t i = 0; i < index.size(); ++i) {
    CHardwareModel model;
    if (!library.LoadModelByIndex(model, i)) {
      std::cerr << "KD820: hardware model file " << index[i].m_Path << " does not load\n";
      status = 1;
      continue;
    }
    a_Out << "\nmodel " << model.m_Id << ": " << model.m_Name << " (" << FileName(index[i].m_Path) << ")\n";
    a_Out << "  description: " << model.m_Description << "\n";
    for (const auto& text : HardwareModelTexts(model)) a_Out << "  " << text << "\n";
    a_Out << "  firmware: " << (model.m_HWFile.empty() ? "(none)" : model.m_HWFile) << ", "
          << (model.m_HWFile2.empty() ? "(none)" : model.m_HWFile2) << "\n";
    a_Out << "  ports (" << model.m_Ports.size() << "):\n";
    for (const auto& port : model.m_Ports) {
      a_Out << "    " << port.m_Id << " " << port.m_DeviceName << " " << port.m_Type << " "
            << PortInterfaces(port) << "\n";
    }
    a_Out << "  keys (" << model.m_Keys.size() << "):\n";
    for (const auto& [id, text] : model.m_Keys) a_Out << "    " << id << " " << text << "\n";
  }
  return status;
}

int RunPlcsCommand(std::ostream& a_Out) {
  CEditorContext context;
  const CPlcLibrary& library = context.GetPlcLibrary();
  const auto& makers = library.Manufacturers();
  const auto dir = ProgramDirectory() / "lib" / "plc";
  if (makers.empty()) {
    std::cerr << "KD820: no PLC manufacturers in " << (dir / "index.CFG").string() << "\n";
    return 1;
  }
  std::size_t protocols = 0;
  for (const auto& maker : makers) protocols += maker.m_Plcs.size();
  a_Out << "PLC library in " << dir.string() << ": " << makers.size() << " manufacturers, " << protocols
        << " protocols\n";
  int status = protocols == 0 ? 1 : 0;
  for (std::size_t m = 0; m < makers.size(); ++m) {
    a_Out << "\nmanufacturer " << makers[m].m_Description << " (" << makers[m].m_Dir << "): "
          << makers[m].m_Plcs.size() << " protocols\n";
    for (std::size_t p = 0; p < makers[m].m_Plcs.size(); ++p) {
      CPLCModel model;
      if (!model.Load(makers[m].m_Plcs[p].m_Path)) {
        std::cerr << "KD820: protocol file " << makers[m].m_Plcs[p].m_Path << " does not load\n";
        status = 1;
        continue;
      }
      PrintProtocol(a_Out, makers[m].m_Plcs[p], model, library.GetDriverFileName(m, p, 0),
                    library.GetDriverFileName(m, p, 1));
    }
  }
  if (protocols == 0) std::cerr << "KD820: the PLC library has no protocol\n";
  return status;
}

}  // namespace kd820
