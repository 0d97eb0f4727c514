// The image framing: header, directory, port, frame, sampling-buffer and transfer sections.
#include <gtest/gtest.h>

#include "common/ImageFormat.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"
#include "demo/SampleProject.h"
#include "tests/JsonTestSupport.h"
#include "tests/TestSupport.h"

#include <sstream>

using namespace kd820;

namespace {

uint32_t U32(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return a_Bytes[a_At] | (a_Bytes[a_At + 1] << 8) | (a_Bytes[a_At + 2] << 16) |
         (static_cast<uint32_t>(a_Bytes[a_At + 3]) << 24);
}

uint16_t U16(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return static_cast<uint16_t>(a_Bytes[a_At] | (a_Bytes[a_At + 1] << 8));
}

uint32_t Section(const std::vector<uint8_t>& a_Image, std::size_t a_Index) {
  return U32(a_Image, image::kDirectoryOffset + 4 * a_Index);
}

}  // namespace

TEST(ImageCompiler, ProjectWithoutFrames) {
  CKV410Project project;
  CEditorContext context;
  CImageCompiler compiler(context);
  EXPECT_TRUE(compiler.Compile(project).empty());
  const auto& img = compiler.Image();
  EXPECT_EQ(std::string(img.begin(), img.begin() + 6), "Marvok");
  EXPECT_EQ(img[6] | img[7], 0);
  EXPECT_EQ(U32(img, 8), 1u);
  EXPECT_EQ(U32(img, 12), img.size());
  EXPECT_EQ(U32(img, 20), 24u);
  EXPECT_EQ(U32(img, 16), image::Checksum(img.data(), img.size()));
  EXPECT_EQ(Section(img, image::kSettings), 52u);
  EXPECT_EQ(Section(img, image::kReserved), 0u);
  EXPECT_NE(Section(img, image::kFrames), 0u);
  EXPECT_EQ(U32(img, Section(img, image::kFrames)), 0u);
  EXPECT_NE(Section(img, image::kSamplingBuffers), 0u);
  EXPECT_EQ(U32(img, Section(img, image::kSamplingBuffers)), 0u);
  EXPECT_EQ(U32(img, Section(img, image::kPorts)), 0u);  // no port in use
  EXPECT_EQ(U16(img, Section(img, image::kAlarms) + 6), 0);  // no alarm frame
}

TEST(ImageCompiler, ChecksumLeavesOutTheHeader) {
  std::vector<uint8_t> img(40, 1);
  const uint32_t sum = image::Checksum(img.data(), img.size());
  EXPECT_EQ(sum, 16u);
  img[12] = 99;
  EXPECT_EQ(image::Checksum(img.data(), img.size()), sum);

  // In a compiled image: the stored sum covers the bytes after the header only.
  CKV410Project project;
  CEditorContext context;
  CImageCompiler compiler(context);
  compiler.Compile(project);
  std::vector<uint8_t> compiled = compiler.Image();
  uint32_t expected = 0;
  for (std::size_t i = 24; i < compiled.size(); ++i) expected += compiled[i];
  EXPECT_EQ(U32(compiled, 16), expected);
  for (std::size_t i = 0; i < 24; ++i) compiled[i] ^= 0xA5;
  EXPECT_EQ(image::Checksum(compiled.data(), compiled.size()), expected);
}

TEST(ImageCompiler, PortTableCountsEnabledPortsAndPointsAtTheirRecords) {
  CKV410Project project;
  project.GetPort(0)->m_Enabled = 1;
  project.GetPort(2)->m_Enabled = 1;
  CEditorContext context;
  CImageCompiler compiler(context);
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t ports = Section(img, image::kPorts);
  EXPECT_EQ(U32(img, ports), 2u);
  const uint32_t first = U32(img, ports + 4), second = U32(img, ports + 8);
  EXPECT_EQ(first, ports + 12);
  EXPECT_EQ(second, first + 36);
  EXPECT_EQ(img[first], 0);
  EXPECT_EQ(img[second], 2);
}

