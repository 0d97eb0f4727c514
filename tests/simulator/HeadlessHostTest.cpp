#include "simulator/app/HeadlessHost.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(HeadlessHostTest, VirtualClockFollowsTheTicksOnly) {
  HeadlessHost host;
  EXPECT_EQ(host.Now(), (HostTime{2026, 1, 1, 8, 0, 0}));
  for (int i = 0; i < 9; ++i) host.AdvanceTick();
  EXPECT_EQ(host.Now().second, 0);  // 900 ms
  host.AdvanceTick();
  EXPECT_EQ(host.Now(), (HostTime{2026, 1, 1, 8, 0, 1}));
  host.Advance(-5000);
  EXPECT_EQ(host.ElapsedMilliseconds(), 1000);
}

TEST(HeadlessHostTest, CalendarRollsOverMonthsAndLeapDays) {
  HeadlessHost host(HostTime{2028, 2, 28, 23, 59, 59});
  host.Advance(1000);
  EXPECT_EQ(host.Now(), (HostTime{2028, 2, 29, 0, 0, 0}));
  host.Advance(24LL * 3600 * 1000);
  EXPECT_EQ(host.Now(), (HostTime{2028, 3, 1, 0, 0, 0}));
  HeadlessHost newYear(HostTime{2026, 12, 31, 23, 59, 59});
  newYear.Advance(1000);
  EXPECT_EQ(newYear.Now(), (HostTime{2027, 1, 1, 0, 0, 0}));
}

TEST(HeadlessHostTest, CountsBeeps) {
  HeadlessHost host;
  EXPECT_EQ(host.BeepCount(), 0);
  host.Beep(1000, 100);
  host.Beep(2000, 500);
  EXPECT_EQ(host.BeepCount(), 2);
  EXPECT_EQ(host.LastBeepHertz(), 2000);
  EXPECT_EQ(host.LastBeepMilliseconds(), 500);
}

}  // namespace
}  // namespace sim
