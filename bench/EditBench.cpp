// Speed of the editing commands on a crowded frame (64 elements, the most a frame keeps on
// the panel): select all, align, equal spacing and undo; and copy/paste of a whole frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "editor/project/DocumentEditor.h"
#include "platform/UserInteraction.h"

using namespace kd820;

namespace {

constexpr int kElements = 64;

class SilentInteraction : public IUserInteraction {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, const std::string&, Choices, Answer a_Default) override { return a_Default; }
};

// A document of one frame of kElements small elements, and its editor.
struct CrowdedDocument {
  CrowdedDocument() {
    setenv("KD820_LOCK_DIR", m_Dir.c_str(), 1);
    std::filesystem::create_directories(m_Dir);
    auto project = std::make_unique<CKV410Project>();
    project->SetHardwareModelId(1);
    project->SetPath((m_Dir / "bench.FPJ").string());
    m_Doc.AdoptProject(std::move(project));
    m_Editor.Reset();
    for (int i = 0; i < kElements; ++i) {
      m_Editor.Insert({kTypeLed, 1, 2 + i % 5, {}}, i == kElements - 1 ? 189 : i * 2, (i * 7) % 50);
    }
  }
  ~CrowdedDocument() {
    m_Doc.CloseProject();
    std::filesystem::remove_all(m_Dir);
  }
  std::filesystem::path m_Dir = std::filesystem::temp_directory_path() / ("kd820-bench-" + std::to_string(getpid()));
  CProblemList m_Problems;
  SilentInteraction m_Ui;
  CKV410Doc m_Doc{m_Ui, m_Problems};
  CMemoryClipboard m_Clipboard;
  CDocumentEditor m_Editor{m_Doc, m_Clipboard};
};

void BM_AlignSpaceUndo(benchmark::State& a_State) {
  CrowdedDocument doc;
  const std::size_t steps = doc.m_Editor.History().UndoCount();
  for (auto _ : a_State) {
    doc.m_Editor.SelectAll();
    if (!doc.m_Editor.Align(AlignMode::Top)) a_State.SkipWithError("alignment did nothing");
    if (!doc.m_Editor.SpaceEqually(true)) a_State.SkipWithError("equal spacing did nothing");
    while (doc.m_Editor.History().UndoCount() > steps) doc.m_Editor.Undo();
  }
  if (doc.m_Editor.History().UndoCount() != steps || doc.m_Editor.CurrentFrame()->GetElements().size() != kElements) {
    a_State.SkipWithError("the commands did not run as measured");
  }
}

void BM_CopyPasteFrame(benchmark::State& a_State) {
  CrowdedDocument doc;
  for (auto _ : a_State) {
    doc.m_Editor.SelectAll();
    doc.m_Editor.Copy();
    doc.m_Editor.Paste();
    a_State.PauseTiming();
    doc.m_Editor.Undo();  // keeps the frame at its size
    if (doc.m_Editor.CurrentFrame()->GetElements().size() != kElements) a_State.SkipWithError("paste failed");
    a_State.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_AlignSpaceUndo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyPasteFrame)->Unit(benchmark::kMicrosecond);
