#pragma once
// The PLC behind the simulated ports: a sparse byte memory per (port, station, type), made of
// 4096-byte pages that are created zero-filled on first touch and kept for the run. It answers
// every transfer, unless failures are injected through internal word 246. Both port workers
// and the script side touch it, so every access holds its lock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "simulator/RegisterDescriptor.h"

namespace sim {

// One call of the communication driver.
struct DriverCall {
  enum Operation : uint8_t { kRead = 0, kWrite = 1, kStartUp = 2, kStart = 3 };
  Operation operation = kRead;
  uint8_t plc = 0;                               // the PLC's number on the port (its station)
  const RegisterDescriptor* reg = nullptr;       // nothing for the start-up and start commands
  uint8_t* data = nullptr;                       // bytes, or bits from bit 0 of byte 0
  std::size_t length = 0;                        // bytes of a word transfer, bits of a bit one
};

// Driver results.
inline constexpr int kDriverSuccess = 0;
inline constexpr int kDriverTimeout = 2;
inline constexpr int kDriverError = 3;

class SimulatedPlc {
 public:
  static constexpr std::size_t kPageSize = 4096;
  // Bits 2..5 of word 246: PLC 0 times out, PLC 0 errs, PLC 1 times out, PLC 1 errs.
  static constexpr uint16_t kFailureBits = 0x3C;
  // The line time a call that reaches the PLC takes.
  static constexpr int kCallMilliseconds = 100;

  static uint32_t Key(uint8_t a_Port, uint8_t a_Station, uint8_t a_Type) {
    return uint32_t{a_Port} << 16 | uint32_t{a_Station} << 8 | a_Type;
  }
  // The byte address of a word register, the bit address of a bit register.
  static uint64_t Location(const RegisterDescriptor& a_Reg);

  // Handles one driver call: with a failure bit of a_Control for the call's PLC it answers at
  // once; otherwise it sleeps the line time through a_Sleep and reads or writes the memory.
  int Call(const DriverCall& a_Call, uint16_t a_Control, const std::function<void(int)>& a_Sleep);

  // Direct access, by byte address for words and by bit address for bits.
  void ReadBytes(uint32_t a_Key, uint64_t a_Address, uint8_t* a_Out, std::size_t a_Length);
  void WriteBytes(uint32_t a_Key, uint64_t a_Address, const uint8_t* a_In, std::size_t a_Length);
  void ReadBits(uint32_t a_Key, uint64_t a_Bit, uint8_t* a_Out, std::size_t a_Bits);
  void WriteBits(uint32_t a_Key, uint64_t a_Bit, const uint8_t* a_In, std::size_t a_Bits);

  std::size_t PageCount() const;

 private:
  using Page = std::array<uint8_t, kPageSize>;
  // The page holding byte a_Address; nullptr when it was never written and a_Create is false.
  Page* PageAt(uint32_t a_Key, uint64_t a_Address, bool a_Create);
  uint8_t LoadByte(uint32_t a_Key, uint64_t a_Address);
  void StoreByte(uint32_t a_Key, uint64_t a_Address, uint8_t a_Value);

  mutable std::mutex m_Lock;
  std::unordered_map<uint64_t, std::unique_ptr<Page>> m_Pages;
};

}  // namespace sim
