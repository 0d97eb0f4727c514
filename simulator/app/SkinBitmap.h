#pragma once
// The skin: a 24-bit uncompressed BMP picture of the panel's front, the outline the window is
// shaped to, and the window picture made of the skin with the coloured, doubled LCD in it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "simulator/Geometry.h"
#include "simulator/PanelModel.h"

namespace sim {

class SkinBitmap {
 public:
  // Largest width or height accepted.
  static constexpr int kMaxSide = 4096;

  // Reads a 24-bit BMP file. On failure the bitmap stays as it was and a_Error says why.
  bool Load(const std::filesystem::path& a_Path, std::string& a_Error);
  bool LoadFromMemory(const uint8_t* a_Data, std::size_t a_Size, std::string& a_Error);
  // Looks a skin name up as <program dir>/lib/skins/<name>, then <program dir>/<name>.
  bool LoadSkin(const std::string& a_Name, std::string& a_Error);
  // The file a skin name resolves to; empty when neither place holds it.
  static std::filesystem::path FindSkin(const std::string& a_Name);

  bool Empty() const { return m_Width == 0; }
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  // Bytes per stored row: the pixel row padded to a multiple of 4.
  std::size_t RowSize() const { return m_RowSize; }
  // Stored row a_Row (0 = the first row of the file, the picture's bottom), B, G, R per pixel.
  const uint8_t* StoredRow(int a_Row) const { return m_Pixels.data() + m_RowSize * a_Row; }
  // Pixels as stored, bottom-up.
  const std::vector<uint8_t>& Pixels() const { return m_Pixels; }

  // The window outline: 2 x height points in window coordinates (y = 0 at the top). Point r
  // lies on the left edge of stored row r, point 2h-1-r on the mirrored right edge, so the
  // points run down the left side and back up the right. A row's edge is its first pixel from
  // the left (within the left half) whose three colour bytes are all below 0x80; a row without
  // one collapses to its middle and adds nothing to the shape.
  std::vector<Point> OutlinePolygon() const;
  // The shape as a top-down mask, one byte per pixel, 1 = inside the outline.
  std::vector<uint8_t> OutlineMask() const;

 private:
  int m_Width = 0;
  int m_Height = 0;
  std::size_t m_RowSize = 0;
  std::vector<uint8_t> m_Pixels;
};

// The window picture: top-down rows of R, G, B bytes, width x 3 bytes each.
struct PanelPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* Pixel(int a_X, int a_Y) const {
    return rgb.data() + (static_cast<std::size_t>(a_Y) * width + a_X) * 3;
  }
};

// LCD colours of the window picture.
struct LcdColours {
  static constexpr uint8_t kDark[3] = {32, 32, 32};
  static constexpr uint8_t kLightBacklit[3] = {84, 188, 13};
  static constexpr uint8_t kLightUnlit[3] = {64, 64, 64};
};

// The skin with the LCD in it: every LCD pixel (rows of (w + 7) / 8 bytes, bit 0 leftmost,
// 1 dark) coloured, doubled to 2 x 2 and placed at the model's LCD position (x from the left,
// the picture's bottom edge lcdY rows above the skin's bottom). Whatever falls outside the skin
// is cut off.
PanelPicture ComposePanelPicture(const SkinBitmap& a_Skin, const PanelModel& a_Model,
                                 const uint8_t* a_LcdBits, int a_LcdWidth, int a_LcdHeight,
                                 bool a_BacklightOn);

}  // namespace sim
