// Speed of storing and loading project files and of the JSON form: a large project of cloned
// sample frames, and one frame of many elements (loading must stay linear in them).
#include <benchmark/benchmark.h>

#include "demo/SampleProject.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/ProjectJson.h"
#include "editor/screens/LedGE.h"

using namespace kd820;

namespace {

std::unique_ptr<CKV410Project> LargeProject(int a_Frames) {
  CEditorContext context;
  auto project = MakeSampleProject(context);
  const CHMIFrame* source = project->FindFrame(1);
  for (int n = 3; n < a_Frames + 3; ++n) {
    auto frame = source->Clone();
    frame->SetNumber(static_cast<uint16_t>(n));
    project->AddFrame(frame);
  }
  return project;
}

std::vector<uint8_t> Store(CKV410Project& a_Project) {
  CArchive ar;
  ar.WriteObject(&a_Project);
  return ar.Bytes();
}

void BM_StoreProject(benchmark::State& a_State) {
  auto project = LargeProject(static_cast<int>(a_State.range(0)));
  std::size_t bytes = 0;
  for (auto _ : a_State) {
    auto out = Store(*project);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  a_State.SetBytesProcessed(static_cast<int64_t>(a_State.iterations() * bytes));
  a_State.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_LoadProject(benchmark::State& a_State) {
  auto project = LargeProject(static_cast<int>(a_State.range(0)));
  const auto bytes = Store(*project);
  for (auto _ : a_State) {
    auto loaded = CKV410Doc::LoadFromBytes(bytes);
    benchmark::DoNotOptimize(loaded.get());
  }
  a_State.SetBytesProcessed(static_cast<int64_t>(a_State.iterations() * bytes.size()));
}

// One frame of a_Count LEDs, numbered as new elements are.
std::unique_ptr<CKV410Project> CrowdedFrame(int a_Count) {
  auto project = std::make_unique<CKV410Project>();
  auto frame = std::make_unique<CHMIFrame>(1);
  CHMIFrame::ElementList leds;
  for (int i = 0; i < a_Count; ++i) leds.push_back(std::make_unique<CLedGE>());
  frame->AddElementsKeepingNumbers(std::move(leds));
  project->AddFrame(frame);
  return project;
}

// Loading one frame: time per element must not grow with the element count.
void BM_LoadCrowdedFrame(benchmark::State& a_State) {
  auto project = CrowdedFrame(static_cast<int>(a_State.range(0)));
  const auto bytes = Store(*project);
  for (auto _ : a_State) {
    auto loaded = CKV410Doc::LoadFromBytes(bytes);
    benchmark::DoNotOptimize(loaded.get());
  }
  a_State.SetItemsProcessed(a_State.iterations() * a_State.range(0));
}

void BM_ImportCrowdedFrame(benchmark::State& a_State) {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  auto project = CrowdedFrame(static_cast<int>(a_State.range(0)));
  CEditorContext context;
  const std::string json = ExportProjectJson(*project, context);
  for (auto _ : a_State) {
    auto imported = ImportProjectJson(json, context);
    benchmark::DoNotOptimize(imported.m_Project.get());
  }
  a_State.SetItemsProcessed(a_State.iterations() * a_State.range(0));
}

// Export and import of the same large project: the import reads what the export writes, with
// the editor's checks, and measures no text.
void BM_ExportJson(benchmark::State& a_State) {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  auto project = LargeProject(static_cast<int>(a_State.range(0)));
  CEditorContext context;
  for (auto _ : a_State) benchmark::DoNotOptimize(ExportProjectJson(*project, context).size());
}

void BM_ImportJson(benchmark::State& a_State) {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  auto project = LargeProject(static_cast<int>(a_State.range(0)));
  CEditorContext context;
  const std::string json = ExportProjectJson(*project, context);
  for (auto _ : a_State) {
    auto imported = ImportProjectJson(json, context);
    benchmark::DoNotOptimize(imported.m_Project.get());
  }
}

// A JSON text of about a_Bytes characters in one of three shapes: 0 one static text holding
// nearly all of it, 1 frames full of elements (both import), 2 one object of very many keys (the states of a
// dynamic text, refused after the 256th only once the whole text is read).
std::string LargeText(int a_Shape, std::size_t a_Bytes) {
  std::string json = R"({"format": "KD820 project", "formatVersion": 1, "hardwareModel": 1,)"
                     R"( "languages": [{"languageId": 2052, "font": "宋体"}], "frames": [)";
  if (a_Shape == 0) {
    json += R"({"number": 1, "elements": [{"type": "staticText", "text": ")";
    json.append(a_Bytes, 'a');
    json += R"("}]})";
  } else if (a_Shape == 1) {
    // Long names keep a 10 MB text within the 32768 elements an import takes.
    const std::string element =
        R"({"type": "led", "left": 8, "top": 8, "width": 16, "height": 16, "name": ")" +
        std::string(250, 'n') + R"(", "register": {"port": "internal", "type": "LW.B", "number": "12.3"}})";
    for (int frame = 1; json.size() < a_Bytes; ++frame) {
      json += (frame > 1 ? ", " : "") + std::string(R"({"number": )") + std::to_string(frame) + R"(, "elements": [)";
      for (int i = 0; i < 300 && json.size() < a_Bytes; ++i) json += (i ? ", " : "") + element;
      json += "]}";
    }
  } else {
    json += R"({"number": 1, "elements": [{"type": "dynamicText", "states": {)";
    for (int key = 1; json.size() < a_Bytes; ++key) {
      json += (key > 1 ? ", \"" : "\"") + std::to_string(key) + R"(": {"text": "s"})";
    }
    json += "}}]}";
  }
  return json + "]}";
}

// Import time is linear in the text: a 10 MB text of any shape imports in well under 2 s.
void BM_ImportLargeText(benchmark::State& a_State) {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  const std::string json = LargeText(static_cast<int>(a_State.range(0)),
                                     static_cast<std::size_t>(a_State.range(1)));
  CEditorContext context;
  for (auto _ : a_State) {
    auto imported = ImportProjectJson(json, context);
    benchmark::DoNotOptimize(imported.m_Project.get());
  }
  a_State.SetBytesProcessed(static_cast<int64_t>(a_State.iterations() * json.size()));
}

}  // namespace

BENCHMARK(BM_StoreProject)->Arg(10)->Arg(300);
BENCHMARK(BM_LoadProject)->Arg(10)->Arg(300);
BENCHMARK(BM_LoadCrowdedFrame)->RangeMultiplier(4)->Range(2048, 32768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCrowdedFrame)->RangeMultiplier(4)->Range(2048, 32768)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportJson)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportJson)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLargeText)
    ->ArgsProduct({{0, 1, 2}, {1 << 20, 10 << 20}})
    ->ArgNames({"shape", "bytes"})
    ->Unit(benchmark::kMillisecond);
