// The download protocol against an emulated panel on an in-memory link: block sizes and
// sequence numbers, the firmware decisions, the size check and the failure messages.
#include <gtest/gtest.h>

#include "loader/Frame.h"
#include "loader/LoaderMessages.h"
#include "tests/TestSupport.h"
#include "tests/loader/LoaderTestSupport.h"

using looptest::Bench;
using looptest::MakePackage;
using looptest::Pattern;
using nd620::LoaderProtocol;
namespace msg = nd620::msg;

namespace {

uint16_t Field16(const std::vector<uint8_t>& a_Frame, std::size_t a_At) {
  return static_cast<uint16_t>(a_Frame[a_At] | a_Frame[a_At + 1] << 8);
}

class ProtocolTest : public ::testing::Test {
 protected:
  // Writes the package and points the bench's protocol at it.
  void Use(Bench& a_Bench, const std::vector<uint8_t>& a_Package, bool a_Force = false) {
    test::WriteFile(m_Dir.File("p.td"), a_Package);
    a_Bench.m_Protocol->SetPackagePath(m_Dir.File("p.td"));
    a_Bench.m_Protocol->SetForceGui(a_Force);
  }
  // A package: 300 bytes of user data, drivers of COM0 and COM1, firmware version 5 for both
  // hardware versions.
  std::vector<uint8_t> Standard(uint32_t a_Format = 2) {
    return MakePackage(Pattern(300, 1), {Pattern(40, 2), Pattern(20, 3)}, {Pattern(130, 4), 5},
                       looptest::Source{Pattern(90, 5), 5}, a_Format);
  }
  test::TempDir m_Dir;
};

// Bytes as a package holds them: zero-filled to a multiple of 4.
std::vector<uint8_t> Padded(std::vector<uint8_t> a_Bytes) {
  a_Bytes.resize((a_Bytes.size() + 3) / 4 * 4, 0);
  return a_Bytes;
}

// A link whose every reply is the same bytes.
class ScriptedLink : public nd620::Transport {
 public:
  explicit ScriptedLink(std::vector<uint8_t> a_Reply) : m_Reply(std::move(a_Reply)) {}
  int MaxPacketSize() const override { return 1024; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t, int) override {
    a_Reply = m_Reply;
    return true;
  }
  bool Close() override { return true; }
  bool Configure(const nd620::TransportSettings&) override { return true; }
  bool Open() override { return true; }
  bool Send(const uint8_t*, std::size_t, int) override { return true; }

