// The component library images shipped in lib/component/: every one reads as a single-colour
// BMP of the size its name promises, and the states of one component differ.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "editor/screens/SingleColorBmp.h"

using namespace kd820;

namespace {

const std::filesystem::path kComponents = std::filesystem::path(KD820_TEST_SOURCE_DIR) / "lib" / "component";

std::string Name(const char* a_Format, int a_A, int a_B, int a_C = -1) {
  char buffer[64];
  if (a_C < 0) {
    std::snprintf(buffer, sizeof buffer, a_Format, a_A, a_B);
  } else {
    std::snprintf(buffer, sizeof buffer, a_Format, a_A, a_B, a_C);
  }
  return buffer;
}

SingleColorBitmap Load(const std::filesystem::path& a_Path) {
  SingleColorBitmap bitmap;
  EXPECT_EQ(ReadSingleColorBmpFile(a_Path.string(), bitmap), BmpStatus::kOk) << a_Path;
  return bitmap;
}

bool Ink(const SingleColorBitmap& a_Bitmap, int a_X, int a_Y) {
  const int rowBytes = (a_Bitmap.m_Width + 7) / 8;
  return (a_Bitmap.m_Pixels[static_cast<std::size_t>(a_Y * rowBytes + a_X / 8)] >> (a_X % 8)) & 1;
}

int InkCount(const SingleColorBitmap& a_Bitmap) {
  int count = 0;
  for (int y = 0; y < a_Bitmap.m_Height; ++y) {
    for (int x = 0; x < a_Bitmap.m_Width; ++x) count += Ink(a_Bitmap, x, y);
  }
  return count;
}

void ExpectWellFormed(const SingleColorBitmap& a_Bitmap) {
  const std::size_t rowBytes = (static_cast<std::size_t>(a_Bitmap.m_Width) + 7) / 8;
  ASSERT_EQ(a_Bitmap.m_Pixels.size(), rowBytes * static_cast<std::size_t>(a_Bitmap.m_Height));
  if (a_Bitmap.m_Width % 8 == 0) return;
  const auto spare = static_cast<uint8_t>(0xFF << (a_Bitmap.m_Width % 8));
  for (int y = 0; y < a_Bitmap.m_Height; ++y) {
    EXPECT_EQ(a_Bitmap.m_Pixels[(static_cast<std::size_t>(y) + 1) * rowBytes - 1] & spare, 0) << y;
  }
}

constexpr int kLedPixels[] = {0, 8, 12, 16, 24};  // by size number 1..4

}  // namespace

TEST(ComponentImage, EveryLedImageHasItsSizeAndOffDiffersFromOn) {
  for (int shape = 0; shape <= 1; ++shape) {
    for (int size = 1; size <= 4; ++size) {
      SCOPED_TRACE(testing::Message() << "shape " << shape << " size " << size);
      const SingleColorBitmap off = Load(kComponents / "led" / Name("LED%d_%d_%d.dat", shape, 0, size));
      const SingleColorBitmap on = Load(kComponents / "led" / Name("LED%d_%d_%d.dat", shape, 1, size));
      for (const SingleColorBitmap* image : {&off, &on}) {
        EXPECT_EQ(image->m_Width, kLedPixels[size]);
        EXPECT_EQ(image->m_Height, kLedPixels[size]);
        ExpectWellFormed(*image);
      }
      EXPECT_NE(off.m_Pixels, on.m_Pixels);
      // Off is an outline, on is filled: the centre is ink only when on, and on has more ink.
      const int centre = kLedPixels[size] / 2;
      EXPECT_FALSE(Ink(off, centre, centre));
      EXPECT_TRUE(Ink(on, centre, centre));
      EXPECT_GT(InkCount(on), InkCount(off));
      EXPECT_GT(InkCount(off), 0);
    }
  }
}

TEST(ComponentImage, RoundAndSquareLedsDiffer) {
  for (int state = 0; state <= 1; ++state) {
    for (int size = 1; size <= 4; ++size) {
      const SingleColorBitmap round = Load(kComponents / "led" / Name("LED%d_%d_%d.dat", 0, state, size));
      const SingleColorBitmap square = Load(kComponents / "led" / Name("LED%d_%d_%d.dat", 1, state, size));
      EXPECT_NE(round.m_Pixels, square.m_Pixels) << state << " " << size;
      // The square's corner is ink (dark pixels read as ink), the circle's is not.
      EXPECT_TRUE(Ink(square, 0, 0));
      EXPECT_FALSE(Ink(round, 0, 0));
    }
  }
}

