#pragma once
// The panel hardware models (lib/hardware/*.CFG).
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/base/Problem.h"

namespace kd820 {

struct CHardwarePort {
  int32_t m_Id = 0;  // 0..2 serial COM0..COM2, 3 CAN
  std::string m_Type;  // "serial" or "can"
  std::string m_DeviceName;
  bool m_Rs232 = false;
  bool m_Rs485Two = false;   // shown as "RS485"
  bool m_Rs485Four = false;  // shown as "RS422"
  bool m_Can = false;
};

struct CHardwareModel {
  int32_t m_Version = 0;
  int32_t m_Id = -1;
  std::string m_Name;
  std::string m_Description;
  std::string m_Size;
  int32_t m_ResolutionX = 0;
  int32_t m_ResolutionY = 0;
  int32_t m_Palette = 0;
  int32_t m_KeyCount = 0;
  bool m_Touch = false;
  bool m_Encoder = false;
  std::string m_HWFile;
  std::string m_HWFile2;
  std::vector<CHardwarePort> m_Ports;  // sorted by id
  std::vector<std::pair<int32_t, std::string>> m_Keys;
};

struct CHardwareIndexEntry {
  int32_t m_Id = 0;
  std::string m_Path;
  std::string m_Description;
};

class CHardwareLibrary {
 public:
  // Files that do not load are reported to a_Problems, which must outlive the library.
  explicit CHardwareLibrary(IProblemSink& a_Problems = StderrProblems()) : m_Problems(&a_Problems) {}

  // Lists lib/hardware/*.CFG under the program directory once; later calls do nothing.
  void BuildIndex();
  const std::vector<CHardwareIndexEntry>& Index();
  void ListModels(std::vector<std::string>& a_List);
  bool LoadModelByIndex(CHardwareModel& a_Model, std::size_t a_Index);
  // False, with a_Model unchanged, when no file has the id.
  bool LoadModelById(CHardwareModel& a_Model, int32_t a_Id);
  // Parses one model file; false after "Error Load XML: %s" when it does not load.
  static bool LoadModel(CHardwareModel& a_Model, const std::string& a_Path,
                        IProblemSink& a_Problems = StderrProblems());
  // The same from bytes in memory; a_Name stands for the path in the message. A model file
  // whose numbers are not numbers, or whose palette or resolution are out of range, does not
  // load; a_Model is left unchanged whenever the result is false.
  static bool LoadModelFromMemory(CHardwareModel& a_Model, const void* a_Data, std::size_t a_Size,
                                  const std::string& a_Name,
                                  IProblemSink& a_Problems = StderrProblems());

 private:
  IProblemSink* m_Problems;
  bool m_Built = false;
  std::vector<CHardwareIndexEntry> m_Index;
};

std::string GetPortDeviceName(const CHardwareModel& a_Model, int32_t a_PortId);
int32_t GetPortId(const CHardwareModel& a_Model, const std::string& a_DeviceName);
// The hardware page's texts for a model, in display order.
std::vector<std::string> HardwareModelTexts(const CHardwareModel& a_Model);

}  // namespace kd820
