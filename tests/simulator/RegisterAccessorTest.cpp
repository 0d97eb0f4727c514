#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "simulator/InternalMemory.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SimImage.h"

namespace sim {
namespace {

RegisterDescriptor Word(uint32_t a_Address, uint16_t a_Count = 1, uint8_t a_Flags = 0) {
  RegisterDescriptor d;
  d.flags = a_Flags;
  d.type = RegisterDescriptor::kInternalWords;
  d.unit = 0x22;
  d.count = a_Count;
  d.address = a_Address;
  return d;
}

RegisterDescriptor Bits(uint32_t a_Bit, uint16_t a_Count) {
  RegisterDescriptor d;
  d.type = RegisterDescriptor::kInternalBits;
  d.unit = 0x00;
  d.count = a_Count;
  d.address = a_Bit;
  return d;
}

TEST(RegisterDescriptorTest, ReadsTheEditorsRecord) {
  // "LW.B" word 3 bit 0xA as the editor compiles it.
  const uint8_t bytes[12] = {0x03, 0x00, 0xFF, 0x00, 0xF9, 0x00, 0x01, 0x00, 0x3A, 0, 0, 0};
  EXPECT_EQ(RegisterDescriptor::Parse(bytes), Bits(0x3A, 1));

  // A big-endian BCD PLC word type on port 1, station 2: two words, byte address unit.
  const uint8_t plc[12] = {0x03, 0x81, 0x01, 0x02, 0x07, 0x12, 0x02, 0x00, 0x10, 0x27, 0, 0};
  RegisterDescriptor word = RegisterDescriptor::Parse(plc);
  EXPECT_TRUE(word.ReverseBytes());
  EXPECT_TRUE(word.Bcd());
  EXPECT_EQ(word.Storage(), RegisterStorage::kPlc);
  EXPECT_EQ(word.SizeInBytes(), 4u);
  EXPECT_EQ(word.ElementsPerAddress(), 1u);
  EXPECT_EQ(word.address, 10000u);
  EXPECT_EQ(Bits(0, 17).SizeInBytes(), 3u);

  // A record must lie wholly inside the image.
  std::vector<uint8_t> image(40, 0);
  std::memcpy(image.data(), "Marvok", 7);
  std::memcpy(image.data() + 28, plc, sizeof plc);
  SimImage loaded;
  ASSERT_TRUE(loaded.Adopt(image));
  EXPECT_EQ(RegisterDescriptor::FromImage(loaded, 28), word);
  EXPECT_FALSE(RegisterDescriptor::FromImage(loaded, 29).has_value());
}

class RegisterAccessorTest : public ::testing::Test {
 protected:
  RegisterAccessorTest() { m_Context.memory = &m_Memory; }
  InternalMemory m_Memory;
  AccessContext m_Context;
};

TEST_F(RegisterAccessorTest, ReadsAndWritesInternalWords) {
  RegisterAccessor reg(Word(20, 2), m_Context);
  ASSERT_TRUE(reg.WriteInt32(0x12345678));
  EXPECT_EQ(m_Memory.Word(20), 0x5678);
  EXPECT_EQ(m_Memory.Word(21), 0x1234);
  EXPECT_FALSE(reg.Valid());
  EXPECT_EQ(reg.ReadInt32(), 0x12345678);
  EXPECT_TRUE(reg.Valid());
  EXPECT_TRUE(reg.Changed());  // the first value
  reg.ClearChanged();
  ASSERT_TRUE(reg.Read());
  EXPECT_FALSE(reg.Changed());

  // Smaller registers are zero-extended; writes keep only their own bytes.
  RegisterAccessor small(Word(20), m_Context);
  m_Memory.WriteWord(20, 0xFFFE);
  EXPECT_EQ(small.ReadInt32(), 0xFFFE);
  ASSERT_TRUE(small.WriteInt32(0x7FFF0001));
  EXPECT_EQ(m_Memory.Word(20), 0x0001);
  EXPECT_EQ(m_Memory.Word(21), 0x1234);
}

TEST_F(RegisterAccessorTest, BcdRegistersHoldOneDigitPerNibble) {
  RegisterAccessor reg(Word(5, 1, RegisterDescriptor::kBcd), m_Context);
  m_Memory.WriteWord(5, 0x1234);
  EXPECT_EQ(reg.ReadInt32(), 1234);
  ASSERT_TRUE(reg.WriteInt32(5678));
  EXPECT_EQ(m_Memory.Word(5), 0x5678);
  ASSERT_TRUE(reg.WriteInt32(12345));  // digits beyond the register drop out
  EXPECT_EQ(m_Memory.Word(5), 0x2345);
}

TEST_F(RegisterAccessorTest, ByteReversalAndWordSwapReorderTheValue) {
  m_Memory.WriteDoubleWord(8, 0x04030201);  // bytes 01 02 03 04

  RegisterAccessor plain(Word(8, 2), m_Context);
  EXPECT_EQ(plain.ReadInt32(), 0x04030201);
  RegisterAccessor reversed(Word(8, 2, RegisterDescriptor::kReverseBytes), m_Context);
  EXPECT_EQ(reversed.ReadInt32(), 0x01020304);

  AccessContext swapping = m_Context;
  swapping.swapWords = true;
  RegisterAccessor swapped(Word(8, 2), swapping);
  EXPECT_EQ(swapped.ReadInt32(), 0x02010403);
  // Only 4-byte values made of 2-byte units exchange their words.
  RegisterDescriptor bytes = Word(8, 4);
  bytes.unit = 0x11;
  RegisterAccessor byteUnits(bytes, swapping);
  EXPECT_EQ(byteUnits.ReadInt32(), 0x04030201);

  // Reversal, swap and BCD together come back unchanged.
  RegisterAccessor all(Word(10, 2, RegisterDescriptor::kReverseBytes | RegisterDescriptor::kBcd),
                       swapping);
  ASSERT_TRUE(all.WriteInt32(13572468));
  EXPECT_EQ(m_Memory.DoubleWord(10), 0x57136824u);
  EXPECT_EQ(all.ReadInt32(), 13572468);
}

TEST_F(RegisterAccessorTest, BitRegistersTouchOnlyTheirBits) {
  RegisterAccessor bit(Bits(0x3A, 1), m_Context);
  ASSERT_TRUE(bit.WriteInt32(1));
  EXPECT_EQ(m_Memory.Word(3), 0x0400);
  EXPECT_EQ(bit.ReadInt32(), 1);

  m_Memory.WriteWord(4, 0xFFFF);
  m_Memory.WriteWord(5, 0xFFFF);
  RegisterAccessor run(Bits(4 * 16 + 12, 8), m_Context);
  ASSERT_TRUE(run.WriteInt32(0));
  EXPECT_EQ(m_Memory.Word(4), 0x0FFF);
  EXPECT_EQ(m_Memory.Word(5), 0xFFF0);
  m_Memory.WriteWord(5, 0x000F);
  EXPECT_EQ(run.ReadInt32(), 0xF0);
}

TEST_F(RegisterAccessorTest, RegistersBeyondTheMemoryAreRefused) {
  m_Memory.WriteWord(255, 0x1111);
  RegisterAccessor crossing(Word(255, 2), m_Context);
  EXPECT_FALSE(crossing.Read());
  EXPECT_FALSE(crossing.Valid());
  EXPECT_FALSE(crossing.WriteInt32(7));
  EXPECT_EQ(m_Memory.Word(255), 0x1111);
  EXPECT_FALSE(crossing.Modify({ModifyOperation::kToggle}));

  EXPECT_FALSE(RegisterAccessor(Word(256), m_Context).Read());
  EXPECT_FALSE(RegisterAccessor(Bits(4095, 2), m_Context).WriteInt32(3));
  RegisterDescriptor unknown = Word(0);
  unknown.type = 7;
  EXPECT_FALSE(RegisterAccessor(unknown, m_Context).WriteInt32(1));

  // PLC registers without ports.
  RegisterDescriptor plc = Word(0);
  plc.port = 0;
  RegisterAccessor remote(plc, m_Context);
  EXPECT_FALSE(remote.Read());
  EXPECT_FALSE(remote.WriteInt32(1));
  EXPECT_FALSE(remote.Modify({ModifyOperation::kToggle}));
  EXPECT_EQ(m_Memory.Word(0), 0);

  // Values larger than the buffer are refused, not cut.
  RegisterAccessor large(Word(0, 1000), m_Context);
  EXPECT_TRUE(large.Refused());
  EXPECT_EQ(large.Size(), 0u);
  EXPECT_FALSE(large.Read());
  EXPECT_FALSE(large.WriteInt32(1));
  EXPECT_TRUE(RegisterAccessor(Bits(0, 5000), m_Context).Refused());
}

// Limits of the panel's own registers: the last word or bit of a memory fits, one more is
// refused; a value of 256 bytes fits the buffer, 257 do not.
TEST_F(RegisterAccessorTest, RegistersAreRefusedAtEveryLimit) {
  auto fits = [](const RegisterDescriptor& a_Descriptor) {
    return RegisterAccessor::Fits(a_Descriptor);
  };
  // Internal words 0..255.
  EXPECT_TRUE(fits(Word(255)));
  EXPECT_FALSE(fits(Word(256)));
  EXPECT_TRUE(fits(Word(254, 2)));
  EXPECT_FALSE(fits(Word(255, 2)));
  EXPECT_FALSE(fits(Word(0xFFFFFFFF)));
  // Internal bits 0..4095.
  EXPECT_TRUE(fits(Bits(4095, 1)));
  EXPECT_FALSE(fits(Bits(4096, 1)));
  EXPECT_TRUE(fits(Bits(4094, 2)));
  EXPECT_FALSE(fits(Bits(4095, 2)));
  // Retentive words 0..1023 and bits 0..16383.
  RegisterDescriptor retentive = Word(1023);
  retentive.type = RegisterDescriptor::kRetentiveWords;
  EXPECT_TRUE(fits(retentive));
  retentive.address = 1024;
  EXPECT_FALSE(fits(retentive));
  retentive.address = 1022;
  retentive.count = 2;
  EXPECT_TRUE(fits(retentive));
  retentive.address = 1023;
  EXPECT_FALSE(fits(retentive));
  RegisterDescriptor retentiveBit = Bits(16383, 1);
  retentiveBit.type = RegisterDescriptor::kRetentiveBits;
  EXPECT_TRUE(fits(retentiveBit));
  retentiveBit.address = 16384;
  EXPECT_FALSE(fits(retentiveBit));
  // The value buffer: 255, 256 and 257 bytes of byte units, 2047..2049 bits.
  RegisterDescriptor bytes = Word(0, 256);
  bytes.unit = 0x11;
  EXPECT_TRUE(fits(bytes));
  bytes.count = 255;
  EXPECT_TRUE(fits(bytes));
  bytes.count = 257;
  EXPECT_FALSE(fits(bytes));
  EXPECT_TRUE(fits(Bits(0, 2047)));
  EXPECT_TRUE(fits(Bits(0, 2048)));
  EXPECT_FALSE(fits(Bits(0, 2049)));
  // PLC registers meet only the buffer limit; empty registers fit nowhere.
  RegisterDescriptor plc = Word(100000, 128);
  plc.port = 0;
  EXPECT_TRUE(fits(plc));
  plc.count = 129;
  EXPECT_FALSE(fits(plc));
  EXPECT_FALSE(fits(Word(0, 0)));

  // The whole buffer reads and writes; the refused register stays invalid.
  m_Memory.WriteWord(127, 0xBEEF);
  RegisterAccessor whole(Word(0, 128), m_Context);
  ASSERT_EQ(whole.Size(), RegisterAccessor::kMaxSize);
  ASSERT_TRUE(whole.Read());
  EXPECT_EQ(whole.Data()[254], 0xEF);
  RegisterAccessor last(Bits(4095, 1), m_Context);
  ASSERT_TRUE(last.WriteInt32(1));
  EXPECT_EQ(m_Memory.Word(255), 0x8000);
  EXPECT_EQ(last.ReadInt32(), 1);
  RegisterAccessor beyond(Bits(4095, 2), m_Context);
  EXPECT_FALSE(beyond.Read());
  EXPECT_FALSE(beyond.Valid());
  EXPECT_FALSE(beyond.Modify({ModifyOperation::kToggle}));
  EXPECT_EQ(m_Memory.Word(255), 0x8000);
}

TEST_F(RegisterAccessorTest, ModifyWritesOnlyWhenTheOperationApplies) {
  RegisterAccessor reg(Word(30), m_Context);
  ASSERT_TRUE(reg.Modify({ModifyOperation::kToggle}));
  EXPECT_EQ(m_Memory.Word(30), 1);
  ASSERT_TRUE(reg.Modify({ModifyOperation::kToggle}));
  EXPECT_EQ(m_Memory.Word(30), 0);

  m_Memory.WriteWord(30, 8);
  EXPECT_TRUE(reg.Modify({ModifyOperation::kAddLimited, 2, 10}));
  EXPECT_EQ(m_Memory.Word(30), 10);
  EXPECT_FALSE(reg.Modify({ModifyOperation::kAddLimitedRepeat, 1, 10}));
  EXPECT_EQ(m_Memory.Word(30), 10);
  EXPECT_TRUE(reg.Modify({ModifyOperation::kSubtractLimited, 4, 5}));
  EXPECT_EQ(m_Memory.Word(30), 6);
  EXPECT_FALSE(reg.Modify({ModifyOperation::kSubtractLimitedRepeat, 4, 5}));
  EXPECT_TRUE(reg.Modify({ModifyOperation::kAddWrapping, 4, 9}));
  EXPECT_EQ(m_Memory.Word(30), 0);
  EXPECT_FALSE(reg.Modify({32, 1, 1}));

  // A 16-bit register counts signed: 0xFFFF is -1 and may go up to 0.
  m_Memory.WriteWord(30, 0xFFFF);
  EXPECT_TRUE(reg.Modify({ModifyOperation::kAddLimited, 1, 0}));
  EXPECT_EQ(m_Memory.Word(30), 0);

  // A 4-byte register counts in 32 bits without overflowing at the limit.
  RegisterAccessor wide(Word(40, 2), m_Context);
  m_Memory.WriteDoubleWord(40, 0x7FFFFFFF);
  EXPECT_FALSE(wide.Modify({ModifyOperation::kAddLimited, 1, 0x7FFFFFFF}));
  EXPECT_TRUE(wide.Modify({ModifyOperation::kAddWrapping, 1, 0x7FFFFFFF}));
  EXPECT_EQ(m_Memory.DoubleWord(40), 0u);

  // BCD registers compute on the decimal value.
  RegisterAccessor bcd(Word(50, 1, RegisterDescriptor::kBcd), m_Context);
  m_Memory.WriteWord(50, 0x0019);
  EXPECT_TRUE(bcd.Modify({ModifyOperation::kAddLimited, 1, 100}));
  EXPECT_EQ(m_Memory.Word(50), 0x0020);
}

// Stands in for the communication ports: holds the register's bytes as the PLC has them.
class FakePorts : public IPlcPorts {
 public:
  bool Fetch(RegisterAccessor& a_Accessor, uint8_t* a_Bytes, ReadMode a_Mode) override {
    lastMode = a_Mode;
    if (!has) return false;
    std::memcpy(a_Bytes, plcBytes.data(), a_Accessor.Size());
    return true;
  }
  void Request(RegisterAccessor&, RequestMode a_Mode) override { requests.push_back(a_Mode); }
  bool Store(RegisterAccessor&, const uint8_t* a_Bytes, std::size_t a_Length) override {
    plcBytes.assign(a_Bytes, a_Bytes + a_Length);
    return true;
  }
  bool Modify(RegisterAccessor&, const ModifyOperation& a_Operation) override {
    modified = a_Operation.code;
    return true;
  }

