// The alarm and sampling sections count their entries: a count beyond what the list holds or
// the image has bytes for is cut, never read or written past.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "simulator/AlarmScan.h"
#include "simulator/InternalMemory.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SamplingGroups.h"
#include "simulator/SimImage.h"
#include "simulator/TickTimers.h"
#include "tests/simulator/TestImage.h"

namespace sim {
namespace {

void Put(std::vector<uint8_t>& a_Bytes, uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) a_Bytes.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
}

void Patch(std::vector<uint8_t>& a_Bytes, std::size_t a_At, uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) a_Bytes[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
}

void Descriptor(std::vector<uint8_t>& a_Bytes, uint32_t a_Word) {
  RegisterDescriptor d;
  d.address = a_Word;
  const auto bytes = d.Bytes();
  a_Bytes.insert(a_Bytes.end(), bytes.begin(), bytes.end());
}

// An image with one section in a_Slot: a_Declared entries counted, a_Offsets of them in the
// table, all naming the same record; a_Header bytes of the section lie between count and table.
std::vector<uint8_t> Section(std::size_t a_Slot, uint32_t a_Declared, std::size_t a_Offsets,
                             std::size_t a_Header, const std::vector<uint8_t>& a_Record) {
  std::vector<uint8_t> b(24 + 28, 0);
  std::memcpy(b.data(), "Marvok", 6);
  Patch(b, 20, 24);
  Patch(b, 24 + 4 * a_Slot, static_cast<uint32_t>(b.size()));
  Put(b, a_Declared);
  b.resize(b.size() + a_Header, 0);
  const auto record = static_cast<uint32_t>(b.size() + 4 * a_Offsets);
  for (std::size_t i = 0; i < a_Offsets; ++i) Put(b, record);
  b.insert(b.end(), a_Record.begin(), a_Record.end());
  return b;
}

std::vector<uint8_t> SamplingEntry(uint32_t a_Capacity) {
  std::vector<uint8_t> entry(4, 0);
  Descriptor(entry, 10);
  Put(entry, 1);
  Put(entry, a_Capacity);
  return entry;
}

TEST(CountedSectionsTest, SamplingGroupsBeyondTheListAreIgnored) {
  InternalMemory memory;
  AccessContext access{&memory, nullptr, nullptr, false};
  SimImage image;
  SamplingGroups groups;
  for (std::size_t count : {SamplingGroups::kMaxGroups - 1, SamplingGroups::kMaxGroups,
                            SamplingGroups::kMaxGroups + 1}) {
    ASSERT_TRUE(image.Adopt(Section(4, static_cast<uint32_t>(count), count, 0, SamplingEntry(3))));
    groups.Load(image, access, 0);
    const std::size_t loaded = std::min(count, SamplingGroups::kMaxGroups);
    EXPECT_NE(groups.At(static_cast<int>(loaded) - 1), nullptr) << count;
    EXPECT_EQ(groups.At(static_cast<int>(loaded)), nullptr) << count;
  }
  // A count far beyond the table reads only the offsets that are there.
  std::vector<uint8_t> cut = Section(4, 0xFFFFFFFF, 3, 0, {});
  ASSERT_TRUE(image.Adopt(cut));
  groups.Load(image, access, 0);
  EXPECT_NE(groups.At(2), nullptr);
  EXPECT_EQ(groups.At(3), nullptr);

  // Capacities: at the limit, and one beyond cut to it.
  for (uint32_t capacity : {SamplingGroups::kMaxCapacity, SamplingGroups::kMaxCapacity + 1}) {
    ASSERT_TRUE(image.Adopt(Section(4, 1, 1, 0, SamplingEntry(capacity))));
    groups.Load(image, access, 0);
    EXPECT_EQ(groups.At(0)->capacity, SamplingGroups::kMaxCapacity);
  }
}

TEST(CountedSectionsTest, AlarmsBeyondTheListAreIgnored) {
  InternalMemory memory;  // word 10 is 0: every bit alarm on 0 is active
  AccessContext access{&memory, nullptr, nullptr, false};
  std::vector<uint8_t> record(16, 0);
  Descriptor(record, 10);
  Put(record, 0);
  simtest::TestHost host;
  TickTimers timers;
  SimImage image;
  for (std::size_t count :
       {AlarmScan::kMaxAlarms - 1, AlarmScan::kMaxAlarms, AlarmScan::kMaxAlarms + 1}) {
    ASSERT_TRUE(image.Adopt(Section(5, static_cast<uint32_t>(count), count, 8, record)));
    AlarmScan alarms;
    alarms.Load(image, access);
    alarms.Scan(host, timers);
    EXPECT_EQ(alarms.ActiveAlarms().size(), std::min(count, AlarmScan::kMaxAlarms)) << count;
  }
  // The table ends with the image: only its two offsets are read.
  std::vector<uint8_t> cut = Section(5, 1000, 2, 8, {});
  ASSERT_TRUE(image.Adopt(cut));
  AlarmScan alarms;
  alarms.Load(image, access);
  alarms.Scan(host, timers);
  EXPECT_TRUE(alarms.ActiveAlarms().empty());  // both name a record outside the image
}

}  // namespace
}  // namespace sim
