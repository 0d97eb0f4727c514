// The image as the simulator holds it: the tag, the size limit and reads that stay inside.
#include "simulator/SimImage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "simulator/FrameTable.h"
#include "tests/simulator/TestImage.h"

namespace sim {
namespace {

TEST(SimImageTest, TagAndSizeDecideWhetherTheImageIsUsable) {
  simtest::TestImage test;
  test.frames = {{1, 0, 0, {}}};
  std::vector<uint8_t> bytes = test.Build();
  SimImage image;
  EXPECT_TRUE(image.Adopt(bytes));
  EXPECT_EQ(image.Size(), bytes.size());

  std::vector<uint8_t> wrongTag = bytes;
  wrongTag[0] = 'm';
  EXPECT_FALSE(image.Adopt(wrongTag));
  EXPECT_EQ(image.Size(), 0u);
  EXPECT_EQ(image.U32(20), 0u);  // a disabled image reads as empty
  EXPECT_FALSE(image.Adopt({'M', 'a', 'r', 'v', 'o', 'k', 0}));  // shorter than a header
  // The header alone is an image; one byte less is not.
  std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 24);
  EXPECT_TRUE(image.Adopt(header));
  EXPECT_EQ(image.Size(), 24u);
  header.pop_back();
  EXPECT_FALSE(image.Adopt(header));

  // A file larger than the buffer is refused, whatever its tag says.
  const auto path = std::filesystem::temp_directory_path() /
                    ("kd820-big-" + std::to_string(::getpid()) + ".bin~");
  std::vector<uint8_t> big = bytes;
  big.resize(SimImage::kMaxSize + 1, 0);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(big.data()),
                                              static_cast<std::streamsize>(big.size()));
  EXPECT_FALSE(image.Load(path.string()));
  big.resize(SimImage::kMaxSize);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(big.data()),
                                              static_cast<std::streamsize>(big.size()));
  EXPECT_TRUE(image.Load(path.string()));
  std::filesystem::remove(path);
  EXPECT_FALSE(image.Load(path.string()));  // missing
}

TEST(SimImageTest, ReadsOutsideTheImageGiveNothing) {
  simtest::TestImage test;
  std::vector<uint8_t> bytes = test.Build();
  const auto size = static_cast<uint32_t>(bytes.size());
  // A table at the last byte claims 200 entries.
  bytes.push_back(200);
  SimImage image;
  ASSERT_TRUE(image.Adopt(bytes));
  EXPECT_EQ(image.U32(size - 2), 0u);  // runs past the end
  EXPECT_EQ(image.U16(0xFFFFFFFFu), 0u);
  EXPECT_EQ(image.Bytes(size, 2), nullptr);
  EXPECT_EQ(image.TableEntry(size, 0), 0u);
  EXPECT_EQ(image.TableEntry(0, 0), 0u);
  EXPECT_EQ(image.RecordLength(size), 0u);  // 200 x 4 bytes are not there
  EXPECT_EQ(image.Section(7), 0u);
}

// Counted lists read no more entries than the list holds or the image has bytes for.
TEST(SimImageTest, CountedListsIgnoreSurplusEntries) {
  std::vector<uint8_t> bytes(100, 0);
  std::memcpy(bytes.data(), "Marvok", 6);
  SimImage image;
  ASSERT_TRUE(image.Adopt(bytes));
  // Entries of 4 bytes from byte 60: ten fit exactly.
  EXPECT_EQ(image.EntriesInside(60, 9, 4, 255), 9u);
  EXPECT_EQ(image.EntriesInside(60, 10, 4, 255), 10u);
  EXPECT_EQ(image.EntriesInside(60, 11, 4, 255), 10u);
  EXPECT_EQ(image.EntriesInside(61, 10, 4, 255), 9u);  // the tenth lacks a byte
  EXPECT_EQ(image.EntriesInside(60, 0xFFFFFFFFu, 4, 255), 10u);
  // The list's capacity: at it, one below and one beyond.
  EXPECT_EQ(image.EntriesInside(0, 7, 4, 8), 7u);
  EXPECT_EQ(image.EntriesInside(0, 8, 4, 8), 8u);
  EXPECT_EQ(image.EntriesInside(0, 9, 4, 8), 8u);
  // A list starting at or past the end has no entries.
  EXPECT_EQ(image.EntriesInside(100, 1, 4, 255), 0u);
  EXPECT_EQ(image.EntriesInside(0xFFFFFFF0u, 1, 4, 255), 0u);
  EXPECT_EQ(image.EntriesInside(0, 1, 0, 255), 0u);
}

TEST(SimImageTest, ATableEndsAtItsCountWhenMoreBytesFollow) {
  simtest::TestImage test;
  std::vector<uint8_t> bytes = test.Build();
  const auto table = static_cast<uint32_t>(bytes.size());
  // Two entries, then bytes that would read as a third and a fourth.
  bytes.push_back(2);
  for (uint32_t entry : {0x100u, 0x200u, 0x300u, 0x400u})
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(entry >> (8 * i)));
  SimImage image;
  ASSERT_TRUE(image.Adopt(bytes));
  EXPECT_EQ(image.TableEntry(table, 0), 0x100u);
  EXPECT_EQ(image.TableEntry(table, 1), 0x200u);
  EXPECT_EQ(image.TableEntry(table, 2), 0u);
  EXPECT_EQ(image.TableEntry(table, 3), 0u);
}

TEST(SimImageTest, DamagedFrameTablesLoadNoFrame) {
  simtest::TestImage test;
  test.frames = {{1, 0, 0, {{Rect::FromSize(0, 0, 8, 8)}}}, {4, 0, 0, {}}};
  std::vector<uint8_t> bytes = test.Build();
  SimImage image;
  ASSERT_TRUE(image.Adopt(bytes));
  EXPECT_EQ(FrameTable(image).Numbers(), (std::vector<uint16_t>{1, 4}));
  ASSERT_TRUE(FrameTable(image).Find(4));
  EXPECT_FALSE(FrameTable(image).Find(2));

  // A frame count beyond the image: no frames at all.
  const uint32_t table = image.Section(3);
  std::vector<uint8_t> counted = bytes;
  counted[table + 2] = 0x7F;
  ASSERT_TRUE(image.Adopt(counted));
  EXPECT_TRUE(FrameTable(image).Numbers().empty());
  // A frame record that claims more elements than the image holds does not load.
  std::vector<uint8_t> elements = bytes;
  const uint32_t first = image.U32(table + 4);
  elements[first + 18] = 0xFF;
  elements[first + 19] = 0xFF;
  ASSERT_TRUE(image.Adopt(elements));
  EXPECT_FALSE(FrameTable(image).Find(1));
  EXPECT_TRUE(FrameTable(image).Find(4));
}

}  // namespace
}  // namespace sim