 private:
  std::vector<uint8_t> m_Reply;
};

nd620::EmulatorConfig Panel(uint16_t a_Hardware, uint16_t a_Gui, uint8_t a_Flag = 1) {
  nd620::EmulatorConfig config;
  config.m_HardwareVersion = a_Hardware;
  config.m_GuiVersion = a_Gui;
  config.m_AppFlag = a_Flag;
  return config;
}

TEST_F(ProtocolTest, BlocksOverUsbCarry56BytesAndTheLastTheRest) {
  for (const auto& [size, blocks, last] : {std::tuple{112u, 2u, 56u}, {113u, 3u, 1u}, {0u, 0u, 0u}}) {
    SCOPED_TRACE(size);
    Bench bench(Panel(1, 0));
    ASSERT_TRUE(bench.m_Protocol->Connect());
    ASSERT_TRUE(bench.m_Protocol->EnterDownloadMode());
    std::vector<uint8_t> file = Pattern(size + 8, 9);
    nd620::PackageReader reader;
    reader.OpenMemory(file.data(), file.size());
    pkg::SectionEntry entry{8, size, 0, 0};
    for (uint32_t i = 0; i < size; ++i) entry.m_Sum += file[8 + i];
    ASSERT_TRUE(bench.m_Protocol->BurnSection(reader, entry, 2));
    const auto begin = bench.Sent(nd620::kBeginSection);
    ASSERT_EQ(begin.size(), 1u);
    EXPECT_EQ(begin[0].size(), 19u);
    EXPECT_EQ(Field16(begin[0], 16), blocks);
    const auto data = bench.Sent(nd620::kDataBlock);
    // A section of no bytes still sends one empty block (8 bytes of frame).
    ASSERT_EQ(data.size(), std::max(blocks, 1u));
    EXPECT_EQ(data.back().size(), last + 8);
    EXPECT_EQ(bench.Sent(nd620::kFinishSection).size(), 1u);
    ASSERT_NE(bench.m_Panel.Last(2), nullptr);
    EXPECT_EQ(bench.m_Panel.Last(2)->m_Bytes, std::vector<uint8_t>(file.begin() + 8, file.end()));
    EXPECT_EQ(bench.m_View.m_Texts.back(), "Burn User data success!");
  }
}

TEST_F(ProtocolTest, SequenceNumbersRestartForEverySectionAndWrapAt65536) {
  Bench bench(Panel(1, 0));
  ASSERT_TRUE(bench.m_Protocol->Connect());
  ASSERT_TRUE(bench.m_Protocol->EnterDownloadMode());
  const uint32_t size = 56u * 65537u;
  std::vector<uint8_t> file(size, 0x11);
  nd620::PackageReader reader;
  reader.OpenMemory(file.data(), file.size());
  pkg::SectionEntry entry{0, size, 0, size * 0x11u};
  ASSERT_TRUE(bench.m_Protocol->BurnSection(reader, entry, 3));
  auto data = bench.Sent(nd620::kDataBlock);
  ASSERT_EQ(data.size(), 65537u);
  EXPECT_EQ(Field16(data[65535], 5), 65535);
  EXPECT_EQ(Field16(data[65536], 5), 0);
  bench.m_Sent.clear();
  ASSERT_TRUE(bench.m_Protocol->BurnSection(reader, {0, 56, 0, 56 * 0x11u}, 4));
  data = bench.Sent(nd620::kDataBlock);
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(Field16(data[0], 5), 0);
}

TEST_F(ProtocolTest, TheBarShowsTheBareCaptionAtNoughtAndThePercentAtHalfWay) {
  Bench bench(Panel(1, 0));
  Use(bench, MakePackage(Pattern(100), {}, {Pattern(112), 7}, std::nullopt));
  ASSERT_TRUE(bench.m_Protocol->UpdateGui());
  const auto& texts = bench.m_View.m_Texts;
  const auto at = std::find(texts.begin(), texts.end(), "Download GUI:");
  ASSERT_NE(at, texts.end());
  EXPECT_EQ(*(at + 1), "Download GUI:50%");
  EXPECT_EQ(*(at + 2), "Download GUI:100%");
  EXPECT_TRUE(bench.m_View.Saw("Erase flash"));
  EXPECT_TRUE(bench.m_View.Saw("Burn GUI success!"));
}

TEST_F(ProtocolTest, TheSizeCheckOfHardwareVersion1CountsTheFirmwareInKilobytes) {
  using Check = LoaderProtocol::SizeCheck;
  // guiSize 1024 is 1 KB, 1025 is 2, 1792 is 3; without the second driver 6 KB more fit.
  for (const auto& [gui, kb] : {std::pair{1024u, 1u}, {1025u, 2u}, {1792u, 3u}}) {
    SCOPED_TRACE(gui);
    const uint32_t limit = 100352 - kb * 1024;
    EXPECT_EQ(LoaderProtocol::CheckProjectSize(1, gui, limit - 16, true), Check::kFits);
    EXPECT_EQ(LoaderProtocol::CheckProjectSize(1, gui, limit - 15, true), Check::kTooBig);
    EXPECT_EQ(LoaderProtocol::CheckProjectSize(0xFFFF, gui, limit + 6144 - 16, false), Check::kFits);
    EXPECT_EQ(LoaderProtocol::CheckProjectSize(1, gui, limit + 6144 - 15, false), Check::kTooBig);
  }
  EXPECT_EQ(LoaderProtocol::CheckProjectSize(2, 99999, 131072 - 16, true), Check::kFits);
  EXPECT_EQ(LoaderProtocol::CheckProjectSize(2, 0, 131072 - 15, false), Check::kTooBig);
  EXPECT_EQ(LoaderProtocol::CheckProjectSize(3, 0, 0, false), Check::kUnknownHardware);
  EXPECT_EQ(LoaderProtocol::CheckProjectSize(1, 0, UINT32_MAX, false), Check::kTooBig);
}

TEST_F(ProtocolTest, FirmwareIsLeftAloneWhenThePanelHasThePackagesVersion) {
  Bench bench(Panel(1, 5));
  Use(bench, Standard());
  ASSERT_TRUE(bench.m_Protocol->DownloadProject()) << ::testing::PrintToString(bench.m_View.m_Messages);
  EXPECT_EQ(bench.m_Panel.Last(1), nullptr);
  ASSERT_NE(bench.m_Panel.Last(2), nullptr);
  EXPECT_EQ(bench.m_Panel.Last(2)->m_Bytes, Pattern(300, 1));
  // The drivers: the first as kind 3, the second as kind 4; then the restart.
  ASSERT_NE(bench.m_Panel.Last(3), nullptr);
  EXPECT_EQ(bench.m_Panel.Last(3)->m_Bytes, Pattern(40, 2));
  ASSERT_NE(bench.m_Panel.Last(4), nullptr);
  EXPECT_EQ(bench.m_Panel.Last(4)->m_Bytes, Pattern(20, 3));
  EXPECT_EQ(bench.m_Panel.Restarts(), 1);
  EXPECT_EQ(bench.m_View.m_Texts.back(), "Burn Driver(1) success!");
  EXPECT_TRUE(bench.m_View.m_Messages.empty());
}

TEST_F(ProtocolTest, FirmwareGoesFirstWhenOlderForcedOrMissing) {
  struct Case {
    nd620::EmulatorConfig m_Panel;
    bool m_Force;
    uint8_t m_GuiBurnedFor;  // which firmware went: 1 = hardware version 1's
  };
  for (const Case& c : {Case{Panel(1, 4), false, 1}, Case{Panel(0xFFFF, 9), true, 1}, Case{Panel(1, 9, 0), false, 1},
                        Case{Panel(2, 4), false, 2}}) {
    SCOPED_TRACE(c.m_Panel.m_HardwareVersion);
    Bench bench(c.m_Panel);
    Use(bench, Standard(), c.m_Force);
    ASSERT_TRUE(bench.m_Protocol->DownloadProject()) << ::testing::PrintToString(bench.m_View.m_Messages);
    ASSERT_NE(bench.m_Panel.Last(1), nullptr);
    EXPECT_EQ(bench.m_Panel.Last(1)->m_Bytes, c.m_GuiBurnedFor == 1 ? Padded(Pattern(130, 4)) : Padded(Pattern(90, 5)));
    EXPECT_EQ(bench.m_Panel.Last(1)->m_Version, 5);
    ASSERT_NE(bench.m_Panel.Last(2), nullptr);
    // A panel running its firmware is switched to boot mode first; one without goes on at once.
    EXPECT_EQ(bench.Sent(nd620::kEnterBoot).size(), c.m_Panel.m_AppFlag == 1 ? 1u : 0u);
  }
}

TEST_F(ProtocolTest, HardwareVersion2WithAFormat1Package) {
  // The firmware update refuses such a package...
  {
    Bench bench(Panel(2, 0, 0));
    Use(bench, Standard(1));
    EXPECT_FALSE(bench.m_Protocol->DownloadProject());
    EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{msg::kWrongFormat});
  }
  // ...while a download without one goes on and checks the 128 KB limit.
  {
    Bench bench(Panel(2, 0, 1));
    Use(bench, Standard(1));
    EXPECT_TRUE(bench.m_Protocol->DownloadProject()) << ::testing::PrintToString(bench.m_View.m_Messages);
    EXPECT_EQ(bench.m_Panel.Last(1), nullptr);
  }
  {
    Bench bench(Panel(2, 0, 1));
    Use(bench, MakePackage(Pattern(131072 - 15), {}, {Pattern(4), 1}, std::nullopt, 1));
    EXPECT_FALSE(bench.m_Protocol->DownloadProject());
    EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{msg::kTooBig});
  }
}

