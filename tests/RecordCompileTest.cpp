// Compiled records that need no rasterizer: the image buffer, the settings record with its
// control block, and data-transfer records.
#include <gtest/gtest.h>

#include "common/ImageFormat.h"
#include "editor/base/ImageBuffer.h"
#include "editor/compiler/ResourceWriter.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/DataTransfer.h"
#include "editor/project/GlobalSettings.h"
#include "editor/screens/GraphElement.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;

namespace {

uint32_t U32(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return a_Bytes[a_At] | (a_Bytes[a_At + 1] << 8) | (a_Bytes[a_At + 2] << 16) |
         (static_cast<uint32_t>(a_Bytes[a_At + 3]) << 24);
}

uint16_t U16(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return static_cast<uint16_t>(a_Bytes[a_At] | (a_Bytes[a_At + 1] << 8));
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& a_Bytes, std::size_t a_At, std::size_t a_N) {
  return {a_Bytes.begin() + static_cast<long>(a_At), a_Bytes.begin() + static_cast<long>(a_At + a_N)};
}

// A context without PLC models, for records whose addresses are internal.
CEditorContext& NoModels() {
  static CEditorContext context;
  return context;
}

std::vector<uint8_t> Descriptor(const CAddr& a_Addr) {
  const auto d = a_Addr.Descriptor(NoModels());
  return {d.begin(), d.end()};
}

}  // namespace

TEST(ImageBuffer, PrimitivesAndCache) {
  CImageBuffer image;
  image.AppendU8(1);
  image.AppendU16(0x0302);
  image.Align();
  EXPECT_EQ(image.Bytes(), (std::vector<uint8_t>{1, 2, 3, 0}));
  const std::size_t slots = image.ReserveSlots(2);
  EXPECT_EQ(slots, 4u);
  image.PatchU32(slots + 4, 0xAABBCCDD);
  EXPECT_EQ(U32(image.Bytes(), 8), 0xAABBCCDDu);
  image.PatchU32(14, 1);  // patching past the end grows the buffer
  EXPECT_EQ(image.Length(), 18u);
  image.Align();
  EXPECT_EQ(image.Length(), 20u);

  CResourceCache cache;
  EXPECT_EQ(cache.Find("RUN"), 0u);
  cache.Store("RUN", 64);
  EXPECT_EQ(cache.Find("RUN"), 64u);
  EXPECT_EQ(cache.Find("run"), 0u);  // keys are case-sensitive

  std::vector<uint8_t> img(30, 0);
  img[24] = 200;
  img[29] = 100;
  img[3] = 7;  // header bytes are not counted
  EXPECT_EQ(image::Checksum(img.data(), img.size()), 300u);
}

TEST(SettingsRecord, NewProjectDefaults) {
  CGlobalSettings settings;
  CResourceWriter image(NoModels());
  image.Buffer().AppendU32(0);  // the record's offset does not matter
  ASSERT_EQ(settings.Compile(image), std::nullopt);
  const auto& b = image.Buffer().Bytes();
  ASSERT_EQ(b.size(), 4 + image::kSettingsRecordSize);
  EXPECT_EQ(U32(b, 4), 1u);
  EXPECT_EQ(U16(b, 8), 1);    // start frame
  EXPECT_EQ(U16(b, 10), 0);   // screen-saver frame
  EXPECT_EQ(U16(b, 12), 3);   // minutes
  EXPECT_EQ(b[14], 1);        // password level + 1
  EXPECT_EQ(U16(b, 16), 255);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(U32(b, 20 + 4 * i), 1111u);
  EXPECT_EQ(U32(b, 52), 0u);  // no control block
  EXPECT_EQ(U16(b, 56), 1);
  EXPECT_EQ(U16(b, 58), 1);
}

