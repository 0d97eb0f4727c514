#include "editor/project/EditRules.h"

#include <algorithm>
#include <limits>

#include "editor/project/KV410Project.h"
#include "platform/Translate.h"

namespace kd820 {

const std::vector<std::pair<std::string, uint16_t>>& ScreenSaverChoices() {
  static const std::vector<std::pair<std::string, uint16_t>> kChoices = {
      {N_("从不"), 0},     {N_("1分钟"), 1},   {N_("2分钟"), 2},   {N_("3分钟"), 3},   {N_("5分钟"), 5},   {N_("10分钟"), 10},
      {N_("15分钟"), 15}, {N_("20分钟"), 20}, {N_("30分钟"), 30}, {N_("45分钟"), 45}, {N_("1小时"), 60}};
  return kChoices;
}

std::optional<std::size_t> ScreenSaverChoiceIndex(uint16_t a_Minutes) {
  const auto& choices = ScreenSaverChoices();
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].second == a_Minutes) return i;
  }
  return std::nullopt;
}

bool ScreenSaverFrameEnabled(const CGlobalSettings& a_Settings) {
  return (a_Settings.m_Flags & CGlobalSettings::kBacklightOnly) == 0;
}

bool PasswordLevelEnabled(const CGlobalSettings& a_Settings) {
  return (a_Settings.m_Flags & CGlobalSettings::kPasswordToWake) != 0;
}

bool CommonFrameEnabled(const CGlobalSettings& a_Settings) {
  return (a_Settings.m_Flags & CGlobalSettings::kCommonFrameUsed) != 0;
}

bool ControlAddressEnabled(const CGlobalSettings& a_Settings) {
  return (a_Settings.m_ControlFlags &
          (CGlobalSettings::kPlcSelectsFrame | CGlobalSettings::kReportFrame)) != 0;
}

void ApplySettingsDialog(CGlobalSettings& a_Settings, const CGlobalSettings& a_Edited) {
  const uint32_t ownBit = a_Settings.m_Flags & CGlobalSettings::kOwnMessageLanguage;
  a_Settings = a_Edited;
  a_Settings.m_Flags = (a_Edited.m_Flags & ~CGlobalSettings::kOwnMessageLanguage) | ownBit;
  a_Settings.m_PasswordMask = 255;
  a_Settings.m_ControlFlags &= ~0x80;
  if ((a_Settings.m_Flags & CGlobalSettings::kCommonFrameUsed) != 0) a_Settings.m_ControlFlags |= 0x80;
}

std::optional<std::string> CheckAlarmItem(const CAlarmItemInput& a_Input) {
  if (a_Input.m_Item.m_Text.empty()) return std::string(Tr("信息输入不能为空"));
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  for (int64_t v : {a_Input.m_Value, a_Input.m_RangeA, a_Input.m_RangeB}) {
    if (v < kMin || v > kMax) return std::string(Tr("字状态取值范围越界，必须在-2147483648和2147483647"));
  }
  if (a_Input.m_Item.m_RangeUsed != 0 && a_Input.m_RangeA < a_Input.m_RangeB) {
    return std::string(Tr("上限必须大于下限"));
  }
  return std::nullopt;
}

std::optional<std::string> AddAlarmToList(std::vector<CAlarmItem>& a_List, const CAlarmItem& a_Item,
                                          const CEditorContext& a_Context) {
  if (std::any_of(a_List.begin(), a_List.end(),
                  [&](const CAlarmItem& a_Listed) { return a_Listed.SameAs(a_Item, a_Context); })) {
    return std::string(Tr("报警设置条目已存在"));
  }
  a_List.push_back(a_Item);
  return std::nullopt;
}

void ApplyAlarmDialog(CAlarmSettings& a_Alarms, const CAlarmSettings& a_Edited, const CEditorContext& a_Context) {
  a_Alarms.m_Alarms.clear();
  for (const CAlarmItem& item : a_Edited.m_Alarms) a_Alarms.AddAlarm(item, a_Context);
  a_Alarms.m_FontSizeIndex = a_Edited.m_FontSizeIndex;
  a_Alarms.m_TextOption = a_Edited.m_TextOption;
  a_Alarms.m_FontName = a_Edited.m_FontName;
  a_Alarms.m_AlarmFrame = a_Edited.m_AlarmFrame;
  a_Alarms.m_AlarmFrameOption = a_Edited.m_AlarmFrameOption;
  a_Alarms.m_ReservedSwitch = 1;
}

std::optional<std::string> CheckTransferItem(const CDataTransferItem& a_Item) {
  if (a_Item.m_Count < 1) return std::string(Tr("传输个数必须大于0"));
  if (a_Item.m_Periodic == 0 && a_Item.m_EdgeMode == CDataTransferItem::kNoEdge) {
    return std::string(Tr("请选择触发方式"));
  }
  if (a_Item.m_Periodic != 0 && a_Item.m_Period < 1) return std::string(Tr("触发周期必须大于0"));
  if (a_Item.m_ExecutionLimit < 0) return std::string(Tr("执行次数不能小于0"));
  if (a_Item.m_Frame < 0) return std::string(Tr("有效窗口不能小于0"));
  return std::nullopt;
}

std::optional<std::string> AddTransferToList(std::vector<CDataTransferItem>& a_List,
                                             const CDataTransferItem& a_Item, const CEditorContext& a_Context) {
  if (std::any_of(a_List.begin(), a_List.end(),
                  [&](const CDataTransferItem& a_Listed) { return a_Listed.SameAs(a_Item, a_Context); })) {
    return std::string(Tr("数据传输条目已存在"));
  }
  a_List.push_back(a_Item);
  return std::nullopt;
}

std::optional<std::string> ApplyLanguageDialog(CKV410Project& a_Project, int a_Count,
                                               const std::vector<CLanguageRow>& a_Rows,
                                               bool a_MessagesInFirstLanguage) {
  if (a_Count < 1 || a_Count > CLangDefine::kMaxLanguages) return std::string(Tr("请至少配置一种语言！"));
  if (a_Rows.size() < static_cast<std::size_t>(a_Count)) return std::string(Tr("请选择语言！"));
  for (int i = 0; i < a_Count; ++i) {
    if (!a_Rows[static_cast<std::size_t>(i)].m_LanguageId) return std::string(Tr("请选择语言！"));
    if (a_Rows[static_cast<std::size_t>(i)].m_FontName.empty()) return std::string(Tr("请选择字体！"));
  }
  auto& items = a_Project.GetLangDefine().m_Items;
  items.clear();
  for (int i = 0; i < a_Count; ++i) {
    const CLanguageRow& row = a_Rows[static_cast<std::size_t>(i)];
    items.push_back(std::make_unique<CLangDefineItem>(*row.m_LanguageId, row.m_FontName));
  }
  uint32_t& flags = a_Project.GetSettings().m_Flags;
  if (a_MessagesInFirstLanguage) {
    flags &= ~CGlobalSettings::kOwnMessageLanguage;
  } else {
    flags |= CGlobalSettings::kOwnMessageLanguage;
  }
  return std::nullopt;
}

}  // namespace kd820
