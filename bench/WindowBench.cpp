// The editor window's responsiveness (Qt's offscreen platform): opening the demo project, and
// on a frame with the most elements the simulator keeps (64), drawing the canvas at 2x and one
// undo with its redraw. Each should stay under a display frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/ProjectJson.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/MainWindow.h"

using namespace kd820;

namespace {

class QuietInteraction : public IUserInteraction {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, const std::string&, Choices, Answer a_Default) override {
    return a_Default;
  }
};

QApplication& App() {
  static int argc = 1;
  static char name[] = "kd820_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  static QApplication app(argc, argv);
  return app;
}

std::filesystem::path WorkDir() {
  const auto dir = std::filesystem::temp_directory_path() / ("kd820-window-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "locks");
  setenv("KD820_LOCK_DIR", (dir / "locks").c_str(), 1);
  return dir;
}

// A project file from JSON text, in its own directory under the work directory.
std::string WriteProject(const std::string& a_Json, const std::string& a_Name) {
  CEditorContext context;
  ProjectJsonImport imported = ImportProjectJson(a_Json, context);
  if (!imported) throw std::runtime_error(imported.m_Error);
  const auto dir = WorkDir() / a_Name;
  std::filesystem::create_directories(dir);
  const std::string path = (dir / (a_Name + ".FPJ")).string();
  const auto bytes = CKV410Doc::ProjectFileBytes(*imported.m_Project);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string DemoProject() {
  std::ifstream in(std::string(KD820_BENCH_SOURCE_DIR) + "/demo/pump-panel.json");
  std::stringstream text;
  text << in.rdbuf();
  return WriteProject(text.str(), "PumpPanel");
}

// One frame of 64 elements: registers, static texts and bars in an 8 x 8 grid.
std::string CrowdedProject() {
  std::string elements;
  for (int i = 0; i < 64; ++i) {
    const int x = (i % 8) * 24, y = (i / 8) * 8;
    const std::string at = "\"left\": " + std::to_string(x) + ", \"top\": " + std::to_string(y) +
                           ", \"width\": 22, \"height\": 8";
    if (!elements.empty()) elements += ",";
    switch (i % 3) {
      case 0:
        elements += "{\"type\": \"register\", " + at +
                    ", \"sizeIndex\": 0, \"register\": {\"type\": \"LW\", \"number\": \"" +
                    std::to_string(i) + "\"}, \"digits\": 4}";
        break;
      case 1:
        elements += "{\"type\": \"staticText\", " + at +
                    ", \"sizeIndex\": 0, \"builtinFont\": 1, \"text\": \"T" + std::to_string(i) + "\"}";
        break;
      default:
        elements += "{\"type\": \"bar\", " + at +
                    ", \"drawDirection\": \"right\", \"register\": {\"type\": \"LW\", \"number\": \"" +
                    std::to_string(i) + "\"}, \"upper\": 100, \"lower\": 0}";
    }
  }
  return WriteProject(
      "{\"format\": \"KD820 project\", \"formatVersion\": 1, \"hardwareModel\": 1, "
      "\"languages\": [{\"languageId\": 1033, \"font\": \"Microsoft Sans Serif\"}], "
      "\"frames\": [{\"number\": 1, \"elements\": [" + elements + "]}], "
      "\"settings\": {\"startFrame\": 1}}",
      "Crowded");
}

void BM_WindowOpenProject(benchmark::State& a_State) {
  App();
  const std::string path = DemoProject();
  QuietInteraction ui;
  for (auto _ : a_State) {
    CMainWindow window(ui);
    window.OpenProject(path);
    benchmark::DoNotOptimize(window.Canvas().grab());
    window.CloseProject();
  }
}

void BM_CanvasDrawCrowdedFrame(benchmark::State& a_State) {
  App();
  const std::string path = CrowdedProject();
  QuietInteraction ui;
  CMainWindow window(ui);
  window.OpenProject(path);
  window.Canvas().SetZoom(2);
  for (auto _ : a_State) {
    window.Canvas().Refresh();  // the frame is compiled and drawn again
    benchmark::DoNotOptimize(window.Canvas().grab());
  }
  // The panel's pixels that were drawn: a blank canvas would make the figure meaningless.
  const CPanelPixels& pixels = window.Canvas().Pixels();
  int dark = 0;
  for (int y = 0; y < pixels.m_Height; ++y)
    for (int x = 0; x < pixels.m_Width; ++x) dark += pixels.Dark(x, y) ? 1 : 0;
  if (dark == 0) a_State.SkipWithError("the crowded frame drew nothing");
  a_State.counters["dark_pixels"] = dark;
  window.CloseProject();
}

void BM_CanvasUndoOnCrowdedFrame(benchmark::State& a_State) {
  App();
  const std::string path = CrowdedProject();
  QuietInteraction ui;
  CMainWindow window(ui);
  window.OpenProject(path);
  window.Canvas().SetZoom(2);
  window.Editor().SelectAll();
  for (auto _ : a_State) {
    a_State.PauseTiming();
    window.Editor().MoveByPixel(1, 0);
    benchmark::DoNotOptimize(window.Canvas().grab());
    a_State.ResumeTiming();
    window.Editor().Undo();
    benchmark::DoNotOptimize(window.Canvas().grab());
  }
  window.CloseProject();
}

}  // namespace

BENCHMARK(BM_WindowOpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasDrawCrowdedFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasUndoOnCrowdedFrame)->Unit(benchmark::kMillisecond);
