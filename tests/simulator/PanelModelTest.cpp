#include "simulator/PanelModel.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(LaunchArgumentsTest, DefaultsWithoutArguments) {
  LaunchOptions options = ParseLaunchArguments({});
  EXPECT_EQ(options.modelNumber, 1);
  EXPECT_EQ(options.imagePath, "hmi.bin");
  EXPECT_EQ(options.model.skinName, "pv5521.bmp");
  EXPECT_EQ(options.model.lcdWidth, 192);
  EXPECT_EQ(options.model.lcdHeight, 64);
}

TEST(LaunchArgumentsTest, ModelNumberIsMaskedAndClamped) {
  EXPECT_EQ(ParseLaunchArguments({"0"}).modelNumber, 1);
  EXPECT_EQ(ParseLaunchArguments({"32"}).modelNumber, 1);
  EXPECT_EQ(ParseLaunchArguments({"63"}).modelNumber, 31);
  EXPECT_EQ(ParseLaunchArguments({"2"}).modelNumber, 2);
  EXPECT_EQ(ParseLaunchArguments({"junk"}).modelNumber, 1);
}

TEST(LaunchArgumentsTest, LayoutCodeOneGivesTheEncoderPanel) {
  LaunchOptions options = ParseLaunchArguments({"1", "/tmp/p.bin~", "1", "pv5521e.bmp"});
  EXPECT_EQ(options.imagePath, "/tmp/p.bin~");
  EXPECT_TRUE(options.model.HasEncoder());
  EXPECT_TRUE(options.model.flags & PanelModel::kShapedWindow);
  EXPECT_EQ(options.model.skinName, "pv5521e.bmp");
  // The knob area is key 7.
  EXPECT_EQ(options.model.KeyAt(600, 150), kEncoderKnobArea);
  EXPECT_EQ(PanelModel::KeyBit(kEncoderKnobArea), PanelModel::KeyBit(7));
}

TEST(LaunchArgumentsTest, LayoutZeroAndUnknownLayoutsFallBack) {
  LaunchOptions plain = ParseLaunchArguments({"2", "x.bin~", "0", "pv5521.bmp"});
  EXPECT_TRUE(plain.model.HasEncoder());  // copying layout 0 does not clear the model's flag
  LaunchOptions unknown = ParseLaunchArguments({"1", "x.bin~", "37"});  // layout 5, placement 2
  EXPECT_EQ(unknown.warnings.size(), 2u);
  EXPECT_EQ(unknown.model.keys, *BuiltinKeyLayout(0));
  EXPECT_EQ(unknown.model.lcdX, 93);
}

TEST(PanelModelTest, KeyAreasIncludeTheirEdges) {
  const PanelModel& model = BuiltinPanelModel(1);
  EXPECT_EQ(model.KeyAt(64, 300), 1);
  EXPECT_EQ(model.KeyAt(156, 344), 1);
  EXPECT_EQ(model.KeyAt(603, 226), 8);
  EXPECT_EQ(model.KeyAt(554, 79), 10);
  EXPECT_EQ(model.KeyAt(10, 10), 0);
  EXPECT_TRUE(BuiltinPanelModel(3).skinName.empty());
}

}  // namespace
}  // namespace sim
