#include <gtest/gtest.h>

#include "simulator/StatusLine.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {

class StatusLineTest : public ::testing::Test {
 protected:
  void Cycles(int a_Count, bool a_English = true) {
    for (int i = 0; i < a_Count; ++i) {
      m_Timers.Advance();
      m_Status.Service(m_Timers, a_English);
    }
  }
  void Report(uint8_t a_Port, uint8_t a_Station, int a_Result, int a_Times) {
    for (int i = 0; i < a_Times; ++i) m_Status.Report(a_Port, a_Station, a_Result);
  }

  TickTimers m_Timers;
  StatusLine m_Status;
};

TEST_F(StatusLineTest, DataInvalidClearsItselfAfterThirtyTicks) {
  Cycles(5);
  m_Status.Raise(StatusLine::kDataInvalid, m_Timers.Counter());
  Cycles(29);
  EXPECT_EQ(m_Status.CurrentText(), "Data Invalid");
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
  EXPECT_FALSE(m_Status.Visible());
  EXPECT_FALSE(m_Status.IsRaised(StatusLine::kDataInvalid));
}

TEST_F(StatusLineTest, NoUserDataStaysAndWinsOverLowerStatuses) {
  m_Status.Raise(StatusLine::kNoUserData, 0);
  m_Status.Raise(StatusLine::kDataInvalid, 0);
  Report(0, 1, 2, 10);
  Cycles(100);
  EXPECT_EQ(m_Status.CurrentText(), "No User Data");
  EXPECT_TRUE(m_Status.IsRaised(StatusLine::kNoUserData));
  Cycles(1, false);
  EXPECT_EQ(m_Status.CurrentText(), "\xD7\xE9 \xCC\xAC \xCE\xDE \xD0\xA7 ");
}

TEST_F(StatusLineTest, TenTimeoutsShowTheStationUntilATransferSucceeds) {
  Report(1, 2, 2, 9);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
  Report(1, 2, 2, 1);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "COM1 PLC2 Timeout");
  EXPECT_TRUE(m_Status.Visible());
  Cycles(2, false);
  EXPECT_EQ(m_Status.CurrentText(), "COM1 PLC2 \xB3\xAC \xCA\xB1  ");

  m_Status.Report(1, 2, 0);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
  EXPECT_TRUE(m_Status.Changed());
}

TEST_F(StatusLineTest, ErrorsCountPerStationAndASuccessClearsOnlyItsOwn) {
  Report(0, 3, 3, 10);
  Report(0, 4, 3, 10);
  Cycles(20);
  EXPECT_EQ(m_Status.CurrentText(), "COM0 PLC3 Error  ");
  m_Status.Report(0, 3, 0);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "COM0 PLC4 Error  ");

  // The counters stop at ten, so one success is enough however long the failures lasted.
  Report(0, 4, 3, 50);
  Cycles(50);
  m_Status.Report(0, 4, 0);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
}

TEST_F(StatusLineTest, ATextStaysOnlyForItsPortsDisplayTime) {
  m_Status.SetDisplayTime(1, 2);
  Cycles(1);
  Report(1, 5, 2, 10);
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "COM1 PLC5 Timeout");
  Cycles(18);
  EXPECT_EQ(m_Status.CurrentText(), "COM1 PLC5 Timeout");
  Report(1, 5, 2, 5);  // the failure goes on
  Cycles(1);
  EXPECT_EQ(m_Status.CurrentText(), "");
}

TEST_F(StatusLineTest, AChosenTextBlinksEveryFourTicks) {
  m_Status.Raise(StatusLine::kNoUserData, 0);
  Cycles(1);
  EXPECT_TRUE(m_Status.Visible());
  EXPECT_TRUE(m_Status.Changed());
  m_Status.ClearChanged();
  Cycles(3);
  EXPECT_TRUE(m_Status.Visible());
  EXPECT_FALSE(m_Status.Changed());
  Cycles(1);
  EXPECT_FALSE(m_Status.Visible());
  EXPECT_TRUE(m_Status.Changed());
  Cycles(4);
  EXPECT_TRUE(m_Status.Visible());
}

}  // namespace
}  // namespace sim
