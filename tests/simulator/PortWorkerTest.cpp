#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "simulator/InternalMemory.h"
#include "simulator/PlcPorts.h"
#include "simulator/PortWorker.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SimImage.h"
#include "simulator/SimulatedPlc.h"
#include "simulator/StatusLine.h"
#include "simulator/TickTimers.h"
#include "simulator/app/PortThreads.h"

namespace sim {
namespace {

constexpr uint8_t kHolding = 4;  // a word type
constexpr uint8_t kCoils = 0;    // a bit type

RegisterDescriptor Word(uint8_t a_Port, uint8_t a_Station, uint32_t a_Address,
                        uint16_t a_Count = 1) {
  RegisterDescriptor d;
  d.port = a_Port;
  d.station = a_Station;
  d.type = kHolding;
  d.unit = 0x22;  // 16-bit words, one word per address step
  d.count = a_Count;
  d.address = a_Address;
  return d;
}

RegisterDescriptor Bits(uint8_t a_Port, uint32_t a_Address, uint16_t a_Count) {
  RegisterDescriptor d = Word(a_Port, 1, a_Address, a_Count);
  d.type = kCoils;
  d.unit = 0x00;
  return d;
}

// An image with nothing but a port section of the given 36-byte records.
std::vector<uint8_t> PortImage(const std::vector<std::array<uint8_t, 36>>& a_Records) {
  std::vector<uint8_t> b(24 + 28, 0);
  std::memcpy(b.data(), "Marvok", 6);
  b[8] = 1;
  b[20] = 24;
  const uint32_t section = static_cast<uint32_t>(b.size());
  std::memcpy(&b[24 + 4], &section, 4);
  const uint32_t count = static_cast<uint32_t>(a_Records.size());
  b.resize(b.size() + 4 + 4 * count, 0);
  std::memcpy(&b[section], &count, 4);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = static_cast<uint32_t>(b.size());
    std::memcpy(&b[section + 4 + 4 * i], &at, 4);
    b.insert(b.end(), a_Records[i].begin(), a_Records[i].end());
  }
  const uint32_t size = static_cast<uint32_t>(b.size());
  std::memcpy(&b[12], &size, 4);
  return b;
}

std::array<uint8_t, 36> PortRecord(uint8_t a_Port, uint16_t a_WordLimit = 64,
                                   uint16_t a_BitLimit = 512, uint8_t a_WordGap = 4,
                                   uint8_t a_BitGap = 16) {
  std::array<uint8_t, 36> r{};
  r[0] = a_Port;
  r[26] = static_cast<uint8_t>(a_WordLimit);
  r[27] = static_cast<uint8_t>(a_WordLimit >> 8);
  r[28] = static_cast<uint8_t>(a_BitLimit);
  r[29] = static_cast<uint8_t>(a_BitLimit >> 8);
  r[30] = a_WordGap;
  r[31] = a_BitGap;
  return r;
}

// The PLC side of a panel as the run cycle sees it, stepped in virtual time.
class PlcFixture : public ::testing::Test {
 protected:
  void Open(const std::vector<std::array<uint8_t, 36>>& a_Records) {
    ASSERT_TRUE(m_Image.Adopt(PortImage(a_Records)));
    m_Ports = std::make_unique<PlcPorts>(m_Image, m_Status, false);
    m_Access.memory = &m_Memory;
    m_Access.plc = m_Ports.get();
    m_Ports->Advance(100);  // the start command takes the first 100 ms
  }
  RegisterAccessor& Make(const RegisterDescriptor& a_Descriptor) {
    m_Registers.push_back(std::make_unique<RegisterAccessor>(a_Descriptor, m_Access));
    return *m_Registers.back();
  }
  // A frame whose registers are a_Registers: they register, the frame shows, polling starts.
  void ShowFrame(std::initializer_list<RegisterAccessor*> a_Registers) {
    m_Ports->BeginFrame();
    for (RegisterAccessor* reg : a_Registers) reg->Request(RequestMode::kFrame);
    m_Ports->StartPolling();
  }
  void Ticks(int a_Count) {
    for (int i = 0; i < a_Count; ++i) {
      m_Timers.Advance();
      m_Ports->Advance(100);
      m_Status.Service(m_Timers, true);
    }
  }
  void PlcWord(uint8_t a_Port, uint8_t a_Station, uint32_t a_Address, uint16_t a_Value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(a_Value), static_cast<uint8_t>(a_Value >> 8)};
    m_Ports->Plc().WriteBytes(SimulatedPlc::Key(a_Port, a_Station, kHolding), a_Address * 2,
                              bytes, 2);
  }
  uint16_t PlcWordAt(uint8_t a_Port, uint8_t a_Station, uint32_t a_Address) {
    uint8_t bytes[2] = {};
    m_Ports->Plc().ReadBytes(SimulatedPlc::Key(a_Port, a_Station, kHolding), a_Address * 2,
                             bytes, 2);
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  }

