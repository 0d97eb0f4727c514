// Element records that need no text rendering: bar, trend, picture, alarm display, LED and
// function key.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "common/ImageFormat.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"
#include "editor/screens/TrendGE.h"
#include "editor/devices/EditorContext.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;

namespace {

uint32_t U32(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return a_Bytes[a_At] | (a_Bytes[a_At + 1] << 8) | (a_Bytes[a_At + 2] << 16) |
         (static_cast<uint32_t>(a_Bytes[a_At + 3]) << 24);
}

float F32(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  const uint32_t bits = U32(a_Bytes, a_At);
  float f = 0;
  std::memcpy(&f, &bits, 4);
  return f;
}

// Compiles a project whose frames hold the given elements and gives the offsets of the
// element records in order.
struct Compiled {
  CKV410Project m_Project;
  CEditorContext m_Context;
  CImageCompiler m_Compiler{m_Context};
  std::vector<uint32_t> m_Records;

  explicit Compiled(std::vector<std::vector<std::unique_ptr<CGraphElement>>> a_Frames,
                    IProblemSink& a_Problems = StderrProblems())
      : m_Context(a_Problems) {
    setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);  // the component images of the build tree
    uint16_t number = 1;
    for (auto& elements : a_Frames) {
      auto frame = std::make_unique<CHMIFrame>(number++);
      for (auto& e : elements) frame->AddElement(std::move(e));
      m_Project.AddFrame(frame);
    }
    m_Compiler.Compile(m_Project);
    const auto& img = Image();
    const uint32_t table = U32(img, image::kDirectoryOffset + 4 * image::kFrames);
    for (uint32_t f = 0; f < U32(img, table); ++f) {
      const uint32_t frame = U32(img, table + 4 + 4 * f);
      const uint16_t n = static_cast<uint16_t>(img[frame + 18] | (img[frame + 19] << 8));
      for (uint16_t i = 0; i < n; ++i) m_Records.push_back(U32(img, frame + 20 + 4 * i));
    }
  }
  const std::vector<uint8_t>& Image() const { return m_Compiler.Image(); }
};

using ElementList = std::vector<std::unique_ptr<CGraphElement>>;

// The fonts the elements below are measured with.
CEditorContext& Fonts() {
  static CEditorContext context;
  return context;
}

template <class... Lists>
std::vector<ElementList> Frames(Lists... a_Lists) {
  std::vector<ElementList> out;
  (out.push_back(std::move(a_Lists)), ...);
  return out;
}

template <class T>
std::vector<std::unique_ptr<CGraphElement>> One(std::unique_ptr<T> a_Element) {
  std::vector<std::unique_ptr<CGraphElement>> list;
  list.push_back(std::move(a_Element));
  return list;
}

}  // namespace

TEST(ElementRecord, BarWithFloatLimits) {
  auto bar = std::make_unique<CBarGE>();
  bar->m_DataType = 3;
  bar->m_Upper = 100.0;
  bar->m_Lower = 0.0;
  Compiled c(Frames(One(std::move(bar))));
  const auto& img = c.Image();
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(img[r + 4], 1);  // one register
  EXPECT_EQ(U32(img, r + 20), 0u);
  EXPECT_EQ(U32(img, r + 24), 0x303u);
  EXPECT_EQ(F32(img, r + 28), 100.0f);
  EXPECT_EQ(F32(img, r + 32), 0.0f);

  auto integer = std::make_unique<CBarGE>();
  integer->m_Upper = 99.5;
  integer->m_Lower = -3.7;
  integer->m_RegWidth = 1;
  integer->m_DrawDir = CBarGE::kRight;
  Compiled d(Frames(One(std::move(integer))));
  EXPECT_EQ(U32(d.Image(), d.m_Records[0] + 24), 3u + 3 * 4096 + 0x40000);
  EXPECT_EQ(static_cast<int32_t>(U32(d.Image(), d.m_Records[0] + 28)), 99);
  EXPECT_EQ(static_cast<int32_t>(U32(d.Image(), d.m_Records[0] + 32)), -3);
}

