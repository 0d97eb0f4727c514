// Operating-system font glyphs: face lookup, point-size fitting and monochrome rendering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "editor/fonts/FontRasterizer.h"
#include "editor/fonts/Glyph.h"
#include "editor/devices/EditorContext.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;

namespace {

const std::string kSans = "Microsoft Sans Serif";
const std::string kSong = "宋体";
const std::string kShippedConfig = std::string(KD820_TEST_BINARY_DIR) + "/lib/fonts/fonts.conf";

// The problems a rasterizer reports, in order.
using DiagnosticLog = test::DiagnosticCapture;

// What the shared rasterizer reports.
DiagnosticLog& SharedLog() {
  static DiagnosticLog s_Log;
  return s_Log;
}

// One rasterizer over the build tree's copy of the shipped configuration for the whole suite,
// so faces are opened and sizes fitted once.
FontRasterizer& Raster() {
  static FontRasterizer s_Raster(kShippedConfig, SharedLog());
  return s_Raster;
}

bool Ink(const Glyph& a_Glyph, int a_X, int a_Y) {
  const int stride = (a_Glyph.m_Width + 7) / 8;
  return (a_Glyph.m_Pixels[static_cast<std::size_t>(a_Y * stride + a_X / 8)] >> (a_X % 8)) & 1;
}

int InkCount(const Glyph& a_Glyph) {
  int count = 0;
  for (int y = 0; y < a_Glyph.m_Height; ++y)
    for (int x = 0; x < a_Glyph.m_Width; ++x) count += Ink(a_Glyph, x, y);
  return count;
}

// Ink columns of one row, left to right.
std::vector<int> InkColumns(const Glyph& a_Glyph, int a_Y) {
  std::vector<int> columns;
  for (int x = 0; x < a_Glyph.m_Width; ++x)
    if (Ink(a_Glyph, x, a_Y)) columns.push_back(x);
  return columns;
}

// Rows holding ink, top to bottom.
std::vector<int> InkRows(const Glyph& a_Glyph) {
  std::vector<int> rows;
  for (int y = 0; y < a_Glyph.m_Height; ++y)
    if (!InkColumns(a_Glyph, y).empty()) rows.push_back(y);
  return rows;
}

Glyph Render(char32_t a_Character, const std::string& a_Face, int a_Size) {
  Glyph glyph;
  EXPECT_TRUE(Raster().RenderFontGlyph(a_Character, a_Face, a_Size, glyph))
      << "U+" << std::hex << static_cast<uint32_t>(a_Character) << std::dec << " " << a_Face << " " << a_Size;
  return glyph;
}

}  // namespace

TEST(FontRasterTest, ShippedConfigurationMapsTheFaceNames) {
  (void)Raster();
  DiagnosticLog& log = SharedLog();
  log.Clear();
  for (const std::string face : {"Microsoft Sans Serif", "MS Sans Serif"}) {
    const auto found = Raster().FindFace(face, 16);
    ASSERT_TRUE(found) << face;
    EXPECT_EQ(found->m_Family, "DejaVu Sans") << face;
    EXPECT_FALSE(found->m_Substituted) << face;
    EXPECT_NE(found->m_File.find("DejaVuSans"), std::string::npos) << found->m_File;
  }
  for (const std::string face : {"宋体", "SimSun"}) {
    const auto found = Raster().FindFace(face, 16);
    ASSERT_TRUE(found) << face;
    EXPECT_EQ(found->m_Family, "WenQuanYi Zen Hei") << face;
    EXPECT_FALSE(found->m_Substituted) << face;
  }
  EXPECT_TRUE(log.Messages().empty()) << log.Messages().front();
}

