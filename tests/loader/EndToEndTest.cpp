// The whole chain on one machine: a project, KD820 download --wait, the loader, the emulated
// panel over UDP and over a pseudo-terminal; what arrives is the compiled image byte for byte.
// Then every fault the emulator can inject, each with its message and exit status 1.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "loader/LoaderMessages.h"
#include "platform/NamedLock.h"
#include "tests/TestSupport.h"
#include "tests/loader/LoaderTestSupport.h"

namespace {

using looptest::BinaryDir;
using looptest::EmulatorProcess;

// Short waits: the emulator answers at once.
const std::vector<std::string> kFast = {"--unit-ms", "300", "--info-delay-ms", "0", "--reconnect-wait-ms", "0",
                                        "--retry-delay-ms", "10", "--attempts", "5", "--interval-ms", "20"};

std::vector<uint8_t> Padded(std::vector<uint8_t> a_Bytes, std::size_t a_Skip = 0) {
  a_Bytes.erase(a_Bytes.begin(), a_Bytes.begin() + static_cast<std::ptrdiff_t>(a_Skip));
  a_Bytes.resize((a_Bytes.size() + 3) / 4 * 4, 0);
  return a_Bytes;
}

class EndToEndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Dir = new test::TempDir;
    s_Project = s_Dir->File("Pump Panel/Pump.FPJ");
    std::filesystem::create_directories(s_Dir->File("Pump Panel"));
    ASSERT_EQ(test::RunProgram(BinaryDir() + "/make-sample-project", {s_Project}), 0);
    std::string out, err;
    ASSERT_EQ(test::RunProgram(BinaryDir() + "/KD820", {"download", "--no-start", s_Project}, &out, &err), 0) << err;
    s_Package = s_Dir->File("Pump Panel/Pump.td");
  }
  static void TearDownTestSuite() { delete s_Dir; }
  void SetUp() override { setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1); }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  // The sections the emulator wrote against the project's image and the library's files.
  void ExpectReceived(const std::string& a_Received, bool a_Gui) {
    EXPECT_EQ(test::ReadFile(a_Received + "/user-data.bin"), Padded(test::ReadFile(s_Dir->File("Pump Panel/Pump.bin~"))));
    EXPECT_EQ(test::ReadFile(a_Received + "/driver0.bin"),
              Padded(test::ReadFile(BinaryDir() + "/lib/plc/modbus/ModbusRTU_0.bin"), 16));
    EXPECT_FALSE(std::filesystem::exists(a_Received + "/driver1.bin"));
    EXPECT_EQ(std::filesystem::exists(a_Received + "/gui.bin"), a_Gui);
    if (a_Gui) {
      EXPECT_EQ(test::ReadFile(a_Received + "/gui.bin"),
                Padded(test::ReadFile(BinaryDir() + "/lib/hardware/pv5521_gui_v1.bin"), 16));
    }
  }
  // ND620Loader on the package against an emulator with a_Faults; its exit status and stderr.
  int Loader(const std::vector<std::string>& a_Faults, std::string& a_Err, const std::string& a_Package = s_Package) {
    std::vector<std::string> args = {"--udp", "0", "--idle-ms", "3000", "--out", m_Dir.File("received")};
    args.insert(args.end(), a_Faults.begin(), a_Faults.end());
    EmulatorProcess emulator(args);
    std::vector<std::string> loader = {"-D", "-f", a_Package, "--udp", emulator.Where()};
    loader.insert(loader.end(), kFast.begin(), kFast.end());
    return test::RunProgram(BinaryDir() + "/ND620Loader", loader, nullptr, &a_Err);
  }

  test::NoDisplay m_NoDisplay;  // the loaders stay on the terminal
  static test::TempDir* s_Dir;
  static std::string s_Project;
  static std::string s_Package;
  test::TempDir m_Dir;
};
test::TempDir* EndToEndTest::s_Dir = nullptr;
std::string EndToEndTest::s_Project;
std::string EndToEndTest::s_Package;

