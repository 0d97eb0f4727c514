#include "simulator/app/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace sim {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& a_Path) {
  std::ifstream in(a_Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  std::vector<std::vector<uint8_t>> rows;  // as stored in the file, unexpanded
};

bool Decode(const fs::path& a_Path, Decoded& a_Out) {
  FILE* file = std::fopen(a_Path.c_str(), "rb");
  if (file == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  a_Out.width = png_get_image_width(png, info);
  a_Out.height = png_get_image_height(png, info);
  a_Out.bitDepth = png_get_bit_depth(png, info);
  a_Out.colourType = png_get_color_type(png, info);
  a_Out.rows.assign(a_Out.height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
  for (auto& row : a_Out.rows) png_read_row(png, row.data(), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return true;
}

class PngWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Dir = fs::temp_directory_path() /
            ("png-writer-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_Dir);
    fs::create_directories(m_Dir);
  }
  void TearDown() override { fs::remove_all(m_Dir); }
  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_Dir), fs::directory_iterator()));
  }
  fs::path m_Dir;
};

TEST_F(PngWriterTest, LcdIsOneBitGrayWithDarkPixelsBlack) {
  // 10 x 2: top row pixels 0 and 9 dark, bottom row pixel 3 dark.
  const uint8_t bits[4] = {0x01, 0x02, 0x08, 0x00};
  const fs::path path = m_Dir / "lcd.png";
  std::string error;
  ASSERT_TRUE(WriteLcdPng(path, bits, 10, 2, error)) << error;
  Decoded png;
  ASSERT_TRUE(Decode(path, png));
  EXPECT_EQ(png.width, 10u);
  EXPECT_EQ(png.height, 2u);
  EXPECT_EQ(png.bitDepth, 1);
  EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_GRAY);
  // PNG packs the leftmost pixel into the high bit, gray 0 = black.
  ASSERT_EQ(png.rows[0].size(), 2u);
  EXPECT_EQ(png.rows[0][0], 0x7F);
  EXPECT_EQ(png.rows[0][1] & 0xC0, 0x80);
  EXPECT_EQ(png.rows[1][0], 0xEF);
  EXPECT_EQ(png.rows[1][1] & 0xC0, 0xC0);
}

TEST_F(PngWriterTest, RgbRoundTripsAndRepeatsByteForByte) {
  std::vector<uint8_t> rgb(7 * 3 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
  std::string error;
  ASSERT_TRUE(WriteRgbPng(m_Dir / "a.png", rgb.data(), 7, 3, error)) << error;
  ASSERT_TRUE(WriteRgbPng(m_Dir / "b.png", rgb.data(), 7, 3, error)) << error;
  EXPECT_EQ(ReadFile(m_Dir / "a.png"), ReadFile(m_Dir / "b.png"));
  Decoded png;
  ASSERT_TRUE(Decode(m_Dir / "a.png", png));
  EXPECT_EQ(png.bitDepth, 8);
  EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB);
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(png.rows[y], std::vector<uint8_t>(rgb.begin() + y * 21, rgb.begin() + (y + 1) * 21));

  const uint8_t bits[2] = {0x55, 0xAA};
  ASSERT_TRUE(WriteLcdPng(m_Dir / "c.png", bits, 8, 2, error));
  ASSERT_TRUE(WriteLcdPng(m_Dir / "d.png", bits, 8, 2, error));
  EXPECT_EQ(ReadFile(m_Dir / "c.png"), ReadFile(m_Dir / "d.png"));
}

TEST_F(PngWriterTest, ReplacesAnExistingFileWhole) {
  const fs::path path = m_Dir / "shot.png";
  std::ofstream(path) << "an older and much longer file that is not a PNG at all .....";
  const uint8_t bits[1] = {0xFF};
  std::string error;
  ASSERT_TRUE(WriteLcdPng(path, bits, 3, 1, error)) << error;
  Decoded png;
  ASSERT_TRUE(Decode(path, png));
  EXPECT_EQ(png.width, 3u);
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

TEST_F(PngWriterTest, FailuresLeaveNothingBehind) {
  const uint8_t bits[1] = {0};
  std::string error;
  EXPECT_FALSE(WriteLcdPng(m_Dir / "missing-dir" / "x.png", bits, 8, 1, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WriteLcdPng(m_Dir / "empty.png", bits, 0, 1, error));
  EXPECT_FALSE(WriteRgbPng(m_Dir / "null.png", nullptr, 1, 1, error));
  EXPECT_FALSE(WriteRgbPng(m_Dir / "neg.png", bits, 1, -1, error));
  // A directory in the target's place cannot be replaced by the rename.
  fs::create_directory(m_Dir / "taken.png");
  EXPECT_FALSE(WriteLcdPng(m_Dir / "taken.png", bits, 8, 1, error));
  EXPECT_EQ(FilesInDir(), 1u);  // only the directory
}

}  // namespace
}  // namespace sim