TEST(FontRasterTest, UnknownFaceFallsBackAndIsReportedOnce) {
  DiagnosticLog log;
  FontRasterizer raster(kShippedConfig, log);
  const std::string face = "Kq Nonexistent Face";
  const auto found = raster.FindFace(face, 16);
  ASSERT_TRUE(found);
  EXPECT_TRUE(found->m_Substituted);
  EXPECT_FALSE(found->m_File.empty());
  EXPECT_NE(found->m_Family, face);
  ASSERT_EQ(log.Messages().size(), 1u);
  EXPECT_NE(log.Messages()[0].find(face), std::string::npos) << log.Messages()[0];
  EXPECT_NE(log.Messages()[0].find(found->m_Family), std::string::npos) << log.Messages()[0];

  // Same face again, at another size and through rendering: no second report, and the
  // fallback still draws.
  EXPECT_TRUE(raster.FindFace(face, 24));
  Glyph glyph;
  EXPECT_TRUE(raster.RenderFontGlyph(U'A', face, 16, glyph));
  EXPECT_GT(InkCount(glyph), 0);
  EXPECT_EQ(log.Messages().size(), 1u);

  // A different unknown face is reported on its own.
  EXPECT_TRUE(raster.FindFace("Kq Other Missing Face", 16));
  EXPECT_EQ(log.Messages().size(), 2u);
}

TEST(FontRasterTest, MissingApplicationConfigurationIsReported) {
  DiagnosticLog log;
  FontRasterizer raster("/nonexistent/kd820/fonts.conf", log);
  ASSERT_EQ(log.Messages().size(), 1u);
  EXPECT_NE(log.Messages()[0].find("/nonexistent/kd820/fonts.conf"), std::string::npos);
  // The system configuration still finds something to draw with.
  EXPECT_GT(raster.FitPointSize("DejaVu Sans", 16), 0);
}

TEST(FontRasterTest, GlyphHeightIsAlwaysTheRequestedSize) {
  // Characters reaching above the ascent or below the descent are clipped, not grown into.
  const std::vector<char32_t> latin = {U'A', U'g', U'|', U'Ǻ', U'ʝ', U'Ẫ', U' ', U'.'};
  const std::vector<char32_t> cjk = {U'中', U'字', U'A', U'g'};
  for (const int size : {12, 16, 24, 32}) {
    for (const auto& [face, chars] : {std::pair{kSans, latin}, std::pair{kSong, cjk}}) {
      for (const char32_t ch : chars) {
        const Glyph glyph = Render(ch, face, size);
        EXPECT_EQ(glyph.m_Height, size) << face << " U+" << std::hex << static_cast<uint32_t>(ch);
        EXPECT_GT(glyph.m_Width, 0);
        EXPECT_EQ(glyph.m_Pixels.size(), static_cast<std::size_t>((glyph.m_Width + 7) / 8 * size));
      }
    }
  }
}

TEST(FontRasterTest, GlyphWidthIsTheAdvance) {
  for (const int size : {12, 16, 24, 32}) {
    const Glyph w = Render(U'W', kSans, size);
    const Glyph i = Render(U'i', kSans, size);
    EXPECT_EQ(w.m_Width, Raster().TextExtentWidth("W", kSans, size));
    EXPECT_EQ(i.m_Width, Raster().TextExtentWidth("i", kSans, size));
    EXPECT_GT(w.m_Width, i.m_Width) << "proportional face, size " << size;
    EXPECT_EQ(Raster().TextExtentWidth("WiW", kSans, size), 2 * w.m_Width + i.m_Width);

    const Glyph zhong = Render(U'中', kSong, size);
    EXPECT_EQ(Raster().TextExtentWidth("中文", kSong, size), zhong.m_Width + Render(U'文', kSong, size).m_Width);
  }
  EXPECT_EQ(Raster().TextExtentWidth("", kSans, 16), 0);
  // The space has an advance and no ink.
  const Glyph space = Render(U' ', kSans, 16);
  EXPECT_GT(space.m_Width, 0);
  EXPECT_EQ(InkCount(space), 0);
}

TEST(FontRasterTest, LetterAHasInkInsideTheLayout) {
  for (const int size : {12, 16, 24, 32}) {
    const Glyph a = Render(U'A', kSans, size);
    EXPECT_GT(InkCount(a), size) << size;
    // Bits beyond the width in each row's last byte stay clear.
    const int stride = (a.m_Width + 7) / 8;
    const int spare = stride * 8 - a.m_Width;
    if (spare > 0) {
      const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - spare));
      for (int y = 0; y < a.m_Height; ++y)
        EXPECT_EQ(a.m_Pixels[static_cast<std::size_t>(y * stride + stride - 1)] & mask, 0) << "row " << y;
    }
    // "A" sits on the baseline and is not cut off: it starts near the top and leaves room
    // below for descenders.
    const std::vector<int> rows = InkRows(a);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), 0);
    EXPECT_LT(rows.back(), size - 1) << size;
    EXPECT_GT(rows.back() - rows.front() + 1, size / 2) << size;
    // The apex is narrower than the feet.
    EXPECT_LT(InkColumns(a, rows.front()).back() - InkColumns(a, rows.front()).front(),
              InkColumns(a, rows.back()).back() - InkColumns(a, rows.back()).front());
  }
}

