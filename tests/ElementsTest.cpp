// Screen elements and frames of the project model: archive forms, old versions, copies,
// input order and element numbering.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/project/ClassTable.h"
#include "editor/devices/Addr.h"
#include "editor/base/Archive.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"

using namespace kd820;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Store(CObject& a_Object) {
  CArchive ar;
  a_Object.Serialize(ar);
  return ar.Bytes();
}

template <class T>
std::unique_ptr<T> Load(const Bytes& a_Bytes) {
  CArchive ar(a_Bytes, FindArchiveClass);
  auto element = std::make_unique<T>();
  element->Serialize(ar);
  EXPECT_EQ(ar.Remaining(), 0u) << "bytes left after the element";
  return element;
}

// Loads the element's bytes and stores the result again: nothing may change.
template <class T>
void ExpectReloadsIdentically(T& a_Element) {
  const Bytes bytes = Store(a_Element);
  auto loaded = Load<T>(bytes);
  EXPECT_EQ(Store(*loaded), bytes);
  EXPECT_EQ(loaded->GetName(), a_Element.GetName());
  EXPECT_EQ(loaded->GetRect(), a_Element.GetRect());
}

// An expected archive form: the element's base part, then primitives as listed.
class Form {
 public:
  explicit Form(CGraphElement& a_Element) { a_Element.CGraphElement::Serialize(m_Ar); }
  Form& U8(uint8_t a_Value) { m_Ar.WriteU8(a_Value); return *this; }
  Form& U16(uint16_t a_Value) { m_Ar.WriteU16(a_Value); return *this; }
  Form& U32(uint32_t a_Value) { m_Ar.WriteU32(a_Value); return *this; }
  Form& I32(int32_t a_Value) { m_Ar.WriteU32(static_cast<uint32_t>(a_Value)); return *this; }
  Form& F64(double a_Value) { m_Ar.Io(a_Value); return *this; }
  Form& Str(const std::string& a_Value) { m_Ar.WriteString(a_Value); return *this; }
  Form& Body(CObject&& a_Object) { a_Object.Serialize(m_Ar); return *this; }
  Form& Addr(CAddr a_Addr) { return Body(std::move(a_Addr)); }
  const Bytes& Done() const { return m_Ar.Bytes(); }

 private:
  CArchive m_Ar;
};

CAddr PortAddr(int32_t a_Port, int32_t a_Address) {
  CAddr a;
  a.m_Width = CAddr::kDoubleWord;
  a.m_Port = a_Port;
  a.m_Station = 7;
  a.m_TypeName = "DM";
  a.m_Note = "泵";
  a.m_Address = a_Address;
  a.m_HasSubAddress = a.m_SubAddress = a.m_HasIndex = a.m_Index = a.m_Bcd = a.m_Length = 2;
  return a;
}

void PopulateBase(CGraphElement& a_Element) {
  a_Element.SetNumber(7);
  a_Element.SetPosition(11, 12);
  a_Element.SetWidth(30);
  a_Element.SetHeight(14);
  a_Element.SetDoubleSize(true, 192, 64);
  a_Element.SetReverse(true);
  a_Element.m_StoredWord1 = 21;
  a_Element.m_StoredWord2 = -22;
  a_Element.SetInputOrder(4);
}

// Every field away from its default; 32-bit booleans also carry values other than 0 and 1.
void Populate(CStaticText& a_E) {
  PopulateBase(a_E);
  a_E.SetText("RUN 运行");
  a_E.SetSizeIndex(4);
  a_E.m_FurtherWord = -3;
  a_E.SetFace("WenQuanYi Zen Hei");
  a_E.SetBuiltinOption(2);
}

