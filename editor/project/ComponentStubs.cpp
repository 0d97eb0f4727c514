// Temporary stand-ins so the tree links while the components are written. Delete this file
// once GlobalSettings.cpp, AlarmSettings.cpp, PortCom.cpp, DataTransfer.cpp, LangDefine.cpp
// and editor/compiler/SingleColorBitmapLib.cpp exist.
#include "editor/compiler/SingleColorBitmapLib.h"
#include "editor/project/AlarmSettings.h"
#include "editor/project/DataTransfer.h"
#include "editor/project/GlobalSettings.h"
#include "editor/project/LangDefine.h"
#include "editor/project/PortCom.h"

KD_IMPLEMENT_SERIAL(CPortCom, nullptr, 1)
KD_IMPLEMENT_SERIAL(CPortCan, nullptr, 1)
KD_IMPLEMENT_SERIAL(CLangDefine, nullptr, 0)
KD_IMPLEMENT_SERIAL(CLangDefineItem, nullptr, 0)
KD_IMPLEMENT_SERIAL(CSingleColorBitmapLibItem, nullptr, 0)

CGlobalSettings::CGlobalSettings() {}
void CGlobalSettings::Serialize(CArchive&) {}
void CGlobalSettings::SwapPorts(int32_t, int32_t) {}
void CGlobalSettings::ResetChangedPorts() {}
void CAlarmItem::Serialize(CArchive&) {}
bool CAlarmItem::operator==(const CAlarmItem&) const { return false; }
CAlarmSettings::CAlarmSettings() {}
void CAlarmSettings::Serialize(CArchive&) {}
bool CAlarmSettings::AddAlarm(const CAlarmItem&) { return false; }
void CAlarmSettings::SwapPorts(int32_t, int32_t) {}
void CAlarmSettings::ResetChangedPorts() {}
void CPortCom::Serialize(CArchive&) {}
void CPortCom::SwapContents(CPortCom&) {}
void CPortCan::Serialize(CArchive&) {}
void CDataTransferItem::Serialize(CArchive&) {}
bool CDataTransferItem::operator==(const CDataTransferItem&) const { return false; }
void CDataTransferList::Serialize(CArchive&) {}
void CDataTransferList::SwapPorts(int32_t, int32_t) {}
void CDataTransferList::ResetChangedPorts() {}
uint16_t SystemDefaultLanguageId() { return 0x0804; }
std::string DefaultFontName() { return "Microsoft Sans Serif"; }
void CLangDefineItem::Serialize(CArchive&) {}
CLangDefine::CLangDefine() {}
void CLangDefine::Serialize(CArchive&) {}
std::string CLangDefine::GetFontName(std::size_t) const { return DefaultFontName(); }
uint16_t CLangDefine::GetLanguageId(std::size_t) const { return SystemDefaultLanguageId(); }
void CSingleColorBitmapLibItem::Serialize(CArchive&) {}
bool CSingleColorBitmapLibItem::IsIdentical(const CSingleColorBitmapLibItem&) const { return false; }
int32_t CSingleColorBitmapLib::LoadFromFile(const std::string&) { return kCannotOpen; }
int32_t CSingleColorBitmapLib::AddItem(int32_t, int32_t, std::vector<uint8_t>) { return 0; }
const CSingleColorBitmapLibItem* CSingleColorBitmapLib::FindItem(int32_t) const { return nullptr; }
int32_t CSingleColorBitmapLib::GetWidth(int32_t) const { return 0; }
int32_t CSingleColorBitmapLib::GetHeight(int32_t) const { return 0; }
void CSingleColorBitmapLib::ResetUseCounts() {}
void CSingleColorBitmapLib::AddUse(int32_t) {}
void CSingleColorBitmapLib::Serialize(CArchive&) {}