TEST(FontRasterTest, GlyphsShareTheBaseline) {
  for (const int size : {16, 24, 32}) {
    const std::vector<int> a = InkRows(Render(U'A', kSans, size));
    const std::vector<int> x = InkRows(Render(U'x', kSans, size));
    const std::vector<int> g = InkRows(Render(U'g', kSans, size));
    const std::vector<int> dot = InkRows(Render(U'.', kSans, size));
    ASSERT_FALSE(a.empty() || x.empty() || g.empty() || dot.empty());
    EXPECT_EQ(a.back(), x.back()) << size;
    EXPECT_EQ(a.back(), dot.back()) << size;
    EXPECT_GT(x.front(), a.front() + 1) << size;  // x-height below the capitals
    EXPECT_GT(g.back(), a.back() + size / 8) << size;    // the descender below the baseline
  }
}

TEST(FontRasterTest, FitWalkGoesDownToTheFirstHeightThatFits) {
  std::vector<int> visited;
  // Height 1.5 x the em in points: starts too tall, walks down.
  const auto tall = [&](int a_Tenths) {
    visited.push_back(a_Tenths);
    return a_Tenths * 15 / 100;
  };
  EXPECT_EQ(FontRasterizer::FitWalk(16, tall), 113);  // 113 * 15 / 100 = 16, 114 gives 17
  EXPECT_EQ(visited.front(), 160);
  EXPECT_EQ(visited.back(), 113);
  EXPECT_EQ(visited.size(), 48u);
  // Stops below the size when no n hits it exactly.
  EXPECT_EQ(FontRasterizer::FitWalk(10, [](int a_Tenths) { return a_Tenths >= 80 ? 12 : 9; }), 79);
}

TEST(FontRasterTest, FitWalkGoesUpAndStepsBackAfterOvershooting) {
  // Exact hit going up.
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int a_Tenths) { return a_Tenths / 11; }), 176);
  // Jumps from below to above the size: the last n below is the result.
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int a_Tenths) { return a_Tenths >= 200 ? 18 : 14; }), 199);
  // Exactly right at the start.
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int) { return 16; }), 160);
}

TEST(FontRasterTest, FitWalkFailures) {
  // Never tall enough: gives up instead of climbing for ever.
  int calls = 0;
  EXPECT_EQ(FontRasterizer::FitWalk(16, [&](int) { return ++calls, 3; }), -1);
  EXPECT_LE(calls, FontRasterizer::kMaxFitFactor * 160);
  // Always too tall: n runs down to 0.
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int) { return 40; }), -1);
  // The face cannot be created at some n on the way.
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int a_Tenths) { return a_Tenths < 150 ? -1 : 20; }), -1);
  EXPECT_EQ(FontRasterizer::FitWalk(16, [](int) { return -1; }), -1);
  EXPECT_EQ(FontRasterizer::FitWalk(0, [](int) { return 0; }), -1);
}