TEST_F(ProtocolTest, DriverEntriesOfNoBytesAreSkipped) {
  Bench bench(Panel(1, 5));
  Use(bench, MakePackage(Pattern(50), {{}, Pattern(12, 7)}, {Pattern(8), 5}, std::nullopt));
  ASSERT_TRUE(bench.m_Protocol->DownloadProject());
  EXPECT_EQ(bench.m_Panel.Last(3), nullptr);
  ASSERT_NE(bench.m_Panel.Last(4), nullptr);
  EXPECT_TRUE(bench.m_View.m_Messages.empty());
}

// Every failure names itself, and the procedure ends there.
TEST_F(ProtocolTest, FailuresGiveTheirMessages) {
  struct Case {
    const char* m_Name;
    nd620::EmulatorConfig m_Panel;
    std::string m_Message;
    int m_Opens = -1;
    uint32_t m_Format = 2;
  };
  const auto with = [](nd620::EmulatorConfig a_Config, auto a_Change) {
    a_Change(a_Config);
    return a_Config;
  };
  const std::vector<Case> cases = {
      {"no panel", Panel(1, 5), msg::kInitialFailed, 0},
      {"no information", with(Panel(1, 5), [](auto& c) { c.m_DropReplyCode = nd620::kGetInfo; }), msg::kInfoFailed},
      {"refused information", with(Panel(1, 5), [](auto& c) { c.m_RefuseCode = nd620::kGetInfo; }), msg::kInfoFailed},
      {"unknown hardware", Panel(3, 5), msg::kUnknownHardware},
      {"no boot mode", with(Panel(1, 1), [](auto& c) { c.m_RefuseCode = nd620::kEnterBoot; }), msg::kBootFailed},
      {"gone after boot mode", Panel(1, 1), msg::kReconnectFailed, 2},
      {"no download mode", with(Panel(1, 5), [](auto& c) { c.m_RefuseCode = nd620::kEnterDownload; }),
       msg::kDownloadModeFailed},
      {"bad begin checksum", with(Panel(1, 5), [](auto& c) { c.m_BadSumCode = nd620::kBeginSection; }),
       msg::kEraseFailed},
      {"refused begin", with(Panel(1, 5), [](auto& c) { c.m_RefuseCode = nd620::kBeginSection; }), msg::kEraseFailed},
      {"refused finish", with(Panel(1, 5), [](auto& c) { c.m_RefuseCode = nd620::kFinishSection; }),
       "Burn User data failed!"},
      {"wrong format", Panel(1, 5), msg::kWrongFormat, -1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.m_Name);
    Bench bench(c.m_Panel);
    bench.m_OpensLeft = c.m_Opens;
    Use(bench, Standard(c.m_Format));
    EXPECT_FALSE(bench.m_Protocol->DownloadProject());
    EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{c.m_Message});
  }
}

