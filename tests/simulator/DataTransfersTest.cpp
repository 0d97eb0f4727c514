// Data transfers: periods, edges of the trigger bit, the frame rule, the copy limit, the
// unit-by-unit conversions, the value buffer and sampled reads of PLC sources.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "simulator/DataTransfers.h"
#include "simulator/InternalMemory.h"
#include "simulator/SimImage.h"
#include "simulator/Simulator.h"
#include "tests/simulator/TestImage.h"

namespace sim {
namespace {

RegisterDescriptor Words(uint32_t a_Address, uint16_t a_Count = 1, uint8_t a_Flags = 0) {
  RegisterDescriptor d;
  d.flags = a_Flags;
  d.count = a_Count;
  d.address = a_Address;
  return d;
}

RegisterDescriptor Bit(uint32_t a_Bit) {
  RegisterDescriptor d;
  d.type = RegisterDescriptor::kInternalBits;
  d.unit = 0x00;
  d.address = a_Bit;
  return d;
}

struct Record {
  uint32_t flags = 0x01;
  RegisterDescriptor source = Words(10);
  RegisterDescriptor destination = Words(20);
  RegisterDescriptor trigger = Bit(0x50);
  uint32_t period = 1;
  uint16_t frame = 0;
  uint16_t limit = 0;
};

void Put(std::vector<uint8_t>& a_Bytes, std::size_t a_At, uint32_t a_Value, int a_Width = 4) {
  for (int i = 0; i < a_Width; ++i) a_Bytes[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
}

// Appends a transfer section to an image and enters it in directory slot 6. The section
// declares a_Declared entries (default: as many as given).
void AddSection(std::vector<uint8_t>& a_Image, const std::vector<Record>& a_Records,
                std::optional<uint32_t> a_Declared = std::nullopt) {
  while (a_Image.size() % 4) a_Image.push_back(0);
  const std::size_t section = a_Image.size();
  Put(a_Image, 24 + 4 * 6, static_cast<uint32_t>(section));
  a_Image.resize(section + 4 + 4 * a_Records.size(), 0);
  Put(a_Image, section, a_Declared.value_or(static_cast<uint32_t>(a_Records.size())));
  for (std::size_t i = 0; i < a_Records.size(); ++i) {
    const Record& r = a_Records[i];
    const std::size_t at = a_Image.size();
    Put(a_Image, section + 4 + 4 * i, static_cast<uint32_t>(at));
    a_Image.resize(at + 48, 0);
    Put(a_Image, at, r.flags);
    std::memcpy(&a_Image[at + 4], r.source.Bytes().data(), 12);
    std::memcpy(&a_Image[at + 16], r.destination.Bytes().data(), 12);
    std::memcpy(&a_Image[at + 28], r.trigger.Bytes().data(), 12);
    Put(a_Image, at + 40, r.period);
    Put(a_Image, at + 44, r.frame, 2);
    Put(a_Image, at + 46, r.limit, 2);
  }
}

std::vector<uint8_t> EmptyImage() {
  std::vector<uint8_t> bytes(24 + 28, 0);
  std::memcpy(bytes.data(), "Marvok", 6);
  Put(bytes, 20, 24);
  return bytes;
}

// Stands in for the ports: a sampling read is delivered once, when the test says so.
class SamplingPorts : public IPlcPorts {
 public:
  bool Fetch(RegisterAccessor& a_Accessor, uint8_t* a_Bytes, ReadMode a_Mode) override {
    std::optional<std::vector<uint8_t>>& source = a_Mode == ReadMode::kSampled ? sample : polled;
    if (!source) return false;
    std::memcpy(a_Bytes, source->data(), std::min(source->size(), a_Accessor.Size()));
    if (a_Mode == ReadMode::kSampled) sample.reset();  // consumed
    return true;
  }
  void Request(RegisterAccessor&, RequestMode a_Mode) override { requests.push_back(a_Mode); }
  bool Store(RegisterAccessor&, const uint8_t* a_Bytes, std::size_t a_Length) override {
    stored.assign(a_Bytes, a_Bytes + a_Length);
    return true;
  }
  bool Modify(RegisterAccessor&, const ModifyOperation&) override { return false; }

  std::optional<std::vector<uint8_t>> sample;
  std::optional<std::vector<uint8_t>> polled;
  std::vector<RequestMode> requests;
  std::vector<uint8_t> stored;
};

class DataTransfersTest : public ::testing::Test {
 protected:
  DataTransfersTest() {
    m_Context.memory = &m_Memory;
    m_Context.plc = &m_Ports;
  }
  void Load(const std::vector<Record>& a_Records,
            std::optional<uint32_t> a_Declared = std::nullopt) {
    std::vector<uint8_t> bytes = EmptyImage();
    AddSection(bytes, a_Records, a_Declared);
    ASSERT_TRUE(m_Image.Adopt(bytes));
    m_Transfers.Load(m_Image, m_Context, m_Now);
  }
  // Services every tick up to and including a_Until.
  void RunTo(uint32_t a_Until, uint16_t a_Frame = 0) {
    while (m_Now < a_Until) m_Transfers.Service(++m_Now, a_Frame);
  }
  // One more tick with the trigger bit at a_Level first.
  void Trigger(bool a_Level, uint16_t a_Frame = 0) {
    m_Memory.WriteBits(0x50, reinterpret_cast<const uint8_t*>(a_Level ? "\x01" : "\x00"), 1);
    RunTo(m_Now + 1, a_Frame);
  }
  uint32_t Copies(std::size_t a_Index = 0) const { return m_Transfers.At(a_Index).copies; }

  InternalMemory m_Memory;
  SamplingPorts m_Ports;
  AccessContext m_Context;
  SimImage m_Image;
  DataTransfers m_Transfers;
  uint32_t m_Now = 100;
};

TEST_F(DataTransfersTest, PeriodicTransfersCopyOncePerPeriod) {
  Record r;
  r.period = 3;
  Record fast;
  fast.source = Words(11);
  fast.destination = Words(21);
  fast.period = 0;  // every tick, never twice in one
  Load({r, fast});
  m_Memory.WriteWord(10, 7);
  m_Memory.WriteWord(11, 8);
  RunTo(102);
  EXPECT_EQ(Copies(), 0u);
  EXPECT_EQ(m_Memory.Word(20), 0);
  RunTo(103);
  EXPECT_EQ(Copies(), 1u);
  EXPECT_EQ(m_Memory.Word(20), 7);
  m_Memory.WriteWord(10, 9);
  RunTo(105);
  EXPECT_EQ(m_Memory.Word(20), 7);
  RunTo(106);
  EXPECT_EQ(m_Memory.Word(20), 9);
  EXPECT_EQ(Copies(), 2u);
  m_Transfers.Service(m_Now, 0);  // a second cycle in the same tick
  EXPECT_EQ(Copies(1), 6u);
  EXPECT_EQ(m_Memory.Word(21), 8);
}

TEST_F(DataTransfersTest, EdgesOfTheTriggerBitArmOneCopyEach) {
  Record rising;
  rising.flags = DataTransfers::kRisingEdge;
  Record falling = rising;
  falling.flags = DataTransfers::kFallingEdge;
  falling.destination = Words(21);
  Record both = rising;
  both.flags = DataTransfers::kRisingEdge | DataTransfers::kFallingEdge;
  both.destination = Words(22);
  Load({rising, falling, both});
  m_Memory.WriteWord(10, 5);
  Trigger(true);  // the first reading is the level edges start from, no edge
  Trigger(true);
  EXPECT_EQ(Copies(0) + Copies(1) + Copies(2), 0u);
  Trigger(false);
  EXPECT_EQ(Copies(0), 0u);
  EXPECT_EQ(Copies(1), 1u);
  EXPECT_EQ(Copies(2), 1u);
  Trigger(false);
  Trigger(true);
  Trigger(true);
  EXPECT_EQ(Copies(0), 1u);
  EXPECT_EQ(Copies(1), 1u);
  EXPECT_EQ(Copies(2), 2u);
  EXPECT_EQ(m_Memory.Word(20), 5);
  EXPECT_EQ(m_Memory.Word(21), 5);
}

TEST_F(DataTransfersTest, AnEdgeWaitsForThePeriodToElapse) {
  Record r;
  r.flags = DataTransfers::kRisingEdge;
  r.period = 5;
  Load({r});
  Trigger(false);  // tick 101
  Trigger(true);   // tick 102: armed, the period since the start is not over
  RunTo(104);
  EXPECT_EQ(Copies(), 0u);
  RunTo(105);
  EXPECT_EQ(Copies(), 1u);
  RunTo(120);
  EXPECT_EQ(Copies(), 1u);  // disarmed by the copy
  Trigger(false);
  Trigger(true);  // long after the last copy: at once
  EXPECT_EQ(Copies(), 2u);
}

TEST_F(DataTransfersTest, TheFrameRuleStopsTransfersOffTheirFrame) {
  Record periodic;
  periodic.flags = 0x01 | DataTransfers::kFrameRule;
  periodic.frame = 3;
  Record edge = periodic;
  edge.flags = DataTransfers::kRisingEdge | DataTransfers::kFrameRule;
  edge.destination = Words(21);
  Load({periodic, edge});
  RunTo(110, 2);
  EXPECT_EQ(Copies(0), 0u);
  RunTo(112, 3);
  EXPECT_EQ(Copies(0), 2u);

  Trigger(false, 3);
  Trigger(true, 2);  // the edge happens off the frame
  Trigger(true, 3);  // back on it the level is taken afresh
  EXPECT_EQ(Copies(1), 0u);
  Trigger(false, 3);
  Trigger(true, 3);
  EXPECT_EQ(Copies(1), 1u);
}

TEST_F(DataTransfersTest, TheCopyLimitDisarmsAfterItsLastCopy) {
  std::vector<Record> records;
  for (uint16_t limit : {2, 3, 4}) {
    Record r;
    r.flags = 0x01 | DataTransfers::kLimited;
    r.limit = limit;
    r.destination = Words(20 + limit);
    records.push_back(r);
  }
  Record unlimited;  // a limit without flag bit 5 does not count
  unlimited.limit = 1;
  records.push_back(unlimited);
  Record none = records[0];
  none.limit = 0;  // flag bit 5 with limit 0 never copies
  records.push_back(none);
  Load(records);
  RunTo(102);
  EXPECT_EQ(Copies(0), 2u);
  EXPECT_EQ(Copies(1), 2u);  // one below its limit, still armed
  RunTo(103);
  EXPECT_EQ(Copies(0), 2u);
  EXPECT_EQ(Copies(1), 3u);  // at its limit
  EXPECT_EQ(Copies(2), 3u);
  RunTo(110);
  EXPECT_EQ(Copies(0), 2u);
  EXPECT_EQ(Copies(1), 3u);
  EXPECT_EQ(Copies(2), 4u);
  EXPECT_EQ(Copies(3), 10u);
  EXPECT_EQ(Copies(4), 0u);
}

TEST_F(DataTransfersTest, ByteOrderAndBcdApplyUnitByUnit) {
  Record reversed;
  reversed.source = Words(10, 2, RegisterDescriptor::kReverseBytes);
  reversed.destination = Words(20, 2);
  Record bcd;
  bcd.source = Words(12, 2, RegisterDescriptor::kBcd);
  bcd.destination = Words(22, 2);
  Record toBcd;
  toBcd.source = Words(14, 1);
  toBcd.destination = Words(24, 1, RegisterDescriptor::kBcd | RegisterDescriptor::kReverseBytes);
  Record longer;  // three words into two: cut
  longer.source = Words(10, 3);
  longer.destination = Words(30, 2);
  Record shorter;  // one word into two: the rest becomes zero
  shorter.source = Words(14, 1);
  shorter.destination = Words(32, 2);
  m_Context.swapWords = true;  // never exchanges the words of a transfer
  Load({reversed, bcd, toBcd, longer, shorter});
  m_Memory.WriteWord(10, 0x1234);
  m_Memory.WriteWord(11, 0x5678);
  m_Memory.WriteWord(12, 0x0012);
  m_Memory.WriteWord(13, 0x0034);
  m_Memory.WriteWord(14, 1234);
  m_Memory.WriteWord(33, 0xFFFF);
  RunTo(101);
  EXPECT_EQ(m_Memory.Word(20), 0x3412);
  EXPECT_EQ(m_Memory.Word(21), 0x7856);
  EXPECT_EQ(m_Memory.Word(22), 12);
  EXPECT_EQ(m_Memory.Word(23), 34);
  EXPECT_EQ(m_Memory.Word(24), 0x3412);  // BCD 0x1234, then its bytes reversed
  EXPECT_EQ(m_Memory.Word(30), 0x1234);
  EXPECT_EQ(m_Memory.Word(31), 0x5678);
  EXPECT_EQ(m_Memory.Word(32), 1234);
  EXPECT_EQ(m_Memory.Word(33), 0);
}

TEST_F(DataTransfersTest, BlocksBeyondTheBufferOrTheMemoryCopyNothing) {
  Record whole;  // 256 bytes: the whole buffer
  whole.source = Words(0, 128);
  whole.destination = Words(128, 128);
  Record pastMemory = whole;  // the destination would end at word 256
  pastMemory.destination = Words(129, 128);
  Record pastBuffer = whole;  // 258 bytes
  pastBuffer.source = Words(0, 129);
  pastBuffer.destination = Words(0, 1);
  for (uint32_t w = 0; w < 128; ++w) m_Memory.WriteWord(w, static_cast<uint16_t>(w + 1));
  Load({whole, pastMemory, pastBuffer});
  RunTo(101);
  EXPECT_EQ(Copies(0), 1u);
  EXPECT_EQ(m_Memory.Word(128), 1);
  EXPECT_EQ(m_Memory.Word(255), 128);
  EXPECT_EQ(Copies(1), 0u);
  EXPECT_EQ(Copies(2), 0u);
  EXPECT_EQ(m_Memory.Word(0), 1);
}

TEST_F(DataTransfersTest, PlcSourcesAreReadBySamplingWithoutRequestingTwice) {
  Record r;
  r.source = Words(300, 2);
  r.source.port = 0;
  r.source.station = 1;
  r.source.flags = RegisterDescriptor::kReverseBytes;
  r.destination = Words(20, 2);
  r.period = 2;
  Load({r});
  EXPECT_TRUE(m_Ports.requests.empty());  // no trigger: nothing is polled for it
  RunTo(102);
  ASSERT_EQ(m_Ports.requests, std::vector<RequestMode>{RequestMode::kSample});
  RunTo(110);  // periods pass while the read is pending
  EXPECT_EQ(m_Ports.requests.size(), 1u);
  EXPECT_EQ(Copies(), 0u);
  m_Ports.sample = std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78};
  RunTo(111);
  EXPECT_EQ(Copies(), 1u);
  EXPECT_EQ(m_Memory.Word(20), 0x1234);  // each word reversed on its own
  EXPECT_EQ(m_Memory.Word(21), 0x5678);
  // The period is long over: the next read is asked for at once, and only once.
  EXPECT_EQ(m_Ports.requests.size(), 2u);
  RunTo(112);
  EXPECT_EQ(m_Ports.requests.size(), 2u);
}

TEST_F(DataTransfersTest, PlcTriggersArePolledAndPlcDestinationsQueued) {
  Record r;
  r.flags = DataTransfers::kRisingEdge;
  r.trigger.port = 1;
  r.trigger.type = 3;
  r.destination = Words(500, 1, RegisterDescriptor::kBcd);
  r.destination.port = 1;
  Load({r});
  ASSERT_EQ(m_Ports.requests, std::vector<RequestMode>{RequestMode::kPermanent});
  m_Memory.WriteWord(10, 99);
  RunTo(102);  // nothing polled yet
  m_Ports.polled = std::vector<uint8_t>{0};
  RunTo(103);
  m_Ports.polled = std::vector<uint8_t>{1};
  RunTo(104);
  EXPECT_EQ(Copies(), 1u);
  EXPECT_EQ(m_Ports.stored, (std::vector<uint8_t>{0x99, 0x00}));
}

TEST_F(DataTransfersTest, SectionsIgnoreSurplusEntries) {
  std::vector<Record> full(DataTransfers::kMaxTransfers);
  Load(full);
  EXPECT_EQ(m_Transfers.Count(), DataTransfers::kMaxTransfers);
  full.emplace_back();
  Load(full);
  EXPECT_EQ(m_Transfers.Count(), DataTransfers::kMaxTransfers);

  // A count beyond the offsets the image holds reads only those, and records cut off by the
  // end of the image are skipped.
  std::vector<uint8_t> bytes = EmptyImage();
  AddSection(bytes, {Record{}, Record{}});
  const std::size_t section = 24 + 28;
  Put(bytes, section, 0xFFFFFFFF);
  bytes.resize(section + 4 + 8);  // only the two offsets are left
  ASSERT_TRUE(m_Image.Adopt(bytes));
  m_Transfers.Load(m_Image, m_Context, m_Now);
  EXPECT_EQ(m_Transfers.Count(), 0u);
  bytes = EmptyImage();
  AddSection(bytes, {Record{}, Record{}});
  bytes.pop_back();  // the second record lacks its last byte
  ASSERT_TRUE(m_Image.Adopt(bytes));
  m_Transfers.Load(m_Image, m_Context, m_Now);
  EXPECT_EQ(m_Transfers.Count(), 1u);
}

// Through the run cycle: the transfer follows the frame the user is on.
TEST(DataTransfersInTheCycleTest, RunsOnTheUserFrame) {
  simtest::TestImage image;
  image.frames = {{1, 0, 0, {}}, {2, 0, 0, {}}};
  std::vector<uint8_t> bytes = image.Build();
  Record r;
  r.flags = 0x01 | DataTransfers::kFrameRule;
  r.frame = 2;
  AddSection(bytes, {r});
  simtest::TestHost host;
  Simulator simulator(ParseLaunchArguments({"1", "", "0"}), host,
                      std::make_unique<RetentiveMemoryStorage>());
  simulator.StartWithImage(bytes);
  ASSERT_TRUE(simulator.WriteWord(10, 42));
  auto run = [&](int a_Ticks) {
    for (int i = 0; i < a_Ticks; ++i) {
      simulator.Tick();
      simulator.Cycle();
    }
  };
  run(3);
  ASSERT_EQ(simulator.CurrentFrame(), 1);
  uint16_t value = 1;
  ASSERT_TRUE(simulator.ReadWord(20, value));
  EXPECT_EQ(value, 0);
  simulator.JumpTo(2);
  run(3);
  ASSERT_EQ(simulator.CurrentFrame(), 2);
  ASSERT_TRUE(simulator.ReadWord(20, value));
  EXPECT_EQ(value, 42);
}

}  // namespace
}  // namespace sim
