// Bars and trends at the edges of their ranges: a range without width draws nothing and never
// divides by zero.
#include "simulator/GraphicElements.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#include "simulator/InternalMemory.h"
#include "simulator/LcdCanvas.h"
#include "simulator/PanelContext.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SamplingGroups.h"
#include "simulator/SystemSettings.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {

constexpr uint32_t kSigned16 = 0;
constexpr uint32_t kFloat = 3u << 8;

uint32_t FloatBits(float a_Value) { return std::bit_cast<uint32_t>(a_Value); }

std::optional<int> Scale(int16_t a_Value, int32_t a_Max, int32_t a_Min, int a_Length) {
  uint8_t bytes[2];
  std::memcpy(bytes, &a_Value, 2);
  return ScaleToLength(bytes, 2, kSigned16, static_cast<uint32_t>(a_Max),
                       static_cast<uint32_t>(a_Min), a_Length);
}

std::optional<int> ScaleFloat(float a_Value, float a_Max, float a_Min, int a_Length) {
  uint8_t bytes[4];
  std::memcpy(bytes, &a_Value, 4);
  return ScaleToLength(bytes, 4, kFloat, FloatBits(a_Max), FloatBits(a_Min), a_Length);
}

TEST(ScaleToLengthTest, RangesWithoutWidthScaleNothing) {
  EXPECT_EQ(Scale(100, 100, 0, 50), 49);  // the 49-pixel bar
  EXPECT_EQ(Scale(0, 100, 0, 50), 0);
  EXPECT_EQ(Scale(5, 6, 5, 10), 0);  // a range one wide
  EXPECT_EQ(Scale(6, 6, 5, 10), 9);
  EXPECT_EQ(Scale(7, 7, 7, 10), std::nullopt);  // minimum = maximum
  EXPECT_EQ(Scale(7, 6, 7, 10), std::nullopt);  // maximum below minimum
  EXPECT_EQ(Scale(7, 100, 0, 0), std::nullopt);  // no length to fill
  // The widest integer range does not overflow.
  EXPECT_EQ(Scale(0, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), 100),
            50);

  EXPECT_EQ(ScaleFloat(1.0f, 1.0f, 0.0f, 50), 49);
  EXPECT_EQ(ScaleFloat(0.5f, 0.5f, 0.5f, 50), std::nullopt);
  EXPECT_EQ(ScaleFloat(0.5f, std::numeric_limits<float>::quiet_NaN(), 0.0f, 50), std::nullopt);
  EXPECT_EQ(ScaleFloat(std::numeric_limits<float>::infinity(), 1.0f, 0.0f, 50), std::nullopt);
  EXPECT_EQ(ScaleFloat(0.5f, std::numeric_limits<float>::infinity(), 0.0f, 50), std::nullopt);
  // The widest finite range still scales.
  EXPECT_EQ(ScaleFloat(0.0f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                       50),
            25);
}