TEST(SettingsRecord, ControlBlockUsesConsecutiveRegisters) {
  CGlobalSettings settings;
  settings.m_ControlFlags = CGlobalSettings::kPlcSelectsFrame | CGlobalSettings::kReportFrame;
  CResourceWriter image(NoModels());
  ASSERT_EQ(settings.Compile(image), std::nullopt);
  const auto& b = image.Buffer().Bytes();
  ASSERT_EQ(b.size(), 56u + 4 + 24);
  EXPECT_EQ(U32(b, 48), 56u);
  EXPECT_EQ(b[56], 2);
  EXPECT_EQ(b[57], 0);
  EXPECT_EQ(U16(b, 58), 3);
  CAddr lw0, lw1;
  lw1.m_Address = 1;
  EXPECT_EQ(Slice(b, 60, 12), Descriptor(lw0));
  EXPECT_EQ(Slice(b, 72, 12), Descriptor(lw1));
  EXPECT_EQ(settings.m_ControlAddress.m_Address, 0);  // not changed by compiling

  settings.m_ControlFlags = CGlobalSettings::kReportFrame;
  settings.m_ControlAddress.m_Address = 9;
  CResourceWriter single(NoModels());
  ASSERT_EQ(settings.Compile(single), std::nullopt);
  ASSERT_EQ(single.Buffer().Length(), 56u + 4 + 12);
  EXPECT_EQ(single.Buffer().Bytes()[56], 1);
  EXPECT_EQ(Slice(single.Buffer().Bytes(), 60, 12), Descriptor(settings.m_ControlAddress));
}

TEST(SettingsRecord, ControlRegistersOfAMissingTypeFollowEachOtherInInternalMemory) {
  CGlobalSettings settings;
  settings.m_ControlFlags = CGlobalSettings::kPlcSelectsFrame | CGlobalSettings::kReportFrame;
  settings.m_ControlAddress.m_Port = 0;
  settings.m_ControlAddress.m_TypeName = "GONE";
  settings.m_ControlAddress.m_Address = 300;
  test::DiagnosticCapture log;
  CEditorContext context(log);
  CResourceWriter image(context);
  ASSERT_EQ(settings.Compile(image), std::nullopt);
  CAddr lw0, lw1;
  lw1.m_Address = 1;
  EXPECT_EQ(Slice(image.Buffer().Bytes(), 60, 12), Descriptor(lw0));
  EXPECT_EQ(Slice(image.Buffer().Bytes(), 72, 12), Descriptor(lw1));  // not LW 0 twice
  EXPECT_EQ(log.Messages().size(), 1u);
  EXPECT_EQ(settings.m_ControlAddress.m_TypeName, "GONE");
}

TEST(SettingsRecord, ByteAddressedDoubleWordsStepByFourAndBitUnitsAreRefused) {
  CRegisterType bytes;
  bytes.m_Name = "V";
  bytes.m_Width = kWidthDWord;
  bytes.m_AddressUnit = kUnitByte;
  CRegisterType bits;
  bits.m_Name = "B";
  bits.m_Width = kWidthWord;
  bits.m_AddressUnit = kUnitBit;
  CEditorContext context;
  CPLCModel& model = *context.GetPortModel(0);
  model.m_WordNames = {{"V", bytes}, {"B", bits}};
  CGlobalSettings settings;
  settings.m_ControlFlags = 3;
  settings.m_ControlAddress.m_Port = 0;
  settings.m_ControlAddress.m_Width = CAddr::kDoubleWord;
  settings.m_ControlAddress.m_TypeName = "V";
  settings.m_ControlAddress.m_Address = 100;
  CResourceWriter image(context);
  ASSERT_EQ(settings.Compile(image), std::nullopt);
  EXPECT_EQ(U32(image.Buffer().Bytes(), 60 + 8), 100u);
  EXPECT_EQ(U32(image.Buffer().Bytes(), 72 + 8), 104u);

  settings.m_ControlAddress.m_Width = CAddr::kWord;
  settings.m_ControlAddress.m_TypeName = "B";
  CResourceWriter refused(context);
  EXPECT_NE(settings.Compile(refused), std::nullopt);
}