TEST(ElementRecord, TrendsNameTheirSharedBuffer) {
  std::vector<std::unique_ptr<CGraphElement>> elements;
  for (int32_t address : {5, 6, 5}) {
    auto trend = std::make_unique<CTrendGE>();
    trend->m_Reg.m_Address = address;
    trend->m_Points = 30;
    elements.push_back(std::move(trend));
  }
  Compiled c(Frames(std::move(elements)));
  const auto& img = c.Image();
  const auto index = [&](std::size_t i) { return img[c.m_Records[i] + 16] | (img[c.m_Records[i] + 17] << 8); };
  EXPECT_EQ(index(0), index(2));
  EXPECT_NE(index(0), index(1));
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(U32(img, r + 12), 4u);
  EXPECT_EQ(img[r + 18], 30);
  EXPECT_EQ(img[r + 22], 1);                 // one curve
  EXPECT_EQ(U32(img, r + 24), r + 28);       // its scale record follows
  EXPECT_EQ(U32(img, r + 28), 3u);
}

TEST(ElementRecord, PicturesOfOneItemShareTheirImageList) {
  std::vector<std::unique_ptr<CGraphElement>> first, second;
  for (auto* list : {&first, &second}) {
    auto picture = std::make_unique<CPictureGE>();
    picture->m_ItemId = 1;
    list->push_back(std::move(picture));
  }
  Compiled c(Frames(std::move(first), std::move(second)));
  // Without the item in the library the list still exists, with an empty slot.
  const auto& img = c.Image();
  const uint32_t list = U32(img, c.m_Records[0] + 12);
  EXPECT_NE(list, 0u);
  EXPECT_EQ(U32(img, c.m_Records[1] + 12), list);
  EXPECT_EQ(img[list], 1);
  EXPECT_EQ(U32(img, list + 1), 0u);
}

TEST(ElementRecord, PictureOfALibraryItem) {
  auto picture = std::make_unique<CPictureGE>();
  Compiled c(Frames(One(std::move(picture))));
  CKV410Project& project = c.m_Project;
  const int32_t id = project.GetBitmapLib().AddItem(10, 2, {0xFF, 0x03, 0x01, 0x02});
  static_cast<CPictureGE&>(*project.FindFrame(1)->GetElements()[0]).m_ItemId = id;
  c.m_Compiler.Compile(project);
  const auto& img = c.Image();
  const uint32_t list = U32(img, c.m_Records[0] + 12);
  const uint32_t bitmap = U32(img, list + 1);
  ASSERT_NE(bitmap, 0u);
  EXPECT_EQ(img[bitmap], image::kBitmap);
  EXPECT_EQ(img[bitmap + 1], 10);
  EXPECT_EQ(img[bitmap + 3], 2);
  EXPECT_EQ(img[bitmap + 5], 0xFF);
}

TEST(ElementRecord, AlarmDisplayOptionWord) {
  auto list = std::make_unique<CEventListGE>();
  list->m_ShowDate = 1;
  list->m_DateStyle = 2;
  list->m_ShowTime = 1;
  list->m_TimeStyle = 1;
  list->m_DateSeparator = 2;
  list->m_ByteValue = 7;
  list->m_WordValue = 0x1234;
  Compiled c(Frames(One(std::move(list))));
  const auto& img = c.Image();
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(U32(img, r + 8), 0u);
  EXPECT_EQ(U32(img, r + 12), 0x2602u);
  EXPECT_EQ(img[r + 16], 0x2D);
  EXPECT_EQ(img[r + 17], 7);
  EXPECT_EQ(img[r + 18] | (img[r + 19] << 8), 0x1234);
}

TEST(ElementRecord, LedsShareTheirShippedImages) {
  std::vector<std::unique_ptr<CGraphElement>> elements;
  for (int i = 0; i < 2; ++i) {
    auto led = std::make_unique<CLedGE>();
    led->m_Blink = 1;
    led->m_Invert = i;
    led->m_BlinkPeriod = 4;
    elements.push_back(std::move(led));
  }
  Compiled c(Frames(std::move(elements)));
  const auto& img = c.Image();
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(U32(img, r + 20), 1u);  // resource mask: the image table
  const uint32_t list = U32(img, r + 24);
  EXPECT_EQ(img[r + 28] | (img[r + 29] << 8), 0x0101);
  EXPECT_EQ(img[r + 30], 4);
  EXPECT_EQ(U32(img, c.m_Records[1] + 24), list);
  EXPECT_EQ(img[c.m_Records[1] + 29], 0x03);
  ASSERT_EQ(img[list], 2);
  const uint32_t off = U32(img, list + 1), on = U32(img, list + 5);
  ASSERT_NE(off, 0u) << "lib/component/led/LED0_0_2.dat missing from the build tree";
  ASSERT_NE(on, 0u);
  EXPECT_EQ(img[off], image::kBitmap);
  EXPECT_NE(off, on);
}