  SimImage m_Image;
  StatusLine m_Status;
  TickTimers m_Timers;
  InternalMemory m_Memory;
  AccessContext m_Access;
  std::unique_ptr<PlcPorts> m_Ports;
  std::vector<std::unique_ptr<RegisterAccessor>> m_Registers;
};

// ---- the simulated PLC

TEST(SimulatedPlc, MemoryStartsAtZeroAndGrowsOnlyWhereWritten) {
  SimulatedPlc plc;
  const uint32_t key = SimulatedPlc::Key(0, 1, kHolding);
  uint8_t bytes[4] = {9, 9, 9, 9};
  plc.ReadBytes(key, 0xFFFFFFF0ull * 15, bytes, 4);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), std::vector<uint8_t>(4, 0));
  EXPECT_EQ(plc.PageCount(), 0u);
  const uint8_t value[3] = {1, 2, 3};
  plc.WriteBytes(key, 4094, value, 3);  // across a page boundary
  EXPECT_EQ(plc.PageCount(), 2u);
  plc.ReadBytes(key, 4094, bytes, 3);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[2], 3);
  // Another station, another memory.
  plc.ReadBytes(SimulatedPlc::Key(0, 2, kHolding), 4094, bytes, 3);
  EXPECT_EQ(bytes[0], 0);
}

TEST(SimulatedPlc, BitWritesKeepTheNeighbouringBits) {
  SimulatedPlc plc;
  const uint32_t key = SimulatedPlc::Key(0, 1, kCoils);
  const uint8_t ones[2] = {0xFF, 0xFF};
  plc.WriteBits(key, 0, ones, 16);
  const uint8_t zeros[1] = {0};
  plc.WriteBits(key, 6, zeros, 3);  // bits 6, 7 and 8
  uint8_t bytes[2] = {};
  plc.ReadBytes(key, 0, bytes, 2);
  EXPECT_EQ(bytes[0], 0x3F);
  EXPECT_EQ(bytes[1], 0xFE);
  uint8_t bits[1] = {};
  plc.ReadBits(key, 5, bits, 5);  // 1, 0, 0, 0, 1
  EXPECT_EQ(bits[0], 0x11);
}

TEST(SimulatedPlc, WordTwoFortySixInjectsFailuresPerPlcWithoutLineTime) {
  SimulatedPlc plc;
  RegisterDescriptor reg = Word(0, 0, 10);
  uint8_t data[2] = {};
  int slept = 0;
  auto sleep = [&slept](int a_Ms) { slept += a_Ms; };
  DriverCall call{DriverCall::kRead, 0, &reg, data, 2};
  EXPECT_EQ(plc.Call(call, 0x04, sleep), kDriverTimeout);
  EXPECT_EQ(plc.Call(call, 0x08, sleep), kDriverError);
  EXPECT_EQ(plc.Call(call, 0x0C, sleep), kDriverTimeout);  // bit 2 is tested first
  EXPECT_EQ(slept, 0);
  // Bits 4 and 5 are PLC 1's; PLC 0 answers and takes the line time.
  EXPECT_EQ(plc.Call(call, 0x30, sleep), kDriverSuccess);
  EXPECT_EQ(slept, SimulatedPlc::kCallMilliseconds);
  call.plc = 1;
  EXPECT_EQ(plc.Call(call, 0x10, sleep), kDriverTimeout);
  EXPECT_EQ(plc.Call(call, 0x20, sleep), kDriverError);
  // Bit 1 (frame actions) is no failure; a command without a register answers 2.
  EXPECT_EQ(plc.Call(call, 0x02, sleep), kDriverSuccess);
  DriverCall start{DriverCall::kStart, 0, nullptr, nullptr, 0};
  EXPECT_EQ(plc.Call(start, 0, sleep), kDriverTimeout);
}

