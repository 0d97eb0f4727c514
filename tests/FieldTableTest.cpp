// The field tables: for every persistent class, a value in every field survives the copy, the
// archive and the JSON form, and the JSON form holds exactly the table's keys in its order;
// archives of older versions leave the later fields at their old defaults; the element type
// table agrees with the classes.
#include <gtest/gtest.h>

#include <set>

#include "editor/project/ClassTable.h"
#include "editor/project/ProjectJsonText.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/ElementTypes.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "tests/JsonTestSupport.h"

using namespace kd820;

namespace {

// Gives every field a value unlike a new object's; a_Seed makes the values differ between
// fields. Custom parts are left to the caller.
void Perturb(const CFieldTable& a_Table, void* a_Object, int& a_Seed) {
  for (const CField& f : a_Table.m_Fields) {
    ++a_Seed;
    const int step = 1 + a_Seed % 5;
    switch (f.m_Kind) {
      case FieldKind::kU8: f.Of<uint8_t>(a_Object) = static_cast<uint8_t>(f.Of<uint8_t>(a_Object) + step); break;
      case FieldKind::kI16:
      case FieldKind::kI16Bits: f.Of<int16_t>(a_Object) = static_cast<int16_t>(f.Of<int16_t>(a_Object) + step); break;
      case FieldKind::kU16: f.Of<uint16_t>(a_Object) = static_cast<uint16_t>(f.Of<uint16_t>(a_Object) + step); break;
      case FieldKind::kI32: f.Of<int32_t>(a_Object) += step; break;
      case FieldKind::kU32: f.Of<uint32_t>(a_Object) += static_cast<uint32_t>(step); break;
      case FieldKind::kFlag: f.Of<int32_t>(a_Object) = f.Of<int32_t>(a_Object) == 0 ? 1 : 0; break;
      case FieldKind::kEnum: {
        int32_t& code = f.Of<int32_t>(a_Object);
        code = f.m_Names.back().m_Code != code ? f.m_Names.back().m_Code : f.m_Names.front().m_Code;
        break;
      }
      case FieldKind::kNumberEnum: {
        int32_t& code = f.Of<int32_t>(a_Object);
        code = f.m_Numbers.back().m_Code != code ? f.m_Numbers.back().m_Code : f.m_Numbers.front().m_Code;
        break;
      }
      case FieldKind::kDouble: f.Of<double>(a_Object) += 0.25 * step; break;
      case FieldKind::kString: f.Of<std::string>(a_Object) = "f" + std::to_string(a_Seed) + " ✓"; break;
      case FieldKind::kAddress: f.Of<CAddr>(a_Object).m_Note = "note " + std::to_string(a_Seed); break;
      case FieldKind::kGroup: Perturb(*f.m_Group, f.At(a_Object), a_Seed); break;
      case FieldKind::kCustom: break;
    }
  }
}

// Compares every field but the custom parts; copy-only fields too when a_CopyOnly.
void ExpectSameFields(const CFieldTable& a_Table, const void* a_Expected, const void* a_Actual,
                      bool a_CopyOnly, const std::string& a_Where) {
  for (std::size_t i = 0; i < a_Table.m_Fields.size(); ++i) {
    const CField& f = a_Table.m_Fields[i];
    if (!f.IsArchived() && !a_CopyOnly) continue;
    const std::string where = a_Where + " field " + std::to_string(i) + " " + (f.m_Key ? f.m_Key : "(copy only)");
    switch (f.m_Kind) {
      case FieldKind::kU8: EXPECT_EQ(f.Of<uint8_t>(a_Expected), f.Of<uint8_t>(a_Actual)) << where; break;
      case FieldKind::kI16:
      case FieldKind::kI16Bits: EXPECT_EQ(f.Of<int16_t>(a_Expected), f.Of<int16_t>(a_Actual)) << where; break;
      case FieldKind::kU16: EXPECT_EQ(f.Of<uint16_t>(a_Expected), f.Of<uint16_t>(a_Actual)) << where; break;
      case FieldKind::kI32:
      case FieldKind::kFlag:
      case FieldKind::kEnum:
      case FieldKind::kNumberEnum: EXPECT_EQ(f.Of<int32_t>(a_Expected), f.Of<int32_t>(a_Actual)) << where; break;
      case FieldKind::kU32: EXPECT_EQ(f.Of<uint32_t>(a_Expected), f.Of<uint32_t>(a_Actual)) << where; break;
      case FieldKind::kDouble: EXPECT_EQ(f.Of<double>(a_Expected), f.Of<double>(a_Actual)) << where; break;
      case FieldKind::kString: EXPECT_EQ(f.Of<std::string>(a_Expected), f.Of<std::string>(a_Actual)) << where; break;
      case FieldKind::kAddress: EXPECT_TRUE(f.Of<CAddr>(a_Expected) == f.Of<CAddr>(a_Actual)) << where; break;
      case FieldKind::kGroup:
        ExpectSameFields(*f.m_Group, f.At(a_Expected), f.At(a_Actual), a_CopyOnly, where);
        break;
      case FieldKind::kCustom: break;
    }
  }
}

std::vector<uint8_t> Stored(const CObject& a_Object) {
  CArchive out;
  out.WriteObject(&a_Object);
  return out.Bytes();
}

// A new element of the type with every field changed, inside the 192x64 display.
std::unique_ptr<CGraphElement> PerturbedElement(const CElementType& a_Type) {
  auto element = a_Type.m_Create();
  int seed = 0;
  Perturb(CGraphElement::Fields(), element.get(), seed);
  Perturb(a_Type.m_Fields(), a_Type.m_Own(*element), seed);
  element->SetPosition(3, 4);
  element->SetWidth(20);
  element->SetHeight(10);
  if (auto* picture = dynamic_cast<CPictureGE*>(element.get())) picture->m_ItemId = 2;
  if (auto* text = dynamic_cast<CDynamicText*>(element.get())) {
    text->GetState(3)->m_Text = "three";
    text->GetState(256)->m_SecondText = "last";
  }
  return element;
}

std::vector<std::string> KeysOf(const pjson::Value& a_Object) {
  std::vector<std::string> keys;
  for (const auto& member : a_Object.Members()) keys.push_back(member.first);
  return keys;
}

std::vector<std::string> Strings(const std::vector<std::string_view>& a_Keys) {
  return {a_Keys.begin(), a_Keys.end()};
}

pjson::Value Parsed(const std::string& a_Json) {
  pjson::Value root;
  pjson::ParseError error;
  EXPECT_TRUE(pjson::Parse(a_Json, root, error)) << error.m_Message;
  return root;
}

std::vector<const CElementType*> ElementClasses() {
  std::vector<const CElementType*> types;
  for (const CElementType& type : ElementTypes()) {
    if (type.m_Class != nullptr) types.push_back(&type);
  }
  return types;
}

}  // namespace

