#include <gtest/gtest.h>

#include "simulator/InternalMemory.h"
#include "simulator/SimClock.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {

class FakeHost : public IHost {
 public:
  HostTime Now() override { return time; }
  void Beep(int, int) override {}
  HostTime time{2026, 5, 17, 9, 30, 0};
};

class SimClockTest : public ::testing::Test {
 protected:
  HostTime Words() const {
    return {m_Memory.Word(247), m_Memory.Word(248), m_Memory.Word(249),
            m_Memory.Word(250), m_Memory.Word(251), m_Memory.Word(252)};
  }
  void Cycle() {
    m_Timers.Advance();
    m_Clock.Service(m_Memory, m_Timers);
  }

  FakeHost m_Host;
  InternalMemory m_Memory;
  TickTimers m_Timers;
  SimClock m_Clock{m_Host};
};

TEST(TickTimersTest, ElapsedRestartsTheSlotAndSurvivesWrapAround) {
  TickTimers timers(0xFFFFFFFAu);
  for (int i = 0; i < 9; ++i) timers.Advance();
  EXPECT_FALSE(timers.Elapsed(TickTimers::kClock, 10));
  timers.Advance();
  EXPECT_EQ(timers.Counter(), 4u);
  EXPECT_TRUE(timers.Elapsed(TickTimers::kClock, 10));
  EXPECT_FALSE(timers.Elapsed(TickTimers::kClock, 10));
  EXPECT_EQ(timers.Since(TickTimers::kCursorBlink), 10u);  // other slots run on
  timers.Restart(TickTimers::kCursorBlink);
  EXPECT_EQ(timers.Since(TickTimers::kCursorBlink), 0u);
}

TEST(SimClockYearTest, YearWordWrapsInItsLowByte) {
  EXPECT_EQ(SimClock::YearFromWord(2013), 2013);
  EXPECT_EQ(SimClock::YearFromWord(1900), 1900);
  EXPECT_EQ(SimClock::YearFromWord(2155), 2155);
  EXPECT_EQ(SimClock::YearFromWord(2156), 1900);
  EXPECT_EQ(SimClock::YearFromWord(0x00DD), 2013);  // only the low byte counts
}

TEST_F(SimClockTest, ClockWordsFollowTheHostEveryTenTicks) {
  m_Clock.Service(m_Memory, m_Timers);
  EXPECT_EQ(Words(), m_Host.time);  // from the first cycle on
  m_Host.time.second = 1;
  for (int i = 0; i < 9; ++i) Cycle();
  EXPECT_EQ(m_Memory.Word(252), 0);
  Cycle();
  EXPECT_EQ(Words(), m_Host.time);
}

TEST_F(SimClockTest, WritingTheYearMovesTheSimulatedClockOnly) {
  const HostTime host = m_Host.time;
  m_Clock.Service(m_Memory, m_Timers);
  m_Memory.WriteWord(InternalMemory::kClockYear, 2013);
  Cycle();
  EXPECT_EQ(m_Clock.Now(), (HostTime{2013, 5, 17, 9, 30, 0}));
  EXPECT_EQ(m_Host.time, host);

  // The clock keeps running from there with the host.
  m_Host.time.minute = 31;
  for (int i = 0; i < 10; ++i) Cycle();
  EXPECT_EQ(Words(), (HostTime{2013, 5, 17, 9, 31, 0}));
  EXPECT_EQ(m_Host.time.year, 2026);
}

TEST_F(SimClockTest, SettingADateCarriesAcrossMonthsAndLeapDays) {
  m_Clock.Service(m_Memory, m_Timers);
  const uint16_t words[6] = {2024, 2, 28, 23, 59, 50};
  for (unsigned i = 0; i < 6; ++i) m_Memory.WriteWord(247 + i, words[i]);
  Cycle();
  m_Host.time.second += 15;
  EXPECT_EQ(m_Clock.Now(), (HostTime{2024, 2, 29, 0, 0, 5}));
  m_Host.time.day += 1;
  EXPECT_EQ(m_Clock.Now(), (HostTime{2024, 3, 1, 0, 0, 5}));
}

TEST_F(SimClockTest, ADateTheCalendarDoesNotHaveIsIgnored) {
  m_Clock.Service(m_Memory, m_Timers);
  m_Memory.WriteWord(InternalMemory::kClockMonth, 2);
  m_Memory.WriteWord(InternalMemory::kClockDay, 30);
  Cycle();
  EXPECT_EQ(m_Clock.Offset(), 0);
  m_Memory.WriteWord(InternalMemory::kClockMonth, 13);
  Cycle();
  EXPECT_EQ(m_Clock.Offset(), 0);
  for (int i = 0; i < 10; ++i) Cycle();
  EXPECT_EQ(Words(), m_Host.time);  // the refresh puts the real date back
}

}  // namespace
}  // namespace sim
