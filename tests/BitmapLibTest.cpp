// Single-colour BMP reading and the project's bitmap library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "editor/project/ClassTable.h"
#include "editor/screens/SingleColorBitmapLib.h"
#include "editor/screens/SingleColorBmp.h"
#include "editor/base/Archive.h"
#include "tests/BmpTestSupport.h"

using namespace kd820;
using namespace test::bmp;

namespace {

// A 10 x 3 picture: top row ink at the leftmost pixel, middle row at the rightmost, bottom
// row all ink. In the BMP, 0 bits are black (palette 0) and the leftmost pixel is bit 7; the
// unused bits after pixel 9 are set in the top rows and clear in the bottom one.
const Bytes kTopRow = {0x7F, 0xFF};
const Bytes kMiddleRow = {0xFF, 0xBF};
const Bytes kBottomRow = {0x00, 0x00};
// The same picture in the library layout: bit 0 leftmost, 1 = ink, spare bits 0.
const Bytes kExpectedPixels = {0x01, 0x00, 0x00, 0x02, 0xFF, 0x03};

Bytes TenByThree() { return MakeBmp(10, 3, {kBottomRow, kMiddleRow, kTopRow}, 1, 0xFF); }

class TempFile {
 public:
  explicit TempFile(const std::string& a_Name, const Bytes& a_Contents)
      : m_Path(std::filesystem::path(::testing::TempDir()) / a_Name) {
    std::ofstream(m_Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(a_Contents.data()),
               static_cast<std::streamsize>(a_Contents.size()));
  }
  ~TempFile() { std::filesystem::remove(m_Path); }
  std::string Path() const { return m_Path.string(); }

 private:
  std::filesystem::path m_Path;
};

BmpStatus Read(const Bytes& a_Bytes) {
  SingleColorBitmap bitmap;
  return ReadSingleColorBmp(a_Bytes, bitmap);
}

}  // namespace

// ---- BMP reader ---------------------------------------------------------------------------

TEST(BmpReader, TenPixelsWideGivesTwoBytesPerRowInPanelLayout) {
  SingleColorBitmap bitmap;
  ASSERT_EQ(ReadSingleColorBmp(TenByThree(), bitmap), BmpStatus::kOk);
  EXPECT_EQ(bitmap.m_Width, 10);
  EXPECT_EQ(bitmap.m_Height, 3);
  EXPECT_EQ(bitmap.m_Pixels, kExpectedPixels);
}

TEST(BmpReader, TopDownAndZeroImageSizeGiveTheSamePicture) {
  SingleColorBitmap topDown;
  const Bytes stored = MakeBmp(10, -3, {kTopRow, kMiddleRow, kBottomRow}, 1, 0xFF);
  ASSERT_EQ(ReadSingleColorBmp(stored, topDown), BmpStatus::kOk);
  EXPECT_EQ(topDown.m_Height, 3);
  EXPECT_EQ(topDown.m_Pixels, kExpectedPixels);

  Bytes noSize = TenByThree();
  PutU32(noSize, kImageSizeAt, 0);
  SingleColorBitmap bitmap;
  ASSERT_EQ(ReadSingleColorBmp(noSize, bitmap), BmpStatus::kOk);
  EXPECT_EQ(bitmap.m_Pixels, kExpectedPixels);
}

TEST(BmpReader, WideRows) {
  // 33 x 2: five bytes a row, a stride of eight.
  SingleColorBitmap bitmap;
  ASSERT_EQ(ReadSingleColorBmp(MakeBmp(33, 2, {{0xFF, 0xFF, 0xFF, 0xFF, 0x00},
                                                 {0x80, 0x00, 0x00, 0x01, 0x7F}}),
                               bitmap),
            BmpStatus::kOk);
  EXPECT_EQ(bitmap.m_Pixels,
            (Bytes{0xFE, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01}));
}

TEST(BmpReader, RefusesOtherFiles) {
  EXPECT_EQ(Read(MakeBmp(4, 4, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 24)),
            BmpStatus::kNotSingleColor);
  Bytes notBm = TenByThree();
  notBm[1] = 'A';
  EXPECT_EQ(Read(notBm), BmpStatus::kNotBmp);
  EXPECT_EQ(Read({}), BmpStatus::kNotBmp);
  EXPECT_EQ(Read({'B', 'M'}), BmpStatus::kNotBmp);
}