TEST(ImageCompiler, EmptyFrameRecordAndFocusOrder) {
  CKV410Project project;
  auto empty = std::make_unique<CHMIFrame>(2);
  empty->SetPrevious(1);
  empty->SetNext(3);
  project.AddFrame(empty);
  auto busy = std::make_unique<CHMIFrame>(5);
  busy->AddElement(std::make_unique<CStaticText>());
  auto input = std::make_unique<CRegisterGE>();
  input->m_Setting = 1;
  input->SetInputOrder(4);
  busy->AddElement(std::move(input));
  auto key = std::make_unique<CFunckeyGE>();
  key->m_KeyNumber = 2;
  key->SetInputOrder(4);
  busy->AddElement(std::move(key));
  auto first = std::make_unique<CRegisterGE>();
  first->m_Setting = 1;
  first->SetInputOrder(1);
  busy->AddElement(std::move(first));
  project.AddFrame(busy);

  CEditorContext context;

  CImageCompiler compiler(context);
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t table = Section(img, image::kFrames);
  ASSERT_EQ(U32(img, table), 2u);
  const uint32_t f2 = U32(img, table + 4), f5 = U32(img, table + 8);
  EXPECT_EQ(f5 - f2, 22u);  // header, no elements, the terminator alone
  EXPECT_EQ(img[f2], 4);
  EXPECT_EQ(img[f2 + 6], 191);
  EXPECT_EQ(img[f2 + 7], 63);
  EXPECT_EQ(U16(img, f2 + 8), 2);
  EXPECT_EQ(U16(img, f2 + 12), 1);
  EXPECT_EQ(U16(img, f2 + 14), 3);
  EXPECT_EQ(U16(img, f2 + 20), 0xFFFF);

  ASSERT_EQ(U16(img, f5 + 18), 4);
  const std::size_t types = f5 + 20 + 16, focus = types + 8;
  EXPECT_EQ(U16(img, types), kTypeStaticText);
  EXPECT_EQ(U16(img, types + 2), kTypeRegister);
  EXPECT_EQ(U16(img, types + 4), kTypeFunckey);
  // Order value 1 first, then the two with value 4 in list order.
  EXPECT_EQ(U16(img, focus), 3);
  EXPECT_EQ(U16(img, focus + 2), 1);
  EXPECT_EQ(U16(img, focus + 4), 2);
  EXPECT_EQ(U16(img, focus + 6), 0xFFFF);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(U32(img, f5 + 20 + 4 * i) % 4, 0u);
}

TEST(ImageCompiler, FrameTableListsFramesByNumberAndDefaultElementsStayOutOfFocus) {
  CKV410Project project;
  for (uint16_t number : {9, 2, 5}) {
    auto frame = std::make_unique<CHMIFrame>(number);
    frame->AddElement(std::make_unique<CStaticText>());
    frame->AddElement(std::make_unique<CRegisterGE>());  // input off: not in the focus order
    frame->AddElement(std::make_unique<CFunckeyGE>());   // key number 0: not either
    project.AddFrame(frame);
  }
  CEditorContext context;
  CImageCompiler compiler(context);
  compiler.Compile(project);
  const auto& img = compiler.Image();
  EXPECT_EQ(Section(img, image::kReserved), 0u);
  const uint32_t table = Section(img, image::kFrames);
  ASSERT_EQ(U32(img, table), 3u);
  std::vector<uint16_t> numbers;
  for (uint32_t i = 0; i < 3; ++i) {
    const uint32_t frame = U32(img, table + 4 + 4 * i);
    numbers.push_back(U16(img, frame + 8));
    ASSERT_EQ(U16(img, frame + 18), 3);
    // The type codes are followed directly by the terminator.
    EXPECT_EQ(U16(img, frame + 20 + 12 + 4), kTypeFunckey);
    EXPECT_EQ(U16(img, frame + 20 + 18), 0xFFFF);
  }
  EXPECT_EQ(numbers, (std::vector<uint16_t>{2, 5, 9}));
}