TEST(FieldTables, EveryElementFieldSurvivesCopyArchiveAndJson) {
  test::ShippedLibrary library;
  for (const CElementType* type : ElementClasses()) {
    SCOPED_TRACE(type->m_JsonName);
    const auto original = PerturbedElement(*type);
    const CFieldTable& own = type->m_Fields();

    const auto copy = original->Clone();
    ASSERT_TRUE(copy);
    ExpectSameFields(CGraphElement::Fields(), original.get(), copy.get(), true, "copy base");
    ExpectSameFields(own, type->m_OwnConst(*original), type->m_OwnConst(*copy), true, "copy");

    const std::vector<uint8_t> bytes = Stored(*original);
    EXPECT_EQ(Stored(*copy), bytes);
    CArchive in(bytes, FindArchiveClass);
    const auto loaded = in.ReadOwned<CGraphElement>();
    EXPECT_EQ(in.Remaining(), 0u);
    ExpectSameFields(CGraphElement::Fields(), original.get(), loaded.get(), false, "archive base");
    ExpectSameFields(own, type->m_OwnConst(*original), type->m_OwnConst(*loaded), false, "archive");
    EXPECT_EQ(Stored(*loaded), bytes);

    CKV410Project project;
    project.SetHardwareModelId(1);
    for (uint8_t ink = 1; ink <= 3; ++ink) project.GetBitmapLib().AddItem(8, 1, {ink});
    auto frame = std::make_unique<CHMIFrame>(1);
    frame->AddElementKeepingNumber(original->Clone());
    project.AddFrame(frame);
    const std::string json = test::ExportJson(project);
    const pjson::Value root = Parsed(json);
    const pjson::Value& exported = root.Find("frames")->Items().at(0).Find("elements")->Items().at(0);
    std::vector<std::string> keys = Strings(CGraphElement::Fields().JsonKeys());
    for (std::string_view key : own.JsonKeys()) keys.emplace_back(key);
    EXPECT_EQ(KeysOf(exported), keys);

    const auto imported = test::ImportOk(json);
    ASSERT_TRUE(imported);
    const CGraphElement& back = *imported->GetFrames().at(0)->GetElements().at(0);
    ExpectSameFields(CGraphElement::Fields(), original.get(), &back, false, "json base");
    ExpectSameFields(own, type->m_OwnConst(*original), type->m_OwnConst(back), false, "json");
    EXPECT_EQ(Stored(back), bytes);
  }
}