void Populate(CDynamicText& a_E) {
  PopulateBase(a_E);
  a_E.SetSizeIndex(1);
  a_E.m_FurtherWord = 44;
  a_E.SetFace("DejaVu Sans");
  a_E.m_Alignment = 2;
  a_E.SetBuiltinOption(3);
  for (int value = 1; value <= CDynamicText::kStateCount; ++value) {
    CTextItem* item = a_E.GetState(value);
    item->m_Text = "S" + std::to_string(value);
    item->m_SecondText = value % 2 == 0 ? "T" + std::to_string(value) : "";
    item->m_Flag = value % 3;
  }
  a_E.m_Reg = PortAddr(0, 1);
}

void Populate(CAsciiGE& a_E) {
  PopulateBase(a_E);
  a_E.SetCharCount(12);
  a_E.SetSizeIndex(0);
  a_E.m_Reg = PortAddr(1, 2);
}

void Populate(CRegisterGE& a_E) {
  PopulateBase(a_E);
  a_E.m_Type = CRegisterGE::kDouble;
  a_E.m_ShowBits = 6;
  a_E.m_FloatBits = 3;
  a_E.m_RegWidth = 1;
  a_E.m_FillZero = 2;
  a_E.m_SizeIndex = 3;
  a_E.m_Setting = a_E.m_Limit = a_E.m_Projection = a_E.m_RestoreLevel = 1;
  a_E.m_Grade = 5;
  a_E.m_InputUpper = 123.25;
  a_E.m_InputLower = -7.5;
  a_E.m_PrjUpper = 1e6;
  a_E.m_PrjLower = -1e6;
  a_E.m_Alignment = 2;
  a_E.m_Reg = PortAddr(2, 3);
}

void Populate(CLedGE& a_E) {
  PopulateBase(a_E);
  a_E.m_Shape = CLedGE::kSquare;
  a_E.m_Size = 4;
  a_E.m_Invert = a_E.m_BlinkWhileOn = 1;
  a_E.m_Blink = 2;
  a_E.m_BlinkPeriod = 9;
  a_E.m_Reg = PortAddr(0, 4);
}

void Populate(CBarGE& a_E) {
  PopulateBase(a_E);
  a_E.m_DataType = 3;
  a_E.m_RegWidth = 1;
  a_E.m_DrawDir = CBarGE::kRight;
  a_E.m_Upper = 100.5;
  a_E.m_Lower = -100.25;
  a_E.m_Reg = PortAddr(1, 5);
}

void Populate(CTrendGE& a_E) {
  PopulateBase(a_E);
  a_E.m_DataType = 4;
  a_E.m_RegWidth = 1;
  a_E.m_Upper = 55.5;
  a_E.m_Lower = 5.5;
  a_E.m_Points = 64;
  a_E.m_Period = 3;
  a_E.m_Reg = PortAddr(2, 6);
}

void Populate(CPictureGE& a_E) {
  PopulateBase(a_E);
  a_E.m_ItemId = 17;
  a_E.m_Trait = {1, 2, 3, 4};
}

void Populate(CEventListGE& a_E) {
  PopulateBase(a_E);
  a_E.m_ShowNumber = a_E.m_FourDigitYear = a_E.m_NoLeadingZero = a_E.m_FurtherFlag1 = 1;
  a_E.m_ShowDate = a_E.m_ShowTime = 0;
  a_E.m_DateStyle = 3;
  a_E.m_DateSeparator = 2;
  a_E.m_TimeStyle = 1;
  a_E.m_FurtherFlag2 = 2;
  a_E.m_ByteValue = 0xAB;
  a_E.m_WordValue = 0xBEEF;
}

