// The hardware model library: model files, the index, the wizard texts and the shipped models.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "editor/devices/HardwareLibrary.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

using ::testing::ElementsAre;

std::string ModelFile(const std::string& a_Id, const std::string& a_Description,
                      const std::string& a_Screen = R"(size="3.0" resolution_x="192" resolution_y="64" palette="1")",
                      const std::string& a_Rest = "") {
  return "<model version=\"3\" id=\"" + a_Id + "\" name=\"m" + a_Id + "\" discription=\"" + a_Description +
         "\">\n  <screen " + a_Screen + R"(/>
  <hardware key="19" touch="TRUE" encoder="yes"/>
  <HWFile> fw1.bin </HWFile>
  <HWFile_2>fw2.bin</HWFile_2>
  <keys><key id="1" text="SET"/><key id="6" text="ESC"/></keys>
  <port id="0" type="serial" devicename="COM0" rs232="Enable" rs485-2="enable" rs485-4="Disable"/>
)" + a_Rest + "</model>\n";
}

class HardwareLibraryTest : public ::testing::Test {
 protected:
  std::filesystem::path HardwareDir() const { return m_Dir.Path() / "lib" / "hardware"; }
  std::string Write(const std::string& a_Name, const std::string& a_Text) {
    return test::WriteText(HardwareDir() / a_Name, a_Text);
  }

  test::TempDir m_Dir;
  test::ScopedProgramDirectory m_Home{m_Dir.Path()};
  test::DiagnosticCapture m_Messages;
};

TEST_F(HardwareLibraryTest, LoadsAModelFile) {
  CHardwareModel model;
  ASSERT_TRUE(CHardwareLibrary::LoadModel(model, Write("a.CFG", ModelFile("5", "Five")), m_Messages));
  EXPECT_EQ(model.m_Version, 3);
  EXPECT_EQ(model.m_Id, 5);
  EXPECT_EQ(model.m_Name, "m5");
  EXPECT_EQ(model.m_Description, "Five");
  EXPECT_EQ(model.m_Size, "3.0");
  EXPECT_EQ((std::vector<int32_t>{model.m_ResolutionX, model.m_ResolutionY, model.m_Palette, model.m_KeyCount}),
            (std::vector<int32_t>{192, 64, 1, 19}));
  EXPECT_TRUE(model.m_Touch);     // "TRUE" in any case
  EXPECT_FALSE(model.m_Encoder);  // only "true" counts
  EXPECT_EQ(model.m_HWFile, "fw1.bin");
  EXPECT_EQ(model.m_HWFile2, "fw2.bin");
  EXPECT_THAT(model.m_Keys, ElementsAre(std::pair<int32_t, std::string>(1, "SET"),
                                        std::pair<int32_t, std::string>(6, "ESC")));
  ASSERT_EQ(model.m_Ports.size(), 1u);
  EXPECT_TRUE(model.m_Ports[0].m_Rs232);
  EXPECT_TRUE(model.m_Ports[0].m_Rs485Two);  // "enable" in any case
  EXPECT_FALSE(model.m_Ports[0].m_Rs485Four);
  EXPECT_TRUE(m_Messages.Messages().empty());

  // Missing parts read as empty or 0.
  ASSERT_TRUE(CHardwareLibrary::LoadModel(model, Write("b.CFG", "<anything id=\"\"/>"), m_Messages));
  EXPECT_EQ(model.m_Id, 0);
  EXPECT_EQ(model.m_Name, "");
  EXPECT_EQ(model.m_ResolutionX, 0);
  EXPECT_TRUE(model.m_Keys.empty());
  EXPECT_TRUE(model.m_Ports.empty());
}

