// Compile time and image size of a large project: hundreds of frames, thousands of elements,
// several fonts and languages; the counters show how much the caches share.
#include <benchmark/benchmark.h>

#include "demo/SampleProject.h"
#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/screens/StaticText.h"

using namespace kd820;

namespace {

std::unique_ptr<CKV410Project> LargeProject(int a_Frames, CEditorContext& a_Context) {
  auto project = MakeSampleProject(a_Context);
  const CHMIFrame* source = project->FindFrame(1);
  static const char* const kFaces[] = {"宋体", "Microsoft Sans Serif", "MS Sans Serif"};
  for (int n = 3; n < a_Frames + 3; ++n) {
    auto frame = source->Clone();
    frame->SetNumber(static_cast<uint16_t>(n));
    // Some texts of their own per frame, in several faces and sizes.
    for (int i = 0; i < 4; ++i) {
      auto text = std::make_unique<CStaticText>();
      text->SetText("Pump " + std::to_string(n % 50) + " 状态 " + std::to_string(i));
      text->SetFace(kFaces[(n + i) % 3]);
      text->SetSizeIndex(1 + (n + i) % 4);
      text->UpdateSize(a_Context);
      frame->AddElement(std::move(text));
    }
    project->AddFrame(frame);
  }
  return project;
}

void BM_CompileProject(benchmark::State& a_State) {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  CEditorContext context;
  auto project = LargeProject(static_cast<int>(a_State.range(0)), context);
  std::size_t elements = 0;
  for (const auto& f : project->GetFrames()) elements += f->GetElements().size();
  CImageCompiler compiler(context);
  for (auto _ : a_State) {
    compiler.Compile(*project);
    benchmark::DoNotOptimize(compiler.Image().data());
  }
  a_State.counters["frames"] = static_cast<double>(project->GetFrames().size());
  a_State.counters["elements"] = static_cast<double>(elements);
  a_State.counters["image_bytes"] = static_cast<double>(compiler.Image().size());
  a_State.counters["shared_objects"] = static_cast<double>(compiler.Resources().ObjectCache().Size());
  a_State.counters["shared_lists"] = static_cast<double>(compiler.Resources().TextCache().Size());
  a_State.counters["cache_hits"] =
      static_cast<double>(compiler.Resources().ObjectCache().Hits() + compiler.Resources().TextCache().Hits());
  a_State.counters["bytes_saved"] =
      static_cast<double>(compiler.Resources().ObjectCache().BytesSaved() + compiler.Resources().TextCache().BytesSaved());
}

}  // namespace

BENCHMARK(BM_CompileProject)->Arg(20)->Arg(300)->Unit(benchmark::kMillisecond);