TEST(ElementRecord, FunctionKeyActions) {
  auto jump = std::make_unique<CFunckeyGE>();
  jump->m_KeyNumber = 3;
  jump->m_JumpFrame.m_FrameNumber = 5;
  auto toggle = std::make_unique<CFunckeyGE>();
  toggle->m_KeyNumber = 4;
  toggle->m_ActionClass = CFunckeyGE::kBitAction;
  toggle->m_BitSet.m_Action = 2;
  auto add = std::make_unique<CFunckeyGE>();
  add->m_KeyNumber = 5;
  add->m_ActionClass = CFunckeyGE::kWordAction;
  add->m_WordSet.m_Action = 3;
  add->m_WordSet.m_Value = 2;
  add->m_WordSet.m_Limit = 100;
  add->m_Grade = 3;
  auto step = std::make_unique<CFunckeyGE>();
  step->m_KeyNumber = 30;
  step->m_ActionClass = CFunckeyGE::kWordAction;
  std::vector<std::unique_ptr<CGraphElement>> keys;
  keys.push_back(std::move(jump));
  keys.push_back(std::move(toggle));
  keys.push_back(std::move(add));
  keys.push_back(std::move(step));
  Compiled c(Frames(std::move(keys)));
  const auto& img = c.Image();

  const uint32_t j = c.m_Records[0];
  EXPECT_EQ(img[j + 4], 0);           // no register
  EXPECT_EQ(U32(img, j + 8), 4u);     // an image list
  EXPECT_EQ(U32(img, j + 16), 0x30002u);
  EXPECT_EQ(U32(img, j + 20), 5u);
  EXPECT_EQ(U32(img, j + 24), 1u);    // permission record

  const uint32_t t = c.m_Records[1];
  EXPECT_EQ(img[t + 4], 1);
  EXPECT_EQ(img[t + 6], 2);           // register mask: slot 1
  const uint32_t word = U32(img, t + 28);
  EXPECT_EQ(word & 0xFF, 1u);
  EXPECT_EQ((word >> 8) & 0xFF, 18u);
  EXPECT_EQ((word >> 16) & 0x3F, 4u);

  const uint32_t a = c.m_Records[2];
  const uint32_t first = U32(img, a + 28);
  EXPECT_EQ(first & 0xFF, 5u);
  EXPECT_EQ((first >> 8) & 0xFF, 35u);
  EXPECT_EQ(U32(img, a + 32), 2u);
  EXPECT_EQ(U32(img, a + 36), 100u);
  EXPECT_EQ(U32(img, a + 48), 1u + 3 * 1024);

  const uint32_t s = c.m_Records[3];
  EXPECT_EQ(img[s + 4], 0);
  EXPECT_EQ(U32(img, s + 8), 0u);      // no image
  EXPECT_EQ(U32(img, s + 12), 0xF001u);
  EXPECT_EQ(U32(img, s + 16), 1u);
}

TEST(ElementRecord, StaticTextsShareTheirListAndText) {
  std::vector<std::unique_ptr<CGraphElement>> first, second;
  for (auto* list : {&first, &second}) {
    auto text = std::make_unique<CStaticText>();
    text->SetText("RUN");
    text->SetSizeIndex(0);
    text->UpdateSize(Fonts());
    list->push_back(std::move(text));
  }
  static_cast<CStaticText&>(*second[0]).SetReverse(true);
  Compiled c(Frames(std::move(first), std::move(second)));
  const auto& img = c.Image();
  const uint32_t a = c.m_Records[0], b = c.m_Records[1];
  EXPECT_EQ(U32(img, a + 8), 4u);
  const uint32_t list = U32(img, a + 12);
  EXPECT_EQ(U32(img, b + 12), list);
  EXPECT_EQ(img[a + 16] | (img[a + 17] << 8), 0x0001);
  EXPECT_EQ(img[b + 16] | (img[b + 17] << 8), 0x1001);
  ASSERT_EQ(img[list], 1);
  const uint32_t text = U32(img, list + 1);
  EXPECT_EQ(img[text], image::kText);
  const uint32_t sequence = U32(img, text + 1);
  ASSERT_EQ(img[sequence], 3);
  const uint32_t r = U32(img, sequence + 1);
  EXPECT_EQ(img[r], image::kGlyph);
  EXPECT_EQ(img[r + 1], 6);
  EXPECT_EQ(img[r + 2], 8);
  // The two "R"s of other texts are the same glyph object.
  EXPECT_EQ(c.m_Compiler.Resources().ObjectCache().Find("VISIBLE_ASCII_CHAR_R_8"), r);
}

