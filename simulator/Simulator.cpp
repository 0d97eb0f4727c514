#include "simulator/Simulator.h"

#include <vector>

namespace sim {

// Start-up stand-in until the run cycle is wired in: a blank LCD of the model's size.
struct Simulator::State {
  LaunchOptions options;
  IHost& host;
  uint32_t keyMask = 0;
  std::vector<uint8_t> lcd;
  uint16_t words[256] = {};
  bool repaint = true;
  State(const LaunchOptions& a_Options, IHost& a_Host) : options(a_Options), host(a_Host) {}
};

Simulator::Simulator(const LaunchOptions& a_Options, IHost& a_Host)
    : m_State(std::make_unique<State>(a_Options, a_Host)) {
  m_State->lcd.assign(static_cast<std::size_t>((LcdWidth() + 7) / 8) * LcdHeight(), 0);
}
Simulator::~Simulator() = default;
void Simulator::Start() {}
void Simulator::Tick() {}
void Simulator::Cycle() {}
void Simulator::SetKeyMask(uint32_t a_Mask) { m_State->keyMask = a_Mask; }
uint32_t Simulator::KeyMask() const { return m_State->keyMask; }
void Simulator::TurnEncoder(int) {}
const PanelModel& Simulator::Model() const { return m_State->options.model; }
int Simulator::LcdWidth() const { return m_State->options.model.lcdWidth; }
int Simulator::LcdHeight() const { return m_State->options.model.lcdHeight; }
const uint8_t* Simulator::LcdBits() const { return m_State->lcd.data(); }
bool Simulator::BacklightOn() const { return true; }
bool Simulator::TakeRepaintRequest() {
  bool r = m_State->repaint;
  m_State->repaint = false;
  return r;
}
bool Simulator::ReadWord(unsigned a_Address, uint16_t& a_Value) const {
  if (a_Address > 255) return false;
  a_Value = m_State->words[a_Address];
  return true;
}
bool Simulator::WriteWord(unsigned a_Address, uint16_t a_Value) {
  if (a_Address > 255) return false;
  m_State->words[a_Address] = a_Value;
  return true;
}

}  // namespace sim
