#pragma once
// The checks and rules the settings, alarm and language dialogs apply, without a window.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/project/AlarmSettings.h"
#include "editor/project/DataTransfer.h"
#include "editor/project/GlobalSettings.h"

namespace kd820 {

class CKV410Project;

// ---- global settings ----------------------------------------------------------------------

// The screen-saver delay choices: text and minutes.
const std::vector<std::pair<std::string, uint16_t>>& ScreenSaverChoices();
// The choice of a stored number of minutes; nullopt when it is none of them.
std::optional<std::size_t> ScreenSaverChoiceIndex(uint16_t a_Minutes);

// Which fields of the settings dialog can be edited, given the values shown.
bool ScreenSaverFrameEnabled(const CGlobalSettings& a_Settings);
bool PasswordLevelEnabled(const CGlobalSettings& a_Settings);
bool CommonFrameEnabled(const CGlobalSettings& a_Settings);
bool ControlAddressEnabled(const CGlobalSettings& a_Settings);

// The dialog's OK: stores the edited values; flag bit 6 (owned by the language dialog) keeps
// its value, control flag bit 7 copies flag bit 7, the password mask stays 255.
void ApplySettingsDialog(CGlobalSettings& a_Settings, const CGlobalSettings& a_Edited);

// ---- alarms --------------------------------------------------------------------------------

// An alarm item as typed: the limits before they are narrowed to 32 bits.
struct CAlarmItemInput {
  CAlarmItem m_Item;
  int64_t m_Value = 0;
  int64_t m_RangeA = 0;  // upper
  int64_t m_RangeB = 0;  // lower
};

// The item dialog's checks; the message to show, or nullopt when the item is acceptable.
std::optional<std::string> CheckAlarmItem(const CAlarmItemInput& a_Input);
// Adds the item to the dialog's list unless an equal one is there ("报警设置条目已存在").
std::optional<std::string> AddAlarmToList(std::vector<CAlarmItem>& a_List, const CAlarmItem& a_Item,
                                          const CEditorContext& a_Context);

// The alarm dialog's OK: the list is emptied and every item of the dialog's list added with
// AddAlarm; the font and the frame values are stored, the reserved switch stays 1.
void ApplyAlarmDialog(CAlarmSettings& a_Alarms, const CAlarmSettings& a_Edited, const CEditorContext& a_Context);

// ---- data transfers ------------------------------------------------------------------------

// The transfer item dialog's checks: at least one register to copy, a trigger (periodic or an
// edge of the trigger bit), a period of at least one tick when periodic. The message to show,
// or nullopt.
std::optional<std::string> CheckTransferItem(const CDataTransferItem& a_Item);
// Adds the item to the dialog's list unless an equal one is there ("数据传输条目已存在").
std::optional<std::string> AddTransferToList(std::vector<CDataTransferItem>& a_List,
                                             const CDataTransferItem& a_Item, const CEditorContext& a_Context);

// ---- languages -----------------------------------------------------------------------------

struct CLanguageRow {
  std::optional<uint16_t> m_LanguageId;  // none chosen
  std::string m_FontName;                // empty: none chosen
};

// The language dialog's OK: a_Count languages (0: none chosen) from the first rows; the
// panel's own messages in the first language choice or another. Returns the message that
// keeps the dialog open, or nullopt after the project was changed.
std::optional<std::string> ApplyLanguageDialog(CKV410Project& a_Project, int a_Count,
                                               const std::vector<CLanguageRow>& a_Rows,
                                               bool a_MessagesInFirstLanguage);

}  // namespace kd820