// ---- merging the frame's registrations

TEST_F(PlcFixture, RegistrationsMergeWithinTheGapAndTheTransferLimit) {
  Open({PortRecord(0, /*words*/ 8, 512, /*word gap*/ 2)});
  RegisterAccessor& a = Make(Word(0, 1, 0));
  RegisterAccessor& b = Make(Word(0, 1, 3));   // a gap of 2 words after a: merged
  RegisterAccessor& c = Make(Word(0, 1, 7));   // a gap of 3: a new block
  RegisterAccessor& d = Make(Word(0, 1, 10));  // gap 2
  RegisterAccessor& e = Make(Word(0, 1, 13));  // gap 2
  RegisterAccessor& f = Make(Word(0, 1, 14));  // 7..14 is 8 words, the limit: merged
  RegisterAccessor& g = Make(Word(0, 1, 15));  // 7..15 would be 9 words: a new block
  RegisterAccessor& h = Make(Word(0, 2, 16));  // another station: a new block
  ShowFrame({&h, &g, &f, &e, &d, &c, &b, &a});
  EXPECT_EQ(m_Ports->Worker(0)->MergedCount(), 4u);

  PlcWord(0, 1, 3, 33);
  PlcWord(0, 1, 14, 1414);
  PlcWord(0, 1, 15, 1515);
  PlcWord(0, 2, 16, 216);
  Ticks(4);
  EXPECT_EQ(a.ReadInt32(), 0);
  EXPECT_EQ(b.ReadInt32(), 33);
  EXPECT_EQ(f.ReadInt32(), 1414);
  EXPECT_EQ(g.ReadInt32(), 1515);
  EXPECT_EQ(h.ReadInt32(), 216);
  for (RegisterAccessor* reg : {&c, &d, &e}) EXPECT_TRUE(reg->Read());
}

TEST_F(PlcFixture, BitRegistrationsMergeByTheBitGap) {
  Open({PortRecord(0, 64, /*bits*/ 32, 4, /*bit gap*/ 8)});
  RegisterAccessor& a = Make(Bits(0, 0, 1));
  RegisterAccessor& b = Make(Bits(0, 9, 1));   // gap 8: merged
  RegisterAccessor& c = Make(Bits(0, 19, 1));  // gap 9: a new block
  ShowFrame({&a, &b, &c});
  EXPECT_EQ(m_Ports->Worker(0)->MergedCount(), 2u);
  const uint8_t one[1] = {1};
  m_Ports->Plc().WriteBits(SimulatedPlc::Key(0, 1, kCoils), 9, one, 1);
  Ticks(3);
  EXPECT_EQ(b.ReadInt32(), 1);
  EXPECT_EQ(a.ReadInt32(), 0);
  EXPECT_EQ(c.ReadInt32(), 0);
}

// ---- polling, writes and frames

TEST_F(PlcFixture, ValuesArriveByPollingAndWritesReachThePlc) {
  Open({PortRecord(0)});
  RegisterAccessor& reg = Make(Word(0, 1, 100));
  ShowFrame({&reg});
  EXPECT_FALSE(reg.Read());  // nothing polled yet
  PlcWord(0, 1, 100, 1234);
  Ticks(1);
  EXPECT_EQ(reg.ReadInt32(), 1234);

  EXPECT_TRUE(reg.WriteInt32(77));
  EXPECT_EQ(PlcWordAt(0, 1, 100), 1234);  // queued, not yet sent
  Ticks(1);
  EXPECT_EQ(PlcWordAt(0, 1, 100), 77);
  Ticks(2);
  EXPECT_EQ(reg.ReadInt32(), 77);
}

TEST_F(PlcFixture, AFrameSwitchDropsTheOldFramesValues) {
  Open({PortRecord(0)});
  RegisterAccessor& first = Make(Word(0, 1, 1));
  ShowFrame({&first});
  PlcWord(0, 1, 1, 5);
  Ticks(2);
  EXPECT_EQ(first.ReadInt32(), 5);
  RegisterAccessor& second = Make(Word(0, 1, 2));
  ShowFrame({&second});
  EXPECT_FALSE(first.Read());
  Ticks(2);
  EXPECT_TRUE(second.Read());
  EXPECT_FALSE(first.Read());
}