TEST(ImageCompiler, DisplayLargerThanTheFrameRecordsCanHoldIsRefused) {
  CEditorContext context;
  CImageCompiler compiler(context);
  EXPECT_FALSE(compiler.SetDisplaySize(320, 240));
  EXPECT_FALSE(compiler.SetDisplaySize(128, 257));
  EXPECT_FALSE(compiler.SetDisplaySize(0, 64));
  EXPECT_EQ(compiler.DisplayWidth(), 192);  // unchanged
  EXPECT_EQ(compiler.DisplayHeight(), 64);
  ASSERT_TRUE(compiler.SetDisplaySize(256, 256));
  CKV410Project project;
  auto frame = std::make_unique<CHMIFrame>(1);
  project.AddFrame(frame);
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t record = U32(img, Section(img, image::kFrames) + 4);
  EXPECT_EQ(img[record + 6], 255);
  EXPECT_EQ(img[record + 7], 255);
}

TEST(ImageCompiler, TrendsShareSamplingBuffersNewestFirst) {
  CKV410Project project;
  auto frame = std::make_unique<CHMIFrame>(1);
  const auto trend = [](int32_t a_Address, int32_t a_Points) {
    auto t = std::make_unique<CTrendGE>();
    t->m_Reg.m_Address = a_Address;
    t->m_Points = a_Points;
    return t;
  };
  auto* a = static_cast<CTrendGE*>(frame->AddElement(trend(10, 20)));
  auto* b = static_cast<CTrendGE*>(frame->AddElement(trend(11, 20)));
  auto* c = static_cast<CTrendGE*>(frame->AddElement(trend(10, 20)));
  project.AddFrame(frame);
  CEditorContext context;
  CImageCompiler compiler(context);
  compiler.Compile(project);
  ASSERT_EQ(compiler.Resources().SamplingEntries().size(), 2u);
  EXPECT_EQ(compiler.Resources().SamplingIndex(*a), compiler.Resources().SamplingIndex(*c));
  EXPECT_EQ(compiler.Resources().SamplingIndex(*b), 0u);
  EXPECT_EQ(compiler.Resources().SamplingIndex(*a), 1u);

  const auto& img = compiler.Image();
  const uint32_t table = Section(img, image::kSamplingBuffers);
  EXPECT_EQ(U32(img, table), 2u);
  EXPECT_EQ(U32(img, table + 4), table + 12);
  EXPECT_EQ(U32(img, table + 8), table + 12 + 24);
  EXPECT_EQ(U32(img, table + 12), 0u);
  EXPECT_EQ(U32(img, table + 12 + 4 + 8), 11u);  // address of the newest entry
  EXPECT_EQ(U32(img, table + 12 + 16), 10u);     // period
  EXPECT_EQ(U32(img, table + 12 + 20), 20u);     // points
}

TEST(ImageCompiler, TransferTable) {
  CKV410Project project;
  project.GetTransfers().m_Items.resize(2);
  project.GetTransfers().m_Items[1].m_Periodic = 1;
  CEditorContext context;
  CImageCompiler compiler(context);
  compiler.Compile(project);
  const auto& img = compiler.Image();
  const uint32_t table = Section(img, image::kTransfers);
  ASSERT_EQ(U32(img, table), 2u);
  EXPECT_EQ(U32(img, table + 4), table + 12);
  EXPECT_EQ(U32(img, table + 8), table + 12 + 48);
  EXPECT_EQ(U32(img, table + 12 + 48), 1u);
  EXPECT_EQ(img.size(), table + 12 + 96);
}