TEST_F(ProtocolTest, ABlockThePanelDidNotTakeEndsTheTransferWithoutAMessage) {
  for (bool wrongSequence : {true, false}) {
    nd620::EmulatorConfig config = Panel(1, 5);
    config.m_WrongSequence = wrongSequence;
    if (!wrongSequence) config.m_DropReplyCode = nd620::kDataBlock, config.m_DropReplyNth = 3;
    Bench bench(config);
    Use(bench, Standard());
    EXPECT_FALSE(bench.m_Protocol->DownloadProject());
    EXPECT_TRUE(bench.m_View.m_Messages.empty());
    EXPECT_EQ(bench.m_Panel.Last(2), nullptr);
    EXPECT_EQ(bench.Sent(nd620::kFinishSection).size(), 0u);
  }
}

TEST_F(ProtocolTest, ASumThePanelFindsWrongIsAFileCheckError) {
  Bench bench(Panel(1, 5));
  auto package = Standard();
  package[150] ^= 0xFF;  // inside the user data, its sum left as it was
  Use(bench, package);
  EXPECT_FALSE(bench.m_Protocol->DownloadProject());
  EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{"Burn User data failed!"});
  EXPECT_NE(std::find(bench.m_View.m_Captions.begin(), bench.m_View.m_Captions.end(), "File check error!"),
            bench.m_View.m_Captions.end());
}