TEST_F(PlcFixture, ReadModifyWriteAddsUpToItsLimit) {
  Open({PortRecord(0)});
  RegisterAccessor& reg = Make(Word(0, 1, 8));
  PlcWord(0, 1, 8, 98);
  ModifyOperation add{ModifyOperation::kAddLimited, 1, 99};
  EXPECT_TRUE(reg.Modify(add));
  Ticks(1);
  EXPECT_EQ(PlcWordAt(0, 1, 8), 99);
  EXPECT_TRUE(reg.Modify(add));  // 100 would pass the limit
  Ticks(1);
  EXPECT_EQ(PlcWordAt(0, 1, 8), 99);
}

TEST_F(PlcFixture, PermanentRegistersArePolledWhateverFrameIsShown) {
  Open({PortRecord(0)});
  RegisterAccessor& alarm = Make(Word(0, 1, 50));
  alarm.Request(RequestMode::kPermanent);
  alarm.Request(RequestMode::kPermanent);  // once on the list
  PlcWord(0, 1, 50, 9);
  ShowFrame({});
  Ticks(1);
  EXPECT_EQ(alarm.ReadInt32(ReadMode::kPermanent), 9);
  ShowFrame({});
  PlcWord(0, 1, 50, 10);
  Ticks(1);
  EXPECT_EQ(alarm.ReadInt32(ReadMode::kPermanent), 10);
}

TEST_F(PlcFixture, ASamplingReadIsDeliveredOnce) {
  Open({PortRecord(0)});
  RegisterAccessor& reg = Make(Word(0, 1, 3));
  PlcWord(0, 1, 3, 42);
  reg.Request(RequestMode::kSample);
  EXPECT_FALSE(reg.Read(ReadMode::kSampled));
  Ticks(1);
  EXPECT_EQ(reg.ReadInt32(ReadMode::kSampled), 42);
  EXPECT_FALSE(reg.Read(ReadMode::kSampled));
}

TEST_F(PlcFixture, RegistersOfAPortWithoutRecordStayInvalidAndWritesAreRefused) {
  Open({PortRecord(0)});
  RegisterAccessor& reg = Make(Word(1, 1, 3));
  ShowFrame({&reg});
  Ticks(2);
  EXPECT_FALSE(reg.Read());
  EXPECT_FALSE(reg.WriteInt32(1));
  // Port 2 is served by the worker of port 0.
  RegisterAccessor& third = Make(Word(2, 1, 3));
  ShowFrame({&third});
  m_Ports->Plc().WriteBytes(SimulatedPlc::Key(2, 1, kHolding), 6,
                            std::array<uint8_t, 2>{7, 0}.data(), 2);
  Ticks(2);
  EXPECT_EQ(third.ReadInt32(), 7);
}

// ---- failures and the status texts