TEST(ElementRecord, RegisterOptionWordsAndLimits) {
  auto plain = std::make_unique<CRegisterGE>();
  auto unsignedDecimals = std::make_unique<CRegisterGE>();
  unsignedDecimals->m_Type = CRegisterGE::kUnsigned;
  unsignedDecimals->m_ShowBits = 3;
  unsignedDecimals->m_FloatBits = 2;
  auto ranged = std::make_unique<CRegisterGE>();
  ranged->m_Type = CRegisterGE::kFloat;
  ranged->m_Limit = 1;
  ranged->m_Projection = 1;
  ranged->m_InputUpper = 99.5;
  ranged->m_InputLower = 1.5;
  ranged->m_PrjUpper = 500;
  ranged->m_PrjLower = -5;
  ranged->m_Grade = 2;
  auto decimal = std::make_unique<CRegisterGE>();
  decimal->m_Limit = 1;
  decimal->m_InputUpper = 99.5;
  std::vector<std::unique_ptr<CGraphElement>> elements;
  elements.push_back(std::move(plain));
  elements.push_back(std::move(unsignedDecimals));
  elements.push_back(std::move(ranged));
  elements.push_back(std::move(decimal));
  Compiled c(Frames(std::move(elements)));
  const auto& img = c.Image();
  const auto option = [&](std::size_t i) { return U32(img, c.m_Records[i] + 28); };
  EXPECT_EQ(option(0) & 0xFF, 1u);
  EXPECT_EQ((option(0) >> 8) & 0xF, 0u);
  EXPECT_EQ((option(0) >> 24) & 0xF, 5u);
  EXPECT_EQ((option(0) >> 20) & 1, 1u);  // alignment 1 by default
  EXPECT_EQ((option(1) >> 24) & 0xF, 6u);
  EXPECT_EQ(option(1) >> 28, 2u);
  EXPECT_EQ(option(2) & 0xFF, 5u);
  // Limits first, then the projection range.
  EXPECT_EQ(F32(img, c.m_Records[2] + 32), 99.5f);
  EXPECT_EQ(F32(img, c.m_Records[2] + 36), 1.5f);
  EXPECT_EQ(F32(img, c.m_Records[2] + 40), 500.0f);
  EXPECT_EQ(F32(img, c.m_Records[2] + 44), -5.0f);
  EXPECT_EQ((option(2) >> 12) & 1, 1u);  // projection
  EXPECT_EQ((option(2) >> 17) & 1, 1u);  // limits
  EXPECT_EQ(U32(img, c.m_Records[2] + 48), 1u + 2 * 1024);
  EXPECT_EQ(U32(img, c.m_Records[3] + 32), 99u);
  // Two registers of one data type and size share the glyph list.
  EXPECT_EQ(U32(img, c.m_Records[0] + 24), U32(img, c.m_Records[3] + 24));
  EXPECT_NE(U32(img, c.m_Records[0] + 24), U32(img, c.m_Records[1] + 24));
  EXPECT_EQ(U32(img, c.m_Records[0] + 24) % 4, 0u);
}

