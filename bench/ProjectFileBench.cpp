// Speed of storing and loading project files: a large project of cloned sample frames.
#include <benchmark/benchmark.h>

#include "demo/SampleProject.h"
#include "editor/project/KV410Doc.h"

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

}  // namespace

BENCHMARK(BM_StoreProject)->Arg(10)->Arg(300);
BENCHMARK(BM_LoadProject)->Arg(10)->Arg(300);