// A bar and a trend over internal word 10, the trend fed by sampling group 0.
class GraphicElementsTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 20;
  static constexpr int kHeight = 10;

  GraphicElementsTest() : m_Context{m_Image, m_Settings, m_Timers, m_Memory, m_Access} {
    m_Access.memory = &m_Memory;
    m_Context.sampling = &m_Sampling;
  }

  static void Put(std::vector<uint8_t>& a_Bytes, uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) a_Bytes.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
  }
  static void Patch(std::vector<uint8_t>& a_Bytes, std::size_t a_At, uint32_t a_Value) {
    for (int i = 0; i < 4; ++i) a_Bytes[a_At + i] = static_cast<uint8_t>(a_Value >> (8 * i));
  }
  // Internal word 10, as many words long as a value of the type takes.
  static void Register(std::vector<uint8_t>& a_Bytes, uint32_t a_Options) {
    RegisterDescriptor word;
    word.address = 10;
    word.count = static_cast<uint16_t>(ValueSize(a_Options) / 2);
    const auto descriptor = word.Bytes();
    a_Bytes.insert(a_Bytes.end(), descriptor.begin(), descriptor.end());
  }
  // An element prefix of kWidth x kHeight with that register and no resources.
  static void Prefix(std::vector<uint8_t>& a_Bytes, uint32_t a_Options) {
    const uint8_t prefix[8] = {0, 0, kWidth - 1, kHeight - 1, 1, 0, 0, 0};
    a_Bytes.insert(a_Bytes.end(), prefix, prefix + 8);
    Register(a_Bytes, a_Options);
    Put(a_Bytes, 0);  // no resource tables
  }

  // Builds the image: the sampling group, a bar and a trend with the given limits.
  void Build(uint32_t a_Options, uint32_t a_Max, uint32_t a_Min) {
    std::vector<uint8_t> b(24 + 28, 0);
    std::memcpy(b.data(), "Marvok", 6);
    Patch(b, 20, 24);
    Patch(b, 24 + 4 * 4, static_cast<uint32_t>(b.size()));  // sampling groups
    Put(b, 1);
    Put(b, static_cast<uint32_t>(b.size() + 4));
    Put(b, 0);
    Register(b, a_Options);
    Put(b, 1);   // period
    Put(b, 10);  // capacity
    m_Bar = static_cast<uint32_t>(b.size());
    Prefix(b, a_Options);
    Put(b, a_Options);
    Put(b, a_Max);
    Put(b, a_Min);
    m_Trend = static_cast<uint32_t>(b.size());
    Prefix(b, a_Options);
    Put(b, 0);
    Put(b, 5u << 16);  // group 0, five points
    Put(b, 1u << 16);  // one curve
    Put(b, static_cast<uint32_t>(b.size() + 4));
    Put(b, a_Options);
    Put(b, a_Max);
    Put(b, a_Min);
    ASSERT_TRUE(m_Image.Adopt(b));
    m_Sampling.Load(m_Image, m_Access, m_Timers.Counter());
  }

  // Dark pixels of the bar and of the trend after five samples of rising values.
  std::pair<int, int> Draw(const std::vector<uint32_t>& a_Values) {
    BarElement bar(m_Context);
    TrendElement trend(m_Context);
    EXPECT_TRUE(bar.Attach(m_Bar));
    EXPECT_TRUE(trend.Attach(m_Trend));
    for (uint32_t value : a_Values) {
      m_Memory.WriteDoubleWord(10, value);
      m_Timers.Advance();
      m_Sampling.Service(m_Timers.Counter());
    }
    bar.Refresh();
    trend.Refresh();
    LcdCanvas barCanvas(kWidth, kHeight), trendCanvas(kWidth, kHeight);
    bar.PaintWithMark(barCanvas);
    trend.PaintWithMark(trendCanvas);
    return {Dark(barCanvas), Dark(trendCanvas)};
  }

  static int Dark(const LcdCanvas& a_Canvas) {
    int dark = 0;
    for (int y = 0; y < a_Canvas.Height(); ++y)
      for (int x = 0; x < a_Canvas.Width(); ++x) dark += a_Canvas.GetPixel(x, y) ? 1 : 0;
    return dark;
  }

  static constexpr int kBorder = 2 * kWidth + 2 * (kHeight - 2);

  SimImage m_Image;
  SystemSettings m_Settings;
  TickTimers m_Timers;
  InternalMemory m_Memory;
  AccessContext m_Access;
  SamplingGroups m_Sampling;
  PanelContext m_Context;
  uint32_t m_Bar = 0;
  uint32_t m_Trend = 0;
};

TEST_F(GraphicElementsTest, ARangeWithWidthDrawsBarAndCurve) {
  Build(kSigned16, 100, 0);
  const auto [bar, trend] = Draw({0, 25, 50, 75, 50});
  // Value 50 fills the lower 5 of the 10 rows; above it the border's top row and sides.
  EXPECT_EQ(bar, kWidth + 4 * 2 + 5 * kWidth);
  EXPECT_GT(trend, 0);
}

TEST_F(GraphicElementsTest, MinimumEqualToMaximumDrawsOnlyTheBorder) {
  Build(kSigned16, 50, 50);
  const auto [bar, trend] = Draw({50, 50, 50, 50, 50});
  EXPECT_EQ(bar, kBorder);
  EXPECT_EQ(trend, 0);

  Build(kFloat, FloatBits(2.5f), FloatBits(2.5f));
  const auto [floatBar, floatTrend] =
      Draw({FloatBits(2.5f), FloatBits(2.5f), FloatBits(2.5f), FloatBits(2.5f), FloatBits(2.5f)});
  EXPECT_EQ(floatBar, kBorder);
  EXPECT_EQ(floatTrend, 0);
}

}  // namespace
}  // namespace sim