TEST(ElementRecord, ListObjectsAreSharedByTheirTextSizeAndFace) {
  const auto staticText = [](const std::string& a_Text, int32_t a_Size, const std::string& a_Face) {
    auto text = std::make_unique<CStaticText>();
    text->SetText(a_Text);
    text->SetSizeIndex(a_Size);
    text->SetFace(a_Face);
    text->UpdateSize(Fonts());
    return text;
  };
  std::vector<std::unique_ptr<CGraphElement>> elements;
  elements.push_back(staticText("RUN", 0, "Microsoft Sans Serif"));  // size 0: built-in font
  elements.push_back(staticText("RUN", 0, "宋体"));
  elements.push_back(staticText("RUN", 3, "Microsoft Sans Serif"));
  elements.push_back(staticText("RUN", 3, "宋体"));
  auto reg = std::make_unique<CRegisterGE>();
  reg->m_SizeIndex = 3;
  elements.push_back(std::move(reg));
  auto small = std::make_unique<CRegisterGE>();
  small->m_SizeIndex = 1;
  small->m_Type = CRegisterGE::kHex;
  elements.push_back(std::move(small));
  auto ascii = std::make_unique<CAsciiGE>();
  ascii->SetSizeIndex(0);
  ascii->UpdateSize(Fonts());
  const std::string glyphSet = ascii->GetGlyphText();
  elements.push_back(std::move(ascii));
  Compiled c(Frames(std::move(elements)));
  const auto& img = c.Image();
  const auto list = [&](std::size_t i, std::size_t a_At) { return U32(img, c.m_Records[i] + a_At); };
  // The built-in font ignores the face: one list, found under an empty face.
  EXPECT_EQ(list(0, 12), list(1, 12));
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("STATIC_TEXT_RUN_0_"), list(0, 12));
  EXPECT_EQ(c.m_Compiler.Resources().ObjectCache().Find("VISIBLE_ASCII_TEXT_RUN_8"), U32(img, list(0, 12) + 1));
  // A face of its own at larger sizes.
  EXPECT_NE(list(2, 12), list(3, 12));
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("STATIC_TEXT_RUN_3_Microsoft Sans Serif"), list(2, 12));
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("STATIC_TEXT_RUN_3_宋体"), list(3, 12));
  EXPECT_EQ(c.m_Compiler.Resources().ObjectCache().Find("FONT_TEXT_RUN_宋体_24"), U32(img, list(3, 12) + 1));
  // Registers: "宋体" above 16 pixels, no face below.
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("REGISTER_TEXT_*-.0123456789_3_宋体"), list(4, 24));
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("REGISTER_TEXT_*0123456789ABCDEF_1_"), list(5, 24));
  EXPECT_EQ(c.m_Compiler.Resources().TextCache().Find("ASCII_TEXT_" + glyphSet + "_0_"), list(6, 24));
  // A glyph of the built-in 24-pixel register set is drawn in the face at that size.
  const uint32_t sequence = U32(img, U32(img, list(4, 24) + 1) + 1);
  ASSERT_EQ(img[sequence], 13);
  const uint32_t star = U32(img, sequence + 1);
  ASSERT_NE(star, 0u);
  EXPECT_EQ(img[star], image::kGlyph);
  EXPECT_EQ(img[star + 2], 24);
}

TEST(ElementRecord, DynamicTextListsItsNonEmptyStates) {
  auto text = std::make_unique<CDynamicText>();
  text->SetSizeIndex(0);
  text->UpdateSize(Fonts());
  text->GetState(3)->m_Text = "ON";
  text->GetState(7)->m_Text = "OFF";
  text->m_Alignment = 2;
  Compiled c(Frames(One(std::move(text))));
  const auto& img = c.Image();
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(img[r + 28] | (img[r + 29] << 8), 0x2001);
  EXPECT_EQ(img[r + 32] | (img[r + 33] << 8), 2);
  EXPECT_EQ(img[r + 34], 3);
  EXPECT_EQ(img[r + 36], 7);
  const uint32_t list = U32(img, r + 24);
  EXPECT_EQ(list, r + 38);  // written in place after the values
  ASSERT_EQ(img[list], 2);
  EXPECT_EQ(img[U32(img, list + 1)], image::kText);
  EXPECT_EQ(img[U32(img, list + 5)], image::kText);
}

TEST(ElementRecord, AsciiStringCarriesEveryPrintableCharacter) {
  auto text = std::make_unique<CAsciiGE>();
  text->SetCharCount(2);
  text->SetSizeIndex(0);
  text->UpdateSize(Fonts());
  Compiled c(Frames(One(std::move(text))));
  const auto& img = c.Image();
  const uint32_t r = c.m_Records[0];
  EXPECT_EQ(img[r + 30], 2);
  const uint32_t list = U32(img, r + 24);
  const uint32_t sequence = U32(img, U32(img, list + 1) + 1);
  EXPECT_EQ(img[sequence], 95);
}

TEST(ElementRecord, AlarmTableRepairsItsFrameAndFillsTheBounds) {
  auto frame = std::vector<std::unique_ptr<CGraphElement>>();
  Compiled c(Frames(std::move(frame)));
  CKV410Project& project = c.m_Project;
  project.FindFrame(1)->SetNumber(4);
  CAlarmSettings& alarms = project.GetAlarms();
  alarms.m_AlarmFrame = 9;
  alarms.m_FontSizeIndex = 0;  // the built-in font
  CAlarmItem range;
  range.m_Flags = CAlarmItem::kValueAlarm | (3u << 1);
  range.m_Value = 50;
  range.m_Text = "level";
  alarms.m_Alarms.push_back(range);
  CAlarmItem below = range;
  below.m_Flags = CAlarmItem::kValueAlarm | (1u << 1);
  alarms.m_Alarms.push_back(below);
  c.m_Compiler.Compile(project);
  const auto& img = c.Image();
  const uint32_t table = U32(img, image::kDirectoryOffset + 4 * image::kAlarms);
  ASSERT_EQ(U32(img, table), 2u);
  EXPECT_EQ(img[table + 4] | (img[table + 5] << 8), 0x8001);
  EXPECT_EQ(img[table + 6] | (img[table + 7] << 8), 4);
  EXPECT_EQ(alarms.m_AlarmFrame, 9);  // the image has the repaired frame, the project its own
  const uint32_t digits = U32(img, table + 8);
  EXPECT_EQ(img[U32(img, digits + 1)], 15);
  const uint32_t first = U32(img, table + 12), second = U32(img, table + 16);
  EXPECT_EQ(first % 4, 0u);
  EXPECT_EQ(U32(img, first + 4), 50u);  // kind 3 without a range: A = B = value
  EXPECT_EQ(U32(img, first + 8), 50u);
  EXPECT_EQ(U32(img, second + 4), 0u);  // kind 1: B = value
  EXPECT_EQ(U32(img, second + 8), 50u);
  EXPECT_EQ(img[U32(img, first + 28)], image::kText);
}

