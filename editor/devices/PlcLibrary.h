#pragma once
// The PLC protocol library (lib/plc/index.CFG and the protocol files it names) and the PLC
// models loaded from protocol files, one program-wide model per port.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor/base/Problem.h"

namespace kd820 {


// Codes of the conversion tables.
enum NumberBase : int32_t { kBaseOct = 0, kBaseDec = 1, kBaseHex = 2 };
enum AddressUnit : int32_t { kUnitBit = 0, kUnitByte = 1, kUnitWord = 2, kUnitDWord = 3 };
enum RegisterWidth : int32_t { kWidthBit = 0, kWidthWord = 1, kWidthDWord = 2 };

// One register type of a protocol ("REG_ADDR").
struct CRegisterType {
  int32_t m_Id = 0;
  std::string m_Name;
  int32_t m_Width = kWidthBit;
  bool m_BigEndian = false;
  int32_t m_AddressMin = 0;
  int32_t m_AddressMax = 0;
  int32_t m_AddressBase = kBaseOct;
  int32_t m_AddressUnit = kUnitBit;
  bool m_HasSubAddress = false;
  int32_t m_SubBits = 0;
  int32_t m_SubMin = 0;
  int32_t m_SubMax = 0;
  int32_t m_SubBase = kBaseOct;
  bool m_HasIndex = false;
  int32_t m_IndexMin = 0;
  int32_t m_IndexMax = 0;
  int32_t m_IndexBase = kBaseOct;
};

class CPLCModel {
 public:
  // Loads a protocol file; false (after "Error Load XML: %s") when it does not parse, the
  // model then keeps what it had.
  bool Load(const std::string& a_Path, IProblemSink& a_Problems = StderrProblems());
  // The same from bytes in memory; a_Name stands for the path in the message. A file whose
  // numbers are not numbers (empty ones read as 0), or whose sub-address length is outside
  // 0..31, does not load.
  bool LoadFromMemory(const void* a_Data, std::size_t a_Size, const std::string& a_Name,
                      IProblemSink& a_Problems = StderrProblems());

  // Names of the bit types (a_Bits) or of the word then double-word types, in file order.
  void ListRegisterNames(bool a_Bits, std::vector<std::string>& a_List) const;
  // The type of that exact name among the bit types, or among the word and double-word types.
  const CRegisterType* FindRegisterType(bool a_Bits, const std::string& a_Name) const;
  bool HasRegisterTypes() const;

  int32_t m_Id = 0;
  std::string m_Name;
  std::vector<std::string> m_SupportedPlcs;
  int32_t m_StationMax = 0;
  int32_t m_StationMin = 0;
  int32_t m_StationDefault = 0;
  bool m_StationUsed = false;
  int32_t m_SerialType = 0;
  int32_t m_BaudRate = 0;
  int32_t m_DataBits = 0;
  int32_t m_Parity = 0;
  int32_t m_StopBits = 0;
  int32_t m_ResponseTimeout = 0;
  int32_t m_ProtocolTimeout1 = 0;
  int32_t m_ProtocolTimeout2 = 0;
  int32_t m_PacketMaxWords = 0;
  int32_t m_PacketMaxBits = 0;
  int32_t m_WordBreakInterval = 0;
  int32_t m_BitBreakInterval = 0;
  int32_t m_CommunicationInterval = 0;
  std::vector<CRegisterType> m_BitTypes;
  std::vector<CRegisterType> m_WordTypes;
  std::vector<CRegisterType> m_DWordTypes;
  std::map<std::string, CRegisterType> m_BitNames;
  std::map<std::string, CRegisterType> m_WordNames;
};

struct CPlcEntry {
  int32_t m_Id = 0;
  std::string m_Name;
  std::string m_Path;
};

struct CManufacturer {
  std::string m_Description;
  std::string m_Dir;
  std::vector<CPlcEntry> m_Plcs;  // sorted by id
};

class CPlcLibrary {
 public:
  // Files that do not load are reported to a_Problems, which must outlive the library.
  explicit CPlcLibrary(IProblemSink& a_Problems = StderrProblems()) : m_Problems(&a_Problems) {}

  const std::vector<CManufacturer>& Manufacturers() const { return m_Manufacturers; }
  void ListManufacturers(std::vector<std::string>& a_List) const;
  void ListPlcs(std::size_t a_Manufacturer, std::vector<std::string>& a_List) const;
  std::string GetPlcPath(std::size_t a_Manufacturer, std::size_t a_Plc) const;
  // True with both 0-based indices of the first entry with that id.
  bool FindPlc(int32_t a_Id, std::size_t* a_Manufacturer, std::size_t* a_Plc) const;
  // The protocol file path without ".CFG", then "_<n>.bin".
  std::string GetDriverFileName(std::size_t a_Manufacturer, std::size_t a_Plc, int a_N) const;
  // Loads the protocol file of that id into a_Model; false (model unchanged) when none has it.
  bool LoadPortModel(CPLCModel& a_Model, int32_t a_Id) const;

  // Builds the library from the program directory's lib/plc.
  void Build();

 private:
  IProblemSink* m_Problems;
  std::vector<CManufacturer> m_Manufacturers;
  std::map<int32_t, std::string> m_PathById;
};

// Conversion tables: the code of a text (upper-cased first); other text reports
// "<Table> Error: <text>" and gives 0.
int32_t TransSerialType(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransBaudRate(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransDataBit(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransStopBit(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransAddressWidth(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransDataMode(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
int32_t TransAddressMode(const std::string& a_Text, IProblemSink& a_Problems = StderrProblems());
// "RS232", "RS485", "RS422" for the codes 0..2, "ERROR" otherwise.
std::string SerialTypeText(int32_t a_Code);

}  // namespace kd820