TEST_F(HardwareLibraryTest, KeepsOnlyUsablePortsSortedById) {
  CHardwareModel model;
  ASSERT_TRUE(CHardwareLibrary::LoadModel(model, Write("a.CFG", ModelFile("1", "d", "", R"(
  <port id="3" type="can" devicename="CAN" can="ENABLE"/>
  <port id="1" type="serial" devicename="COM1a" rs485-4="Enable"/>
  <port id="4" type="serial" devicename="COM4" rs232="Enable"/>
  <port id="-1" type="serial" devicename="COMm" rs232="Enable"/>
  <port id="2" type="serial" devicename="COM2" rs232="Disable" rs485-2="Enabled" rs485-4=""/>
  <port id="2" type="usb" devicename="USB" rs232="Enable"/>
  <port id="2" type="Serial" devicename="COM2b" rs232="Enable"/>
  <port id="2" type="can" devicename="CAN2" can="Disable"/>
  <port id="1" type="serial" devicename="COM1b" rs232="Enable"/>
)")), m_Messages));
  std::vector<std::string> names;
  for (const auto& port : model.m_Ports) names.push_back(port.m_DeviceName);
  EXPECT_THAT(names, ElementsAre("COM0", "COM1a", "COM1b", "CAN"));  // equal ids keep file order
  EXPECT_EQ(GetPortDeviceName(model, 3), "CAN");
  EXPECT_EQ(GetPortDeviceName(model, 2), "");
  EXPECT_EQ(GetPortId(model, "COM1b"), 1);
  EXPECT_EQ(GetPortId(model, "com1b"), -1);  // exact comparison
}

TEST_F(HardwareLibraryTest, RefusesMalformedFilesAndKeepsTheRecord) {
  const std::vector<std::string> bad = {
      "<m id=\"1\"><screen",
      ModelFile("abc", "d"),
      ModelFile("1", "d", R"(resolution_x="12x")"),
      ModelFile("1", "d", R"(palette="31")"),  // 2^31 colours
      ModelFile("1", "d", R"(palette="-1")"),
      ModelFile("1", "d", R"(resolution_y="100000")"),
      ModelFile("1", "d", "", R"(<port id="one" type="serial" rs232="Enable"/>)"),
      "<m id=\"1\"><hardware key=\"19 keys\"/></m>",
      "<m id=\"1\"><keys><key id=\"F1\" text=\"F1\"/></keys></m>",
  };
  for (std::size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(bad[i]);
    const std::string path = Write("bad" + std::to_string(i) + ".CFG", bad[i]);
    CHardwareModel model;
    model.m_Name = "kept";
    m_Messages.Clear();
    EXPECT_FALSE(CHardwareLibrary::LoadModel(model, path, m_Messages));
    EXPECT_EQ(model.m_Name, "kept");
    EXPECT_THAT(m_Messages.Messages(), ElementsAre("Error Load XML: " + path));
  }
}

TEST_F(HardwareLibraryTest, IndexSortsByIdAndSkipsFilesThatDoNotLoad) {
  Write("a.CFG", ModelFile("7", "seven"));
  Write("b.CFG", ModelFile("3", "three"));
  const std::string broken = Write("c.CFG", "<model id=\"2\"");
  const std::string wrongId = Write("d.CFG", ModelFile("2x", "two"));
  Write("e.cfg", ModelFile("3", "three again"));
  Write("f.Cfg", ModelFile("8", "eight"));
  Write("g.CFG.bak", ModelFile("1", "backup"));
  Write("h.xml", ModelFile("1", "xml"));
  std::filesystem::create_directories(HardwareDir() / "i.CFG");

  CHardwareLibrary library(m_Messages);
  std::vector<std::string> list;
  library.ListModels(list);
  EXPECT_THAT(list, ElementsAre("three", "three again", "seven", "eight"));
  EXPECT_THAT(m_Messages.Messages(), ElementsAre("Error Load XML: " + broken, "Error Load XML: " + wrongId));

  CHardwareModel model;
  ASSERT_TRUE(library.LoadModelByIndex(model, 0));
  EXPECT_EQ(model.m_Description, "three");
  EXPECT_FALSE(library.LoadModelByIndex(model, 4));
  ASSERT_TRUE(library.LoadModelById(model, 7));
  EXPECT_EQ(model.m_Description, "seven");
  EXPECT_FALSE(library.LoadModelById(model, 42));
  EXPECT_EQ(model.m_Description, "seven");  // left as it was
  CHardwareModel fresh;
  EXPECT_FALSE(library.LoadModelById(fresh, 42));
  EXPECT_EQ(fresh.m_Id, -1);

  // Listed once per run, until the library is reset.
  Write("j.CFG", ModelFile("9", "nine"));
  EXPECT_EQ(library.Index().size(), 4u);
  library = CHardwareLibrary(m_Messages);
  EXPECT_EQ(library.Index().size(), 5u);
}

TEST(HardwareModelTexts, ShowTheModelInWizardOrder) {
  CHardwareModel model;
  model.m_Name = "pv";
  model.m_Size = "3.0";
  model.m_ResolutionX = 192;
  model.m_ResolutionY = 64;
  model.m_Palette = 1;
  model.m_KeyCount = 19;
  model.m_Encoder = true;
  model.m_Ports = {{0, "serial", "COM0", true, true, false, false},
                   {1, "serial", "COM1", false, true, true, false},
                   {2, "serial", "COM2", false, false, true, false},
                   {3, "can", "CAN", false, false, false, true}};
  EXPECT_THAT(HardwareModelTexts(model),
              ElementsAre("型号名称: pv", "显示尺寸: 3.0英寸", "显示分辨率: 192x64", "色彩: 单色", "键盘: 19键",
                          "触控: 不支持", "编码器: 支持", "COM0: RS232/RS485", "COM1: RS485/RS422",
                          "COM2: RS422", "CAN: 支持"));
  model.m_Touch = true;
  model.m_Encoder = false;
  model.m_Palette = 2;
  model.m_Ports = {{3, "can", "CAN", false, false, false, false}};
  EXPECT_THAT(HardwareModelTexts(model),
              ElementsAre("型号名称: pv", "显示尺寸: 3.0英寸", "显示分辨率: 192x64", "色彩: 4色", "键盘: 19键",
                          "触控: 支持", "编码器: 不支持", "CAN: 不支持"));
  model.m_Ports.assign(6, {0, "serial", "COM0", true, false, false, false});
  EXPECT_EQ(HardwareModelTexts(model).size(), 7u + 4u);  // at most four port lines
}

TEST(HardwareLibraryShipped, LoadsBothModelsWithTheirFirmware) {
  const std::filesystem::path source = KD820_TEST_SOURCE_DIR;
  test::ScopedProgramDirectory home(source);
  test::DiagnosticCapture messages;
  CHardwareLibrary library(messages);
  ASSERT_EQ(library.Index().size(), 2u);
  for (int32_t id : {1, 2}) {
    SCOPED_TRACE(id);
    CHardwareModel model;
    ASSERT_TRUE(library.LoadModelById(model, id));
    EXPECT_EQ(model.m_Name, id == 1 ? "pv5521" : "pv5521e");
    EXPECT_EQ(model.m_Encoder, id == 2);
    EXPECT_EQ(HardwareModelTexts(model)[2], "显示分辨率: 192x64");
    EXPECT_EQ(static_cast<int32_t>(model.m_Keys.size()), model.m_KeyCount);
    ASSERT_EQ(model.m_Ports.size(), 3u);
    EXPECT_TRUE(model.m_Ports[1].m_Rs485Four);
    EXPECT_TRUE(model.m_Ports[2].m_Can);
    uint16_t previous = 0;
    for (const std::string& file : {model.m_HWFile, model.m_HWFile2}) {
      const auto bytes = test::ReadFile((source / "lib" / "hardware" / file).string());
      ASSERT_GT(bytes.size(), 16u);
      EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "KDFW");
      const uint16_t version = static_cast<uint16_t>(bytes[8] | bytes[9] << 8);
      EXPECT_GT(version, previous);  // the v2 firmware is the newer one
      previous = version;
    }
  }
  EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
