#include "editor/ui/window/PanelPixels.h"

#include <algorithm>
#include <memory>

#include "editor/compiler/CompileProject.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "simulator/Host.h"
#include "simulator/RetentiveStorage.h"
#include "simulator/Simulator.h"

namespace kd820 {

namespace {

// A fixed clock and a silent beeper: the picture does not depend on when it is made.
class CStillHost : public sim::IHost {
 public:
  sim::HostTime Now() override { return {2000, 1, 1, 0, 0, 0}; }
  void Beep(int, int) override {}
};

}  // namespace

bool CPanelPixels::Dark(int a_X, int a_Y) const {
  if (a_X < 0 || a_Y < 0 || a_X >= m_Width || a_Y >= m_Height) return false;
  const std::size_t index = static_cast<std::size_t>(a_Y) * static_cast<std::size_t>(Stride()) +
                            static_cast<std::size_t>(a_X / 8);
  return index < m_Bits.size() && ((m_Bits[index] >> (a_X % 8)) & 1) != 0;
}

bool CPanelRenderer::Render(const CKV410Project& a_Project, CEditorContext& a_Context, uint16_t a_Frame,
                            CPanelPixels& a_Pixels, std::string& a_Error) {
  CCompileResult result = CompileProject(a_Project, a_Context);
  if (!result.Ok()) {
    a_Error.clear();
    for (const CProblem& p : result.m_Problems.Problems()) {
      if (p.m_Severity != Severity::Error) continue;
      if (!a_Error.empty()) a_Error += "\n";
      a_Error += p.m_Text;
    }
    return false;
  }
  const CHardwareModel& model = a_Context.CurrentHardwareModel();
  const bool known = model.m_Id == a_Project.GetHardwareModelId();
  // The compile falls back to a 192 x 64 display for a model the library lacks.
  const int width = known ? model.m_ResolutionX : 192;
  const int height = known ? model.m_ResolutionY : 64;
  return RenderImage(std::move(result.m_Image), width, height, a_Frame, a_Pixels, a_Error);
}

bool CPanelRenderer::RenderImage(std::vector<uint8_t> a_Image, int a_Width, int a_Height, uint16_t a_Frame,
                                 CPanelPixels& a_Pixels, std::string& a_Error) {
  sim::LaunchOptions options;
  options.model.lcdWidth = static_cast<int16_t>(std::clamp(a_Width, 0, 32767));
  options.model.lcdHeight = static_cast<int16_t>(std::clamp(a_Height, 0, 32767));
  CStillHost host;
  sim::Simulator simulator(options, host, std::make_unique<sim::RetentiveMemoryStorage>());
  simulator.StartWithImage(std::move(a_Image));
  simulator.JumpTo(a_Frame);
  simulator.Cycle();
  if (simulator.CurrentFrame() != a_Frame) {
    a_Error = "frame " + std::to_string(a_Frame) + " is not in the compiled image";
    return false;
  }
  a_Pixels.m_Width = simulator.LcdWidth();
  a_Pixels.m_Height = simulator.LcdHeight();
  const uint8_t* bits = simulator.LcdBits();
  const std::size_t size = static_cast<std::size_t>(a_Pixels.Stride()) * static_cast<std::size_t>(a_Pixels.m_Height);
  a_Pixels.m_Bits.assign(bits, bits + (bits != nullptr ? size : 0));
  return true;
}

}  // namespace kd820