TEST(FontRasterTest, BitZeroIsTheLeftmostPixel) {
  for (const int size : {16, 24, 32}) {
    // "L": the stem at the top row is the leftmost ink of the glyph; the foot reaches right.
    const Glyph l = Render(U'L', kSans, size);
    const std::vector<int> rows = InkRows(l);
    ASSERT_FALSE(rows.empty());
    const std::vector<int> top = InkColumns(l, rows.front());
    const std::vector<int> foot = InkColumns(l, rows.back());
    int leftmost = l.m_Width;
    for (const int y : rows) leftmost = std::min(leftmost, InkColumns(l, y).front());
    EXPECT_EQ(top.front(), leftmost) << size;
    EXPECT_EQ(foot.front(), leftmost) << size;
    EXPECT_GT(foot.back(), top.back() + size / 8) << size;
    // The stem is one solid run of pixels.
    EXPECT_EQ(top.back() - top.front() + 1, static_cast<int>(top.size())) << size;
    // The first pixel of the stem lands in the first byte's low bits.
    EXPECT_LT(leftmost, 8);
    EXPECT_NE(l.m_Pixels[static_cast<std::size_t>(rows.front() * ((l.m_Width + 7) / 8))] & (1u << leftmost), 0u);

    // "|": one vertical run in the middle of its advance.
    const Glyph bar = Render(U'|', kSans, size);
    const std::vector<int> barRows = InkRows(bar);
    ASSERT_FALSE(barRows.empty());
    const std::vector<int> cols = InkColumns(bar, barRows[barRows.size() / 2]);
    ASSERT_FALSE(cols.empty());
    EXPECT_EQ(cols.back() - cols.front() + 1, static_cast<int>(cols.size()));
    const int middle2 = cols.front() + cols.back();  // twice the centre of the run
    EXPECT_LE(std::abs(middle2 - bar.m_Width), 3) << size << " width " << bar.m_Width;
  }
}

TEST(FontRasterTest, ChineseCharacterInSongRendersWithInk) {
  for (const int size : {12, 16, 24, 32}) {
    const Glyph zhong = Render(U'中', kSong, size);
    EXPECT_GT(InkCount(zhong), size) << size;
    // An ideograph is about as wide as the line is high.
    EXPECT_GE(zhong.m_Width, size * 3 / 4) << size;
    EXPECT_LE(zhong.m_Width, size + 2) << size;
    // "中": a vertical stroke through the middle spans most of the height.
    const std::vector<int> rows = InkRows(zhong);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.back() - rows.front() + 1, size * 2 / 3) << size;
  }
}

TEST(FontRasterTest, CharacterMissingFromTheFaceComesFromAFontThatHasIt) {
  // Nothing installed has a glyph for U+10FFFD: the face's own missing-glyph shape is drawn.
  for (const int size : {12, 16, 24, 32}) {
    const Glyph missing = Render(U'\U0010FFFD', kSans, size);
    EXPECT_EQ(missing.m_Height, size);
    const Glyph zhong = Render(U'中', kSans, size);
    EXPECT_EQ(zhong.m_Height, size);
    EXPECT_NE(zhong.m_Pixels, missing.m_Pixels) << size;
    EXPECT_GE(zhong.m_Width, size * 3 / 4) << size;
    EXPECT_LE(zhong.m_Width, size + 2) << size;
    const std::vector<int> rows = InkRows(zhong);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.back() - rows.front() + 1, size * 2 / 3) << size;
    // The width the editor measures is the width of the glyph drawn.
    EXPECT_EQ(Raster().TextExtentWidth("中", kSans, size), zhong.m_Width);
    EXPECT_EQ(Raster().TextExtentWidth("A中", kSans, size), Render(U'A', kSans, size).m_Width + zhong.m_Width);
    // Characters the face has are still its own.
    EXPECT_EQ(Render(U'A', kSans, size).m_Width, Raster().TextExtentWidth("A", kSans, size));
  }
}

TEST(FontRasterTest, FittedSizeIsTheLargestWhoseLineFits) {
  for (const std::string& face : {kSans, kSong}) {
    for (const int size : {12, 16, 24, 32}) {
      const int tenths = Raster().FitPointSize(face, size);
      ASSERT_GT(tenths, 0) << face << " " << size;
      EXPECT_LE(Raster().LineHeightAt(face, tenths), size) << face << " " << size;
      EXPECT_GT(Raster().LineHeightAt(face, tenths + 1), size) << face << " " << size;
    }
  }
  // The cell of these faces is taller than their em, so the walk went down from 10 x size.
  EXPECT_LT(Raster().FitPointSize(kSans, 16), 160);
}

TEST(FontRasterTest, LineHeightGrowsWithThePointSize) {
  int previous = 0;
  for (int tenths = 40; tenths <= 400; ++tenths) {
    const int height = Raster().LineHeightAt(kSans, tenths);
    ASSERT_GE(height, previous) << tenths;
    previous = height;
  }
  EXPECT_GT(previous, 40);
  EXPECT_EQ(Raster().LineHeightAt(kSans, 0), -1);
}

