// Font glyphs in the image are shared by the font that draws them: face names mapped to one
// font, and characters several faces borrow from one fallback font, give one glyph object.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/base/Utf16.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/fonts/FontRasterizer.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"

using namespace kd820;

namespace {

const std::string kShippedConfig = std::string(KD820_TEST_BINARY_DIR) + "/lib/fonts/fonts.conf";

struct Text {
  std::string m_Text;
  std::string m_Face;
  int32_t m_SizeIndex;
};

// Both names of each mapped face, Chinese characters in the Latin faces, two sizes.
const std::vector<Text> kTexts = {
    {"泵 Pump 状态", "宋体", 3},         {"泵 Pump 状态", "SimSun", 3},
    {"Pump 状态 OK", "Microsoft Sans Serif", 3}, {"Pump 状态 OK", "MS Sans Serif", 3},
    {"状态 1", "Microsoft Sans Serif", 4}, {"状态 1", "宋体", 4},
    {"液位 Level", "MS Sans Serif", 3},   {"液位", "SimSun", 3},
};

uint32_t U32(const std::vector<uint8_t>& a_Image, std::size_t a_At) {
  return static_cast<uint32_t>(a_Image.at(a_At) | a_Image.at(a_At + 1) << 8 | a_Image.at(a_At + 2) << 16 |
                               static_cast<uint32_t>(a_Image.at(a_At + 3)) << 24);
}

// A glyph object's bytes: kind, width, height, pixel rows.
std::vector<uint8_t> GlyphObject(const std::vector<uint8_t>& a_Image, uint32_t a_At) {
  const std::size_t width = a_Image.at(a_At + 1);
  const std::size_t height = a_Image.at(a_At + 2);
  const std::size_t length = 3 + (width + 7) / 8 * height;
  return {a_Image.begin() + a_At, a_Image.begin() + a_At + static_cast<std::ptrdiff_t>(length)};
}

class GlyphSharing : public ::testing::Test {
 protected:
  void SetUp() override {
    // The context's libraries and font configuration from the build tree.
    const char* home = std::getenv("KD820_HOME");
    const std::string previous = home ? home : "";
    setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
    m_Context = std::make_unique<CEditorContext>();
    (void)m_Context->Rasterizer();
    (void)m_Context->GetHardwareLibrary();
    (void)m_Context->GetPlcLibrary();
    if (home) {
      setenv("KD820_HOME", previous.c_str(), 1);
    } else {
      unsetenv("KD820_HOME");
    }
    m_Compiler = std::make_unique<CImageCompiler>(*m_Context);
    auto frame = std::make_unique<CHMIFrame>();
    frame->SetNumber(1);
    for (const Text& text : kTexts) {
      auto element = std::make_unique<CStaticText>();
      element->SetText(text.m_Text);
      element->SetFace(text.m_Face);
      element->SetSizeIndex(text.m_SizeIndex);
      element->UpdateSize(*m_Context);
      frame->AddElement(std::move(element));
    }
    m_Project.AddFrame(frame);
    ASSERT_TRUE(m_Compiler->Compile(m_Project).empty());
  }

  // The glyph offsets of a text, found through its text object.
  std::vector<uint32_t> GlyphsOf(const Text& a_Text) {
    const int size = FontPixelSize(a_Text.m_SizeIndex);
    const uint32_t text = m_Compiler->Resources().ObjectCache().Find(
        "FONT_TEXT_" + a_Text.m_Text + "_" + a_Text.m_Face + "_" + std::to_string(size));
    EXPECT_NE(text, 0u) << a_Text.m_Text << " " << a_Text.m_Face;
    if (text == 0) return {};
    const auto& image = m_Compiler->Image();
    EXPECT_EQ(image.at(text), 6);
    const uint32_t sequence = U32(image, text + 1);
    std::vector<uint32_t> glyphs;
    for (std::size_t i = 0; i < image.at(sequence); ++i) glyphs.push_back(U32(image, sequence + 1 + 4 * i));
    return glyphs;
  }

  std::unique_ptr<CEditorContext> m_Context;
  CKV410Project m_Project;
  std::unique_ptr<CImageCompiler> m_Compiler;
};

}  // namespace

TEST_F(GlyphSharing, NoTwoGlyphObjectsHaveTheSameBytes) {
  std::map<uint32_t, std::vector<uint8_t>> objects;
  for (const Text& text : kTexts)
    for (const uint32_t at : GlyphsOf(text)) {
      ASSERT_NE(at, 0u);
      ASSERT_EQ(m_Compiler->Image().at(at), 7);
      objects.emplace(at, GlyphObject(m_Compiler->Image(), at));
    }
  std::set<std::vector<uint8_t>> distinct;
  for (const auto& [at, bytes] : objects) EXPECT_TRUE(distinct.insert(bytes).second) << "glyph at " << at;
  // 泵 P u m p 状 态 O K 1 液 位 L e v l and the space, at 24 pixels in two fonts at most, and
  // the characters of "状态 1" at 32.
  EXPECT_LT(objects.size(), 40u);
}