void Populate(CFunckeyGE& a_E) {
  PopulateBase(a_E);
  a_E.m_FurtherWord1 = 11;
  a_E.m_FurtherWord2 = 12;
  a_E.m_KeyNumber = 33;
  a_E.m_ActionClass = CFunckeyGE::kWordAction;
  a_E.m_FurtherWord3 = 13;
  a_E.m_Grade = 3;
  a_E.m_FurtherWord4 = 14;
  a_E.m_Exclude = a_E.m_RestoreLevel = 1;
  a_E.m_Reg = PortAddr(0, 7);
  a_E.m_JumpFrame.m_FrameNumber = 0xFEDC;
  a_E.m_JumpFrame.m_Action = CJumpFrame::kAlarm;
  a_E.m_BitSet.m_Action = 6;
  a_E.m_WordSet.m_Action = 8;
  a_E.m_WordSet.m_Value = -100000;
  a_E.m_WordSet.m_Limit = 100000;
  a_E.m_WordSet.m_RepeatDelay = 15;
  a_E.m_WordSet.m_RepeatPeriod = 4;
  a_E.m_WordSet.m_RepeatOnPress = 1;
}

template <class T>
std::unique_ptr<CGraphElement> Populated() {
  auto element = std::make_unique<T>();
  Populate(*element);
  return element;
}

std::vector<std::unique_ptr<CGraphElement>> EveryElementType() {
  std::vector<std::unique_ptr<CGraphElement>> list;
  list.push_back(Populated<CLedGE>());
  list.push_back(Populated<CFunckeyGE>());
  list.push_back(Populated<CStaticText>());
  list.push_back(Populated<CDynamicText>());
  list.push_back(Populated<CRegisterGE>());
  list.push_back(Populated<CBarGE>());
  list.push_back(Populated<CTrendGE>());
  list.push_back(Populated<CPictureGE>());
  list.push_back(Populated<CAsciiGE>());
  list.push_back(Populated<CEventListGE>());
  return list;
}

// The state items in archive order.
void WriteStates(Form& a_Form, const CDynamicText& a_E) {
  for (uint16_t key : CDynamicText::ArchiveKeyOrder()) {
    const CTextItem* item = a_E.GetState(key);
    a_Form.U32(1).Str(item->m_SecondText).I32(item->m_Flag).Str(item->m_Text);
  }
}

void SetFirstFont(CKV410Project& a_Project, const std::string& a_Face) {
  a_Project.GetLangDefine().m_Items.at(0)->m_FontName = a_Face;
}

}  // namespace

// ---- archive forms --------------------------------------------------------------------------

