#include "simulator/app/SkinBitmap.h"

#include <cstring>
#include <system_error>

#include "common/LittleEndian.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

namespace sim {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

using le::U16;
using le::U32;
int32_t I32(const uint8_t* a_P) { return static_cast<int32_t>(U32(a_P)); }

bool IsDark(const uint8_t* a_Bgr) { return a_Bgr[0] < 0x80 && a_Bgr[1] < 0x80 && a_Bgr[2] < 0x80; }

}  // namespace

bool SkinBitmap::LoadFromMemory(const uint8_t* a_Data, std::size_t a_Size, std::string& a_Error) {
  if (a_Size < kFileHeaderSize + kInfoHeaderSize) {
    a_Error = "too short for a BMP file (" + std::to_string(a_Size) + " bytes)";
    return false;
  }
  if (a_Data[0] != 'B' || a_Data[1] != 'M') {
    a_Error = "not a BMP file";
    return false;
  }
  const uint8_t* info = a_Data + kFileHeaderSize;
  const uint32_t infoSize = U32(info);
  const int32_t width = I32(info + 4);
  const int32_t height = I32(info + 8);
  const uint16_t planes = U16(info + 12);
  const uint16_t bitCount = U16(info + 14);
  const uint32_t compression = U32(info + 16);
  if (infoSize < kInfoHeaderSize || infoSize > a_Size - kFileHeaderSize) {
    a_Error = "unknown BMP information header of " + std::to_string(infoSize) + " bytes";
    return false;
  }
  if (bitCount != 24) {
    a_Error = "the skin must have 24 bits per pixel, not " + std::to_string(bitCount);
    return false;
  }
  if (compression != 0) {
    a_Error = "compressed BMP files are not supported (compression " +
              std::to_string(compression) + ")";
    return false;
  }
  if (planes != 1) {
    a_Error = "BMP with " + std::to_string(planes) + " planes";
    return false;
  }
  if (height < 0) {
    a_Error = "top-down BMP files (negative height) are not supported";
    return false;
  }
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
    a_Error = "BMP size " + std::to_string(width) + " x " + std::to_string(height) +
              " outside 1.." + std::to_string(kMaxSide);
    return false;
  }
  // The pixels follow the headers; a file header that points elsewhere is taken at its word as
  // long as it does not point into the headers.
  std::size_t offset = kFileHeaderSize + infoSize;
  const uint32_t declared = U32(a_Data + 10);
  if (declared != 0 && declared != offset) {
    if (declared < offset || declared > a_Size) {
      a_Error = "BMP pixel offset " + std::to_string(declared) + " is inconsistent";
      return false;
    }
    offset = declared;
  }
  const std::size_t rowSize = ((static_cast<std::size_t>(width) * 24 + 31) / 8) & ~std::size_t{3};
  const std::size_t pixelBytes = rowSize * static_cast<std::size_t>(height);
  if (a_Size - offset < pixelBytes) {
    a_Error = "BMP file truncated: " + std::to_string(a_Size - offset) + " of " +
              std::to_string(pixelBytes) + " pixel bytes";
    return false;
  }
  m_Width = width;
  m_Height = height;
  m_RowSize = rowSize;
  m_Pixels.assign(a_Data + offset, a_Data + offset + pixelBytes);
  return true;
}

bool SkinBitmap::Load(const std::filesystem::path& a_Path, std::string& a_Error) {
  // The largest acceptable skin plus generous room for headers.
  constexpr std::size_t kMaxFile =
      std::size_t{kMaxSide} * ((kMaxSide * 24 + 31) / 8 & ~3u) + (1u << 16);
  const auto data = ReadWholeFile(a_Path.string(), a_Error, kMaxFile);
  if (!data) return false;
  std::string why;
  if (!LoadFromMemory(data->data(), data->size(), why)) {
    a_Error = a_Path.string() + ": " + why;
    return false;
  }
  return true;
}

