// The package writer: layout, fill and sums, the driver table, both firmware entries, and a
// failed write that leaves no half package.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/PackageFormat.h"
#include "editor/compiler/PackageWriter.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

namespace {

using kd820::PackageWriter;

class PackageWriterTest : public ::testing::Test {
 protected:
  // A source file with the 16-byte header of driver and firmware files, version at 8..9.
  std::string Source(const std::string& a_Name, std::size_t a_Body, uint16_t a_Version, uint8_t a_Fill) {
    std::vector<uint8_t> bytes(16 + a_Body, a_Fill);
    for (std::size_t i = 0; i < 16; ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
    bytes[8] = static_cast<uint8_t>(a_Version);
    bytes[9] = static_cast<uint8_t>(a_Version >> 8);
    test::WriteFile(m_Dir.File(a_Name), bytes);
    return m_Dir.File(a_Name);
  }
  std::string Image(std::size_t a_Size) {
    std::vector<uint8_t> bytes(a_Size);
    for (std::size_t i = 0; i < a_Size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    test::WriteFile(m_Dir.File("p.bin~"), bytes);
    return m_Dir.File("p.bin~");
  }
  test::TempDir m_Dir;
  kd820::CProblemList m_Problems;
};

pkg::SectionEntry Entry(const std::vector<uint8_t>& a_Package, std::size_t a_At) {
  return pkg::SectionEntry::Decode(a_Package.data() + a_At);
}

TEST_F(PackageWriterTest, WithoutDriversTheTableHoldsTwoZeroEntriesAndTheSectionsFollow) {
  kd820::CPackageSources sources;
  sources.m_Image = Image(4 * 25 + 1);
  sources.m_Gui1 = Source("gui1.bin", 10, 0x0203, 0x11);
  std::vector<uint8_t> package;
  ASSERT_TRUE(PackageWriter::Build(sources, package, m_Problems));
  // The tag: "marvok-td", its NUL, two zero bytes.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(package.data())), "marvok-td");
  for (std::size_t i = 9; i < 16; ++i) EXPECT_EQ(package[i], 0) << i;
  EXPECT_EQ(pkg::SectionEntry::U32(package.data() + 16), 2u);
  EXPECT_EQ(pkg::SectionEntry::U32(package.data() + 100), 2u);
  EXPECT_EQ(pkg::SectionEntry::U32(package.data() + 104), 108u);
  EXPECT_EQ(Entry(package, 108), pkg::SectionEntry{});
  EXPECT_EQ(Entry(package, 128), pkg::SectionEntry{});
  EXPECT_EQ(Entry(package, 40), pkg::SectionEntry{});
  // 4k + 1 bytes take 3 bytes of fill; the sum covers the real bytes only.
  const pkg::SectionEntry user = Entry(package, 20);
  EXPECT_EQ(user.m_Offset, 148u);
  EXPECT_EQ(user.m_Size, 104u);
  uint32_t sum = 0;
  for (std::size_t i = 0; i < 101; ++i) sum += static_cast<uint8_t>(i * 7 + 3);
  EXPECT_EQ(user.m_Sum, sum);
  EXPECT_EQ(user.m_Version, 0);
  for (std::size_t i = 148 + 101; i < 148 + 104; ++i) EXPECT_EQ(package[i], 0);
  // The firmware starts after it, without its 16-byte header, with its version in the entry.
  const pkg::SectionEntry gui = Entry(package, 60);
  EXPECT_EQ(gui.m_Offset, 148u + 104u);
  EXPECT_EQ(gui.m_Size, 12u);
  EXPECT_EQ(gui.m_Sum, 10u * 0x11u);
  EXPECT_EQ(gui.m_Version, 0x0203);
  EXPECT_EQ(package[gui.m_Offset], 0x11);
  // No second firmware: its entry is all zero.
  EXPECT_EQ(Entry(package, 80), pkg::SectionEntry{});
  EXPECT_EQ(package.size(), gui.m_Offset + gui.m_Size);
}

TEST_F(PackageWriterTest, DriversAndBothFirmwaresInTheirOrderOnFourByteBoundaries) {
  kd820::CPackageSources sources;
  sources.m_Image = Image(8);
  sources.m_Drivers = {Source("d0.bin", 5, 9, 0x22), Source("d1.bin", 6, 9, 0x33)};
  sources.m_Gui1 = Source("gui1.bin", 7, 4, 0x44);
  sources.m_Gui2 = Source("gui2.bin", 0, 6, 0x55);
  std::vector<uint8_t> package;
  ASSERT_TRUE(PackageWriter::Build(sources, package, m_Problems));
  const pkg::SectionEntry d0 = Entry(package, 108), d1 = Entry(package, 128), g1 = Entry(package, 60),
                          g2 = Entry(package, 80);
  EXPECT_EQ(d0.m_Offset, 156u);
  EXPECT_EQ(d0.m_Size, 8u);
  EXPECT_EQ(d0.m_Sum, 5u * 0x22u);
  EXPECT_EQ(d0.m_Version, 0);  // drivers carry no version
  EXPECT_EQ(d1.m_Offset, 164u);
  EXPECT_EQ(g1.m_Offset, 172u);
  EXPECT_EQ(g1.m_Version, 4);
  // A firmware of no bytes beyond its header still has its place and version.
  EXPECT_EQ(g2.m_Offset, 180u);
  EXPECT_EQ(g2.m_Size, 0u);
  EXPECT_EQ(g2.m_Version, 6);
  for (const auto& e : {d0, d1, g1, g2}) EXPECT_EQ(e.m_Offset % 4, 0u);
}

TEST_F(PackageWriterTest, MissingOrShortSourcesFailNamingTheFile) {
  kd820::CPackageSources sources;
  sources.m_Image = Image(8);
  sources.m_Gui1 = m_Dir.File("none.bin");
  std::vector<uint8_t> package;
  EXPECT_FALSE(PackageWriter::Build(sources, package, m_Problems));
  ASSERT_EQ(m_Problems.Problems().size(), 1u);
  EXPECT_NE(m_Problems.Problems()[0].m_Text.find("none.bin"), std::string::npos);
  test::WriteFile(m_Dir.File("short.bin"), std::vector<uint8_t>(15, 1));
  sources.m_Gui1 = m_Dir.File("short.bin");
  EXPECT_FALSE(PackageWriter::Build(sources, package, m_Problems));
}

TEST_F(PackageWriterTest, AFailedWriteLeavesThePreviousPackageWhole) {
  kd820::CPackageSources sources;
  sources.m_Image = Image(40);
  sources.m_Gui1 = Source("gui1.bin", 10, 1, 0x11);
  const std::string target = m_Dir.File("p.td");
  ASSERT_TRUE(PackageWriter::Write(sources, target, m_Problems));
  const auto first = test::ReadFile(target);
  sources.m_Gui1 = m_Dir.File("gone.bin");
  EXPECT_FALSE(PackageWriter::Write(sources, target, m_Problems));
  EXPECT_EQ(test::ReadFile(target), first);
  for (const auto& entry : std::filesystem::directory_iterator(m_Dir.Path())) {
    EXPECT_EQ(entry.path().filename().string().find("p.td.tmp"), std::string::npos);
  }
  // A target that cannot be written at all.
  sources.m_Gui1 = Source("gui1.bin", 10, 1, 0x11);
  EXPECT_FALSE(PackageWriter::Write(sources, m_Dir.File("no dir/p.td"), m_Problems));
  EXPECT_NE(m_Problems.Texts().back().find(PackageWriter::kCreateFailed), std::string::npos);
}

TEST_F(PackageWriterTest, SourcesComeFromCom0AndCom1AndTheModelsFirmware) {
  auto project = test::Sample();
  project->SetPath(m_Dir.File("My Pump.FPJ"));
  project->GetPort(1)->m_Enabled = 1;
  project->GetPort(1)->m_ProtocolId = 10;
  project->GetPort(2)->m_Enabled = 1;  // COM2 never carries a driver
  project->GetPort(2)->m_ProtocolId = 1;
  kd820::CEditorContext context;
  const kd820::CPackageSources sources = PackageWriter::SourcesFor(*project, context, m_Problems);
  EXPECT_TRUE(m_Problems.Problems().empty());
  EXPECT_EQ(sources.m_Image, project->GetImagePath());
  EXPECT_EQ(std::filesystem::path(sources.m_Drivers[0]).filename(), "ModbusRTU_0.bin");
  EXPECT_EQ(std::filesystem::path(sources.m_Drivers[1]).filename(), "HostLinkA_1.bin");
  EXPECT_EQ(std::filesystem::path(sources.m_Gui1).filename(), "pv5521_gui_v1.bin");
  EXPECT_EQ(std::filesystem::path(sources.m_Gui2).filename(), "pv5521_gui_v2.bin");
  EXPECT_EQ(PackageWriter::PackagePath(*project), m_Dir.File("My Pump.td"));
  // A port out of use, and one whose protocol the library lacks, leave their drivers out.
  project->GetPort(0)->m_Enabled = 0;
  project->GetPort(1)->m_ProtocolId = 999;
  const kd820::CPackageSources fewer = PackageWriter::SourcesFor(*project, context, m_Problems);
  EXPECT_EQ(fewer.m_Drivers[0], "");
  EXPECT_EQ(fewer.m_Drivers[1], "");
  EXPECT_EQ(m_Problems.Problems().size(), 1u);
}

}  // namespace