TEST(ElementArchive, StaticTextForm) {
  CStaticText e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(2).Str("RUN 运行").I32(4).I32(-3).Str("WenQuanYi Zen Hei").I32(2).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, DynamicTextForm) {
  CDynamicText e;
  Populate(e);
  Form form(e);
  form.U32(3).I32(1).I32(44).Str("DejaVu Sans").I32(2).I32(3);
  WriteStates(form, e);
  form.Addr(e.m_Reg);
  EXPECT_EQ(Store(e), form.Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, AsciiForm) {
  CAsciiGE e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(1).I32(12).I32(0).Addr(e.m_Reg).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, RegisterForm) {
  CRegisterGE e;
  Populate(e);
  const Bytes expected = Form(e).I32(3).I32(4).U8(6).U8(3).U8(1).I32(2).I32(3).I32(1).U8(5).I32(1)
                             .F64(123.25).F64(-7.5).I32(1).F64(1e6).F64(-1e6).I32(2).I32(1)
                             .Addr(e.m_Reg).Done();
  EXPECT_EQ(Store(e), expected);
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, LedForm) {
  CLedGE e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(1).I32(1).I32(4).I32(1).I32(2).I32(1).I32(9).Addr(e.m_Reg).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, BarForm) {
  CBarGE e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(1).I32(3).I32(1).I32(3).F64(100.5).F64(-100.25).Addr(e.m_Reg).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, TrendForm) {
  CTrendGE e;
  Populate(e);
  EXPECT_EQ(Store(e),
            Form(e).U32(1).I32(4).I32(1).F64(55.5).F64(5.5).I32(64).I32(3).Addr(e.m_Reg).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, PictureForm) {
  CPictureGE e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(1).I32(17).I32(1).I32(2).I32(3).I32(4).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, EventListForm) {
  CEventListGE e;
  Populate(e);
  EXPECT_EQ(Store(e), Form(e).U32(2).I32(1).I32(0).I32(3).I32(2).I32(1).I32(1).I32(0).I32(1)
                          .I32(1).I32(2).U8(0xAB).U16(0xBEEF).Done());
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, FunckeyForm) {
  CFunckeyGE e;
  Populate(e);
  const Bytes expected = Form(e).U32(2).I32(11).I32(12).I32(33).I32(2).I32(13).I32(3).I32(14)
                             .I32(1).I32(1).Addr(e.m_Reg)
                             .U32(1).U16(0xFEDC).I32(3)
                             .U32(1).I32(6)
                             .U32(1).I32(8).I32(-100000).I32(100000).I32(15).I32(4).I32(1)
                             .Done();
  EXPECT_EQ(Store(e), expected);
  ExpectReloadsIdentically(e);
}

TEST(ElementArchive, TruncatedElementIsArchiveError) {
  for (auto& e : EveryElementType()) {
    CArchive out;
    out.WriteObject(e.get());
    const Bytes& bytes = out.Bytes();
    for (std::size_t cut : {std::size_t{10}, bytes.size() / 2, bytes.size() - 1}) {
      const Bytes part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
      CArchive in(part, FindArchiveClass);
      EXPECT_THROW(in.ReadOwned<CGraphElement>(), ArchiveError)
          << e->GetRuntimeClass()->m_ClassName << " cut at " << cut;
    }
  }
}

// ---- older and newer versions -----------------------------------------------------------------

TEST(ElementArchiveVersions, StaticTextVersion1HasNoBuiltinOption) {
  CStaticText base;
  auto e = Load<CStaticText>(Form(base).U32(1).Str("abc").I32(3).I32(9).Str("Face").Done());
  EXPECT_EQ(e->GetText(), "abc");
  EXPECT_EQ(e->GetSizeIndex(), 3);
  EXPECT_EQ(e->m_FurtherWord, 9);
  EXPECT_EQ(e->GetFace(), "Face");
  EXPECT_EQ(e->GetBuiltinOption(), 0);
}

TEST(ElementArchiveVersions, DynamicTextVersions1And2) {
  CDynamicText source;
  Populate(source);
  for (uint32_t version : {1u, 2u}) {
    SCOPED_TRACE(version);
    Form form(source);
    form.U32(version).I32(4).I32(5).Str("Face");
    if (version == 2) form.I32(2);
    WriteStates(form, source);
    form.Addr(source.m_Reg);
    auto e = Load<CDynamicText>(form.Done());
    EXPECT_EQ(e->GetSizeIndex(), 4);
    EXPECT_EQ(e->m_FurtherWord, 5);
    EXPECT_EQ(e->GetFace(), "Face");
    EXPECT_EQ(e->m_Alignment, version == 2 ? 2 : 0);
    EXPECT_EQ(e->GetBuiltinOption(), 0);
    EXPECT_EQ(*e->GetState(200), *source.GetState(200));
    EXPECT_EQ(e->m_Reg, source.m_Reg);
  }
}

TEST(ElementArchiveVersions, RegisterVersions1And2) {
  CRegisterGE source;
  Populate(source);
  for (int32_t version : {1, 2}) {
    SCOPED_TRACE(version);
    Form form(source);
    form.I32(version).I32(1).U8(2).U8(1).U8(1).I32(1).I32(0).I32(1).U8(2).I32(1)
        .F64(50.0).F64(-50.0).I32(1).F64(10.0).F64(-10.0);
    if (version == 2) form.I32(0);
    form.Addr(source.m_Reg);
    auto e = Load<CRegisterGE>(form.Done());
    EXPECT_EQ(e->m_Type, 1);
    EXPECT_EQ(e->m_ShowBits, 2);
    EXPECT_EQ(e->m_Grade, 2);
    EXPECT_EQ(e->m_InputLower, -50.0);
    EXPECT_EQ(e->m_PrjLower, -10.0);
    EXPECT_EQ(e->m_Alignment, version == 2 ? 0 : 1);
    EXPECT_EQ(e->m_RestoreLevel, 0);
    EXPECT_EQ(e->m_Reg, source.m_Reg);
  }
}

TEST(ElementArchiveVersions, EventListVersion1HasNoFurtherFields) {
  CEventListGE base;
  auto e = Load<CEventListGE>(
      Form(base).U32(1).I32(1).I32(1).I32(2).I32(1).I32(1).I32(0).I32(1).I32(1).Done());
  EXPECT_EQ(e->m_DateStyle, 2);
  EXPECT_EQ(e->m_DateSeparator, 1);
  EXPECT_EQ(e->m_TimeStyle, 1);
  EXPECT_EQ(e->m_FurtherFlag1, 0);
  EXPECT_EQ(e->m_FurtherFlag2, 0);
  EXPECT_EQ(e->m_ByteValue, 0);
  EXPECT_EQ(e->m_WordValue, 0);
}

TEST(ElementArchiveVersions, FunckeyVersion1HasNoRestoreLevel) {
  CFunckeyGE source;
  Populate(source);
  auto e = Load<CFunckeyGE>(Form(source).U32(1).I32(0).I32(5).I32(3).I32(0).I32(2).I32(1).I32(0)
                                .I32(0).Addr(source.m_Reg)
                                .U32(1).U16(5).I32(0)
                                .U32(1).I32(2)
                                .U32(1).I32(3).I32(1).I32(99).I32(5).I32(2).I32(0)
                                .Done());
  EXPECT_EQ(e->m_KeyNumber, 3);
  EXPECT_EQ(e->m_Grade, 1);
  EXPECT_EQ(e->m_RestoreLevel, 0);
  EXPECT_EQ(e->m_JumpFrame.m_FrameNumber, 5);
  EXPECT_EQ(e->m_BitSet.m_Action, 2);
  EXPECT_EQ(e->m_WordSet.m_Limit, 99);
}

TEST(ElementArchiveVersions, NewerVersionReadsTheFieldsWeKnow) {
  CStaticText base;
  auto e = Load<CStaticText>(Form(base).U32(3).Str("x").I32(1).I32(0).Str("F").I32(1).Done());
  EXPECT_EQ(e->GetText(), "x");
  EXPECT_EQ(e->GetBuiltinOption(), 1);
}

// ---- copies ---------------------------------------------------------------------------------

TEST(ElementClone, IsAnIndependentEqualCopy) {
  for (auto& e : EveryElementType()) {
    SCOPED_TRACE(e->GetRuntimeClass()->m_ClassName);
    const Bytes original = Store(*e);
    auto copy = e->Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetRuntimeClass(), e->GetRuntimeClass());
    EXPECT_EQ(Store(*copy), original);
    copy->VisitAddresses([](CAddr& a_Addr) { a_Addr.m_Address = 4321; });
    copy->SetLeft(0);
    EXPECT_EQ(Store(*e), original);
  }
}

TEST(ElementClone, CopyFromOtherTypeTakesOnlyTheBase) {
  CStaticText text;
  Populate(text);
  CLedGE led;
  led.CopyFrom(text);
  EXPECT_EQ(led.GetRect(), text.GetRect());
  EXPECT_EQ(led.m_StoredWord2, text.m_StoredWord2);
  EXPECT_EQ(led.m_Shape, CLedGE::kRound);
  EXPECT_EQ(led.m_Size, 2);
  EXPECT_EQ(led.m_Reg, CAddr(CAddr::kBit));
  EXPECT_EQ(led.GetTypeCode(), kTypeLed);
  EXPECT_EQ(led.GetPrefix(), std::string("LED"));
}

// ---- input order ------------------------------------------------------------------------------

TEST(ElementInputOrder, RegisterTakesPartOnlyWithInput) {
  CRegisterGE e;
  EXPECT_EQ(e.GetInputOrder(), CGraphElement::kNotInFocusOrder);
  e.SetInputOrder(3);
  EXPECT_EQ(e.GetInputOrder(), CGraphElement::kNotInFocusOrder);
  e.m_Setting = 1;
  EXPECT_EQ(e.GetInputOrder(), 3u);
  e.SetInputOrder(CGraphElement::kNotInFocusOrder);
  EXPECT_EQ(e.GetInputOrder(), 1u);
  e.SetInputOrder(0);
  EXPECT_EQ(e.GetInputOrder(), 0u);
}

TEST(ElementInputOrder, FunckeyNeedsAKeyAndNoExclusion) {
  CFunckeyGE e;
  e.SetInputOrder(6);
  EXPECT_EQ(e.GetInputOrder(), CGraphElement::kNotInFocusOrder);  // key number 0
  e.m_KeyNumber = 4;
  EXPECT_EQ(e.GetInputOrder(), 6u);
  e.SetInputOrder(CGraphElement::kNotInFocusOrder);
  EXPECT_EQ(e.GetInputOrder(), 1u);
  e.m_KeyNumber = CFunckeyGE::kStepModeKey;
  EXPECT_EQ(e.GetInputOrder(), 1u);
  e.m_Exclude = 1;
  EXPECT_EQ(e.GetInputOrder(), CGraphElement::kNotInFocusOrder);
}

// ---- dynamic text -------------------------------------------------------------------------------

TEST(ElementDynamicText, ArchiveKeyOrderGoesDownEachGroupOfSixteen) {
  const auto& order = CDynamicText::ArchiveKeyOrder();
  EXPECT_EQ(order[0], 15);
  EXPECT_EQ(order[14], 1);
  EXPECT_EQ(order[15], 31);
  EXPECT_EQ(order[30], 16);
  EXPECT_EQ(order[31], 47);
  EXPECT_EQ(order[239], 255);
  EXPECT_EQ(order[254], 240);
  EXPECT_EQ(order[255], 256);
  const std::set<uint16_t> keys(order.begin(), order.end());
  EXPECT_EQ(keys.size(), 256u);
  EXPECT_EQ(*keys.begin(), 1);
  EXPECT_EQ(*keys.rbegin(), 256);
}

TEST(ElementDynamicText, StatesAreTheValues1To256) {
  CDynamicText e;
  EXPECT_EQ(e.GetState(0), nullptr);
  EXPECT_EQ(e.GetState(257), nullptr);
  ASSERT_NE(e.GetState(256), nullptr);
  EXPECT_EQ(e.GetState(256)->m_Flag, 1);
}

// ---- text settings -----------------------------------------------------------------------------

TEST(ElementText, BuiltinFontRule) {
  for (int32_t option : {0, 1}) {
    EXPECT_TRUE(UsesBuiltinFont(0, option));
    EXPECT_EQ(UsesBuiltinFont(1, option), option != 0);
    EXPECT_EQ(UsesBuiltinFont(2, option), option != 0);
    EXPECT_FALSE(UsesBuiltinFont(3, option));
    EXPECT_FALSE(UsesBuiltinFont(4, option));
  }
  EXPECT_EQ(TextFontMode(0, 0), 2);
  EXPECT_EQ(TextFontMode(2, 0), 1);
  EXPECT_EQ(TextFontMode(2, 1), 2);
}

TEST(ElementText, DefaultFaceIsTheFirstLanguageFont) {
  EXPECT_EQ(CStaticText().GetFace(), DefaultFontName());
  CKV410Project project;
  SetFirstFont(project, "WenQuanYi Zen Hei");
  CStaticText text;
  CDynamicText dynamic;
  CAsciiGE ascii;
  for (CGraphElement* e : std::initializer_list<CGraphElement*>{&text, &dynamic, &ascii}) {
    project.ApplyElementDefaults(*e);
  }
  EXPECT_EQ(text.GetFace(), "WenQuanYi Zen Hei");
  EXPECT_EQ(dynamic.GetFace(), "WenQuanYi Zen Hei");
  EXPECT_EQ(ascii.GetFace(), "WenQuanYi Zen Hei");
  EXPECT_EQ(text.GetSizeIndex(), 2);
}

TEST(ElementText, LoadedAsciiTakesTheFaceOfTheProjectBeingLoaded) {
  CKV410Project loading;
  SetFirstFont(loading, "Loading Face");

  auto e = std::make_unique<CAsciiGE>();
  Populate(*e);
  e->SetFace("Own Face");
  e->SetSizeIndex(2);
  e->SetBuiltinOption(1);
  const Bytes bytes = Store(*e);
  EXPECT_EQ(Load<CAsciiGE>(bytes)->GetFace(), DefaultFontName());

  auto frame = std::make_unique<CHMIFrame>(1);
  frame->AddElement(std::move(e));
  loading.AddFrame(frame);
  CArchive out;
  out.WriteObject(&loading);
  CArchive in(out.Bytes(), FindArchiveClass);
  auto loaded = in.ReadOwned<CKV410Project>();
  const auto* withProject =
      dynamic_cast<const CAsciiGE*>(loaded->FindFrame(1)->GetElements().at(0).get());
  ASSERT_NE(withProject, nullptr);
  EXPECT_EQ(withProject->GetFace(), "Loading Face");
  EXPECT_EQ(withProject->GetBuiltinOption(), 0);
  EXPECT_EQ(withProject->GetCharCount(), 12);
}

// ---- picture and addresses -----------------------------------------------------------------------

TEST(ElementPicture, StoringCountsTheLibraryItemUse) {
  CKV410Project project;
  CSingleColorBitmapLib& lib = project.GetBitmapLib();
  const int32_t id = lib.AddItem(8, 1, {0x5A});
  ASSERT_NE(lib.FindItem(id), nullptr);
  lib.ResetUseCounts();
  auto e = std::make_unique<CPictureGE>();
  e->m_ItemId = id;
  auto frame = std::make_unique<CHMIFrame>(1);
  frame->AddElement(std::move(e));
  project.AddFrame(frame);
  CArchive out;
  out.WriteObject(&project);
  EXPECT_EQ(lib.FindItem(id)->m_UseCount, 1);
  CArchive again;
  again.WriteObject(&project);
  EXPECT_EQ(lib.FindItem(id)->m_UseCount, 1);
  CArchive in(out.Bytes(), FindArchiveClass);
  auto loaded = in.ReadOwned<CKV410Project>();
  EXPECT_EQ(loaded->GetBitmapLib().FindItem(id)->m_UseCount, 1);
}

TEST(ElementAddresses, EveryRegisterIsVisitedAndSwapped) {
  for (auto& e : EveryElementType()) {
    SCOPED_TRACE(e->GetRuntimeClass()->m_ClassName);
    std::vector<CAddr*> addrs;
    e->VisitAddresses([&](CAddr& a_Addr) { addrs.push_back(&a_Addr); });
    const int32_t type = e->GetTypeCode();
    const bool hasRegister =
        type != kTypeStaticText && type != kTypePicture && type != kTypeEventList;
    ASSERT_EQ(addrs.size(), hasRegister ? 1u : 0u);
    if (!hasRegister) continue;
    addrs[0]->m_Port = 0;
    e->SwapPorts(0, 2);
    EXPECT_EQ(addrs[0]->m_Port, 2);
  }
}

// ---- frames -----------------------------------------------------------------------------------------

namespace {

Bytes StoreFrame(const CHMIFrame& a_Frame) {
  CArchive ar;
  ar.WriteObject(&a_Frame);
  return ar.Bytes();
}

std::unique_ptr<CHMIFrame> LoadFrame(const Bytes& a_Bytes) {
  CArchive ar(a_Bytes, FindArchiveClass);
  auto frame = ar.ReadOwned<CHMIFrame>();
  EXPECT_EQ(ar.Remaining(), 0u);
  return frame;
}

std::vector<std::string> Names(const CHMIFrame& a_Frame) {
  std::vector<std::string> names;
  for (const auto& e : a_Frame.GetElements()) names.push_back(e->GetName());
  return names;
}

}  // namespace

TEST(FrameNumbering, NewElementsTakeTheSmallestFreeNumberOfTheirType) {
  CHMIFrame frame;
  frame.AddElement(std::make_unique<CStaticText>());
  CGraphElement* second = frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CLedGE>());
  frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CRegisterGE>());
  EXPECT_EQ(Names(frame), (std::vector<std::string>{"ST0", "ST1", "LED0", "ST2", "REG0"}));
  ASSERT_TRUE(frame.RemoveElement(second));
  EXPECT_EQ(frame.AddElement(std::make_unique<CStaticText>())->GetName(), "ST1");
}

