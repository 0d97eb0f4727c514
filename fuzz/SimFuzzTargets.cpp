#include "fuzz/SimFuzzTargets.h"

#include <vector>

#include "simulator/Simulator.h"

namespace {

class QuietHost : public sim::IHost {
 public:
  sim::HostTime Now() override { return {2026, 1, 1, 8, 0, 0}; }
  void Beep(int, int) override {}
};

}  // namespace

int FuzzSimImage(const uint8_t* a_Data, std::size_t a_Size) {
  QuietHost host;
  sim::LaunchOptions options;
  options.imagePath.clear();  // no retentive file
  sim::Simulator simulator(options, host);
  simulator.StartWithImage(std::vector<uint8_t>(a_Data, a_Data + a_Size));
  simulator.Cycle();
  std::vector<uint16_t> frames = simulator.FrameNumbers();
  if (frames.size() > 64) frames.resize(64);
  for (uint16_t frame : frames) {
    simulator.JumpTo(frame);
    simulator.Tick();
    simulator.Cycle();
    // The keys with a system meaning, each pressed and released.
    for (int key : {5, 5, 4, 1, 6, 8, 6, 3, 2}) {
      simulator.SetKeyMask(sim::PanelModel::KeyBit(key));
      simulator.Cycle();
      simulator.SetKeyMask(0);
      simulator.Cycle();
    }
  }
  return 0;
}