TEST_F(EndToEndTest, DownloadOverUdpFromTheEditorToThePanel) {
  EmulatorProcess emulator({"--udp", "0", "--out", m_Dir.File("received"), "--idle-ms", "20000"});
  std::vector<std::string> args = {"download", "--wait", s_Project, "--", "--udp", emulator.Where()};
  args.insert(args.end(), kFast.begin(), kFast.end());
  std::string out, err;
  ASSERT_EQ(test::RunProgram(BinaryDir() + "/KD820", args, &out, &err), 0) << out << err;
  EXPECT_EQ(emulator.Wait(), 0);
  // The panel had no firmware version: it got the firmware first, then the project.
  ExpectReceived(m_Dir.File("received"), true);
  EXPECT_NE(err.find("Burn Driver(0) success!"), std::string::npos) << err;
  EXPECT_NE(err.find("Download User data:"), std::string::npos);
  EXPECT_NE(err.find("download finished"), std::string::npos);
}

TEST_F(EndToEndTest, DownloadOverAPseudoTerminal) {
  EmulatorProcess emulator({"--pty", "--out", m_Dir.File("received"), "--idle-ms", "20000", "--gui-version", "259"});
  std::vector<std::string> args = {"download", "--wait", s_Project, "--", "--serial", emulator.Where()};
  args.insert(args.end(), kFast.begin(), kFast.end());
  std::string out, err;
  ASSERT_EQ(test::RunProgram(BinaryDir() + "/KD820", args, &out, &err), 0) << out << err;
  EXPECT_EQ(emulator.Wait(), 0);
  // The shipped firmware is version 0x0103, as the panel's: none is sent.
  ExpectReceived(m_Dir.File("received"), false);
}

TEST_F(EndToEndTest, AHardwareVersion2PanelWithoutFirmwareGetsItsOwn) {
  std::string err;
  ASSERT_EQ(Loader({"--hardware", "2", "--app-flag", "0"}, err), 0) << err;
  EXPECT_EQ(test::ReadFile(m_Dir.File("received/gui.bin")),
            Padded(test::ReadFile(BinaryDir() + "/lib/hardware/pv5521_gui_v2.bin"), 16));
  EXPECT_EQ(test::ReadFile(m_Dir.File("received/user-data.bin")), Padded(test::ReadFile(s_Dir->File("Pump Panel/Pump.bin~"))));
}