TEST(FontRasterTest, FittedSizesAreKeptAndNeverRecomputed) {
  FontRasterizer raster(kShippedConfig, StderrProblems());
  EXPECT_EQ(raster.FitsComputed(), 0);
  const int first = raster.FitPointSize(kSans, 24);
  EXPECT_EQ(raster.FitsComputed(), 1);
  EXPECT_EQ(raster.FitPointSize(kSans, 24), first);
  Glyph glyph;
  EXPECT_TRUE(raster.RenderFontGlyph(U'x', kSans, 24, glyph));
  EXPECT_GE(raster.TextExtentWidth("abc", kSans, 24), 0);
  EXPECT_EQ(raster.FitsComputed(), 1);

  const auto table = raster.FittedSizes();
  ASSERT_EQ(table.count("Microsoft Sans Serif_24"), 1u);
  EXPECT_EQ(table.at("Microsoft Sans Serif_24"), first);

  // Another size and another face are fitted separately.
  raster.FitPointSize(kSans, 12);
  raster.FitPointSize(kSong, 24);
  EXPECT_EQ(raster.FitsComputed(), 3);
  EXPECT_EQ(raster.FittedSizes().count("宋体_24"), 1u);
}

TEST(FontRasterTest, SizeThatCannotBeFittedGivesNoGlyph) {
  FontRasterizer raster(kShippedConfig, StderrProblems());
  EXPECT_EQ(raster.FitPointSize(kSans, 0), -1);
  EXPECT_EQ(raster.FitPointSize(kSans, -3), -1);
  Glyph glyph;
  glyph.m_Width = 77;
  EXPECT_FALSE(raster.RenderFontGlyph(U'A', kSans, 0, glyph));
  EXPECT_EQ(glyph.m_Width, 77);  // left alone
  EXPECT_EQ(raster.TextExtentWidth("A", kSans, 0), -1);
  // A failed fit is remembered like any other.
  EXPECT_EQ(raster.FittedSizes().at("Microsoft Sans Serif_0"), -1);
  const int fits = raster.FitsComputed();
  EXPECT_EQ(raster.FitPointSize(kSans, 0), -1);
  EXPECT_EQ(raster.FitsComputed(), fits);
}

TEST(FontRasterTest, RenderingIsDeterministic) {
  FontRasterizer fresh(kShippedConfig, StderrProblems());
  for (const int size : {12, 16, 24, 32}) {
    for (const auto& [face, ch] : {std::pair{kSans, U'A'}, std::pair{kSans, U'g'}, std::pair{kSong, U'中'}}) {
      const Glyph once = Render(ch, face, size);
      const Glyph again = Render(ch, face, size);
      Glyph other;
      ASSERT_TRUE(fresh.RenderFontGlyph(ch, face, size, other));
      EXPECT_EQ(once.m_Width, again.m_Width);
      EXPECT_EQ(once.m_Pixels, again.m_Pixels);
      EXPECT_EQ(once.m_Width, other.m_Width);
      EXPECT_EQ(once.m_Pixels, other.m_Pixels);
    }
  }
}

TEST(FontRasterTest, LongFaceNamesAreCut) {
  // Only the first 31 characters of a face name count.
  const std::string longName = "DejaVu Sans" + std::string(20, ' ') + "ignored tail";
  DiagnosticLog log;
  FontRasterizer raster(kShippedConfig, log);
  const auto found = raster.FindFace(longName, 16);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->m_Family, "DejaVu Sans");
}

TEST(FontRasterTest, TheContextsRasterizerRenders) {
  DiagnosticLog log;  // run outside the build tree's environment, the shipped file may be elsewhere
  CEditorContext context(log);
  FontRasterizer& raster = context.Rasterizer();
  EXPECT_EQ(&raster, &context.Rasterizer());
  Glyph glyph;
  ASSERT_TRUE(raster.RenderFontGlyph(U'A', kSans, 16, glyph));
  EXPECT_EQ(glyph.m_Height, 16);
  EXPECT_GT(InkCount(glyph), 0);
}
