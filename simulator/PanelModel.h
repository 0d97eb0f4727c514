#pragma once
// The simulated panel models: skin picture, LCD placement and the hit areas of the keys, and
// the command line that selects and adjusts one of them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/Geometry.h"

namespace sim {

inline constexpr int kKeyCount = 32;
// The key area that stands for the encoder knob acts as key 7.
inline constexpr int kEncoderKnobArea = 32;
inline constexpr int kEncoderKnobKey = 7;

struct KeyArea {
  int16_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const KeyArea&) const = default;
  bool IsKey() const { return x != 0 || y != 0 || width != 0 || height != 0; }
  // Edges included.
  bool Hit(int a_X, int a_Y) const {
    return IsKey() && a_X >= x && a_X <= x + width && a_Y >= y && a_Y <= y + height;
  }
};

struct PanelModel {
  enum Flags : uint32_t { kEncoder = 1u << 0, kShapedWindow = 1u << 1 };
  uint32_t flags = 0;
  std::string skinName;
  int16_t lcdX = 0;       // left edge of the LCD picture in the skin
  int16_t lcdY = 0;       // bottom edge, counted from the bottom of the skin
  int16_t lcdWidth = 0;   // LCD pixels
  int16_t lcdHeight = 0;
  std::array<KeyArea, kKeyCount> keys{};

  bool HasEncoder() const { return (flags & kEncoder) != 0; }
  // Key number 1..32 whose area holds the window point (tested in order 1..32), 0 for none.
  int KeyAt(int a_X, int a_Y) const;
  // The key-mask bit a press in area a_Area sets (area 32 is key 7).
  static uint32_t KeyBit(int a_Area);
};

// The built-in table: 32 records, 1 "pv5521" and 2 "pv5521e"; the others are empty.
const PanelModel& BuiltinPanelModel(int a_Number);
// Key layouts 0 (19 keys) and 1 (encoder panel); nullptr for others.
const std::array<KeyArea, kKeyCount>* BuiltinKeyLayout(int a_Layout);

// What the command line chose.
struct LaunchOptions {
  int modelNumber = 1;
  std::string imagePath = "hmi.bin";
  PanelModel model = BuiltinPanelModel(1);
  std::vector<std::string> warnings;  // arguments that were out of range and fell back
};

// Reads the simulator's positional arguments: model, image path, layout code, skin file, as
// the editor passes them (no shell, no quoting rules). Missing arguments keep the defaults.
LaunchOptions ParseLaunchArguments(const std::vector<std::string>& a_Arguments);

}  // namespace sim
