// The run cycle's background services at their limits: the alarm comparisons and the trend
// sampling groups.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "simulator/AlarmScan.h"
#include "simulator/InternalMemory.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SamplingGroups.h"
#include "simulator/SimImage.h"

namespace sim {
namespace {

TEST(AlarmComparisonTest, EveryCodeHoldsExactlyUpToItsLimits) {
  const int32_t a = 50, b = 20;
  // 0: value < A
  EXPECT_TRUE(AlarmScan::Compare(0, a - 1, a, b));
  EXPECT_FALSE(AlarmScan::Compare(0, a, a, b));
  // 1: value > B
  EXPECT_TRUE(AlarmScan::Compare(1, b + 1, a, b));
  EXPECT_FALSE(AlarmScan::Compare(1, b, a, b));
  // 2: B <= value <= A
  for (int32_t v : {b, a}) EXPECT_TRUE(AlarmScan::Compare(2, v, a, b)) << v;
  for (int32_t v : {b - 1, a + 1}) EXPECT_FALSE(AlarmScan::Compare(2, v, a, b)) << v;
  // 3: value < B or value > A
  for (int32_t v : {b - 1, a + 1}) EXPECT_TRUE(AlarmScan::Compare(3, v, a, b)) << v;
  for (int32_t v : {b, a}) EXPECT_FALSE(AlarmScan::Compare(3, v, a, b)) << v;
  // 4: value >= B; 5: value <= A
  EXPECT_TRUE(AlarmScan::Compare(4, b, a, b));
  EXPECT_FALSE(AlarmScan::Compare(4, b - 1, a, b));
  EXPECT_TRUE(AlarmScan::Compare(5, a, a, b));
  EXPECT_FALSE(AlarmScan::Compare(5, a + 1, a, b));
  // 6 and 7 never, whatever the value.
  for (unsigned code : {6u, 7u})
    for (int32_t v : {INT32_MIN, b - 1, b, a, a + 1, INT32_MAX})
      EXPECT_FALSE(AlarmScan::Compare(code, v, a, b)) << code << " " << v;
}

// An image whose sampling section holds one group: internal word 10, every tick, a_Capacity
// samples.
std::vector<uint8_t> OneGroup(uint32_t a_Capacity) {
  std::vector<uint8_t> b(24 + 28, 0);
  std::memcpy(b.data(), "Marvok", 6);
  b[20] = 24;
  const auto put = [&b](uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
  };
  const auto section = static_cast<uint32_t>(b.size());
  std::memcpy(&b[24 + 4 * 4], &section, 4);
  put(1);
  put(section + 8);
  put(0);
  RegisterDescriptor d;
  d.address = 10;
  const auto bytes = d.Bytes();
  b.insert(b.end(), bytes.begin(), bytes.end());
  put(1);
  put(a_Capacity);
  return b;
}

TEST(SamplingGroupTest, KeepsTheNewestSamplesUpToItsCapacityNewestFirst) {
  InternalMemory memory;
  AccessContext access{&memory, nullptr, nullptr, false};
  SimImage image;
  ASSERT_TRUE(image.Adopt(OneGroup(10)));
  SamplingGroups groups;
  groups.Load(image, access, 0);
  ASSERT_NE(groups.At(0), nullptr);
  for (uint32_t tick = 1; tick <= 12; ++tick) {
    memory.WriteWord(10, static_cast<uint16_t>(tick * 100));
    groups.Service(tick);
    if (tick == 10) {
      EXPECT_EQ(groups.At(0)->samples.size(), 10u);
      EXPECT_EQ(groups.At(0)->samples.back()[0] | groups.At(0)->samples.back()[1] << 8, 100);
    }
  }
  const SamplingGroups::Group& group = *groups.At(0);
  EXPECT_EQ(group.taken, 12u);
  ASSERT_EQ(group.samples.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) {
    const int value = group.samples[i][0] | group.samples[i][1] << 8;
    EXPECT_EQ(value, static_cast<int>(1200 - 100 * i)) << i;  // 1200, 1100, ... 300
  }
}

}  // namespace
}  // namespace sim
