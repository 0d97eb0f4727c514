#include "simulator/app/SkinBitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace sim {
namespace {

void Put32(std::vector<uint8_t>& a_Out, std::size_t a_At, uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) a_Out[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
}

// A 24-bit BMP of a_Width x a_Height, all pixels a_Fill (0xRRGGBB), rows bottom-up.
std::vector<uint8_t> MakeBmp(int a_Width, int a_Height, uint32_t a_Fill = 0xFFFFFF,
                             int a_Bits = 24, uint32_t a_Compression = 0) {
  const std::size_t row = ((static_cast<std::size_t>(std::abs(a_Width)) * 24 + 31) / 8) & ~std::size_t{3};
  const std::size_t pixels = row * std::abs(a_Height);
  std::vector<uint8_t> out(54 + pixels, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(a_Width));
  Put32(out, 22, static_cast<uint32_t>(a_Height));
  out[26] = 1;
  out[28] = static_cast<uint8_t>(a_Bits);
  Put32(out, 30, a_Compression);
  for (int y = 0; y < std::abs(a_Height); ++y)
    for (int x = 0; x < std::abs(a_Width); ++x)
      for (int c = 0; c < 3; ++c) out[54 + y * row + 3 * x + c] = static_cast<uint8_t>(a_Fill >> (8 * c));
  return out;
}

void SetPixel(std::vector<uint8_t>& a_Bmp, int a_Width, int a_StoredRow, int a_X, uint32_t a_Rgb) {
  const std::size_t row = ((static_cast<std::size_t>(a_Width) * 24 + 31) / 8) & ~std::size_t{3};
  for (int c = 0; c < 3; ++c)
    a_Bmp[54 + a_StoredRow * row + 3 * a_X + c] = static_cast<uint8_t>(a_Rgb >> (8 * c));
}

bool Load(SkinBitmap& a_Skin, const std::vector<uint8_t>& a_Bytes, std::string& a_Error) {
  return a_Skin.LoadFromMemory(a_Bytes.data(), a_Bytes.size(), a_Error);
}

TEST(SkinBitmapTest, ShippedSkinsLoadAndHoldTheirKeysAndLcd) {
  for (int number : {1, 2}) {
    const PanelModel& model = BuiltinPanelModel(number);
    SkinBitmap skin;
    std::string error;
    ASSERT_TRUE(skin.LoadSkin(model.skinName, error)) << error;
    EXPECT_FALSE(SkinBitmap::FindSkin(model.skinName).empty());
    // Every key area and the doubled LCD lie inside the picture.
    for (const KeyArea& key : model.keys) {
      if (!key.IsKey()) continue;
      EXPECT_LE(key.x + key.width, skin.Width());
      EXPECT_LE(key.y + key.height, skin.Height());
    }
    EXPECT_LE(model.lcdX + 2 * model.lcdWidth, skin.Width());
    EXPECT_LE(model.lcdY + 2 * model.lcdHeight, skin.Height());
    // The outline scan finds the panel's dark border on every row but the white margin.
    const std::vector<Point> outline = skin.OutlinePolygon();
    ASSERT_EQ(outline.size(), 2u * skin.Height());
    const Point middle = outline[skin.Height() / 2];
    EXPECT_GT(middle.x, 0);
    EXPECT_LT(middle.x, 10);
  }
}

TEST(SkinBitmapTest, UnknownSkinNameIsReported) {
  SkinBitmap skin;
  std::string error;
  EXPECT_FALSE(skin.LoadSkin("no-such-skin.bmp", error));
  EXPECT_NE(error.find("no-such-skin.bmp"), std::string::npos);
  EXPECT_TRUE(skin.Empty());
  EXPECT_FALSE(skin.LoadSkin("", error));
}

TEST(SkinBitmapTest, RefusesMalformedFiles) {
  SkinBitmap skin;
  std::string error;
  ASSERT_TRUE(Load(skin, MakeBmp(5, 3), error)) << error;
  EXPECT_EQ(skin.RowSize(), 16u);  // 15 bytes padded to 4

  std::vector<uint8_t> truncated = MakeBmp(5, 3);
  truncated.resize(truncated.size() - 1);
  EXPECT_FALSE(Load(skin, truncated, error));
  EXPECT_NE(error.find("truncated"), std::string::npos);

  EXPECT_FALSE(Load(skin, MakeBmp(5, 3, 0, 8), error));
  EXPECT_NE(error.find("24 bits"), std::string::npos);
  EXPECT_FALSE(Load(skin, MakeBmp(5, 3, 0, 24, 1), error));
  EXPECT_NE(error.find("compressed"), std::string::npos);
  EXPECT_FALSE(Load(skin, MakeBmp(5, -3), error));
  EXPECT_FALSE(Load(skin, MakeBmp(0, 3), error));

  std::vector<uint8_t> huge = MakeBmp(1, 1);
  Put32(huge, 18, 5000);
  EXPECT_FALSE(Load(skin, huge, error));
  std::vector<uint8_t> notBmp = MakeBmp(2, 2);
  notBmp[0] = 'X';
  EXPECT_FALSE(Load(skin, notBmp, error));
  std::vector<uint8_t> badOffset = MakeBmp(2, 2);
  Put32(badOffset, 10, 20);  // into the headers
  EXPECT_FALSE(Load(skin, badOffset, error));
  std::vector<uint8_t> headerOnly(30, 0);
  EXPECT_FALSE(Load(skin, headerOnly, error));

  // A refused file leaves the skin loaded before untouched.
  EXPECT_EQ(skin.Width(), 5);
  EXPECT_EQ(skin.Height(), 3);
}

TEST(SkinBitmapTest, LoadsFromAFileAndRefusesAMissingOne) {
  const auto path = std::filesystem::temp_directory_path() / "skin-bitmap-test.bmp";
  const std::vector<uint8_t> bytes = MakeBmp(4, 2, 0x102030);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  SkinBitmap skin;
  std::string error;
  ASSERT_TRUE(skin.Load(path, error)) << error;
  EXPECT_EQ(skin.StoredRow(1)[0], 0x30);  // blue first
  EXPECT_EQ(skin.StoredRow(1)[2], 0x10);
  std::filesystem::remove(path);
  EXPECT_FALSE(skin.Load(path, error));
}

TEST(SkinBitmapTest, OutlineFollowsTheFirstDarkPixelOfEachRow) {
  // 8 x 4, light; stored row 0 (the bottom) dark from x = 1, row 2 from x = 3, row 1 only has
  // a dark pixel in its right half, row 3 a pixel dark in two channels only.
  std::vector<uint8_t> bmp = MakeBmp(8, 4);
  SetPixel(bmp, 8, 0, 1, 0x000000);
  SetPixel(bmp, 8, 0, 2, 0x000000);
  SetPixel(bmp, 8, 2, 3, 0x7F7F7F);
  SetPixel(bmp, 8, 1, 6, 0x000000);
  SetPixel(bmp, 8, 3, 0, 0x80007F);
  SkinBitmap skin;
  std::string error;
  ASSERT_TRUE(Load(skin, bmp, error)) << error;
  const std::vector<Point> points = skin.OutlinePolygon();
  ASSERT_EQ(points.size(), 8u);
  // Stored row 0 is the window's bottom row (y = 3).
  EXPECT_EQ(points[0], (Point{1, 3}));
  EXPECT_EQ(points[7], (Point{6, 3}));
  EXPECT_EQ(points[2], (Point{3, 1}));
  EXPECT_EQ(points[5], (Point{4, 1}));
  // Rows without an edge collapse to the middle.
  EXPECT_EQ(points[1], (Point{4, 2}));
  EXPECT_EQ(points[6], (Point{3, 2}));
  EXPECT_EQ(points[3].y, 0);

  const std::vector<uint8_t> mask = skin.OutlineMask();
  auto inside = [&](int x, int y) { return mask[y * 8 + x] != 0; };
  EXPECT_FALSE(inside(0, 3));
  EXPECT_TRUE(inside(1, 3));
  EXPECT_TRUE(inside(6, 3));
  EXPECT_FALSE(inside(7, 3));
  EXPECT_TRUE(inside(3, 1));
  EXPECT_TRUE(inside(4, 1));
  EXPECT_FALSE(inside(2, 1));
  for (int x = 0; x < 8; ++x) {
    EXPECT_FALSE(inside(x, 2));
    EXPECT_FALSE(inside(x, 0));
  }
}

TEST(SkinBitmapTest, PictureHoldsTheDoubledLcdAtTheModelsPlace) {
  // Skin 20 x 12, LCD 3 x 2 at x = 4, its bottom edge 3 rows above the skin's bottom: the
  // doubled 6 x 4 picture covers window columns 4..9 and rows 5..8.
  SkinBitmap skin;
  std::string error;
  ASSERT_TRUE(Load(skin, MakeBmp(20, 12, 0xC08040), error)) << error;
  PanelModel model;
  model.lcdX = 4;
  model.lcdY = 3;
  const uint8_t lcd[2] = {0x01, 0x06};  // top row: left pixel dark; bottom row: two right dark
  const PanelPicture lit = ComposePanelPicture(skin, model, lcd, 3, 2, true);
  ASSERT_EQ(lit.width, 20);
  ASSERT_EQ(lit.height, 12);
  auto is = [](const uint8_t* a_P, const uint8_t* a_C) { return std::memcmp(a_P, a_C, 3) == 0; };
  const uint8_t skinRgb[3] = {0xC0, 0x80, 0x40};
  EXPECT_TRUE(is(lit.Pixel(3, 5), skinRgb));
  EXPECT_TRUE(is(lit.Pixel(10, 5), skinRgb));
  EXPECT_TRUE(is(lit.Pixel(4, 4), skinRgb));
  EXPECT_TRUE(is(lit.Pixel(4, 9), skinRgb));
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 2; ++dx) {
      EXPECT_TRUE(is(lit.Pixel(4 + dx, 5 + dy), LcdColours::kDark));
      EXPECT_TRUE(is(lit.Pixel(6 + dx, 5 + dy), LcdColours::kLightBacklit));
      EXPECT_TRUE(is(lit.Pixel(4 + dx, 7 + dy), LcdColours::kLightBacklit));
      EXPECT_TRUE(is(lit.Pixel(8 + dx, 7 + dy), LcdColours::kDark));
    }
  const PanelPicture unlit = ComposePanelPicture(skin, model, lcd, 3, 2, false);
  EXPECT_TRUE(is(unlit.Pixel(6, 5), LcdColours::kLightUnlit));
  EXPECT_TRUE(is(unlit.Pixel(4, 5), LcdColours::kDark));
}

TEST(SkinBitmapTest, LcdBeyondTheSkinIsCutOff) {
  SkinBitmap skin;
  std::string error;
  ASSERT_TRUE(Load(skin, MakeBmp(6, 4, 0xFFFFFF), error)) << error;
  PanelModel model;
  model.lcdX = 4;   // the right half falls off the skin
  model.lcdY = -1;  // and one row below it
  const uint8_t lcd[2] = {0xFF, 0xFF};
  const PanelPicture picture = ComposePanelPicture(skin, model, lcd, 8, 2, true);
  ASSERT_EQ(picture.rgb.size(), 6u * 4 * 3);
  EXPECT_TRUE(std::memcmp(picture.Pixel(4, 1), LcdColours::kDark, 3) == 0);
  EXPECT_TRUE(std::memcmp(picture.Pixel(5, 3), LcdColours::kDark, 3) == 0);
  EXPECT_EQ(picture.Pixel(3, 3)[0], 0xFF);
  EXPECT_EQ(picture.Pixel(4, 0)[0], 0xFF);
}

}  // namespace
}  // namespace sim