TEST(BmpReader, HostileHeadersAreRefused) {
  const Bytes good = TenByThree();
  const auto with = [&](std::size_t a_At, uint32_t a_Value) {
    Bytes b = good;
    PutU32(b, a_At, a_Value);
    return b;
  };
  EXPECT_EQ(Read(with(kWidthAt, 0)), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kWidthAt, 0x10000)), BmpStatus::kNotBmp);  // 16-bit width 0
  EXPECT_EQ(Read(with(kHeightAt, 0)), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kHeightAt, 0x80000000u)), BmpStatus::kNotBmp);
  Bytes extraRow = with(kHeightAt, 4);  // one row more than stored, rows of 4 bytes
  PutU32(extraRow, kImageSizeAt, 0);
  EXPECT_EQ(Read(extraRow), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kHeightAt, 0xFFFF)), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kWidthAt, 0xFFFF)), BmpStatus::kNotBmp);   // rows wider than the stride
  EXPECT_EQ(Read(with(kImageSizeAt, 3)), BmpStatus::kNotBmp);    // stride 1 < 2 bytes a row
  EXPECT_EQ(Read(with(kImageSizeAt, 0xFFFFFFFFu)), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kDataOffsetAt, 0xFFFFFFFFu)), BmpStatus::kNotBmp);
  EXPECT_EQ(Read(with(kDataOffsetAt, static_cast<uint32_t>(good.size()))), BmpStatus::kNotBmp);

  // Every truncation that cuts into the headers or the pixels that are read.
  for (std::size_t size = 0; size < good.size() - 2; ++size) {
    EXPECT_NE(Read(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))),
              BmpStatus::kOk)
        << "size " << size;
  }
  // The last row's padding is not needed.
  EXPECT_EQ(Read(Bytes(good.begin(), good.end() - 2)), BmpStatus::kOk);
}

TEST(BmpReader, RandomHeaderDamageNeverReadsOutside) {
  const Bytes good = TenByThree();
  std::mt19937 random(820);
  for (int round = 0; round < 20000; ++round) {
    Bytes b = good;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) b[random() % 54] = static_cast<uint8_t>(random());
    b.resize(random() % (b.size() + 1));
    SingleColorBitmap bitmap;
    if (ReadSingleColorBmp(b, bitmap) == BmpStatus::kOk) {
      EXPECT_EQ(bitmap.m_Pixels.size(),
                static_cast<std::size_t>(bitmap.m_Height) * ((bitmap.m_Width + 7) / 8));
      EXPECT_LE(bitmap.m_Pixels.size(), b.size());
    }
  }
}

// ---- library ------------------------------------------------------------------------------

TEST(BitmapLib, LoadFromFileResults) {
  CSingleColorBitmapLib lib;
  EXPECT_EQ(lib.LoadFromFile("/nonexistent/picture.bmp"), CSingleColorBitmapLib::kCannotOpen);
  EXPECT_EQ(lib.LoadFromFile(::testing::TempDir()), CSingleColorBitmapLib::kCannotOpen);

  Bytes notBm = TenByThree();
  notBm[0] = 'X';
  TempFile notBmp("bitmap_lib_not_bmp.bmp", notBm);
  EXPECT_EQ(lib.LoadFromFile(notBmp.Path()), CSingleColorBitmapLib::kNotBmp);

  TempFile colour("bitmap_lib_colour.bmp", MakeBmp(2, 1, {{0, 0, 0, 0, 0, 0}}, 24));
  EXPECT_EQ(lib.LoadFromFile(colour.Path()), CSingleColorBitmapLib::kNotSingleColor);
  EXPECT_TRUE(lib.m_Items.empty());

  TempFile picture("bitmap_lib_picture.bmp", TenByThree());
  const int32_t id = lib.LoadFromFile(picture.Path());
  EXPECT_EQ(id, 1);
  EXPECT_EQ(lib.LoadFromFile(picture.Path()), id);  // the same picture again
  ASSERT_EQ(lib.m_Items.size(), 1u);
  EXPECT_EQ(lib.GetWidth(id), 10);
  EXPECT_EQ(lib.GetHeight(id), 3);
  EXPECT_EQ(lib.FindItem(id)->m_Pixels, kExpectedPixels);
  EXPECT_EQ(lib.GetWidth(2), 0);
  EXPECT_EQ(lib.GetHeight(0), 0);
  EXPECT_EQ(lib.FindItem(2), nullptr);
}

