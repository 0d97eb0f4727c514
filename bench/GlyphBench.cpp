// Compile time of a text-heavy project against the cost of rendering its distinct glyphs.
//
// BM_CompileTextProject compiles the project as one command-line compile does: a fresh
// context per run (its libraries and the font configuration loaded outside the timing), so
// faces are fitted, fallback fonts found and every glyph rendered within the timing.
//
// BM_RenderGlyphFloor is the floor: the distinct glyphs the image holds (one per font file,
// face index, em and character), rendered directly with FreeType. Every font file is opened
// once outside the timing; per run, FT_Set_Pixel_Sizes is called once per face and em and
// FT_Load_Char once per glyph, with FT_LOAD_RENDER and the load flags the image's glyphs are
// drawn with (FT_LOAD_TARGET_MONO; with FT_LOAD_FORCE_AUTOHINT for faces without hinting
// instructions). BM_RenderGlyphFloorMonoOnly renders the same set with FT_LOAD_TARGET_MONO
// alone, the cheaper rendering the image does not use, for comparison.
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "editor/base/Utf16.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"

using namespace kd820;

namespace {

constexpr int kFrames = 200;
constexpr int kTextsPerFrame = 64;
const char* const kFaces[] = {"宋体", "SimSun", "Microsoft Sans Serif", "MS Sans Serif"};
const char* const kWords[] = {"Pump", "Valve", "Level", "Flow", "Motor", "Alarm", "Speed", "Temp"};

// A deterministic mix: a Latin word, a number and a few Chinese characters from a pool of
// 1500 ideographs, in every face (so the Latin faces borrow the ideographs from a fallback
// font) and in sizes 12, 16, 24 and 32 drawn from the faces.
std::string TextOf(uint32_t& a_Seed) {
  const auto next = [&] {
    a_Seed = a_Seed * 1103515245u + 12345u;
    return a_Seed >> 8;
  };
  std::string text = kWords[next() % 8];
  text += " " + std::to_string(next() % 100) + " ";
  const int ideographs = 2 + static_cast<int>(next() % 4);
  for (int i = 0; i < ideographs; ++i) AppendUtf8(text, static_cast<char32_t>(0x4E00 + 7 * (next() % 1500)));
  return text;
}

void SetHome() { setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1); }

std::unique_ptr<CKV410Project> TextProject(CEditorContext& a_Context) {
  auto project = std::make_unique<CKV410Project>();
  uint32_t seed = 1;
  for (int n = 1; n <= kFrames; ++n) {
    auto frame = std::make_unique<CHMIFrame>();
    frame->SetNumber(static_cast<uint16_t>(n));
    for (int i = 0; i < kTextsPerFrame; ++i) {
      auto text = std::make_unique<CStaticText>();
      text->SetText(TextOf(seed));
      text->SetFace(kFaces[(n + i) % 4]);
      text->SetSizeIndex(1 + (n * 7 + i) % 4);
      text->UpdateSize(a_Context);
      frame->AddElement(std::move(text));
    }
    project->AddFrame(frame);
  }
  return project;
}

void BM_CompileTextProject(benchmark::State& a_State) {
  SetHome();
  CEditorContext setup;
  auto project = TextProject(setup);
  std::size_t imageBytes = 0;
  std::size_t objects = 0;
  for (auto _ : a_State) {
    a_State.PauseTiming();
    {
      CEditorContext context;
      (void)context.Rasterizer();
      (void)context.GetHardwareLibrary();
      (void)context.GetPlcLibrary();
      CImageCompiler compiler(context);
      a_State.ResumeTiming();
      compiler.Compile(*project);
      benchmark::DoNotOptimize(compiler.Image().data());
      imageBytes = compiler.Image().size();
      objects = compiler.Resources().ObjectCache().Size();
      a_State.PauseTiming();
    }
    a_State.ResumeTiming();
  }
  a_State.counters["image_bytes"] = static_cast<double>(imageBytes);
  a_State.counters["objects"] = static_cast<double>(objects);
}

void RenderGlyphFloor(benchmark::State& a_State, bool a_SameFlags) {
  SetHome();
  CEditorContext context;
  auto project = TextProject(context);
  // The distinct glyphs: by (file, face index, em) the characters drawn from it.
  using Source = std::tuple<std::string, int32_t, int32_t, int32_t>;
  std::map<Source, std::set<char32_t>> glyphs;
  std::set<std::tuple<std::string, int32_t, char32_t>> byFaceName;
  for (const auto& frame : project->GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      const auto& text = static_cast<const CStaticText&>(*element);
      const int size = FontPixelSize(text.GetSizeIndex());
      std::size_t pos = 0;
      while (pos < text.GetText().size()) {
        const char32_t cp = NextCodePoint(text.GetText(), pos);
        const auto source = context.Rasterizer().GlyphSourceOf(cp, text.GetFace(), size);
        if (!source) continue;
        glyphs[{std::string(source->m_File), source->m_Index, source->m_Em, source->m_LoadFlags}].insert(cp);
        byFaceName.insert({text.GetFace(), size, cp});
      }
    }
  }
  FT_Library library = nullptr;
  FT_Init_FreeType(&library);
  std::map<std::pair<std::string, int32_t>, FT_Face> faces;
  std::size_t count = 0;
  for (const auto& [source, characters] : glyphs) {
    const auto key = std::make_pair(std::get<0>(source), std::get<1>(source));
    if (!faces.count(key)) {
      FT_Face face = nullptr;
      FT_New_Face(library, key.first.c_str(), key.second, &face);
      faces[key] = face;
    }
    count += characters.size();
  }
  for (auto _ : a_State) {
    for (const auto& [source, characters] : glyphs) {
      FT_Face face = faces[{std::get<0>(source), std::get<1>(source)}];
      if (!face) continue;
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::get<2>(source)));
      const FT_Int32 flags = a_SameFlags ? std::get<3>(source) : FT_LOAD_TARGET_MONO;
      for (const char32_t cp : characters) {
        FT_Load_Char(face, cp, FT_LOAD_RENDER | flags);
        benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
      }
    }
  }
  for (auto& [key, face] : faces)
    if (face) FT_Done_Face(face);
  FT_Done_FreeType(library);
  a_State.counters["glyphs"] = static_cast<double>(count);
  a_State.counters["glyphs_by_face_name"] = static_cast<double>(byFaceName.size());
}

void BM_RenderGlyphFloor(benchmark::State& a_State) { RenderGlyphFloor(a_State, true); }
void BM_RenderGlyphFloorMonoOnly(benchmark::State& a_State) { RenderGlyphFloor(a_State, false); }

}  // namespace

BENCHMARK(BM_CompileTextProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderGlyphFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderGlyphFloorMonoOnly)->Unit(benchmark::kMillisecond);