TEST(FieldTables, EveryOtherClassKeepsItsFieldsThroughTheArchive) {
  const auto roundTrip = [](auto a_Original, const CFieldTable& a_Table, const char* a_Name,
                            const auto& a_Fix) {
    SCOPED_TRACE(a_Name);
    int seed = 0;
    Perturb(a_Table, &a_Original, seed);
    a_Fix(a_Original);
    CArchive out;
    a_Original.Serialize(out);
    decltype(a_Original) loaded;
    CArchive in(out.Bytes(), FindArchiveClass);
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    ExpectSameFields(a_Table, &a_Original, &loaded, false, a_Name);
  };
  const auto none = [](auto&) {};
  roundTrip(CAddr(), CAddr::Fields(), "address", none);
  roundTrip(CHMIFrame(), CHMIFrame::Fields(), "frame", none);
  roundTrip(CGlobalSettings(), CGlobalSettings::Fields(), "settings", none);
  roundTrip(CAlarmItem(), CAlarmItem::Fields(), "alarm item", none);
  // Loading sets the reserved switch to 1 whatever the file holds.
  roundTrip(CAlarmSettings(), CAlarmSettings::Fields(), "alarms",
            [](CAlarmSettings& a_Alarms) { a_Alarms.m_ReservedSwitch = 1; });
  roundTrip(CDataTransferItem(), CDataTransferItem::Fields(), "transfer", none);
  roundTrip(CPortCom(), CPortCom::StoredFields(), "serial port", [](CPortCom& a_Port) { a_Port.m_Enabled = 1; });
  roundTrip(CPortCan(), CPortCan::StoredFields(), "CAN port", [](CPortCan& a_Port) { a_Port.m_Enabled = 1; });
  roundTrip(CLangDefineItem(), CLangDefineItem::Fields(), "language", none);
  roundTrip(CSingleColorBitmapLibItem(), CSingleColorBitmapLibItem::Fields(), "bitmap",
            [](CSingleColorBitmapLibItem& a_Item) {
              a_Item.m_Pixels.assign(static_cast<std::size_t>(a_Item.m_Height * ((a_Item.m_Width + 7) / 8)), 0x5A);
            });
}

TEST(FieldTables, TheJsonFormHoldsEveryTablesKeysInOrder) {
  test::ShippedLibrary library;
  auto project = test::LibrarySample();
  const pjson::Value root = Parsed(test::ExportJson(*project));
  const auto expectKeys = [](const pjson::Value& a_Object, std::vector<std::string> a_Keys, const char* a_What) {
    EXPECT_EQ(KeysOf(a_Object), a_Keys) << a_What;
  };
  expectKeys(*root.Find("settings"), Strings(CGlobalSettings::Fields().JsonKeys()), "settings");
  expectKeys(*root.Find("alarms"), Strings(CAlarmSettings::Fields().JsonKeys()), "alarms");
  ASSERT_FALSE(root.Find("alarms")->Find("items")->Items().empty());
  for (const auto& item : root.Find("alarms")->Find("items")->Items()) {
    expectKeys(item, Strings(CAlarmItem::Fields().JsonKeys()), "alarm item");
  }
  ASSERT_FALSE(root.Find("transfers")->Items().empty());
  for (const auto& item : root.Find("transfers")->Items()) {
    expectKeys(item, Strings(CDataTransferItem::Fields().JsonKeys()), "transfer");
  }
  for (const auto& item : root.Find("languages")->Items()) {
    expectKeys(item, Strings(CLangDefineItem::Fields().JsonKeys()), "language");
  }
  ASSERT_FALSE(root.Find("bitmaps")->Items().empty());
  for (const auto& item : root.Find("bitmaps")->Items()) {
    expectKeys(item, Strings(CSingleColorBitmapLibItem::Fields().JsonKeys()), "bitmap");
  }
  for (const auto& frame : root.Find("frames")->Items()) {
    expectKeys(frame, Strings(CHMIFrame::Fields().JsonKeys()), "frame");
  }
  std::vector<std::string> port = {"enabled"};
  for (std::string_view key : CPortCom::StoredFields().JsonKeys()) port.emplace_back(key);
  ASSERT_TRUE(project->GetPort(0)->IsEnabled());
  expectKeys(*root.Find("ports")->Find("COM0"), port, "COM0");
}