TEST(ElementRecord, EmptyAlarmListStillHasItsDigits) {
  CKV410Project project;
  CImageCompiler compiler(Fonts());
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t table = U32(img, image::kDirectoryOffset + 4 * image::kAlarms);
  EXPECT_EQ(U32(img, table), 0u);
  EXPECT_EQ(img[table + 4] | (img[table + 5] << 8), 0x8001);  // the option is on by default
  EXPECT_EQ(img[table + 6] | (img[table + 7] << 8), 0);  // no frames
  // No record offsets: the digit string follows the table head directly.
  const uint32_t digits = U32(img, table + 8);
  EXPECT_EQ(digits, table + 12);
  ASSERT_EQ(img[digits], image::kText);
  EXPECT_EQ(img[U32(img, digits + 1)], 15);

  project.GetAlarms().m_AlarmFrameOption = 0;
  compiler.Compile(project);
  EXPECT_EQ(compiler.Image()[table + 4] | (compiler.Image()[table + 5] << 8), 0x8000);
}

TEST(ElementRecord, AlarmBoundsByCompareKind) {
  CKV410Project project;
  CAlarmSettings& alarms = project.GetAlarms();
  alarms.m_FontSizeIndex = 0;
  // Kinds 0 to 7 without a range, then 2 and 3 with one.
  for (uint32_t kind = 0; kind < 10; ++kind) {
    CAlarmItem item;
    item.m_Flags = CAlarmItem::kValueAlarm | ((kind < 8 ? kind : kind - 6) << 1) | 0x20;
    item.m_Value = 7;
    item.m_RangeUsed = kind >= 8 ? 1 : 0;
    item.m_RangeA = 90;
    item.m_RangeB = -10;
    item.m_BuzzerSeconds = 3;
    item.m_Text = "a" + std::to_string(kind);
    alarms.m_Alarms.push_back(item);
  }
  CImageCompiler compiler(Fonts());
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t table = U32(img, image::kDirectoryOffset + 4 * image::kAlarms);
  ASSERT_EQ(U32(img, table), 10u);
  const std::vector<std::pair<int32_t, int32_t>> expected = {
      {7, 0}, {0, 7}, {7, 7}, {7, 7}, {0, 7}, {7, 0}, {0, 0}, {0, 0}, {90, -10}, {90, -10}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const uint32_t record = U32(img, table + 12 + 4 * static_cast<uint32_t>(i));
    EXPECT_EQ(record % 4, 0u);
    EXPECT_EQ(U32(img, record), alarms.m_Alarms[i].m_Flags);
    EXPECT_EQ(static_cast<int32_t>(U32(img, record + 4)), expected[i].first);
    EXPECT_EQ(static_cast<int32_t>(U32(img, record + 8)), expected[i].second);
    EXPECT_EQ(img[record + 12] | (img[record + 13] << 8), 3);
    EXPECT_EQ(img[record + 14] | (img[record + 15] << 8), 0);
    // The message follows its record.
    EXPECT_EQ(U32(img, record + 28), record + 32);
  }
}

TEST(ElementRecord, LongTextsAreCutTo127CharactersWithAWarning) {
  auto text = std::make_unique<CStaticText>();
  text->SetText(std::string(200, 'x'));
  text->SetSizeIndex(0);
  text->UpdateSize(Fonts());
  test::DiagnosticCapture log;
  Compiled c(Frames(One(std::move(text))), log);
  const std::vector<std::string>& seen = log.Messages();
  const auto& img = c.Image();
  const uint32_t list = U32(img, c.m_Records[0] + 12);
  const uint32_t sequence = U32(img, U32(img, list + 1) + 1);
  EXPECT_EQ(img[sequence], 127);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].find("HMI1 ST0"), std::string::npos) << seen[0];
}