TEST(FrameNumbering, LoadingKeepsDistinctStoredNumbers) {
  CHMIFrame frame;
  frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CStaticText>());
  auto loaded = LoadFrame(StoreFrame(frame));
  ASSERT_EQ(loaded->GetElements().size(), 2u);
  EXPECT_EQ(loaded->GetElements()[0]->GetNumber(), 0);
  EXPECT_EQ(loaded->GetElements()[1]->GetNumber(), 1);
  EXPECT_EQ(Names(*loaded), (std::vector<std::string>{"ST0", "ST1"}));
}

TEST(FrameNumbering, LoadingRenumbersOnlyTheSecondOfAClash) {
  CHMIFrame frame;
  frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CLedGE>());
  frame.AddElement(std::make_unique<CStaticText>());
  for (const auto& e : frame.GetElements()) e->SetNumber(4);
  auto loaded = LoadFrame(StoreFrame(frame));
  EXPECT_EQ(Names(*loaded), (std::vector<std::string>{"ST4", "LED4", "ST0"}));
  EXPECT_EQ(loaded->GetElements()[2]->GetNumber(), 0);
}

TEST(FrameNumbering, CopiedFrameKeepsTheNamesOfItsElements) {
  CHMIFrame frame(4);
  frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CStaticText>());
  frame.AddElement(std::make_unique<CLedGE>());
  auto copy = frame.Clone();
  ASSERT_EQ(copy->GetElements().size(), 3u);
  EXPECT_EQ(copy->GetNumber(), 4);
  EXPECT_EQ(copy->GetElements()[0]->GetName(), "ST0");
  EXPECT_EQ(copy->GetElements()[1]->GetName(), "ST1");
  EXPECT_EQ(copy->GetElements()[2]->GetName(), "LED0");
  // A pasted element still counts its own number as taken.
  auto pasted = frame.GetElements()[0]->Clone();
  EXPECT_EQ(copy->AddElement(std::move(pasted))->GetName(), "ST2");
}

TEST(FrameArchive, FrameWithEveryElementTypeRoundTrips) {
  CHMIFrame frame(12);
  frame.SetDescription("所有元件");
  frame.SetPrevious(11);
  frame.SetNext(0);
  for (auto& e : EveryElementType()) frame.AddElement(std::move(e));
  const Bytes bytes = StoreFrame(frame);
  auto loaded = LoadFrame(bytes);
  EXPECT_EQ(loaded->GetNumber(), 12);
  EXPECT_EQ(loaded->GetDescription(), "所有元件");
  ASSERT_EQ(loaded->GetElements().size(), frame.GetElements().size());
  for (std::size_t i = 0; i < frame.GetElements().size(); ++i) {
    EXPECT_EQ(loaded->GetElements()[i]->GetRuntimeClass(), frame.GetElements()[i]->GetRuntimeClass());
  }
  EXPECT_EQ(StoreFrame(*loaded), bytes);
}
