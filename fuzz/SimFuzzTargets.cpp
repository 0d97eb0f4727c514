#include "fuzz/SimFuzzTargets.h"

#include <cstring>
#include <vector>

#include "simulator/PlcPorts.h"
#include "simulator/Simulator.h"

namespace {

class QuietHost : public sim::IHost {
 public:
  sim::HostTime Now() override { return {2026, 1, 1, 8, 0, 0}; }
  void Beep(int, int) override {}
};

constexpr std::size_t kActionSize = 4;
constexpr int kMaxTicks = 3000;  // keeps one input within a fuzzer's time limit

// The image's length when the input ends in a plausible one (at least a header's worth, with
// the rest before the 4-byte length made of whole actions); 0 when the whole input is an image.
std::size_t ImageLength(const uint8_t* a_Data, std::size_t a_Size) {
  if (a_Size < 4) return 0;
  uint32_t length = 0;
  std::memcpy(&length, a_Data + a_Size - 4, 4);
  if (length < 24 || length > a_Size - 4 || (a_Size - 4 - length) % kActionSize != 0) return 0;
  return length;
}

void RunActions(sim::Simulator& a_Simulator, const uint8_t* a_Actions, std::size_t a_Count) {
  int ticks = 0;
  for (std::size_t i = 0; i < a_Count; ++i) {
    const uint8_t* act = a_Actions + kActionSize * i;
    const uint8_t a = act[1], b = act[2], c = act[3];
    switch (act[0] % 8) {
      case 0:  // a key goes down (0 = all up)
        a_Simulator.SetKeyMask(a % 33 == 0 ? 0 : sim::PanelModel::KeyBit(a % 33));
        break;
      case 1:  // keys held together
        a_Simulator.SetKeyMask(uint32_t{a} | uint32_t{b} << 8 | uint32_t{c} << 16);
        break;
      case 2:
        a_Simulator.TurnEncoder(static_cast<int8_t>(a) % 8);
        break;
      case 3:  // ticks, a cycle after each
        for (int n = a % 32; n > 0 && ticks < kMaxTicks; --n, ++ticks) {
          a_Simulator.Tick();
          a_Simulator.Cycle();
        }
        break;
      case 4: {  // the PLC changes a word: port, station 0..3, holding-register type 4
        const uint8_t value[2] = {b, c};
        a_Simulator.Ports()->Plc().WriteBytes(sim::SimulatedPlc::Key(a & 1, (a >> 1) & 3, 4),
                                              static_cast<uint64_t>(a >> 3) * 2, value, 2);
        break;
      }
      case 5:  // an internal word, word 246's failure bits among them
        a_Simulator.WriteWord(a, static_cast<uint16_t>(b | c << 8));
        break;
      case 6:
        a_Simulator.JumpTo(a | b << 8);
        break;
      default:
        break;
    }
    a_Simulator.Cycle();
  }
}

}  // namespace

int FuzzSimImage(const uint8_t* a_Data, std::size_t a_Size) {
  QuietHost host;
  sim::LaunchOptions options;
  options.imagePath.clear();  // no retentive file
  sim::Simulator simulator(options, host);
  const std::size_t imageLength = ImageLength(a_Data, a_Size);
  const std::size_t length = imageLength != 0 ? imageLength : a_Size;
  simulator.StartWithImage(std::vector<uint8_t>(a_Data, a_Data + length));
  simulator.Cycle();
  if (imageLength != 0) {
    RunActions(simulator, a_Data + imageLength, (a_Size - 4 - imageLength) / kActionSize);
    return 0;
  }
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