TEST(FieldTables, JsonKeysAreUniquePerObject) {
  const auto expectUnique = [](std::vector<std::string_view> a_Keys, const char* a_What) {
    const std::set<std::string_view> unique(a_Keys.begin(), a_Keys.end());
    EXPECT_EQ(unique.size(), a_Keys.size()) << a_What;
  };
  for (const CElementType* type : ElementClasses()) {
    std::vector<std::string_view> keys = CGraphElement::Fields().JsonKeys();
    for (std::string_view key : type->m_Fields().JsonKeys()) keys.push_back(key);
    expectUnique(keys, type->m_JsonName);
  }
  for (const CFieldTable* table :
       {&CHMIFrame::Fields(), &CGlobalSettings::Fields(), &CAlarmSettings::Fields(), &CAlarmItem::Fields(),
        &CDataTransferItem::Fields(), &CPortCom::StoredFields(), &CLangDefineItem::Fields(),
        &CSingleColorBitmapLibItem::Fields(), &CAddr::Fields(), &CTextItem::Fields()}) {
    expectUnique(table->JsonKeys(), "table");
  }
}

namespace {

// The base part of an element's archive form and the version word of its own part.
CArchive OldElementStart(CGraphElement& a_Element, int32_t a_Version) {
  CArchive out;
  out.WriteObjectHeader(&a_Element);
  a_Element.CGraphElement::Serialize(out);
  out.Io(a_Version);
  return out;
}

template <class T>
std::unique_ptr<T> LoadElement(const CArchive& a_Out) {
  CArchive in(a_Out.Bytes(), FindArchiveClass);
  auto element = in.ReadOwned<T>();
  EXPECT_EQ(in.Remaining(), 0u);
  return element;
}

}  // namespace

TEST(FieldTables, OlderArchivesLeaveLaterFieldsAtTheirOldDefaults) {
  // A version-1 register display: no alignment (centred then) and no restore-level flag.
  CRegisterGE reg;
  reg.m_Alignment = 2;
  reg.m_RestoreLevel = 1;
  CArchive out = OldElementStart(reg, 1);
  int32_t type = CRegisterGE::kHex, fillZero = 1, sizeIndex = 3, setting = 1, limit = 1, projection = 0;
  uint8_t showBits = 6, floatBits = 1, regWidth = 1, grade = 2;
  double upper = 50.5, lower = -2, prjUpper = 10, prjLower = 1;
  out.Io(type);
  out.Io(showBits);
  out.Io(floatBits);
  out.Io(regWidth);
  out.Io(fillZero);
  out.Io(sizeIndex);
  out.Io(setting);
  out.Io(grade);
  out.Io(limit);
  out.Io(upper);
  out.Io(lower);
  out.Io(projection);
  out.Io(prjUpper);
  out.Io(prjLower);
  CAddr().Serialize(out);
  const auto loadedReg = LoadElement<CRegisterGE>(out);
  ASSERT_TRUE(loadedReg);
  EXPECT_EQ(loadedReg->m_Type, CRegisterGE::kHex);
  EXPECT_EQ(loadedReg->m_ShowBits, 6);
  EXPECT_EQ(loadedReg->m_Grade, 2);
  EXPECT_EQ(loadedReg->m_InputUpper, 50.5);
  EXPECT_EQ(loadedReg->m_PrjLower, 1.0);
  EXPECT_EQ(loadedReg->m_Alignment, 1);
  EXPECT_EQ(loadedReg->m_RestoreLevel, 0);

  // A version-1 alarm list: none of the four further values.
  CEventListGE list;
  CArchive listOut = OldElementStart(list, 1);
  for (int32_t value : {1, 0, 2, 1, 1, 1, 0, 1}) listOut.Io(value);
  const auto loadedList = LoadElement<CEventListGE>(listOut);
  ASSERT_TRUE(loadedList);
  EXPECT_EQ(loadedList->m_ShowNumber, 1);
  EXPECT_EQ(loadedList->m_DateStyle, 2);
  EXPECT_EQ(loadedList->m_TimeStyle, 1);
  EXPECT_EQ(loadedList->m_FurtherFlag1, 0);
  EXPECT_EQ(loadedList->m_ByteValue, 0);
  EXPECT_EQ(loadedList->m_WordValue, 0);
}

