// KD820 new and KD820 comm against a small library.
#include <gtest/gtest.h>

#include "editor/project/KV410Doc.h"
#include "tests/ScriptedInteraction.h"
#include "tests/LibraryFixture.h"

using namespace kd820;

namespace {

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

class CliProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KD820_LOCK_DIR", m_Work.File("locks").c_str(), 1); }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  int Run(const std::vector<std::string>& a_Args) {
    m_Out.clear();
    m_Err.clear();
    return test::RunProgram(kKD820, a_Args, &m_Out, &m_Err);
  }
  std::unique_ptr<CKV410Project> Load(const std::string& a_Path) {
    return CKV410Doc::LoadFromBytes(test::ReadFile(a_Path));
  }

  test::LibraryFixture m_Lib;
  test::TempDir m_Work;
  std::string m_Out, m_Err;
};

}  // namespace

TEST_F(CliProjectTest, NewProjectForEachModelWithAPlcOnCom0) {
  for (const char* model : {"1", "2"}) {
    SCOPED_TRACE(model);
    const std::string name = std::string("p") + model;
    ASSERT_EQ(Run({"new", name, "--dir", m_Work.Path().string(), "--model", model, "--com0",
                   "Acme/AcmeSlave", "--com0-baud", "9600", "--com0-parity", "even",
                   "--com0-station", "7", "--yes"}),
              0)
        << m_Err;
    auto project = Load(m_Work.File(name + "/" + name + ".FPJ"));
    EXPECT_EQ(project->GetHardwareModelId(), std::stoi(model));
    const CPortCom& com0 = *project->GetPort(0);
    ASSERT_TRUE(com0.IsEnabled());
    EXPECT_EQ(com0.m_ProtocolId, 11);
    EXPECT_EQ(com0.m_Station, 7);
    std::vector<uint8_t> record;
    com0.Compile(record, StderrProblems());
    ASSERT_EQ(record.size(), 36u);
    EXPECT_EQ(record[2], 8);
    EXPECT_EQ(record[3], 0x45);
    EXPECT_EQ(record[4] | (record[5] << 8) | (record[6] << 16) | (record[7] << 24), 9600);
    EXPECT_EQ(record[8], 1);
    EXPECT_NE(m_Out.find("COM0: Acme/AcmeSlave (protocol 11)"), std::string::npos) << m_Out;
    // The first frame the wizard gives a new project is in the file.
    EXPECT_NE(project->FindFrame(1), nullptr);
  }
}

TEST_F(CliProjectTest, NewRefusesBadSettingsWithAClearMessage) {
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string(), "--com0", "Nobody/Nothing", "--yes"}), 1);
  EXPECT_NE(m_Err.find("--com0: no PLC \"Nobody/Nothing\""), std::string::npos) << m_Err;
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string(), "--com0", "11", "--com0-baud", "9601",
                 "--yes"}),
            1);
  EXPECT_NE(m_Err.find("9601 is not one of"), std::string::npos) << m_Err;
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string(), "--model", "2", "--com1", "11", "--yes"}), 1);
  EXPECT_NE(m_Err.find("no port COM1"), std::string::npos) << m_Err;
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string(), "--model", "9", "--yes"}), 1);
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string(), "--com0-baud", "9600", "--yes"}), 1);
  EXPECT_NE(m_Err.find("need a PLC"), std::string::npos) << m_Err;
  EXPECT_FALSE(std::filesystem::exists(m_Work.File("x")));
  // Without --yes there is nobody to confirm the panel model.
  EXPECT_EQ(Run({"new", "x", "--dir", m_Work.Path().string()}), 1);
}

TEST_F(CliProjectTest, CommAsksBeforeResettingAChangedPort) {
  ASSERT_EQ(Run({"new", "plant", "--dir", m_Work.Path().string(), "--com0", "11", "--com1", "11", "--yes"}), 0)
      << m_Err;
  const std::string path = m_Work.File("plant/plant.FPJ");
  {
    // Give the settings' control address a register on COM0 and the alarm one on COM1.
    ScriptedInteraction ui;
    CKV410Doc doc(ui);
    ASSERT_TRUE(doc.OpenProject(path));
    CAddr& control = doc.GetProject()->GetSettings().m_ControlAddress;
    control.m_Port = 0;
    control.m_TypeName = "D";
    control.m_Address = 10;
    CAlarmItem alarm;
    alarm.m_Text = "x";
    alarm.m_Register.m_Port = 1;
    alarm.m_Register.m_TypeName = "M";
    alarm.m_Register.m_HasSubAddress = 0;
    doc.GetProject()->GetAlarms().AddAlarm(alarm, doc.Context());
    ASSERT_TRUE(doc.Save());
  }
  const auto before = test::ReadFile(path);
  EXPECT_EQ(Run({"comm", path, "--com0", "12", "--no"}), 1);
  EXPECT_NE(m_Err.find("已更改端口的所有关联组态信息都将被复位"), std::string::npos) << m_Err;
  EXPECT_EQ(test::ReadFile(path), before);

  ASSERT_EQ(Run({"comm", path, "--com0", "12", "--yes"}), 0) << m_Err;
  auto project = Load(path);
  EXPECT_EQ(project->GetPort(0)->m_ProtocolId, 12);
  EXPECT_TRUE(project->GetSettings().m_ControlAddress.IsInternal());
  EXPECT_EQ(project->GetAlarms().m_Alarms[0].m_Register.m_Port, 1);
  EXPECT_EQ(project->GetAlarms().m_Alarms[0].m_Register.m_TypeName, "M");

  // Serial parameters alone change without a question.
  ASSERT_EQ(Run({"comm", path, "--com1-baud", "115200"}), 0) << m_Err;
  EXPECT_EQ(Load(path)->GetPort(1)->m_BaudRate, 7);
  ASSERT_EQ(Run({"comm", path, "--com1", "none", "--yes"}), 0) << m_Err;
  EXPECT_FALSE(Load(path)->GetPort(1)->IsEnabled());
  EXPECT_EQ(Load(path)->GetAlarms().m_Alarms[0].m_Register.m_TypeName, "LW.B");
}

TEST(CliShippedLibrary, NewProjectForEachShippedModelOpensWithItsPorts) {
  test::TempDir work;
  setenv("KD820_LOCK_DIR", work.File("locks").c_str(), 1);
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);  // the build tree's copy of lib/
  for (const char* model : {"1", "2"}) {
    SCOPED_TRACE(model);
    const std::string name = std::string("shipped") + model;
    std::string out, err;
    ASSERT_EQ(test::RunProgram(kKD820,
                               {"new", name, "--dir", work.Path().string(), "--model", model,
                                "--com0", "Modbus/Modbus RTU", "--com0-baud", "9600", "--yes"},
                               &out, &err),
              0)
        << err;
    const std::string path = work.File(name + "/" + name + ".FPJ");
    ASSERT_EQ(test::RunProgram(kKD820, {"info", path}, &out, &err), 0) << err;
    EXPECT_NE(out.find("hardware model id " + std::string(model)), std::string::npos) << out;
    EXPECT_NE(out.find("COM0: protocol 1, RS485, baud code 3, 8 data bits, parity even"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("COM1: not used"), std::string::npos) << out;
  }
  unsetenv("KD820_LOCK_DIR");
}