TEST_F(PlcFixture, TenTimeoutsShowTheTextUntilTheFirstSuccess) {
  Open({PortRecord(0)});
  RegisterAccessor& reg = Make(Word(0, 0, 1));
  ShowFrame({&reg});
  m_Ports->SetControl(0x04);  // PLC 0 times out
  Ticks(1);
  EXPECT_EQ(m_Status.CurrentText(), "COM0 PLC0 Timeout");
  EXPECT_FALSE(reg.Read());
  EXPECT_EQ(reg.LastResult(), 2);
  Ticks(10);
  EXPECT_EQ(m_Status.CurrentText(), "COM0 PLC0 Timeout");
  m_Ports->SetControl(0);
  Ticks(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
  EXPECT_TRUE(reg.Read());
  EXPECT_EQ(reg.LastResult(), 0);
}

TEST_F(PlcFixture, NineFailuresShowNothing) {
  auto record = PortRecord(0);
  record[32] = 99;  // with the 1 ms turn sleep, a failing call takes one tick
  Open({record});
  RegisterAccessor& reg = Make(Word(0, 0, 1));
  ShowFrame({&reg});
  m_Ports->SetControl(0x08);  // PLC 0 errs
  Ticks(9);
  EXPECT_EQ(m_Status.CurrentText(), "");
  Ticks(1);
  EXPECT_EQ(m_Status.CurrentText(), "COM0 PLC0 Error  ");
}

TEST_F(PlcFixture, AStationMarkedFailedIsGivenUpAtTheLimit) {
  auto record = PortRecord(0);
  record[32] = 99;
  record[34] = 3;  // three failures
  record[35] = 1;  // then the station is given up
  Open({record});
  RegisterAccessor& reg = Make(Word(0, 0, 1));
  ShowFrame({&reg});
  m_Ports->SetControl(0x04);
  Ticks(2);
  EXPECT_FALSE(m_Ports->Worker(0)->StationFailed());
  Ticks(1);
  EXPECT_TRUE(m_Ports->Worker(0)->StationFailed());
  m_Ports->SetControl(0);
  Ticks(5);
  EXPECT_FALSE(reg.Read());
}

// ---- threads: both ports on the same station and type, real sleeps

// Ports 0 and 1, each polling word 4 of station 1 on the shown frame.
class PortThreadsTest : public ::testing::Test {
 protected:
  static SimImage TwoPorts() {
    SimImage image;
    image.Adopt(PortImage({PortRecord(0), PortRecord(1)}));
    return image;
  }
  void SetUp() override {
    ports.BeginFrame();
    a.Request(RequestMode::kFrame);
    b.Request(RequestMode::kFrame);
    ports.StartPolling();
  }

  SimImage m_Image = TwoPorts();
  StatusLine status;
  PlcPorts ports{m_Image, status, false};
  InternalMemory memory;
  AccessContext access{&memory, nullptr, &ports, false};
  RegisterAccessor a{Word(0, 1, 4), access}, b{Word(1, 1, 4), access};
};

TEST_F(PortThreadsTest, BothWorkersAndTheCycleShareThePlcSafely) {
  std::vector<PortWorker*> workers = ports.HandOver();
  ASSERT_EQ(workers.size(), 2u);
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
  for (PortWorker* worker : workers) {
    worker->SetSleep([](int) { std::this_thread::yield(); });
    threads.emplace_back([worker, &stop] {
      while (!stop) worker->Turn();
    });
  }
  TickTimers timers;
  for (int i = 0; i < 2000; ++i) {
    a.WriteInt32(i);
    b.WriteInt32(i);
    a.Read();
    b.Read();
    status.Service(timers, true);
    ports.SetControl(i % 100 == 0 ? 0x04 : 0);
  }
  stop = true;
  for (std::thread& t : threads) t.join();
  EXPECT_FALSE(workers[0]->StationFailed());
}

TEST_F(PortThreadsTest, RealThreadsPollOnTheWallClockAndStopAtOnce) {
  const uint8_t value[2] = {5, 0};
  ports.Plc().WriteBytes(SimulatedPlc::Key(1, 1, kHolding), 8, value, 2);
  PortThreads threads(ports);
  EXPECT_EQ(threads.Count(), 2u);
  ports.Advance(100000);  // handed over: stepping does nothing
  // The start command and a poll take a few hundred milliseconds of line time.
  for (int i = 0; i < 500 && !(a.Read() && b.Read()); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(a.Int32(), 0);
  EXPECT_EQ(b.Int32(), 5);
  EXPECT_TRUE(a.WriteInt32(9));
  for (int i = 0; i < 500 && a.Int32() != 9; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    a.Read();
  }
  EXPECT_EQ(a.Int32(), 9);
  threads.Stop();
}

TEST(PortLockTest, AWaitPastTheStallTimeIsReportedAndGoesOnWaiting) {
  PortLock lock(20);
  std::atomic<int> holders{0};
  std::atomic<bool> overlapped{false};
  lock.lock();
  ++holders;
  std::thread waiter([&] {
    lock.lock();
    if (++holders != 1) overlapped = true;
    --holders;
    lock.unlock();
  });
  // The waiter passes the stall time while the lock is held, however busy the machine is.
  for (int i = 0; i < 1000 && !lock.StallReported(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(lock.StallReported());
  --holders;
  lock.unlock();
  waiter.join();
  EXPECT_FALSE(overlapped);
  EXPECT_EQ(holders, 0);
}

}  // namespace
}  // namespace sim