TEST(ImageCompiler, CompilingLeavesTheProjectAsItWasAndWarnsAboutAddressesThePlcLacks) {
  // COM0 without a PLC model that knows "QX": the register compiles as the default internal
  // address, and the user's address stays in the project for the next save.
  CKV410Project project;
  project.GetPort(0)->m_Enabled = 1;
  auto frame = std::make_unique<CHMIFrame>(3);
  auto reg = std::make_unique<CRegisterGE>();
  reg->m_Reg.m_Port = 0;
  reg->m_Reg.m_TypeName = "QX";
  reg->m_Reg.m_Address = 40;
  frame->AddElement(std::move(reg));
  project.GetAlarms().m_AlarmFrame = 99;  // no such frame: the image gets frame 3
  project.AddFrame(frame);
  const auto before = test::StoreProject(project);

  test::DiagnosticCapture log;
  CEditorContext context(log);
  CImageCompiler compiler(context);
  EXPECT_TRUE(compiler.Compile(project).empty());
  EXPECT_EQ(test::StoreProject(project), before);
  std::vector<std::string> warnings;
  for (const std::string& text : log.Messages()) {
    if (text.rfind("warning: ", 0) == 0) warnings.push_back(text);
  }
  EXPECT_EQ(warnings, std::vector<std::string>{"warning: HMI3 REG0: address COM0 QX 40: the PLC on "
                                               "COM0 has no word register type \"QX\"; compiled "
                                               "as the internal address LW 0"});
  const auto& img = compiler.Image();
  const uint32_t frames = Section(img, image::kFrames);
  const uint32_t record = U32(img, U32(img, frames + 4) + 20);
  EXPECT_EQ(img[record + 8 + 2], 0xFF);  // the descriptor's port: internal
  EXPECT_EQ(U16(img, Section(img, image::kAlarms) + 6), 3);
}

TEST(ImageCompiler, ElementRecordsBeyondWhatThePanelAddressesAreAnError) {
  // Pictures of distinct 248 x 255 library items: 8 KB of bitmap each, written before the
  // records that follow them, until those start past 1 MB.
  CKV410Project project;
  std::vector<uint8_t> pixels(static_cast<std::size_t>(31 * 255), 0x5A);
  uint16_t number = 1;
  std::unique_ptr<CHMIFrame> frame;
  for (int i = 0; i < 140; ++i) {
    if (!frame) frame = std::make_unique<CHMIFrame>(number++);
    auto picture = std::make_unique<CPictureGE>();
    pixels[0] = static_cast<uint8_t>(i);  // distinct pictures: each is written
    picture->m_ItemId = project.GetBitmapLib().AddItem(248, 255, pixels);
    frame->AddElement(std::move(picture));
    if (frame->GetElements().size() == 32) project.AddFrame(frame);
  }
  if (frame) project.AddFrame(frame);
  CEditorContext context;
  CImageCompiler compiler(context);
  const auto problems = compiler.Compile(project);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("element records must start below byte 1048576 (1 MB)"), std::string::npos)
      << problems[0];
  EXPECT_NE(problems[0].find("bytes too far"), std::string::npos) << problems[0];

  // Below the limit the same kind of project compiles.
  CKV410Project small;
  auto one = std::make_unique<CHMIFrame>(1);
  auto picture = std::make_unique<CPictureGE>();
  picture->m_ItemId = small.GetBitmapLib().AddItem(248, 255, pixels);
  one->AddElement(std::move(picture));
  small.AddFrame(one);
  EXPECT_TRUE(compiler.Compile(small).empty());
}

TEST(ImageCompiler, ChecksumCountsTheLastByteOfTheImage) {
  // The image ends in the last data transfer record, whose final byte is the high byte of its
  // execution limit: with a limit of 0x1234 a sum that stops one byte short differs.
  CEditorContext context;
  auto project = MakeSampleProject(context);
  ASSERT_FALSE(project->GetTransfers().m_Items.empty());
  project->GetTransfers().m_Items.back().m_ExecutionLimit = 0x1234;
  CImageCompiler compiler(context);
  compiler.Compile(*project);
  const auto& img = compiler.Image();
  ASSERT_GT(img.size(), image::kHeaderSize);
  ASSERT_NE(img.back(), 0) << "the test needs an image that ends in a non-zero byte";
  uint32_t expected = 0;
  for (std::size_t i = image::kHeaderSize; i < img.size(); ++i) expected += img[i];
  EXPECT_EQ(U32(img, image::kChecksumOffset), expected);
  EXPECT_EQ(U32(img, image::kLengthOffset), img.size());
}
