#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulator/RetentiveStore.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

class RetentiveStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "retentive-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_Dir = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_Dir, ignored);
  }
  std::string ImagePath() const { return (m_Dir / "demo.bin~").string(); }
  std::vector<uint8_t> FileBytes() const {
    std::ifstream in(m_Dir / "demo.rcp", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path m_Dir;
};

TEST(RetentiveStoreNameTest, NameIsTheImageFileNameCutAtBin) {
  EXPECT_EQ(RetentiveStore::FileNameFor("/tmp/p.bin~"), "/tmp/p.rcp");
  EXPECT_EQ(RetentiveStore::FileNameFor("hmi.bin"), "hmi.rcp");
  // A "bin" in a directory name does not move the file away from the image.
  EXPECT_EQ(RetentiveStore::FileNameFor("/usr/bin/robin/p.bin~"), "/usr/bin/robin/p.rcp");
  EXPECT_EQ(RetentiveStore::FileNameFor("/opt/bin/p.img"), "");
}

TEST_F(RetentiveStoreTest, FileIsCreatedZeroedAndValuesSurviveTheRun) {
  {
    RetentiveStore store(ImagePath());
    uint8_t value[2] = {0xFF, 0xFF};
    ASSERT_TRUE(store.ReadBytes(100, value, 2));
    EXPECT_EQ(value[0], 0);
    EXPECT_EQ(value[1], 0);
    EXPECT_EQ(FileBytes().size(), RetentiveStore::kInitialSize);
    const uint8_t written[4] = {0x34, 0x12, 0x78, 0x56};
    ASSERT_TRUE(store.WriteBytes(100, written, 4));
  }
  RetentiveStore nextRun(ImagePath());
  uint8_t value[4] = {};
  ASSERT_TRUE(nextRun.ReadBytes(100, value, 4));
  EXPECT_EQ(value[0], 0x34);
  EXPECT_EQ(value[3], 0x56);
  const std::vector<uint8_t> file = FileBytes();
  ASSERT_EQ(file.size(), RetentiveStore::kInitialSize);
  EXPECT_EQ(file[200], 0x34);
  EXPECT_EQ(file[203], 0x56);
}

TEST_F(RetentiveStoreTest, WritesTouchOnlyTheirBytes) {
  RetentiveStore store(ImagePath());
  const uint8_t word[2] = {0x11, 0x22};
  ASSERT_TRUE(store.WriteBytes(5, word, 2));
  const uint8_t low = 0x99;
  ASSERT_TRUE(store.WriteBytes(5, &low, 1));
  EXPECT_EQ(FileBytes()[11], 0x22);

  // Bits 20..27 lie in word 1 (bits 4..11); the other bits of the word stay.
  const uint8_t fill[2] = {0xFF, 0xFF};
  ASSERT_TRUE(store.WriteBytes(1, fill, 2));
  const uint8_t zero = 0;
  ASSERT_TRUE(store.WriteBits(20, &zero, 8));
  EXPECT_EQ(FileBytes()[2], 0x0F);
  EXPECT_EQ(FileBytes()[3], 0xF0);
  uint8_t bits = 0;
  ASSERT_TRUE(store.ReadBits(18, &bits, 4));
  EXPECT_EQ(bits, 0x03);
}

TEST_F(RetentiveStoreTest, WordsBeyondTheInitialFileExtendItAndAbsurdOnesAreRefused) {
  RetentiveStore store(ImagePath());
  const uint8_t value[2] = {0xAA, 0x55};
  ASSERT_TRUE(store.WriteBytes(5000, value, 2));
  EXPECT_EQ(FileBytes().size(), 10002u);
  uint8_t back[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  ASSERT_TRUE(store.ReadBytes(5000, back, 4));  // the bytes past the end read as zero
  EXPECT_EQ(back[0], 0xAA);
  EXPECT_EQ(back[1], 0x55);
  EXPECT_EQ(back[2], 0);

  EXPECT_FALSE(store.WriteBytes(RetentiveStore::kWordLimit - 1, back, 4));
  EXPECT_EQ(FileBytes().size(), 10002u);
}

TEST_F(RetentiveStoreTest, MissingDirectoryOrNoFileNameMakesEveryAccessFail) {
  RetentiveStore store((m_Dir / "gone" / "demo.bin~").string());
  uint8_t value[2] = {};
  EXPECT_FALSE(store.ReadBytes(0, value, 2));
  EXPECT_FALSE(store.WriteBytes(0, value, 2));
  EXPECT_FALSE(store.ReadBits(0, value, 1));
  EXPECT_FALSE(fs::exists(m_Dir / "gone"));

  RetentiveStore nameless((m_Dir / "demo.img").string());
  EXPECT_FALSE(nameless.WriteBytes(0, value, 2));
  EXPECT_TRUE(fs::is_empty(m_Dir));
}

// The rules every storage obeys, run over the file beside the image and over memory.
struct StorageKind {
  const char* name;
  std::unique_ptr<RetentiveStorage> (*make)(const fs::path& a_Dir);
};

const StorageKind kStorageKinds[] = {
    {"File",
     [](const fs::path& a_Dir) -> std::unique_ptr<RetentiveStorage> {
       return std::make_unique<RetentiveFileStorage>((a_Dir / "demo.rcp").string());
     }},
    {"Memory",
     [](const fs::path&) -> std::unique_ptr<RetentiveStorage> {
       return std::make_unique<RetentiveMemoryStorage>();
     }},
};

void PrintTo(const StorageKind& a_Kind, std::ostream* a_Out) { *a_Out << a_Kind.name; }

class RetentiveStorageRules : public RetentiveStoreTest,
                              public ::testing::WithParamInterface<StorageKind> {
 protected:
  void SetUp() override {
    RetentiveStoreTest::SetUp();
    m_Store.emplace(GetParam().make(m_Dir));
  }
  uint16_t Word(uint32_t a_Word) const {
    uint8_t bytes[2] = {0xEE, 0xEE};
    EXPECT_TRUE(m_Store->ReadBytes(a_Word, bytes, 2)) << "word " << a_Word;
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  }

  std::optional<RetentiveStore> m_Store;
};

TEST_P(RetentiveStorageRules, StartsZeroedAndKeepsWhatIsWritten) {
  EXPECT_EQ(Word(0), 0);
  EXPECT_EQ(Word(RetentiveStore::kInitialSize / 2 - 1), 0);
  const uint8_t written[4] = {0x34, 0x12, 0x78, 0x56};
  ASSERT_TRUE(m_Store->WriteBytes(100, written, 4));
  EXPECT_EQ(Word(100), 0x1234);
  EXPECT_EQ(Word(101), 0x5678);
  EXPECT_EQ(Word(99), 0);
  EXPECT_EQ(Word(102), 0);
}

TEST_P(RetentiveStorageRules, WritesTouchOnlyTheirBytesAndBits) {
  const uint8_t word[2] = {0x11, 0x22};
  ASSERT_TRUE(m_Store->WriteBytes(5, word, 2));
  const uint8_t low = 0x99;
  ASSERT_TRUE(m_Store->WriteBytes(5, &low, 1));
  EXPECT_EQ(Word(5), 0x2299);

  // Bits 20..27 lie in word 1 (bits 4..11); the other bits of the word stay.
  const uint8_t fill[2] = {0xFF, 0xFF};
  ASSERT_TRUE(m_Store->WriteBytes(1, fill, 2));
  const uint8_t zero = 0;
  ASSERT_TRUE(m_Store->WriteBits(20, &zero, 8));
  EXPECT_EQ(Word(1), 0xF00F);
  uint8_t bits = 0;
  ASSERT_TRUE(m_Store->ReadBits(18, &bits, 4));
  EXPECT_EQ(bits, 0x03);
}

TEST_P(RetentiveStorageRules, WritesPastTheInitialSizeGrowItAndTheGapReadsZero) {
  const uint8_t value[2] = {0xAA, 0x55};
  ASSERT_TRUE(m_Store->WriteBytes(5000, value, 2));
  uint8_t back[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  ASSERT_TRUE(m_Store->ReadBytes(5000, back, 4));
  EXPECT_EQ(back[0], 0xAA);
  EXPECT_EQ(back[1], 0x55);
  EXPECT_EQ(back[2], 0);
  EXPECT_EQ(back[3], 0);
  EXPECT_EQ(Word(3000), 0);
  EXPECT_EQ(Word(40000), 0);
}

TEST_P(RetentiveStorageRules, OnlyWordsUpTo65535AndNonEmptyTransfersAreAccepted) {
  const uint32_t last = RetentiveStore::kWordLimit - 1;
  const uint8_t value[8] = {0x01, 0x02, 0x03, 0x04};
  ASSERT_TRUE(m_Store->WriteBytes(last, value, 2));
  EXPECT_EQ(Word(last), 0x0201);
  EXPECT_FALSE(m_Store->WriteBytes(last, value + 2, 3));
  EXPECT_EQ(Word(last), 0x0201);  // the refused write left nothing behind
  uint8_t back[2] = {};
  EXPECT_FALSE(m_Store->ReadBytes(RetentiveStore::kWordLimit, back, 2));
  EXPECT_FALSE(m_Store->ReadBytes(last, back, 3));
  EXPECT_FALSE(m_Store->WriteBytes(UINT32_MAX, value, 2));

  // Bit 16 x 65536 - 1 is the last one.
  const uint32_t lastBit = RetentiveStore::kWordLimit * 16 - 1;
  const uint8_t one = 1;
  ASSERT_TRUE(m_Store->WriteBits(lastBit, &one, 1));
  EXPECT_EQ(Word(last), 0x8201);
  EXPECT_FALSE(m_Store->WriteBits(lastBit, value, 2));
  EXPECT_FALSE(m_Store->ReadBits(lastBit + 1, back, 1));

  EXPECT_FALSE(m_Store->ReadBytes(0, back, 0));
  EXPECT_FALSE(m_Store->WriteBytes(0, value, 0));
  EXPECT_FALSE(m_Store->ReadBits(0, back, 0));
  EXPECT_FALSE(m_Store->WriteBits(0, value, 0));
}

INSTANTIATE_TEST_SUITE_P(Kinds, RetentiveStorageRules, ::testing::ValuesIn(kStorageKinds),
                         [](const ::testing::TestParamInfo<StorageKind>& a_Info) {
                           return std::string(a_Info.param.name);
                         });

}  // namespace
}  // namespace sim
