// The simulator at run time: panel time per wall time of the headless runner on a frame with
// 40 registers polled from the simulated PLC and a trend, and the CPU the window takes while
// the panel idles.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "editor/compiler/ImageCompiler.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/ProjectJson.h"
#include "editor/project/ProjectModels.h"
#include "simulator/Simulator.h"
#include "simulator/app/HeadlessHost.h"
#include "simulator/app/PortThreads.h"
#include "simulator/app/SdlWindow.h"

using namespace kd820;

namespace {

// A project with one frame: 40 registers of holding registers 0..39 on COM0 and a trend of
// register 0.
std::vector<uint8_t> PolledFrameImage() {
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  std::string elements;
  for (int i = 0; i < 40; ++i) {
    const int x = (i % 5) * 24, y = (i / 5) * 8;
    elements += R"({"type": "register", "left": )" + std::to_string(x) + R"(, "top": )" +
                std::to_string(y) + R"(, "width": 24, "height": 8, "sizeIndex": 0,
      "register": {"port": "COM0", "station": 1, "type": "4x", "number": ")" +
                std::to_string(i) + R"("}, "dataType": "unsigned", "digits": 4},)";
  }
  elements += R"({"type": "trend", "left": 124, "top": 0, "width": 68, "height": 64,
    "points": 60, "period": 1, "register": {"port": "COM0", "station": 1, "type": "4x",
    "number": "0"}, "upper": 100, "lower": 0})";
  const std::string json = R"({"format": "KD820 project", "formatVersion": 1, "hardwareModel": 1,
    "languages": [{"languageId": 1033, "font": "Microsoft Sans Serif"}],
    "ports": {"COM0": {"enabled": 1, "protocol": 1, "serialType": "RS485", "baudRate": 9600,
      "stationUsed": 1, "station": 1, "wordPacketMax": 64, "bitPacketMax": 512,
      "wordPackingInterval": 4, "bitPackingInterval": 16}},
    "frames": [{"number": 1, "elements": [)" +
                           elements + R"(]}], "settings": {"startFrame": 1}})";
  CEditorContext context;
  ProjectJsonImport imported = ImportProjectJson(json, context);
  if (!imported) throw std::runtime_error(imported.m_Error);
  LoadProjectModels(*imported.m_Project, context);
  CImageCompiler compiler(context);
  compiler.Compile(*imported.m_Project);
  return compiler.Image();
}

void BM_HeadlessPanelTime(benchmark::State& a_State) {
  const std::vector<uint8_t> image = PolledFrameImage();
  sim::LaunchOptions options = sim::ParseLaunchArguments({"1"});
  sim::HeadlessHost host;
  sim::Simulator simulator(options, host);
  simulator.StartWithImage(image);
  simulator.Cycle();
  int64_t ticks = 0;
  for (auto _ : a_State) {
    // One second of panel time.
    for (int i = 0; i < 10; ++i) {
      host.AdvanceTick();
      simulator.Tick();
      simulator.Cycle();
    }
    ticks += 10;
  }
  // Panel seconds per wall second: the runner's speed as a multiple of real time.
  a_State.counters["x_real_time"] =
      benchmark::Counter(static_cast<double>(ticks) / 10, benchmark::Counter::kIsRate);
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Two seconds of the window as PanSim runs it (tick timer, cycle pause, port threads) on the
// same frame, with the PLC's values standing still; the counter is the CPU share of one core.
void BM_WindowIdleCpu(benchmark::State& a_State) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const std::vector<uint8_t> image = PolledFrameImage();
  sim::LaunchOptions options = sim::ParseLaunchArguments({"1"});
  sim::SkinBitmap skin;
  std::string error;
  if (!skin.LoadSkin(options.model.skinName, error)) {
    a_State.SkipWithError(error.c_str());
    return;
  }
  double share = 0;
  for (auto _ : a_State) {
    sim::WindowHost host;
    sim::Simulator simulator(options, host);
    simulator.StartWithImage(image);
    sim::PortThreads ports(*simulator.Ports());
    sim::SkinWindow window(simulator, options.model, skin);
    if (!window.Open(error)) {
      a_State.SkipWithError(error.c_str());
      return;
    }
    window.RunCycles(20);  // the first frame and its first polls
    const double cpu = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) window.Step();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    share = (ProcessCpuSeconds() - cpu) / wall * 100;
  }
  a_State.counters["cpu_percent"] = share;
}

}  // namespace

BENCHMARK(BM_HeadlessPanelTime)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowIdleCpu)->Iterations(1)->Unit(benchmark::kSecond);
