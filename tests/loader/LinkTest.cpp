// Frames, the serial stream decoder and the three transports' reply checks; the serial
// transport on a pseudo-terminal, the network transport on loopback.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "loader/Frame.h"
#include "loader/SerialTransport.h"
#include "loader/UdpTransport.h"
#include "loader/UsbTransport.h"
#include "loader/emulator/EmulatorServer.h"

using namespace nd620;

namespace {

TEST(Frame, LayoutLengthLowByteFirstAndChecksum) {
  const auto frame = BuildFrame(kEnterDownload, std::vector<uint8_t>(kModeKey, kModeKey + 6));
  ASSERT_EQ(frame.size(), 12u);
  EXPECT_EQ(frame[0], 0x5A);
  EXPECT_EQ(frame[1], 0xA5);
  EXPECT_EQ(frame[2], 12);
  EXPECT_EQ(frame[3], 0);
  EXPECT_EQ(frame[4], 0x02);
  EXPECT_EQ(std::string(frame.begin() + 5, frame.begin() + 11), "Marvok");
  EXPECT_EQ(frame[11], FrameSum(frame.data(), 11));
  const auto big = BuildFrame(kDataBlock, std::vector<uint8_t>(1018, 0));
  EXPECT_EQ(FrameLength(big.data()), 1024);
  EXPECT_EQ(big[2], 0x00);
  EXPECT_EQ(big[3], 0x04);
}

TEST(Frame, WholeRepliesAreCheckedAsTheUsbAndNetworkTransportsReadThem) {
  const auto reply = BuildFrame(kFinishSection, {1});
  EXPECT_TRUE(UsbTransport::ParseReply(reply.data(), reply.size()));
  EXPECT_TRUE(UdpTransport::ParseReply(reply.data(), reply.size()));
  // Four bytes or fewer are refused, and so is a length beyond what arrived.
  EXPECT_FALSE(UsbTransport::ParseReply(reply.data(), 4));
  EXPECT_FALSE(UsbTransport::ParseReply(reply.data(), reply.size() - 1));
  // More than the frame is fine: the length says where it ends.
  auto longer = reply;
  longer.push_back(0xEE);
  EXPECT_TRUE(UsbTransport::ParseReply(longer.data(), longer.size()));
  auto bad = reply;
  bad.back() ^= 1;
  EXPECT_FALSE(UdpTransport::ParseReply(bad.data(), bad.size()));
  // A length of 0 counts as 1: the sum of no bytes against the first byte (0x5A) fails.
  std::vector<uint8_t> zero = {0x5A, 0xA5, 0, 0, 1, 1};
  EXPECT_FALSE(UsbTransport::ParseReply(zero.data(), zero.size()));
  zero[0] = 0;
  EXPECT_TRUE(UsbTransport::ParseReply(zero.data(), zero.size()));
}

TEST(FrameDecoder, SkipsNoiseRestartsOnFalseSyncAndEnds) {
  FrameDecoder decoder;
  const auto reply = BuildFrame(kGetInfo, {1, 2, 3});
  for (uint8_t noise : {0x00, 0xA5, 0x13}) EXPECT_EQ(decoder.Feed(noise), FrameDecoder::kSearching);
  EXPECT_EQ(decoder.Feed(0x5A), FrameDecoder::kGotSync0);
  EXPECT_EQ(decoder.Feed(0x11), FrameDecoder::kSearching);
  EXPECT_TRUE(decoder.Bytes().empty());
  EXPECT_EQ(decoder.Feed(0x5A), FrameDecoder::kGotSync0);
  EXPECT_EQ(decoder.Feed(0x5A), FrameDecoder::kSearching);  // 0x5A after 0x5A restarts the search too
  FrameDecoder::Status status = FrameDecoder::kSearching;
  for (uint8_t byte : reply) status = decoder.Feed(byte);
  EXPECT_EQ(status, FrameDecoder::kComplete);
  EXPECT_EQ(decoder.Bytes(), reply);
  EXPECT_EQ(decoder.Feed(0), FrameDecoder::kAfterEnd);

  FrameDecoder wrong;
  auto bad = reply;
  bad.back() ^= 0x40;
  for (uint8_t byte : bad) status = wrong.Feed(byte);
  EXPECT_EQ(status, FrameDecoder::kBadSum);
}

TEST(FrameDecoder, NeverStoresPastItsCapacity) {
  // A length field beyond the buffer, or one too short for a frame, is refused at once.
  FrameDecoder decoder(64);
  for (uint8_t byte : {0x5A, 0xA5, 0x41, 0x00}) decoder.Feed(byte);
  EXPECT_EQ(decoder.GetStatus(), FrameDecoder::kBadSum);
  for (int i = 0; i < 1000; ++i) decoder.Feed(0);
  EXPECT_LE(decoder.Bytes().size(), 4u);
  FrameDecoder tiny;
  for (uint8_t byte : {0x5A, 0xA5, 0x03, 0x00}) tiny.Feed(byte);
  EXPECT_EQ(tiny.GetStatus(), FrameDecoder::kBadSum);
  // Exactly the capacity is taken.
  FrameDecoder exact(64);
  FrameDecoder::Status status = FrameDecoder::kSearching;
  for (uint8_t byte : BuildFrame(kGetInfo, std::vector<uint8_t>(58, 7))) status = exact.Feed(byte);
  EXPECT_EQ(status, FrameDecoder::kComplete);
}

// A pseudo-terminal pair: the test writes to the master, the transport opens the slave.
class Pty {
 public:
  Pty() {
    m_Master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(m_Master);
    unlockpt(m_Master);
    char name[128];
    ptsname_r(m_Master, name, sizeof name);
    m_Slave = name;
    termios tio{};
    tcgetattr(m_Master, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_Master, TCSANOW, &tio);
  }
  ~Pty() { close(m_Master); }
  void Write(const std::vector<uint8_t>& a_Bytes) { ASSERT_EQ(write(m_Master, a_Bytes.data(), a_Bytes.size()), static_cast<ssize_t>(a_Bytes.size())); }
  int m_Master = -1;
  std::string m_Slave;
};

TransportSettings Serial(const std::string& a_Device, int32_t a_Baud = 115200) {
  TransportSettings settings;
  settings.m_Kind = kSerial;
  settings.m_ComName = a_Device;
  settings.m_BaudRate = a_Baud;
  settings.m_UnitMs = 200;
  settings.m_SerialIntervalMs = 20;
  return settings;
}

TEST(SerialTransport, TakesAReplyAfterNoiseAndRefusesOneThatStopsShort) {
  Pty pty;
  SerialTransport serial;
  serial.Configure(Serial(pty.m_Slave));
  ASSERT_TRUE(serial.Open()) << serial.LastError();
  EXPECT_EQ(serial.MaxPacketSize(), 512);
  const auto reply = BuildFrame(kGetInfo, std::vector<uint8_t>(11, 1));
  std::vector<uint8_t> noisy(reply.size() + 4);
  const uint8_t noise[] = {0x01, 0x02, 0x5A, 0x00};
  std::copy(std::begin(noise), std::end(noise), noisy.begin());
  std::copy(reply.begin(), reply.end(), noisy.begin() + 4);
  pty.Write(noisy);
  std::vector<uint8_t> got;
  ASSERT_TRUE(serial.Receive(got, kReplyCapacity, 1)) << serial.LastError();
  EXPECT_EQ(got, reply);

  // Half a reply, then a pause longer than the interval: the receive ends there and refuses
  // it; the decoder keeps what it stored.
  pty.Write(std::vector<uint8_t>(reply.begin(), reply.begin() + 7));
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    pty.Write(std::vector<uint8_t>(reply.begin() + 7, reply.end()));
  });
  EXPECT_FALSE(serial.Receive(got, kReplyCapacity, 1));
  late.join();
  EXPECT_EQ(serial.Decoder().Bytes(), std::vector<uint8_t>(reply.begin(), reply.begin() + 7));
  // Nothing at all is a time-out.
  tcflush(pty.m_Master, TCIOFLUSH);
  serial.Receive(got, kReplyCapacity, 1);
  EXPECT_FALSE(serial.Receive(got, kReplyCapacity, 1));

  // What the transport sends arrives whole on the other side.
  const auto request = BuildFrame(kRestart, std::vector<uint8_t>(kModeKey, kModeKey + 6));
  ASSERT_TRUE(serial.Send(request.data(), request.size(), 1));
  std::vector<uint8_t> seen(64);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const ssize_t n = read(pty.m_Master, seen.data(), seen.size());
  ASSERT_EQ(n, static_cast<ssize_t>(request.size()));
  seen.resize(static_cast<std::size_t>(n));
  EXPECT_EQ(seen, request);
}

