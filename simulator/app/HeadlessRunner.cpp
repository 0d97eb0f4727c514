#include "simulator/app/HeadlessRunner.h"

#include <memory>

#include "simulator/RetentiveStore.h"
#include "simulator/Simulator.h"
#include "simulator/app/HeadlessHost.h"
#include "simulator/app/PanelScript.h"

namespace sim {
namespace {

std::unique_ptr<RetentiveStorage> RetentiveFor(const LaunchOptions& a_Launch, bool a_Keep) {
  if (a_Keep) return RetentiveStore::FileBesideImage(a_Launch.imagePath);
  return std::make_unique<RetentiveMemoryStorage>();
}

}  // namespace

int RunHeadless(const LaunchOptions& a_Launch, bool a_KeepRetentive, std::istream& a_Script,
                std::ostream& a_Out, std::ostream& a_Err) {
  HeadlessHost host;
  Simulator simulator(a_Launch, host, RetentiveFor(a_Launch, a_KeepRetentive));
  simulator.Start();
  simulator.Cycle();
  PanelScript script(simulator, a_Script, a_Out, a_Err, [&host] { return host.BeepCount(); });
  for (;;) {
    const PanelScript::Step step = script.Next();
    if (step.kind == PanelScript::Step::kEnd) return step.exitCode;
    for (long i = 0; i < step.count; ++i) {
      if (step.kind == PanelScript::Step::kTicks) {
        host.AdvanceTick();
        simulator.Tick();
      }
      simulator.Cycle();
    }
  }
}

}  // namespace sim