TEST(TransferRecord, FlagsAndCounts) {
  CDataTransferItem periodic;
  periodic.m_Periodic = 1;
  CResourceWriter a(NoModels());
  periodic.Compile(a);
  ASSERT_EQ(a.Buffer().Length(), image::kTransferRecordSize);
  EXPECT_EQ(U32(a.Buffer().Bytes(), 0), 0x01u);

  CDataTransferItem edge;
  edge.m_EdgeMode = CDataTransferItem::kRising;
  edge.m_Frame = 3;
  edge.m_ExecutionLimit = 10;
  edge.m_Period = 25;
  edge.m_Count = 5;
  edge.m_Source = CAddr(CAddr::kDoubleWord);
  CResourceWriter b(NoModels());
  edge.Compile(b);
  const auto& bytes = b.Buffer().Bytes();
  EXPECT_EQ(U32(bytes, 0), 0x32u);
  EXPECT_EQ(U16(bytes, 4 + 6), 3);   // double-word source: 5 registers take 3 units
  EXPECT_EQ(U16(bytes, 16 + 6), 5);  // word destination
  EXPECT_EQ(Slice(bytes, 28, 12), Descriptor(edge.m_Trigger));
  EXPECT_EQ(U32(bytes, 40), 25u);
  EXPECT_EQ(U16(bytes, 44), 3);
  EXPECT_EQ(U16(bytes, 46), 10);

  CDataTransferItem both;
  both.m_EdgeMode = CDataTransferItem::kBothEdges;
  CResourceWriter c(NoModels());
  both.Compile(c);
  EXPECT_EQ(U32(c.Buffer().Bytes(), 0), 0x06u);
}

TEST(TransferRecord, MissingPortTypeCompilesAsInternalWithAWarningAndStaysInTheProject) {
  CDataTransferItem item;
  item.m_Source.m_Port = 1;
  item.m_Source.m_TypeName = "GONE";
  item.m_Source.m_Address = 12;
  test::DiagnosticCapture log;
  CEditorContext context(log);
  CResourceWriter image(context);
  image.SetWhere("", "data transfers");
  item.Compile(image);
  EXPECT_EQ(item.m_Source.m_Port, 1);  // the user's address is kept
  EXPECT_EQ(item.m_Source.m_TypeName, "GONE");
  EXPECT_EQ(image.Buffer().Bytes()[4 + 2], 0xFF);
  EXPECT_EQ(log.Messages(),
            std::vector<std::string>{"warning: data transfers: address COM1 GONE 12: the PLC on COM1 "
                                     "has no word register type \"GONE\"; compiled as the internal "
                                     "address LW 0"});
}

namespace {
// An element type with nothing of its own, to reach the common record start.
class CPlainElement : public CGraphElement {
 public:
  CPlainElement() : CGraphElement(kTypeBar) {}
};
}  // namespace

TEST(ElementPrefix, RectangleRegistersAndResourceSlots) {
  CPlainElement e;
  e.SetPosition(10, 5);
  e.SetWidth(20);
  e.SetHeight(8);
  CResourceWriter plain(NoModels());
  EXPECT_TRUE(e.CompilePrefix(plain, {}, 0).empty());
  EXPECT_EQ(plain.Buffer().Bytes(), (std::vector<uint8_t>{10, 5, 29, 12, 0, 0, 0, 0, 0, 0, 0, 0}));

  CAddr reg;
  reg.m_Address = 7;
  CResourceWriter withRegister(NoModels());
  const auto slots = e.CompilePrefix(withRegister, {{1, &reg}}, 4);
  const auto& b = withRegister.Buffer().Bytes();
  ASSERT_EQ(b.size(), 8u + 12 + 4 + 4);
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(U16(b, 6), 2);  // the descriptor sits in slot 1
  EXPECT_EQ(Slice(b, 8, 12), Descriptor(reg));
  EXPECT_EQ(U32(b, 20), 4u);
  EXPECT_EQ(slots, std::vector<std::size_t>{24});
}

TEST(ElementPrefix, DoubleSizeKeepsTheElementOnTheDisplay) {
  CPlainElement e;
  e.SetPosition(100, 0);
  e.SetWidth(40);
  e.SetHeight(8);
  e.SetDoubleSize(true, 128, 64);
  EXPECT_EQ(e.GetWidth(), 80);
  EXPECT_EQ(e.GetHeight(), 16);
  EXPECT_EQ(e.GetLeft(), 48);
  CResourceWriter image(NoModels());
  e.CompilePrefix(image, {}, 0);
  EXPECT_EQ(image.Buffer().Bytes()[0], 48);
  EXPECT_EQ(image.Buffer().Bytes()[2], 127);  // ends at the right edge
  EXPECT_EQ(image.Buffer().Bytes()[3], 15);
  e.SetDoubleSize(false, 128, 64);
  EXPECT_EQ(e.GetWidth(), 40);
  EXPECT_EQ(e.GetLeft(), 48);
}
