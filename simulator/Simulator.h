#pragma once
// The simulated panel as a whole: the loaded image, the run cycle and the LCD. Front-ends
// advance it by ticks of virtual time (one tick = 100 ms of panel time), run cycles, change the
// key mask and the encoder between cycles, and show the screen bits.
#include <cstdint>
#include <memory>
#include <vector>

#include "simulator/Host.h"
#include "simulator/PanelModel.h"
#include "simulator/RetentiveStorage.h"

namespace sim {

class AlarmScan;
class PlcPorts;

class Simulator {
 public:
  static constexpr int kTickMilliseconds = 100;

  // The retentive registers are kept in the file beside the image.
  Simulator(const LaunchOptions& a_Options, IHost& a_Host);
  // The retentive registers are kept in a_Retentive (not null).
  Simulator(const LaunchOptions& a_Options, IHost& a_Host,
            std::unique_ptr<RetentiveStorage> a_Retentive);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Start-up: loads the image and builds the run-time tables; posts the start frame.
  void Start();
  // The same with an image already in memory (tests, fuzzing) instead of the image file.
  void StartWithImage(std::vector<uint8_t> a_Image);
  // One timer tick: 100 ms of panel time.
  void Tick();
  // One run cycle (key scan, services, frame switches, refresh, paint); never sleeps.
  void Cycle();

  // The key mask: bit k-1 set = key k is down. A key that goes down counts as down for the
  // next cycle's key scan even when it is up again before it.
  void SetKeyMask(uint32_t a_Mask);
  uint32_t KeyMask() const;
  // Mouse-wheel notches (+1 / -1 each) for the encoder.
  void TurnEncoder(int a_Steps);

  const PanelModel& Model() const;
  // The LCD: width x height pixels, rows of (width + 7) / 8 bytes, bit 0 = leftmost, 1 = dark.
  int LcdWidth() const;
  int LcdHeight() const;
  const uint8_t* LcdBits() const;
  bool BacklightOn() const;
  // True once after every paint step that drew something or a backlight change.
  bool TakeRepaintRequest();

  // Frames: every number of the image's frame table, the frame shown, and a plain jump
  // posted as a function key would.
  std::vector<uint16_t> FrameNumbers() const;
  uint16_t CurrentFrame() const;
  void JumpTo(int a_Frame);

  // The PLC side, once started: its ports and the simulated PLC behind them.
  PlcPorts* Ports();
  // The alarm scan, once started.
  const AlarmScan* Alarms() const;

  // Internal words 0..255 (for scripts and tests). Reading or writing beyond 255 is refused.
  bool ReadWord(unsigned a_Address, uint16_t& a_Value) const;
  bool WriteWord(unsigned a_Address, uint16_t a_Value);

 private:
  void Build();

  struct State;
  std::unique_ptr<State> m_State;
};

}  // namespace sim