TEST(BitmapLib, IdsReuseTheSmallestFreeNumber) {
  CSingleColorBitmapLib lib;
  EXPECT_EQ(lib.AddItem(8, 1, {0x01}), 1);
  EXPECT_EQ(lib.AddItem(8, 1, {0x02}), 2);
  EXPECT_EQ(lib.AddItem(8, 1, {0x03}), 3);
  lib.m_Items.erase(lib.m_Items.begin() + 1);  // frees id 2
  EXPECT_EQ(lib.AddItem(8, 1, {0x04}), 2);
  EXPECT_EQ(lib.AddItem(8, 1, {0x05}), 4);
  EXPECT_EQ(lib.AddItem(8, 1, {0x03}), 3);  // identical to an existing item
  EXPECT_EQ(lib.m_Items.size(), 4u);
  // Same bytes but another size is another picture.
  EXPECT_EQ(lib.AddItem(4, 1, {0x03}), 5);
}

TEST(BitmapLib, AddItemChecksSizeAndClearsSpareBits) {
  CSingleColorBitmapLib lib;
  EXPECT_EQ(lib.AddItem(10, 2, {0x00, 0x00, 0x00}), 0);
  EXPECT_EQ(lib.AddItem(-1, 1, {}), 0);
  const int32_t id = lib.AddItem(10, 2, {0x01, 0xFF, 0x02, 0xFC});
  ASSERT_EQ(id, 1);
  EXPECT_EQ(lib.FindItem(id)->m_Pixels, (Bytes{0x01, 0x03, 0x02, 0x00}));
  EXPECT_EQ(lib.AddItem(10, 2, {0x01, 0x03, 0x02, 0x00}), id);
}

TEST(BitmapLib, StoresOnlyItemsInUse) {
  CSingleColorBitmapLib lib;
  lib.AddItem(8, 1, {0x11});
  lib.AddItem(10, 2, {0x01, 0x02, 0x03, 0x00});
  lib.AddItem(8, 1, {0x33});
  lib.ResetUseCounts();
  lib.AddUse(1);
  lib.AddUse(3);
  lib.AddUse(3);
  lib.AddUse(9);  // not in the library: ignored

  CArchive out;
  lib.Serialize(out);
  const Bytes bytes = out.Bytes();
  EXPECT_EQ(bytes[0], 1);  // u32 version
  EXPECT_EQ(bytes[4] | (bytes[5] << 8), 2);  // list count

  CSingleColorBitmapLib loaded;
  loaded.AddItem(8, 1, {0x77});  // replaced by the stored list
  CArchive in(bytes, FindArchiveClass);
  loaded.Serialize(in);
  EXPECT_EQ(in.Remaining(), 0u);
  ASSERT_EQ(loaded.m_Items.size(), 2u);
  EXPECT_EQ(loaded.m_Items[0]->m_Id, 1);
  EXPECT_EQ(loaded.m_Items[0]->m_UseCount, 1);
  EXPECT_EQ(loaded.m_Items[1]->m_Id, 3);
  EXPECT_EQ(loaded.m_Items[1]->m_UseCount, 2);
  EXPECT_EQ(loaded.FindItem(2), nullptr);

  CArchive again;
  loaded.Serialize(again);
  EXPECT_EQ(again.Bytes(), bytes);
  // The unused item stays in memory; only the file leaves it out.
  EXPECT_NE(lib.FindItem(2), nullptr);
}

TEST(BitmapLib, InconsistentStoredItemsAreArchiveErrors) {
  const auto storeItem = [](int32_t a_Width, int32_t a_Height, Bytes a_Pixels) {
    CSingleColorBitmapLibItem item;
    item.m_Id = 1;
    item.m_UseCount = 1;
    item.m_Width = a_Width;
    item.m_Height = a_Height;
    item.m_Pixels = std::move(a_Pixels);
    CArchive ar;
    ar.WriteU32(1);
    ar.WriteCount(1);
    ar.WriteObject(&item);
    return ar.Bytes();
  };
  for (const Bytes& bytes : {storeItem(10, 2, {1, 2, 3}), storeItem(-8, -1, {1}),
                             storeItem(0x7FFFFFFF, 0x7FFFFFFF, {1, 2})}) {
    CSingleColorBitmapLib lib;
    CArchive in(bytes, FindArchiveClass);
    EXPECT_THROW(lib.Serialize(in), ArchiveError);
  }
  CSingleColorBitmapLib lib;
  const Bytes empty = storeItem(0, 0, {});
  CArchive in(empty, FindArchiveClass);
  EXPECT_NO_THROW(lib.Serialize(in));
}