TEST(SerialTransport, RatesOutsideTheTableLeaveThePortsRate) {
  Pty pty;
  const auto speedAfterOpen = [&](int32_t a_Baud) {
    const int fd = open(pty.m_Slave.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    tcgetattr(fd, &tio);
    cfsetospeed(&tio, B9600);
    cfsetispeed(&tio, B9600);
    tcsetattr(fd, TCSANOW, &tio);
    SerialTransport serial;
    serial.Configure(Serial(pty.m_Slave, a_Baud));
    EXPECT_TRUE(serial.Open()) << serial.LastError();
    tcgetattr(fd, &tio);
    serial.Close();
    close(fd);
    return cfgetospeed(&tio);
  };
  EXPECT_EQ(speedAfterOpen(187500), B9600);
  EXPECT_EQ(speedAfterOpen(19200), B19200);
  EXPECT_EQ(speedAfterOpen(75), B75);
  speed_t speed{};
  EXPECT_FALSE(SerialTransport::SpeedFor(230400, speed));
}

TEST(SerialTransport, AMissingDeviceFailsToOpen) {
  SerialTransport serial;
  serial.Configure(Serial("/dev/kd820-no-such-port"));
  EXPECT_FALSE(serial.Open());
  EXPECT_NE(serial.LastError().find("/dev/kd820-no-such-port"), std::string::npos);
}

TEST(UdpTransport, AddressPartsAreTakenModulo256) {
  EXPECT_EQ(UdpTransport::NormalizeAddress("10.0.0.300"), "10.0.0.44");
  EXPECT_EQ(UdpTransport::NormalizeAddress("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(UdpTransport::NormalizeAddress("256.1.2.3"), "0.1.2.3");
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "a.b.c.d", "1..2.3", "1.2.3.", "localhost"}) {
    EXPECT_EQ(UdpTransport::NormalizeAddress(bad), "") << bad;
  }
  UdpTransport udp;
  TransportSettings settings;
  settings.m_Address = "127.0.0.1";
  settings.m_Port = "70000";
  udp.Configure(settings);
  EXPECT_FALSE(udp.Open());
}

TEST(UdpTransport, ExchangesDatagramsWithThePanelOnLoopback) {
  EmulatorServer server(EmulatorConfig{});
  std::string error;
  ASSERT_TRUE(server.OpenUdp(0, error)) << error;
  std::thread serve([&] { server.Run(0, 0); });
  UdpTransport udp;
  TransportSettings settings;
  settings.m_Address = "127.0.0.1";
  settings.m_Port = std::to_string(server.UdpPort());
  settings.m_UnitMs = 500;
  udp.Configure(settings);
  ASSERT_TRUE(udp.Open()) << udp.LastError();
  EXPECT_EQ(udp.MaxPacketSize(), 1024);
  const auto request = BuildFrame(kGetInfo, {});
  ASSERT_TRUE(udp.Send(request.data(), request.size(), 1));
  std::vector<uint8_t> reply;
  ASSERT_TRUE(udp.Receive(reply, kReplyCapacity, 1)) << udp.LastError();
  EXPECT_EQ(reply.size(), 17u);
  EXPECT_EQ(reply[4], kGetInfo);
  server.Stop();
  serve.join();
  // Nobody answers now.
  ASSERT_TRUE(udp.Send(request.data(), request.size(), 1));
  EXPECT_FALSE(udp.Receive(reply, kReplyCapacity, 1));
}

TEST(UsbTransport, TheShippedListAndAnAbsentPanel) {
  int bad = 0;
  const auto ids = ParseUsbIds("# comment\n1209:d620\n  04b4:1004  # second\nzz:1\n1:2:3\n", &bad);
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0], (UsbId{0x1209, 0xd620}));
  EXPECT_EQ(ids[1], (UsbId{0x04b4, 0x1004}));
  EXPECT_EQ(bad, 2);
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
  const auto shipped = UsbTransport::ShippedIds();
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(shipped[0], (UsbId{0x1209, 0xd620}));
  // No such device on this machine: the open fails and says what it looked for.
  UsbTransport usb;
  TransportSettings settings;
  settings.m_UsbIds = {{0x1209, 0xd6ff}};
  usb.Configure(settings);
  EXPECT_FALSE(usb.Open());
  EXPECT_NE(usb.LastError().find("1209:d6ff"), std::string::npos) << usb.LastError();
  EXPECT_EQ(usb.MaxPacketSize(), 64);
  std::vector<uint8_t> reply;
  EXPECT_FALSE(usb.Receive(reply, kReplyCapacity, 1));
}

TEST(Transport, KindsMakeTheirTransports) {
  EXPECT_EQ(MakeTransport(kNetwork)->MaxPacketSize(), 1024);
  EXPECT_EQ(MakeTransport(kUsb)->MaxPacketSize(), 64);
  EXPECT_EQ(MakeTransport(kSerial)->MaxPacketSize(), 512);
  EXPECT_EQ(MakeTransport(0), nullptr);
  EXPECT_EQ(MakeTransport(4), nullptr);
}

}  // namespace
