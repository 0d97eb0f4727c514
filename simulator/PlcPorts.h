#pragma once
// The PLC side of the registers: a worker per communication port (ports 0 and 1; a register's
// port number selects worker port mod 2), the simulated PLC they talk to and the lock they
// share. Without a runner the workers are stepped in line with virtual time by Advance(), so a
// run is the same every time; a front-end may instead run each worker on a thread of its own
// (HandOver() stops the stepping).
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "simulator/PortWorker.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/SimulatedPlc.h"

namespace sim {

class SimImage;
class StatusLine;

class PlcPorts : public IPlcPorts {
 public:
  // One worker per port record of the image whose port number is 0 or 1.
  PlcPorts(const SimImage& a_Image, StatusLine& a_Status, bool a_SwapWords);

  bool Fetch(RegisterAccessor& a_Accessor, uint8_t* a_Bytes, ReadMode a_Mode) override;
  void Request(RegisterAccessor& a_Accessor, RequestMode a_Mode) override;
  bool Store(RegisterAccessor& a_Accessor, const uint8_t* a_Bytes, std::size_t a_Length) override;
  bool Modify(RegisterAccessor& a_Accessor, const ModifyOperation& a_Operation) override;

  // Frame switches (see PortWorker).
  void BeginFrame();
  void StartPolling();
  // Internal word 246, which the driver reads for failure injection.
  void SetControl(uint16_t a_Word) { m_Control.store(a_Word); }

  // Stepped mode: each worker turns until it has slept a_Milliseconds more; the start-up
  // commands come first. Does nothing after HandOver().
  void Advance(int a_Milliseconds);
  // Hands the workers to a runner of the caller's; stepping ends.
  std::vector<PortWorker*> HandOver();

  SimulatedPlc& Plc() { return m_Plc; }
  PortWorker* Worker(uint8_t a_Port) { return m_Workers[a_Port % 2].get(); }

 private:
  PortLock m_Lock;
  SimulatedPlc m_Plc;
  std::atomic<uint16_t> m_Control{0};
  std::array<std::unique_ptr<PortWorker>, 2> m_Workers;
  std::array<int64_t, 2> m_Budget{};  // stepped mode: milliseconds still to spend
  bool m_Stepped = true;
  bool m_Started = false;
};

}  // namespace sim
