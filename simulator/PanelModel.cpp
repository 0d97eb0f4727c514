#include "simulator/PanelModel.h"

#include <charconv>

namespace sim {
namespace {

using Layout = std::array<KeyArea, kKeyCount>;

// Keys 1..7 run along the bottom of both panels.
constexpr KeyArea kBottomRow[7] = {{64, 300, 92, 44},  {168, 300, 68, 44}, {236, 300, 78, 44},
                                   {314, 300, 78, 44}, {392, 300, 68, 44}, {486, 300, 86, 44},
                                   {580, 300, 82, 44}};

Layout MakeLayout0() {
  Layout keys{};
  for (int i = 0; i < 7; ++i) keys[i] = kBottomRow[i];
  // Keys 8..19: a keypad of 40 x 40 squares.
  constexpr int16_t pad[12][2] = {{603, 226}, {652, 226}, {554, 79},  {603, 79},
                                  {652, 79},  {554, 128}, {603, 128}, {652, 128},
                                  {554, 177}, {603, 177}, {652, 177}, {554, 226}};
  for (int i = 0; i < 12; ++i) keys[7 + i] = {pad[i][0], pad[i][1], 40, 40};
  return keys;
}

Layout MakeLayout1() {
  Layout keys{};
  for (int i = 0; i < 7; ++i) keys[i] = kBottomRow[i];
  keys[7] = {642, 240, 50, 30};
  keys[8] = {642, 78, 50, 30};
  keys[kEncoderKnobArea - 1] = {572, 128, 100, 100};
  return keys;
}

struct Placement {
  int16_t x, y, width, height;
};
constexpr Placement kPlacements[] = {{93, 138, 192, 64}};

void ApplyPlacement(PanelModel& a_Model, const Placement& a_Placement) {
  a_Model.lcdX = a_Placement.x;
  a_Model.lcdY = a_Placement.y;
  a_Model.lcdWidth = a_Placement.width;
  a_Model.lcdHeight = a_Placement.height;
}

std::array<PanelModel, 32> MakeTable() {
  std::array<PanelModel, 32> table{};
  table[1].flags = PanelModel::kShapedWindow;
  table[1].skinName = "pv5521.bmp";
  ApplyPlacement(table[1], kPlacements[0]);
  table[1].keys = MakeLayout0();
  table[2].flags = PanelModel::kShapedWindow | PanelModel::kEncoder;
  table[2].skinName = "pv5521e.bmp";
  ApplyPlacement(table[2], kPlacements[0]);
  table[2].keys = MakeLayout1();
  return table;
}

const std::array<PanelModel, 32>& Table() {
  static const std::array<PanelModel, 32> table = MakeTable();
  return table;
}

// The integer at the start of a_Text, as the panel's parser reads it (leading blanks and an
// optional sign, digits up to the first other character; 0 when there are none).
long LeadingInteger(const std::string& a_Text) {
  std::size_t i = a_Text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  if (a_Text[i] == '+') ++i;
  long value = 0;
  std::from_chars(a_Text.data() + i, a_Text.data() + a_Text.size(), value);
  return value;
}

}  // namespace

int PanelModel::KeyAt(int a_X, int a_Y) const {
  for (int i = 0; i < kKeyCount; ++i)
    if (keys[i].Hit(a_X, a_Y)) return i + 1;
  return 0;
}

uint32_t PanelModel::KeyBit(int a_Area) {
  if (a_Area < 1 || a_Area > kKeyCount) return 0;
  if (a_Area == kEncoderKnobArea) a_Area = kEncoderKnobKey;
  return 1u << (a_Area - 1);
}

const PanelModel& BuiltinPanelModel(int a_Number) {
  return Table()[static_cast<std::size_t>(a_Number) & 31];
}

const std::array<KeyArea, kKeyCount>* BuiltinKeyLayout(int a_Layout) {
  static const Layout layouts[2] = {MakeLayout0(), MakeLayout1()};
  return a_Layout == 0 || a_Layout == 1 ? &layouts[a_Layout] : nullptr;
}

LaunchOptions ParseLaunchArguments(const std::vector<std::string>& a_Arguments) {
  LaunchOptions options;
  if (a_Arguments.empty()) return options;
  long model = LeadingInteger(a_Arguments[0]) & 0x1F;
  options.modelNumber = static_cast<int>(std::min(std::max(model, 1L), 31L));
  options.model = BuiltinPanelModel(options.modelNumber);
  if (a_Arguments.size() < 2) return options;
  options.imagePath = a_Arguments[1].substr(0, 1023);
  if (a_Arguments.size() < 3) return options;

  long code = LeadingInteger(a_Arguments[2]);
  long layout = code & 0xF;
  long placement = (code >> 4) & 0xF;
  if (layout > 1) {
    options.warnings.push_back("layout " + std::to_string(layout) + " unknown, using layout 0");
    layout = 0;
  }
  if (placement != 0) {
    options.warnings.push_back("LCD placement " + std::to_string(placement) +
                               " unknown, using placement 0");
    placement = 0;
  }
  if (layout == 1) options.model.flags |= PanelModel::kEncoder;
  options.model.flags |= PanelModel::kShapedWindow;
  options.model.keys = *BuiltinKeyLayout(static_cast<int>(layout));
  ApplyPlacement(options.model, kPlacements[placement]);
  if (a_Arguments.size() >= 4) options.model.skinName = a_Arguments[3].substr(0, a_Arguments[3].find(' '));
  return options;
}

}  // namespace sim