TEST_F(GlyphSharing, BothNamesOfAFaceGiveTheSameGlyphs) {
  EXPECT_EQ(GlyphsOf(kTexts[0]), GlyphsOf(kTexts[1]));
  EXPECT_EQ(GlyphsOf(kTexts[2]), GlyphsOf(kTexts[3]));
}

TEST_F(GlyphSharing, ChineseInALatinFaceSharesTheChineseFontsGlyphs) {
  // "状态" in Microsoft Sans Serif at 32 comes from the Chinese font 宋体 maps to.
  const auto latin = GlyphsOf(kTexts[4]);
  const auto chinese = GlyphsOf(kTexts[5]);
  ASSERT_EQ(latin.size(), 4u);
  ASSERT_EQ(chinese.size(), 4u);
  EXPECT_EQ(latin[0], chinese[0]);
  EXPECT_EQ(latin[1], chinese[1]);
  EXPECT_NE(latin[3], chinese[3]);  // the digit is the Latin face's own
}

TEST_F(GlyphSharing, TextsShowTheGlyphsOfTheirOwnFace) {
  // Each character as a rasterizer of its own draws it, one character at a time.
  FontRasterizer fresh(kShippedConfig);
  for (const Text& text : kTexts) {
    const auto glyphs = GlyphsOf(text);
    std::size_t pos = 0;
    for (const uint32_t at : glyphs) {
      const char32_t character = NextCodePoint(text.m_Text, pos);
      Glyph glyph;
      ASSERT_TRUE(fresh.RenderFontGlyph(character, text.m_Face, FontPixelSize(text.m_SizeIndex), glyph));
      std::vector<uint8_t> expected = {7, static_cast<uint8_t>(glyph.m_Width), static_cast<uint8_t>(glyph.m_Height)};
      expected.insert(expected.end(), glyph.m_Pixels.begin(), glyph.m_Pixels.end());
      EXPECT_EQ(GlyphObject(m_Compiler->Image(), at), expected)
          << text.m_Face << " U+" << std::hex << static_cast<uint32_t>(character);
    }
  }
}

TEST(GlyphSource, FallbackIsTheFontFontconfigMatchesForTheCharacter) {
  FontRasterizer raster(kShippedConfig);
  FcConfig* config = FcInitLoadConfig();
  ASSERT_TRUE(FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(kShippedConfig.c_str()), FcTrue));
  ASSERT_TRUE(FcConfigBuildFonts(config));
  for (const std::string face : {"Microsoft Sans Serif", "DejaVu Serif"}) {
    for (const char32_t character : {U'状', U'态', U'液', U'€', U'Ω', U'ア', U'한'}) {
      FcPattern* pattern = FcPatternCreate();
      FcCharSet* wanted = FcCharSetCreate();
      FcCharSetAddChar(wanted, character);
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
      FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
      FcPatternAddDouble(pattern, FC_PIXEL_SIZE, 24);
      FcPatternAddBool(pattern, FC_ANTIALIAS, FcFalse);
      FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
      FcCharSetDestroy(wanted);
      FcConfigSubstitute(config, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult result = FcResultNoMatch;
      FcPattern* match = FcFontMatch(config, pattern, &result);
      FcPatternDestroy(pattern);
      ASSERT_NE(match, nullptr);
      FcCharSet* has = nullptr;
      FcChar8* family = nullptr;
      FcPatternGetCharSet(match, FC_CHARSET, 0, &has);
      FcPatternGetString(match, FC_FAMILY, 0, &family);
      // The character drawn in the face is drawn from that family whenever it has it.
      const auto source = raster.GlyphSourceOf(character, face, 24);
      ASSERT_TRUE(source);
      const auto expected = raster.FindFace(reinterpret_cast<const char*>(family), 24);
      ASSERT_TRUE(expected);
      if (has && FcCharSetHasChar(has, character)) {
        EXPECT_EQ(source->m_File, expected->m_File) << face << " U+" << std::hex << static_cast<uint32_t>(character);
      }
      FcPatternDestroy(match);
    }
  }
  FcConfigDestroy(config);
}

TEST(GlyphSource, RenderingDoesNotDependOnWhatWasDrawnBefore) {
  // Sizes change back and forth on the same faces; a rasterizer drawing only one character
  // draws the same pixels.
  FontRasterizer mixed(kShippedConfig);
  const std::vector<std::string> faces = {"Microsoft Sans Serif", "宋体"};
  {
    for (const int size : {24, 32, 16, 24}) {
      for (const std::string& face : faces) {
        for (const char32_t character : {U'A', U'g', U'状', U'8'}) {
          Glyph drawn;
          ASSERT_TRUE(mixed.RenderFontGlyph(character, face, size, drawn));
          FontRasterizer alone(kShippedConfig);
          Glyph expected;
          ASSERT_TRUE(alone.RenderFontGlyph(character, face, size, expected));
          EXPECT_EQ(drawn.m_Width, expected.m_Width);
          EXPECT_EQ(drawn.m_Pixels, expected.m_Pixels) << face << " " << size;
        }
      }
    }
  }
}
