#pragma once
// The project: ports, languages, frames, settings, alarms, bitmap library and data transfers,
// and its body in the project file.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/screens/SingleColorBitmapLib.h"
#include "editor/project/AlarmSettings.h"
#include "editor/base/Archive.h"
#include "editor/project/DataTransfer.h"
#include "editor/project/GlobalSettings.h"
#include "editor/project/LangDefine.h"
#include "editor/project/PortCom.h"
#include "editor/screens/HMIFrame.h"

namespace kd820 {

// Raised while loading a project written by a newer version of the editor.
class ProjectVersionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CKV410Project : public CObject {
  KD_DECLARE_SERIAL(CKV410Project)

 public:
  using FrameList = std::vector<std::unique_ptr<CHMIFrame>>;
  static constexpr int32_t kFileVersion = 5;
  static constexpr int32_t kOldestReaderVersion = 5;
  static constexpr int kSerialPortCount = 3;

  CKV410Project();
  ~CKV410Project() override;

  // Sets the path of the project file and derives the name and the image path from it.
  void SetPath(const std::string& a_Path);
  const std::string& GetName() const { return m_Name; }
  const std::string& GetPath() const { return m_Path; }
  const std::string& GetImagePath() const { return m_ImagePath; }
  // The project directory followed by "image".
  std::string GetImageDirectory() const;

  // The versions in the file the project was loaded from (the current ones for a new project).
  int32_t GetLoadedFileVersion() const { return m_LoadedFileVersion; }
  int32_t GetLoadedOldestReader() const { return m_LoadedOldestReader; }

  int32_t GetHardwareModelId() const { return m_HardwareModelId; }
  void SetHardwareModelId(int32_t a_Id) { m_HardwareModelId = a_Id; }
  bool GetElementLabels() const { return m_ElementLabels != 0; }
  void SetElementLabels(bool a_On) { m_ElementLabels = a_On ? 1 : 0; }
  // The element-labels word as the project file holds it (any value but 0 counts as on).
  int32_t GetStoredElementLabels() const { return m_ElementLabels; }
  void SetStoredElementLabels(int32_t a_Word) { m_ElementLabels = a_Word; }
  // The face the project's text elements start with: the font of its first language.
  std::string DefaultTextFace() const { return m_LangDefine.GetFontName(0); }
  // Gives a new element of the project the project's defaults (the face of a text element).
  void ApplyElementDefaults(CGraphElement& a_Element) const;

  // The serial port 0, 1 or 2; null for any other number.
  CPortCom* GetPort(int a_Number);
  const CPortCom* GetPort(int a_Number) const;
  CPortCan& GetCanPort() { return m_CanPort; }
  const CPortCan& GetCanPort() const { return m_CanPort; }
  CLangDefine& GetLangDefine() { return m_LangDefine; }
  const CLangDefine& GetLangDefine() const { return m_LangDefine; }
  CGlobalSettings& GetSettings() { return m_Settings; }
  const CGlobalSettings& GetSettings() const { return m_Settings; }
  CAlarmSettings& GetAlarms() { return m_Alarms; }
  const CAlarmSettings& GetAlarms() const { return m_Alarms; }
  CSingleColorBitmapLib& GetBitmapLib() { return m_BitmapLib; }
  const CSingleColorBitmapLib& GetBitmapLib() const { return m_BitmapLib; }
  CDataTransferList& GetTransfers() { return m_Transfers; }
  const CDataTransferList& GetTransfers() const { return m_Transfers; }

  const FrameList& GetFrames() const { return m_Frames; }
  CHMIFrame* FindFrame(uint16_t a_Number) const;
  // Appends the frame and keeps the list sorted; refused (the frame is returned to the
  // caller untouched through a_Frame) when a frame with its number exists.
  bool AddFrame(std::unique_ptr<CHMIFrame>& a_Frame);
  // Appends frames of distinct numbers (none held by a frame of the project) and sorts the list
  // once; false, with nothing added, when a number is taken twice.
  bool AddFrames(FrameList a_Frames);
  // Removes the frame from the list and destroys it; false when it is not in the list.
  bool RemoveFrame(CHMIFrame* a_Frame);
  // Takes the frame out of the list without destroying it; null when it is not in the list.
  std::unique_ptr<CHMIFrame> DetachFrame(CHMIFrame* a_Frame);
  CHMIFrame* GetFrameAfter(const CHMIFrame* a_Frame) const;
  CHMIFrame* GetFrameBefore(const CHMIFrame* a_Frame) const;
  uint16_t NextFreeFrameNumber() const;
  void SortFrames();

  // Exchanges everything that refers to serial ports a and b, and the two ports' settings.
  // Returns false with a_Error set when a port is outside 0..2.
  bool SwapPorts(int a_A, int a_B, std::string* a_Error = nullptr);
  // Asks every component to reset what refers to a port marked in a_Changed (its PLC was
  // changed) to the default internal address.
  void ResetPortConfiguration(const std::array<bool, 4>& a_Changed);
  // The lowest enabled port (COM0..COM2, then CAN), where new addresses go; internal without.
  int32_t LowestEnabledPort() const;

  // Sets the use count of every bitmap library item to the number of pictures showing it
  // (storing does this first: only used items are written).
  void CountBitmapUses();
  // Those numbers, one per library item in library order, leaving the items as they are.
  std::vector<int32_t> BitmapUseCounts() const;

  void Serialize(CArchive& a_Ar) override;

 private:
  std::string m_Name;
  std::string m_Path;
  std::string m_ImagePath;
  int32_t m_LoadedFileVersion = kFileVersion;
  int32_t m_LoadedOldestReader = kOldestReaderVersion;
  int32_t m_HardwareModelId = 0;
  int32_t m_ElementLabels = 1;
  std::array<CPortCom, kSerialPortCount> m_Ports;
  CPortCan m_CanPort;
  CLangDefine m_LangDefine;
  FrameList m_Frames;
  CGlobalSettings m_Settings;
  CAlarmSettings m_Alarms;
  CSingleColorBitmapLib m_BitmapLib;
  CDataTransferList m_Transfers;
};

}  // namespace kd820
