// Speed of the editor window at 2x on Qt's offscreen platform: opening the demo project (and
// drawing its first frame), drawing a frame of 64 elements of every kind (the most a frame
// keeps on the panel), and one undo on that frame with its redraw. Each should stay under
// 16 ms, one frame of a 60 Hz screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/ImageFormat.h"
#include "editor/project/ProjectJson.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/MainWindow.h"
#include "platform/UserInteraction.h"

using namespace kd820;

namespace {

constexpr int kElements = 64;

class SilentInteraction : public IUserInteraction {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, const std::string&, Choices, Answer a_Default) override { return a_Default; }
};

std::filesystem::path BenchDir() {
  static const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kd820-window-bench-" + std::to_string(getpid()));
  return dir;
}

// The demo panel as a project file.
std::string DemoProject() {
  const std::filesystem::path path = BenchDir() / "PumpPanel" / "PumpPanel.FPJ";
  if (std::filesystem::exists(path)) return path.string();
  std::ifstream in(std::string(KD820_BENCH_SOURCE_DIR) + "/demo/pump-panel.json", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  CEditorContext context;
  ProjectJsonImport imported = ImportProjectJson(text.str(), context);
  if (!imported) return {};
  std::filesystem::create_directories(path.parent_path());
  const std::vector<uint8_t> bytes = CKV410Doc::ProjectFileBytes(*imported.m_Project);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// A window with the demo project open and a frame of kElements elements of every kind shown.
struct CCrowdedWindow {
  CCrowdedWindow() {
    m_Window.resize(980, 520);
    m_Window.show();
    if (!m_Window.OpenProject(DemoProject())) return;
    CDocumentEditor& editor = m_Window.Editor();
    const uint16_t number = m_Window.Doc().GetProject()->NextFreeFrameNumber();
    if (!editor.NewFrame(number, "crowded")) return;
    const int32_t kinds[] = {kTypeLed, kTypeFunckey, kTypeStaticText, kTypeDynamicText,
                             kTypeRegister, kTypeBar, kTypeTrend, kTypeAscii};
    for (int i = 0; i < kElements; ++i) {
      std::optional<CInsertTool> tool = editor.ArmInsert(kinds[i % 8]);
      if (tool) editor.Insert(*tool, (i * 23) % 160, (i * 11) % 48);
    }
    m_Ready = editor.CurrentFrame()->GetElements().size() == kElements;
  }
  // Draws the canvas as the screen would get it.
  void Draw() {
    m_Window.Canvas().Refresh();
    benchmark::DoNotOptimize(m_Window.Canvas().grab());
  }
  SilentInteraction m_Ui;
  CMainWindow m_Window{m_Ui, (BenchDir() / "recent").string()};
  bool m_Ready = false;
};

void BM_OpenDemoProjectAndDrawIt(benchmark::State& a_State) {
  SilentInteraction ui;
  CMainWindow window(ui, (BenchDir() / "recent").string());
  window.resize(980, 520);
  window.show();
  const std::string path = DemoProject();
  for (auto _ : a_State) {
    if (!window.OpenProject(path)) a_State.SkipWithError("the demo project does not open");
    benchmark::DoNotOptimize(window.Canvas().grab());
  }
}
BENCHMARK(BM_OpenDemoProjectAndDrawIt)->Unit(benchmark::kMillisecond);

void BM_DrawCrowdedFrameAt2x(benchmark::State& a_State) {
  CCrowdedWindow crowded;
  if (!crowded.m_Ready || crowded.m_Window.Canvas().Zoom() != 2) a_State.SkipWithError("no crowded frame at 2x");
  for (auto _ : a_State) crowded.Draw();
}
BENCHMARK(BM_DrawCrowdedFrameAt2x)->Unit(benchmark::kMillisecond);

void BM_UndoOnCrowdedFrame(benchmark::State& a_State) {
  CCrowdedWindow crowded;
  if (!crowded.m_Ready) a_State.SkipWithError("no crowded frame");
  CDocumentEditor& editor = crowded.m_Window.Editor();
  for (auto _ : a_State) {
    a_State.PauseTiming();
    editor.SelectAll();
    editor.MoveByPixel(1, 0);
    crowded.Draw();
    a_State.ResumeTiming();
    // The undo with the redraw it causes.
    if (!editor.Undo()) a_State.SkipWithError("nothing to undo");
    crowded.Draw();
  }
}
BENCHMARK(BM_UndoOnCrowdedFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Offscreen unless a platform was chosen; the shipped data of the build tree.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (std::getenv("KD820_HOME") == nullptr) setenv("KD820_HOME", KD820_BENCH_BINARY_DIR, 1);
  setenv("KD820_LOCK_DIR", (BenchDir() / "locks").c_str(), 1);
  std::filesystem::create_directories(BenchDir());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(BenchDir());
  return 0;
}