TEST_F(ProtocolTest, APackageShorterThanItsEntriesFailsInsteadOfSendingEmptyBlocks) {
  Bench bench(Panel(1, 5));
  auto package = Standard();
  package.resize(200);  // the user data is cut
  Use(bench, package);
  EXPECT_FALSE(bench.m_Protocol->DownloadProject());
  EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{msg::kShortPackage});
  EXPECT_LE(bench.Sent(nd620::kDataBlock).size(), 2u);
}

TEST_F(ProtocolTest, WithoutAPackageThePanelIsReachedAndOpenFileFails) {
  Bench bench(Panel(1, 5));
  bench.m_Protocol->SetPackagePath(m_Dir.File("none.td"));
  EXPECT_FALSE(bench.m_Protocol->DownloadProject());
  EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{msg::kOpenFailed});
  EXPECT_EQ(bench.Sent(nd620::kGetInfo).size(), 1u);
}

TEST_F(ProtocolTest, APeerThatIsNotThePanelFailsTheExchange) {
  const auto info = [](const std::vector<uint8_t>& a_Reply, nd620::SlaveInfo& a_Info) {
    looptest::RecordingView view;
    LoaderProtocol protocol(view, [&](int32_t) { return std::make_unique<ScriptedLink>(a_Reply); });
    protocol.SetTiming({0, 0, 0, 1});
    return protocol.Connect() && protocol.GetInformation(a_Info);
  };
  std::vector<uint8_t> data(11, 0);
  data[0] = 2;  // status 2 is taken for device information
  data[1] = 1;
  data[5] = 2;
  data[9] = 0x34, data[10] = 0x12;
  nd620::SlaveInfo slave;
  ASSERT_TRUE(info(nd620::BuildFrame(nd620::kGetInfo, data), slave));
  EXPECT_EQ(slave.m_AppFlag, 1);
  EXPECT_EQ(slave.m_HardwareVersion, 2);
  EXPECT_EQ(slave.m_GuiVersion, 0x1234);
  // The answer to another command, one too short for the information, one with status 0.
  EXPECT_FALSE(info(nd620::BuildFrame(nd620::kEnterDownload, data), slave));
  EXPECT_FALSE(info(nd620::BuildFrame(nd620::kGetInfo, {1, 1, 0}), slave));
  data[0] = 0;
  EXPECT_FALSE(info(nd620::BuildFrame(nd620::kGetInfo, data), slave));
  // A block reply that names another block.
  looptest::RecordingView view;
  LoaderProtocol protocol(view, [](int32_t) {
    return std::make_unique<ScriptedLink>(nd620::BuildFrame(nd620::kDataBlock, {1, 7, 0}));
  });
  ASSERT_TRUE(protocol.Connect());
  const uint8_t byte = 0;
  EXPECT_TRUE(protocol.DataBlock(&byte, 1, 7));
  EXPECT_FALSE(protocol.DataBlock(&byte, 1, 8));
}

TEST_F(ProtocolTest, ACancelStopsTheTransfer) {
  Bench bench(Panel(1, 5));
  Use(bench, Standard());
  bench.m_Protocol->Cancel();
  EXPECT_FALSE(bench.m_Protocol->DownloadProject());
  EXPECT_EQ(bench.m_View.m_Messages, std::vector<std::string>{msg::kCancelled});
  EXPECT_EQ(bench.m_Panel.Last(2), nullptr);
}

}  // namespace