TEST(ComponentImage, EveryFunctionKeyHasThreeDistinctStatesOfOneSize) {
  for (int key = 1; key <= 19; ++key) {
    for (int size = 1; size <= 2; ++size) {
      SCOPED_TRACE(testing::Message() << "key " << key << " size " << size);
      SingleColorBitmap states[3];
      for (int state = 0; state <= 2; ++state) {
        states[state] = Load(kComponents / "funckey" / Name("FUNCKEY%d_%d_%d.dat", key, state, size));
        ExpectWellFormed(states[state]);
        EXPECT_EQ(states[state].m_Height, size == 1 ? 12 : 16);
        EXPECT_EQ(states[state].m_Width, states[0].m_Width);
        EXPECT_GT(states[state].m_Width, states[state].m_Height / 2);
      }
      EXPECT_NE(states[0].m_Pixels, states[1].m_Pixels);
      EXPECT_NE(states[0].m_Pixels, states[2].m_Pixels);
      EXPECT_NE(states[1].m_Pixels, states[2].m_Pixels);
      // Pressed is drawn inverted: mostly ink.
      EXPECT_GT(InkCount(states[1]), states[1].m_Width * states[1].m_Height / 2);
      EXPECT_LT(InkCount(states[0]), states[0].m_Width * states[0].m_Height / 2);
    }
  }
}

TEST(ComponentImage, DifferentKeysLookDifferent) {
  std::map<std::vector<uint8_t>, int> seen;
  for (int key = 1; key <= 19; ++key) {
    const SingleColorBitmap image = Load(kComponents / "funckey" / Name("FUNCKEY%d_%d_%d.dat", key, 0, 1));
    EXPECT_TRUE(seen.emplace(image.m_Pixels, key).second) << key;
  }
}

TEST(ComponentImage, HandImages) {
  for (int size = 1; size <= 2; ++size) {
    const SingleColorBitmap outline = Load(kComponents / "funckey" / Name("HAND_%d_%d.dat", 0, size));
    const SingleColorBitmap filled = Load(kComponents / "funckey" / Name("HAND_%d_%d.dat", 1, size));
    for (const SingleColorBitmap* image : {&outline, &filled}) {
      EXPECT_EQ(image->m_Width, size == 1 ? 12 : 16);
      EXPECT_EQ(image->m_Height, size == 1 ? 12 : 16);
      ExpectWellFormed(*image);
    }
    EXPECT_GT(InkCount(filled), InkCount(outline));
  }
}

TEST(ComponentImage, EveryShippedFileIsANamedReadableImage) {
  const std::regex led(R"(LED[01]_[01]_[1-4]\.dat)");
  const std::regex key(R"((FUNCKEY([1-9]|1[0-9])_[0-2]_[12]|HAND_[01]_[12])\.dat)");
  std::map<std::string, int> counts;
  for (const char* dir : {"led", "funckey"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kComponents / dir)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(std::regex_match(name, std::string(dir) == "led" ? led : key)) << name;
      const SingleColorBitmap image = Load(entry.path());
      EXPECT_GT(image.m_Width, 0) << name;
      ++counts[dir];
    }
  }
  EXPECT_EQ(counts["led"], 2 * 2 * 4);
  EXPECT_EQ(counts["funckey"], 19 * 3 * 2 + 2 * 2);
}

TEST(ComponentImage, TheBuildTreeCarriesTheImages) {
  // The programs find the library beside their executables.
  const std::filesystem::path built = std::filesystem::path(KD820_TEST_BINARY_DIR) / "lib" / "component";
  for (const char* file : {"led/LED0_0_1.dat", "led/LED1_1_4.dat", "funckey/FUNCKEY19_2_2.dat", "funckey/HAND_1_2.dat"}) {
    SCOPED_TRACE(file);
    const SingleColorBitmap source = Load(kComponents / file);
    const SingleColorBitmap copy = Load(built / file);
    EXPECT_EQ(copy.m_Pixels, source.m_Pixels);
  }
}