std::filesystem::path SkinBitmap::FindSkin(const std::string& a_Name) {
  if (a_Name.empty()) return {};
  const std::filesystem::path dir = ProgramDirectory();
  std::error_code ec;
  for (const auto& candidate : {dir / "lib" / "skins" / a_Name, dir / a_Name}) {
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

bool SkinBitmap::LoadSkin(const std::string& a_Name, std::string& a_Error) {
  const std::filesystem::path path = FindSkin(a_Name);
  if (path.empty()) {
    a_Error = "skin \"" + a_Name + "\" not found in " +
              (ProgramDirectory() / "lib" / "skins").string() + " or " +
              ProgramDirectory().string();
    return false;
  }
  return Load(path, a_Error);
}

std::vector<Point> SkinBitmap::OutlinePolygon() const {
  const int h = m_Height;
  std::vector<Point> points(static_cast<std::size_t>(2 * h));
  for (int r = 0; r < h; ++r) {
    const uint8_t* row = StoredRow(r);
    const int y = h - 1 - r;  // stored rows run bottom-up
    int left = m_Width / 2;
    int right = (m_Width - 1) / 2;
    for (int x = 0; x < m_Width / 2; ++x) {
      if (IsDark(row + 3 * x)) {
        left = x;
        right = m_Width - x - 1;
        break;
      }
    }
    points[r] = {left, y};
    points[2 * h - 1 - r] = {right, y};
  }
  return points;
}

std::vector<uint8_t> SkinBitmap::OutlineMask() const {
  std::vector<uint8_t> mask(static_cast<std::size_t>(m_Width) * m_Height, 0);
  const std::vector<Point> points = OutlinePolygon();
  const int h = m_Height;
  for (int r = 0; r < h; ++r) {
    const Point left = points[r];
    const Point right = points[2 * h - 1 - r];
    if (right.x < left.x) continue;
    std::memset(mask.data() + static_cast<std::size_t>(left.y) * m_Width + left.x, 1,
                static_cast<std::size_t>(right.x - left.x + 1));
  }
  return mask;
}

PanelPicture ComposePanelPicture(const SkinBitmap& a_Skin, const PanelModel& a_Model,
                                 const uint8_t* a_LcdBits, int a_LcdWidth, int a_LcdHeight,
                                 bool a_BacklightOn) {
  PanelPicture picture;
  picture.width = a_Skin.Width();
  picture.height = a_Skin.Height();
  picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* src = a_Skin.StoredRow(picture.height - 1 - y);
    uint8_t* dst = picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  if (a_LcdBits == nullptr || a_LcdWidth <= 0 || a_LcdHeight <= 0) return picture;

  const uint8_t* light = a_BacklightOn ? LcdColours::kLightBacklit : LcdColours::kLightUnlit;
  const int stride = (a_LcdWidth + 7) / 8;
  // Top of the doubled picture in window rows.
  const int top = picture.height - a_Model.lcdY - 2 * a_LcdHeight;
  for (int ly = 0; ly < a_LcdHeight; ++ly) {
    const uint8_t* bits = a_LcdBits + static_cast<std::size_t>(ly) * stride;
    for (int dy = 0; dy < 2; ++dy) {
      const int y = top + 2 * ly + dy;
      if (y < 0 || y >= picture.height) continue;
      uint8_t* row = picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3;
      for (int lx = 0; lx < a_LcdWidth; ++lx) {
        const bool dark = (bits[lx / 8] >> (lx % 8)) & 1;
        const uint8_t* colour = dark ? LcdColours::kDark : light;
        for (int dx = 0; dx < 2; ++dx) {
          const int x = a_Model.lcdX + 2 * lx + dx;
          if (x < 0 || x >= picture.width) continue;
          std::memcpy(row + 3 * x, colour, 3);
        }
      }
    }
  }
  return picture;
}

}  // namespace sim