TEST_F(EndToEndTest, EveryInjectedFaultGivesItsMessageAndStatus1) {
  namespace msg = nd620::msg;
  const std::string upToDate = "65535";
  struct Case {
    std::vector<std::string> m_Faults;
    std::string m_Message;
  };
  const std::vector<Case> cases = {
      {{"--drop-reply", "info"}, msg::kInfoFailed},
      {{"--bad-sum", "info"}, msg::kInfoFailed},
      {{"--delay-ms", "450"}, msg::kInfoFailed},  // slower than the time-out
      {{"--hardware", "7"}, msg::kUnknownHardware},
      {{"--refuse", "boot-mode"}, msg::kBootFailed},
      {{"--refuse", "download-mode", "--gui-version", upToDate}, msg::kDownloadModeFailed},
      {{"--refuse", "begin", "--gui-version", upToDate}, msg::kEraseFailed},
      {{"--bad-sum", "begin", "--gui-version", upToDate}, msg::kEraseFailed},
      {{"--refuse", "finish", "--gui-version", upToDate}, "Burn User data failed!"},
      {{"--refuse", "finish"}, "Burn GUI failed!"},
      {{"--drop-reply", "data:2", "--gui-version", upToDate}, "download failed"},
      {{"--wrong-sequence", "--gui-version", upToDate}, "download failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.m_Faults[0] + " " + c.m_Faults[1]);
    std::string err;
    EXPECT_EQ(Loader(c.m_Faults, err), 1) << err;
    EXPECT_NE(err.find("ND620Loader: " + c.m_Message), std::string::npos) << err;
  }
}

TEST_F(EndToEndTest, PackageProblemsGiveTheirMessages) {
  std::string err;
  // No -f: the loader reaches the panel, then cannot open the package.
  {
    EmulatorProcess emulator({"--udp", "0", "--idle-ms", "3000"});
    std::vector<std::string> args = {"--udp", emulator.Where()};
    args.insert(args.end(), kFast.begin(), kFast.end());
    EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Loader", args, nullptr, &err), 1);
    EXPECT_NE(err.find(nd620::msg::kOpenFailed), std::string::npos) << err;
  }
  auto package = test::ReadFile(s_Package);
  package[16] = 3;
  test::WriteFile(m_Dir.File("format3.td"), package);
  EXPECT_EQ(Loader({"--gui-version", "65535"}, err, m_Dir.File("format3.td")), 1);
  EXPECT_NE(err.find(nd620::msg::kWrongFormat), std::string::npos) << err;
  // Cut inside the user data: the transfer fails instead of sending empty blocks.
  package = test::ReadFile(s_Package);
  package.resize(400);
  test::WriteFile(m_Dir.File("short.td"), package);
  EXPECT_EQ(Loader({"--gui-version", "65535"}, err, m_Dir.File("short.td")), 1);
  EXPECT_NE(err.find(nd620::msg::kShortPackage), std::string::npos) << err;
}

TEST_F(EndToEndTest, NoPanelAtTheOtherEnd) {
  std::string err;
  std::vector<std::string> args = {"-D", "-f", s_Package, "--serial", m_Dir.File("no-such-tty")};
  args.insert(args.end(), kFast.begin(), kFast.end());
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Transfer", args, nullptr, &err), 1);
  EXPECT_NE(err.find("ND620Transfer: Initial communication failed!"), std::string::npos) << err;
  EXPECT_NE(err.find("no-such-tty"), std::string::npos) << err;
  args = {"-D", "-f", s_Package, "--usb-id", "1209:d6fe"};
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Transfer", args, nullptr, &err), 1);
  EXPECT_NE(err.find("1209:d6fe"), std::string::npos) << err;
}

TEST_F(EndToEndTest, AnInterruptStopsTheDownloadAndTheWorkerEndsFirst) {
  // Slow replies: the download is still running when Ctrl-C comes.
  EmulatorProcess emulator({"--udp", "0", "--idle-ms", "800", "--delay-ms", "60", "--gui-version", "65535",
                            "--out", m_Dir.File("received")});
  std::vector<std::string> args = {"-D", "-f", s_Package, "--udp", emulator.Where()};
  args.insert(args.end(), kFast.begin(), kFast.end());
  const std::string errFile = m_Dir.File("stderr");
  const pid_t loader = looptest::StartProgram(BinaryDir() + "/ND620Transfer", args, errFile);
  // Until the user data is on its way.
  for (int i = 0; i < 200; ++i) {
    const auto err = test::ReadFile(errFile);
    if (std::string(err.begin(), err.end()).find("Download User data:") != std::string::npos) break;
    usleep(10000);
  }
  kill(loader, SIGINT);
  EXPECT_EQ(looptest::WaitProgram(loader), 1);
  const auto bytes = test::ReadFile(errFile);
  const std::string err(bytes.begin(), bytes.end());
  EXPECT_NE(err.find("ND620Transfer: Download cancelled"), std::string::npos) << err;
  EXPECT_EQ(emulator.Wait(), 0);
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("received/user-data.bin")));
}

TEST_F(EndToEndTest, OneInstancePerBuild) {
  std::string err, out;
  auto held = NamedLock::TryAcquire("ND620Loader");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/KD820Loader", {"-D", "-f", s_Package}, nullptr, &err), 1);
  EXPECT_NE(err.find("Can not open multipleND620Loader"), std::string::npos) << err;
  // The other build is not blocked by it: it goes on to the (missing) panel.
  std::vector<std::string> args = {"-D", "-f", s_Package, "--serial", m_Dir.File("none")};
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Transfer", args, nullptr, &err), 1);
  EXPECT_EQ(err.find("Can not open multiple"), std::string::npos) << err;
}

TEST_F(EndToEndTest, HelpVersionAndUsage) {
  std::string out, err;
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Transfer", {"--help"}, &out, &err), 0);
  EXPECT_NE(out.find("--udp HOST:PORT"), std::string::npos);
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/KD820Loader", {"--version"}, &out, &err), 0);
  EXPECT_NE(out.find("KD820Loader version"), std::string::npos) << out;
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/ND620Transfer", {"--udp"}, &out, &err), 2);
  EXPECT_EQ(test::RunProgram(BinaryDir() + "/panel-emulator", {"--bogus"}, &out, &err), 2);
}

}  // namespace
