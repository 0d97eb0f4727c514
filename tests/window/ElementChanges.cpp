#include "tests/window/ElementChanges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

#include "common/ImageFormat.h"
#include "editor/devices/Addr.h"
#include "editor/devices/EditorContext.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"
#include "editor/ui/window/AddrEditor.h"

using namespace kd820;

namespace test {

void SetAddr(CElementDialog& a_Dialog, const char* a_Type, const char* a_Address, const char* a_Sub) {
  CAddrEditor& editor = *a_Dialog.AddrEditor();
  editor.PortBox().setCurrentIndex(editor.PortBox().findData(CAddr::kInternalPort));
  editor.TypeBox().setCurrentText(a_Type);
  editor.AddressBox().setText(a_Address);
  if (a_Sub != nullptr) editor.SubAddressBox().setText(a_Sub);
}

// The internal address the dialog's editor gives for the same entries.
void SetAddr(CAddr& a_Addr, const char* a_Type, int32_t a_Address, int32_t a_Sub) {
  a_Addr.Reset(std::string(a_Type).ends_with(".B") ? CAddr::kBit : CAddr::kWord);
  a_Addr.m_TypeName = a_Type;
  a_Addr.m_Address = a_Address;
  a_Addr.m_SubAddress = a_Sub;
}

std::vector<CKindChange> Changes() {
  return {
      {kTypeLed,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "shape").setCurrentIndex(1);
         Field<QSpinBox>(d, "imageSize").setValue(3);
         Field<QCheckBox>(d, "invert").setChecked(true);
         Field<QCheckBox>(d, "blink").setChecked(true);
         Field<QSpinBox>(d, "blinkPeriod").setValue(7);
         SetAddr(d, "RW.B", "511", "F");
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& l = static_cast<CLedGE&>(e);
         l.m_Shape = 1, l.m_Size = 3, l.m_Invert = 1, l.m_Blink = 1, l.m_BlinkPeriod = 7;
         SetAddr(l.m_Reg, "RW.B", 511, 15);
       }},
      {kTypeFunckey,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "keyNumber").setValue(63);
         Field<QComboBox>(d, "actionClass").setCurrentIndex(2);
         Field<QComboBox>(d, "wordAction").setCurrentIndex(3);
         Field<QSpinBox>(d, "value").setValue(-5);
         Field<QSpinBox>(d, "limit").setValue(100);
         Field<QCheckBox>(d, "repeatOnPress").setChecked(true);
         Field<QSpinBox>(d, "grade").setValue(4);
         Field<QCheckBox>(d, "restoreLevel").setChecked(true);
         SetAddr(d, "RW", "12");
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& k = static_cast<CFunckeyGE&>(e);
         k.m_KeyNumber = 63, k.m_ActionClass = 2, k.m_WordSet.m_Action = 3, k.m_WordSet.m_Value = -5;
         k.m_WordSet.m_Limit = 100, k.m_WordSet.m_RepeatOnPress = 1, k.m_Grade = 4, k.m_RestoreLevel = 1;
         SetAddr(k.m_Reg, "RW", 12);
       }},
      {kTypeStaticText,
       [](CElementDialog& d) {
         Field<QLineEdit>(d, "text").setText("RUN 1");
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(0);
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& t = static_cast<CStaticText&>(e);
         t.SetSizeIndex(0);
         t.EnterText("RUN 1", c);
       }},
      {kTypeDynamicText,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "alignment").setCurrentIndex(2);
         Field<QTableWidget>(d, "states").item(0, 0)->setText("OFF");
         Field<QTableWidget>(d, "states").item(255, 0)->setText("LAST");
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(1);
         Field<QCheckBox>(d, "builtin").setChecked(true);
         SetAddr(d, "LW", "255");
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& t = static_cast<CDynamicText&>(e);
         t.m_Alignment = 2;
         t.GetState(1)->m_Text = "OFF";
         t.GetState(256)->m_Text = "LAST";
         t.SetSizeIndex(1);
         t.SetBuiltinOption(1);
         SetAddr(t.m_Reg, "LW", 255);
         t.UpdateSize(c);
       }},
      {kTypeRegister,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "dataType").setCurrentIndex(3);
         Field<QSpinBox>(d, "integerDigits").setValue(5);
         Field<QSpinBox>(d, "decimalDigits").setValue(2);
         Field<QCheckBox>(d, "register32").setChecked(true);
         Field<QCheckBox>(d, "inputEnabled").setChecked(true);
         Field<QCheckBox>(d, "limitEnabled").setChecked(true);
         Field<QDoubleSpinBox>(d, "inputUpper").setValue(99.5);
         Field<QCheckBox>(d, "projection").setChecked(true);
         Field<QDoubleSpinBox>(d, "projectionLower").setValue(-10);
         Field<QComboBox>(d, "alignment").setCurrentIndex(0);
         Field<QSpinBox>(d, "inputOrder").setValue(3);
         SetAddr(d, "RW", "0");
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& r = static_cast<CRegisterGE&>(e);
         r.m_Type = 3, r.m_ShowBits = 5, r.m_FloatBits = 2, r.m_RegWidth = 1, r.m_Setting = 1, r.m_Limit = 1;
         r.m_InputUpper = 99.5, r.m_Projection = 1, r.m_PrjLower = -10, r.m_Alignment = 0;
         r.SetInputOrder(3);
         SetAddr(r.m_Reg, "RW", 0);
         r.UpdateSize(c);
       }},
      {kTypeBar,
       [](CElementDialog& d) {
         Field<QComboBox>(d, "dataType").setCurrentIndex(4);
         Field<QComboBox>(d, "direction").setCurrentIndex(3);
         Field<QDoubleSpinBox>(d, "upper").setValue(100);
         Field<QDoubleSpinBox>(d, "lower").setValue(-100);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& b = static_cast<CBarGE&>(e);
         b.m_DataType = 4, b.m_DrawDir = 3, b.m_Upper = 100, b.m_Lower = -100;
       }},
      {kTypeTrend,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "points").setValue(50);
         Field<QSpinBox>(d, "period").setValue(1);
         Field<QCheckBox>(d, "register32").setChecked(true);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& t = static_cast<CTrendGE&>(e);
         t.m_Points = 50, t.m_Period = 1, t.m_RegWidth = 1;
       }},
      {kTypePicture,
       [](CElementDialog& d) {
         Field<QCheckBox>(d, "compress").setChecked(true);
         Field<QCheckBox>(d, "leftFill").setChecked(true);
         Field<QSpinBox>(d, "left").setValue(3);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& p = static_cast<CPictureGE&>(e);
         p.m_Trait.m_Compress = 1, p.m_Trait.m_LeftFill = 1;
         p.SetLeft(3);
       }},
      {kTypeAscii,
       [](CElementDialog& d) {
         Field<QSpinBox>(d, "charCount").setValue(10);
         Field<QComboBox>(d, "sizeIndex").setCurrentIndex(0);
       },
       [](CGraphElement& e, CEditorContext& c) {
         auto& a = static_cast<CAsciiGE&>(e);
         a.SetCharCount(10);
         a.SetSizeIndex(0);
         a.UpdateSize(c);
       }},
      {kTypeEventList,
       [](CElementDialog& d) {
         Field<QCheckBox>(d, "showNumber").setChecked(true);
         Field<QComboBox>(d, "dateStyle").setCurrentIndex(2);
         Field<QComboBox>(d, "dateSeparator").setCurrentIndex(2);
         Field<QComboBox>(d, "timeStyle").setCurrentIndex(1);
         Field<QSpinBox>(d, "wordValue").setValue(65535);
         Field<QCheckBox>(d, "reverse").setChecked(true);
       },
       [](CGraphElement& e, CEditorContext&) {
         auto& l = static_cast<CEventListGE&>(e);
         l.m_ShowNumber = 1, l.m_DateStyle = 2, l.m_DateSeparator = 2, l.m_TimeStyle = 1, l.m_WordValue = 65535;
         l.SetReverse(true);
       }},
  };
}


}  // namespace test