  bool has = false;
  std::vector<uint8_t> plcBytes;
  ReadMode lastMode = ReadMode::kPolled;
  std::vector<RequestMode> requests;
  int modified = 0;
};

TEST_F(RegisterAccessorTest, PlcRegistersCrossThePortsInTheirOwnByteOrder) {
  FakePorts ports;
  m_Context.plc = &ports;
  RegisterDescriptor d = Word(100, 1, RegisterDescriptor::kReverseBytes | RegisterDescriptor::kBcd);
  d.port = 1;
  d.station = 2;
  RegisterAccessor reg(d, m_Context);

  EXPECT_FALSE(reg.Read(ReadMode::kSampled));  // nothing read yet
  EXPECT_EQ(ports.lastMode, ReadMode::kSampled);
  EXPECT_FALSE(reg.Valid());

  ASSERT_TRUE(reg.WriteInt32(1234));
  EXPECT_EQ(ports.plcBytes, (std::vector<uint8_t>{0x12, 0x34}));
  ports.has = true;
  EXPECT_EQ(reg.ReadInt32(), 1234);

  reg.Request(RequestMode::kPermanent);
  EXPECT_EQ(ports.requests, std::vector<RequestMode>{RequestMode::kPermanent});
  EXPECT_TRUE(reg.Modify({ModifyOperation::kAddWrapping, 1, 9}));
  EXPECT_EQ(ports.modified, ModifyOperation::kAddWrapping);

  // Internal registers never ask the ports, nor do refused ones.
  RegisterAccessor local(Word(0), m_Context);
  local.Request(RequestMode::kFrame);
  RegisterDescriptor large = d;
  large.count = 129;
  RegisterAccessor refused(large, m_Context);
  refused.Request(RequestMode::kSample);
  EXPECT_EQ(ports.requests.size(), 1u);
  EXPECT_FALSE(refused.WriteInt32(1));
  EXPECT_FALSE(refused.Modify({ModifyOperation::kToggle}));
  EXPECT_EQ(ports.plcBytes, (std::vector<uint8_t>{0x12, 0x34}));
}

}  // namespace
}  // namespace sim