namespace {

std::string UpperCase(std::string a_Text) {
  for (char& c : a_Text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return a_Text;
}

// A 2 x 1 BMP with 24 bits per pixel.
std::vector<uint8_t> ColourBmp() {
  std::vector<uint8_t> bytes(14 + 40 + 8, 0);
  const auto put = [&](std::size_t a_At, uint32_t a_Value, int a_Size) {
    for (int i = 0; i < a_Size; ++i) bytes[a_At + static_cast<std::size_t>(i)] = static_cast<uint8_t>(a_Value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, static_cast<uint32_t>(bytes.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, 2, 4);
  put(22, 1, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, 8, 4);
  return bytes;
}

}  // namespace

TEST(ElementResources, BitmapFilesAreSharedWhateverTheLetterCaseOfTheirPath) {
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
  CImageCompiler compiler(Fonts());
  compiler.Resources().Buffer().AppendU32(0);  // objects never start at offset 0 in an image
  const std::string path = ComponentPath("led/LED0_0_2.dat");
  const uint32_t bitmap = compiler.Resources().CompileBitmapFile(path);
  ASSERT_NE(bitmap, 0u) << path;
  const std::size_t length = compiler.Resources().Buffer().Length();
  const auto& img = compiler.Resources().Buffer().Bytes();
  EXPECT_EQ(img[bitmap], image::kBitmap);
  const uint32_t width = img[bitmap + 1] | (img[bitmap + 2] << 8);
  const uint32_t height = img[bitmap + 3] | (img[bitmap + 4] << 8);
  EXPECT_EQ(length, bitmap + 5 + height * ((width + 7) / 8));
  EXPECT_EQ(compiler.Resources().CompileBitmapFile(UpperCase(path)), bitmap);
  EXPECT_EQ(compiler.Resources().Buffer().Length(), length);  // nothing written for the second use

  // The same file as a character: a glyph object with one-byte sizes, stored on its own.
  const uint32_t glyph = compiler.Resources().CompileBitmapFileAsChar(path);
  ASSERT_NE(glyph, 0u);
  EXPECT_NE(glyph, bitmap);
  EXPECT_EQ(img[glyph], image::kGlyph);
  EXPECT_EQ(img[glyph + 1], width);
  EXPECT_EQ(img[glyph + 2], height);
  EXPECT_EQ(compiler.Resources().Buffer().Length(), glyph + 3 + height * ((width + 7) / 8));
  EXPECT_EQ(compiler.Resources().CompileBitmapFileAsChar(UpperCase(path)), glyph);
}

TEST(ElementResources, UnreadableBitmapFilesGiveOffsetZeroAndTheirMessage) {
  const std::string colour = ::testing::TempDir() + "kd820_colour_element.bmp";
  {
    const auto bytes = ColourBmp();
    std::ofstream(colour, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<std::streamsize>(bytes.size()));
  }
  const std::string missing = ::testing::TempDir() + "kd820_no_such_picture.bmp";
  test::DiagnosticCapture log;
  CEditorContext context(log);
  CImageCompiler compiler(context);
  compiler.Resources().Buffer().AppendU32(0);
  EXPECT_EQ(compiler.Resources().CompileBitmapFile(colour), 0u);
  EXPECT_EQ(compiler.Resources().CompileBitmapFileAsChar(colour), 0u);
  EXPECT_EQ(compiler.Resources().CompileBitmapFile(missing), 0u);
  EXPECT_EQ(compiler.Resources().Buffer().Length(), 4u);
  ASSERT_EQ(log.Messages().size(), 3u);
  EXPECT_EQ(log.Messages()[0], "[CGraphElement::LoadSingleColorBitmap]Not single color bmp file: " + colour);
  EXPECT_EQ(log.Messages()[1], log.Messages()[0]);
  EXPECT_EQ(log.Messages()[2], "[CGraphElement::LoadSingleColorBitmap]Can not open file: " + missing);
  std::filesystem::remove(colour);
}

TEST(ElementResources, EmptyTextsAndCharactersWithoutAGlyph) {
  CImageCompiler compiler(Fonts());
  compiler.Resources().Buffer().AppendU32(0);
  EXPECT_EQ(compiler.Resources().CompileText("", "", 8, 2), 0u);
  EXPECT_EQ(compiler.Resources().CompileCharSequence("", "", 8, 2), 0u);
  EXPECT_EQ(compiler.Resources().Buffer().Length(), 4u);
  // The built-in font has no glyph outside printable ASCII: that slot stays 0.
  EXPECT_EQ(compiler.Resources().CompileChar(U'\u00E9', "", 8, 1), 0u);
  const uint32_t sequence = compiler.Resources().CompileCharSequence("a\u00E9b", "", 8, 1);
  const auto& img = compiler.Resources().Buffer().Bytes();
  ASSERT_EQ(img[sequence], 3);
  EXPECT_NE(U32(img, sequence + 1), 0u);
  EXPECT_EQ(U32(img, sequence + 5), 0u);
  EXPECT_NE(U32(img, sequence + 9), 0u);
  // Built-in texts carry no face in their keys: another face finds the same objects.
  EXPECT_EQ(compiler.Resources().CompileCharSequence("a\u00E9b", "Some Face", 8, 1), sequence);
  const uint32_t text = compiler.Resources().CompileText("ab", "", 12, 2);
  EXPECT_EQ(compiler.Resources().CompileText("ab", "Other", 12, 2), text);
  EXPECT_EQ(img[text], image::kText);
}

TEST(TextSize, StaticTextSizesItselfFromItsText) {
  CStaticText text;
  text.SetSizeIndex(0);
  text.SetText("RUN");
  text.UpdateSize(Fonts());
  EXPECT_EQ(text.GetWidth(), 18);  // three 6-pixel cells
  EXPECT_EQ(text.GetHeight(), 8);
  text.SetSizeIndex(2);
  text.UpdateSize(Fonts());
  EXPECT_EQ(text.GetHeight(), 16);
  EXPECT_EQ(text.GetWidth(),
            text.UsesBuiltinFont() ? 24 : TextWidth(Fonts(), "RUN", 2, false, text.GetFace()));
  text.SetBuiltinOption(1);
  text.UpdateSize(Fonts());
  EXPECT_EQ(text.GetWidth(), 24);  // 8-pixel cells at 16 pixels
  text.SetSizeIndex(4);
  text.UpdateSize(Fonts());
  EXPECT_EQ(text.GetHeight(), 32);
  EXPECT_GT(text.GetWidth(), 0);

  // An entered text loses characters at its end until it fits the display.
  CStaticText entered;
  entered.SetSizeIndex(0);
  entered.EnterText(std::string(40, 'x'), Fonts());
  EXPECT_EQ(entered.GetText(), std::string(32, 'x'));
  EXPECT_EQ(entered.GetWidth(), 192);
}

TEST(TextSize, DynamicAsciiAndRegisterElements) {
  CDynamicText state;
  state.SetSizeIndex(0);
  state.GetState(1)->m_Text = "ON";
  state.GetState(2)->m_Text = "STOPPED";
  state.UpdateSize(Fonts());
  EXPECT_EQ(state.GetWidth(), 7 * 6);
  EXPECT_EQ(state.GetHeight(), 8);

  CAsciiGE ascii;
  ascii.SetSizeIndex(0);
  ascii.SetCharCount(10);
  ascii.UpdateSize(Fonts());
  EXPECT_EQ(ascii.GetWidth(), 60);

  CRegisterGE reg;  // signed, 4 digits: sign and four digits
  reg.m_SizeIndex = 2;
  reg.UpdateSize(Fonts());
  EXPECT_EQ(reg.GetWidth(), 5 * 8);
  EXPECT_EQ(reg.GetHeight(), 16);
  reg.m_FloatBits = 2;
  reg.UpdateSize(Fonts());
  EXPECT_EQ(reg.GetWidth(), 8 * 8);
}

TEST(ElementRecord, TextsInTheBuiltInFontWarnAboutCharactersItLacks) {
  auto text = std::make_unique<CStaticText>();
  text->SetText("RUN 运行");
  text->SetSizeIndex(0);  // always the built-in font
  auto plain = std::make_unique<CStaticText>();
  plain->SetText("STOP");
  plain->SetSizeIndex(0);
  test::DiagnosticCapture log;
  Compiled c(Frames(One(std::move(text)), One(std::move(plain))), log);
  std::vector<std::string> warnings;
  for (const std::string& line : log.Messages()) {
    if (line.rfind("warning: ", 0) == 0) warnings.push_back(line);
  }
  EXPECT_EQ(warnings, std::vector<std::string>{"warning: HMI1 ST0: the built-in font has no glyph for "
                                               "\"运行\"; the panel shows the text without it"});
}
