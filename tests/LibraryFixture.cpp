#include "tests/LibraryFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>



namespace test {

namespace {

void Write(const std::filesystem::path& a_Path, const std::string& a_Text) {
  std::filesystem::create_directories(a_Path.parent_path());
  std::ofstream(a_Path) << a_Text;
}

std::string Model(int a_Id, const char* a_Name, bool a_AllPorts) {
  std::string ports =
      R"(<port id="0" type="serial" devicename="COM0" rs232="Enable" rs485-2="Enable" rs485-4="Disable"/>)";
  if (a_AllPorts) {
    ports += R"(<port id="1" type="serial" devicename="COM1" rs232="Enable" rs485-2="Enable" rs485-4="Enable"/>)"
             R"(<port id="3" type="can" devicename="CAN" can="Enable"/>)";
  }
  return std::string("<model version=\"1\" id=\"") + std::to_string(a_Id) + "\" name=\"" + a_Name +
         "\" discription=\"" + a_Name + " panel\">"
         R"(<screen size="3.0" resolution_x="192" resolution_y="64" palette="1"/>)"
         R"(<hardware key="20" touch="false" encoder="false"/><HWFile>gui1.bin</HWFile><HWFile_2>gui2.bin</HWFile_2>)"
         R"(<keys><key id="1" text="F1"/></keys>)" +
         ports + "</model>";
}

std::string Protocol(int a_Id, const char* a_Name, bool a_Slave) {
  return std::string("<protocol ID=\"") + std::to_string(a_Id) + "\" PLCName=\"" + a_Name + "\">" +
         "<SupportPLC><PLC>" + a_Name + " CPU</PLC></SupportPLC>"
         "<StationNumber><Max>31</Max><Min>1</Min><Default>2</Default></StationNumber>"
         "<Droit Position=\"" + (a_Slave ? "Slave" : "Master") + "\"/>"
         "<SerialPort><DefaultParam><Type>RS485</Type><Baud>19200</Baud><ByteSize>8</ByteSize>"
         "<Parity>2</Parity><StopBits>1</StopBits></DefaultParam>"
         "<PLCResponceTimeout>300</PLCResponceTimeout><ProtocolTimeout1>3</ProtocolTimeout1>"
         "<ProtocolTimeout2>4</ProtocolTimeout2><PackegMaxWord>32</PackegMaxWord>"
         "<PackegMaxBit>64</PackegMaxBit><WordsBrokeInterval>2</WordsBrokeInterval>"
         "<BitsBrokeInterval>8</BitsBrokeInterval><CommunicationInterval>20</CommunicationInterval>"
         "</SerialPort><REG_ADDRs>"
         R"(<REG_ADDR ID="1" Name="M" AddressWidth="BIT" BigEndian="0"><MinAddress>0</MinAddress><MaxAddress>999</MaxAddress><Mask><Master Type="DEC" Mode="BIT"/><Slave Type="NONE" Length="0"/></Mask></REG_ADDR>)"
         R"(<REG_ADDR ID="2" Name="D" AddressWidth="WORD" BigEndian="0"><MinAddress>0</MinAddress><MaxAddress>9999</MaxAddress><Mask><Master Type="DEC" Mode="WORD"/><Slave Type="NONE" Length="0"/></Mask></REG_ADDR>)"
         R"(<REG_ADDR ID="3" Name="DD" AddressWidth="DWORD" BigEndian="1"><MinAddress>0</MinAddress><MaxAddress>9998</MaxAddress><Mask><Master Type="DEC" Mode="WORD"/><Slave Type="NONE" Length="0"/></Mask></REG_ADDR>)"
         "</REG_ADDRs></protocol>";
}

}  // namespace

LibraryFixture::LibraryFixture(bool a_TwoModels) {
  if (const char* home = std::getenv("KD820_HOME")) {
    m_HadHome = true;
    m_PreviousHome = home;
  }
  const auto lib = m_Dir.Path() / "lib";
  if (a_TwoModels) Write(lib / "hardware" / "alpha.CFG", Model(1, "alpha", true));
  Write(lib / "hardware" / "beta.cfg", Model(2, "beta", false));
  Write(lib / "plc" / "index.CFG",
        R"(<index><manufacturer discription="Acme" dir="acme"/></index>)");
  Write(lib / "plc" / "acme" / "slave.CFG", Protocol(11, "AcmeSlave", true));
  Write(lib / "plc" / "acme" / "master.CFG", Protocol(12, "AcmeMaster", false));
  setenv("KD820_HOME", Home().c_str(), 1);
}

LibraryFixture::~LibraryFixture() {
  if (m_HadHome) {
    setenv("KD820_HOME", m_PreviousHome.c_str(), 1);
  } else {
    unsetenv("KD820_HOME");
  }
}

}  // namespace test