TEST(ElementTypes, TheTableAgreesWithTheClasses) {
  int32_t previous = -1;
  std::set<std::string> names, prefixes;
  for (const CElementType& type : ElementTypes()) {
    EXPECT_GT(type.m_TypeCode, previous);
    previous = type.m_TypeCode;
    EXPECT_TRUE(prefixes.insert(type.m_Prefix).second) << type.m_Prefix;
    EXPECT_EQ(FindElementType(type.m_TypeCode), &type);
    EXPECT_STREQ(ElementTypePrefix(type.m_TypeCode), type.m_Prefix);
    if (type.m_Class == nullptr) continue;
    SCOPED_TRACE(type.m_JsonName);
    EXPECT_TRUE(names.insert(type.m_JsonName).second);
    auto element = type.m_Create();
    EXPECT_EQ(element->GetRuntimeClass(), type.m_Class);
    EXPECT_EQ(element->GetTypeCode(), type.m_TypeCode);
    EXPECT_EQ(ElementTypeOf(*element), &type);
    EXPECT_EQ(FindElementTypeByJsonName(type.m_JsonName), &type);
    EXPECT_EQ(FindArchiveClass(type.m_Class->m_ClassName), type.m_Class);
    element->SetNumber(7);
    EXPECT_EQ(element->GetName(), std::string(type.m_Prefix) + "7");
  }
  EXPECT_EQ(FindElementType(kTypeCache)->m_Class, nullptr);
  EXPECT_EQ(FindElementType(11), nullptr);
  EXPECT_STREQ(ElementTypePrefix(-1), "");
  EXPECT_EQ(FindElementTypeByJsonName("cache"), nullptr);
}

TEST(ElementTypes, TextElementsTakeTheProjectsFace) {
  CKV410Project project;
  project.GetLangDefine().m_Items.at(0)->m_FontName = "Face Of The Project";
  for (const CElementType* type : ElementClasses()) {
    auto element = type->m_Create();
    project.ApplyElementDefaults(*element);
    const bool text = type->m_TypeCode == kTypeStaticText || type->m_TypeCode == kTypeDynamicText ||
                      type->m_TypeCode == kTypeAscii;
    EXPECT_EQ(type->m_SetFace != nullptr, text) << type->m_JsonName;
    if (auto* st = dynamic_cast<CStaticText*>(element.get())) {
      EXPECT_EQ(st->GetFace(), "Face Of The Project");
    }
    if (auto* dt = dynamic_cast<CDynamicText*>(element.get())) {
      EXPECT_EQ(dt->GetFace(), "Face Of The Project");
    }
    if (auto* ascii = dynamic_cast<CAsciiGE*>(element.get())) {
      EXPECT_EQ(ascii->GetFace(), "Face Of The Project");
    }
  }
}

TEST(JsonExport, LeavesTheProjectAsItIs) {
  test::ShippedLibrary library;
  CKV410Project project;
  project.SetHardwareModelId(1);
  project.SetStoredElementLabels(7);
  const int32_t id = project.GetBitmapLib().AddItem(8, 1, {0x81});
  project.GetBitmapLib().m_Items.back()->m_UseCount = 40;
  auto frame = std::make_unique<CHMIFrame>(1);
  for (int i = 0; i < 2; ++i) {
    auto picture = std::make_unique<CPictureGE>();
    picture->m_ItemId = id;
    frame->AddElement(std::move(picture));
  }
  project.AddFrame(frame);
  const std::string json = test::OneLine(test::ExportJson(project));
  EXPECT_NE(json.find(R"("useCount": 2)"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("elementLabels": 7)"), std::string::npos);
  EXPECT_EQ(project.GetBitmapLib().m_Items.back()->m_UseCount, 40);
  EXPECT_EQ(project.BitmapUseCounts(), std::vector<int32_t>{2});

  const auto imported = test::ImportOk(json);
  ASSERT_TRUE(imported);
  EXPECT_EQ(imported->GetStoredElementLabels(), 7);
}
