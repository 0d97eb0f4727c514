#pragma once
// The worker of one communication port: its request lists and the service pass that carries
// them out through the driver. The same worker runs on a thread of its own in the window and
// is stepped in line with virtual time without one; the difference is only who sleeps: the
// worker's sleeps go through the function its runner gives it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "simulator/RegisterAccessor.h"
#include "simulator/RegisterDescriptor.h"

namespace sim {

class SimImage;
class SimulatedPlc;
struct DriverCall;
class StatusLine;

// What the worker uses of the port's 36-byte record.
struct PortSettings {
  uint8_t port = 0;
  bool startUp = false;       // byte 9: send the driver's start-up command first
  uint16_t protocol = 0;      // byte 10: the PLC protocol's id
  uint16_t station = 0;       // byte 24
  uint16_t wordLimit = 0;     // byte 26: largest transfer in 16-bit words (0 = no limit)
  uint16_t bitLimit = 0;      // byte 28: largest transfer in bits (0 = no limit)
  uint8_t wordGap = 0;        // byte 30: largest gap in words bridged when merging
  uint8_t bitGap = 0;         // byte 31: largest gap in bits bridged when merging
  uint8_t pauseMs = 0;        // byte 32: pause after each driver call
  uint8_t errorSeconds = 0;   // byte 33: seconds an error text shows (0 = while it lasts)
  uint8_t failureLimit = 0;   // byte 34
  bool markFailed = false;    // byte 35: a station that failed failureLimit times is given up

  // The records of the image's port section, in section order.
  static std::vector<PortSettings> FromImage(const SimImage& a_Image);
};

// The lock both workers and the run cycle share. A wait longer than kStallMs is reported once
// on standard error and then goes on: no request is ever handled without the lock.
class PortLock {
 public:
  static constexpr int kStallMs = 3000;
  explicit PortLock(int a_StallMs = kStallMs) : m_StallMs(a_StallMs) {}
  void lock();
  void unlock() { m_Mutex.unlock(); }
  bool StallReported() const { return m_Stalled.load(); }

 private:
  int m_StallMs;
  std::mutex m_Mutex;
  std::atomic<bool> m_Stalled{false};
};

class PortWorker {
 public:
  using Sleep = std::function<void(int)>;
  // Lists beyond these lengths refuse new requests, so a port without a worker cannot make
  // them grow without end.
  static constexpr std::size_t kMaxQueued = 1024;
  static constexpr std::size_t kMaxPolled = 4096;

  PortWorker(const PortSettings& a_Settings, PortLock& a_Lock, SimulatedPlc& a_Plc,
             StatusLine& a_Status, const std::atomic<uint16_t>& a_Control, bool a_SwapWords);

  const PortSettings& Settings() const { return m_Settings; }
  void SetSleep(Sleep a_Sleep) { m_Sleep = std::move(a_Sleep); }

  // Worker side. The start-up and start commands, once before the first pass.
  void StartUp();
  // One service pass: writes, read-modify-writes, sampling reads, then one polling entry.
  // True when any list had work.
  bool ServicePass();
  // One turn of the worker's loop: a pass, 10 ms of sleep when it found nothing, then 1 ms.
  void Turn();
  bool StationFailed() const { return m_Failed.load(); }

  // Run-cycle side; each takes the shared lock.
  bool Fetch(RegisterAccessor& a_Reg, uint8_t* a_Bytes, ReadMode a_Mode);
  void Request(RegisterAccessor& a_Reg, RequestMode a_Mode);
  bool Store(RegisterAccessor& a_Reg, const uint8_t* a_Bytes, std::size_t a_Length);
  bool Modify(RegisterAccessor& a_Reg, const ModifyOperation& a_Operation);
  // A frame switch: the old frame's registrations and polled values go, polling stops.
  void BeginFrame();
  // After the new frame's first refresh: the registrations become the merged polling list.
  void StartPolling();

  // For tests and the benchmark: entries of the merged polling list.
  std::size_t MergedCount();

 private:
  // A polled range: one register, or a block of registrations merged into one transfer.
  struct Polled {
    RegisterDescriptor reg;
    std::size_t length = 0;  // bytes of a word range, bits of a bit range
    std::vector<uint8_t> value;
    bool valid = false;
    int result = 0;
  };
  struct Sample {
    const void* token;
    RegisterDescriptor reg;
    std::vector<uint8_t> value;
  };
  struct Write {
    RegisterDescriptor reg;
    std::vector<uint8_t> bytes;
  };
  struct Modification {
    RegisterDescriptor reg;
    ModifyOperation operation;
  };

  static Polled Whole(const RegisterDescriptor& a_Reg);
  void BuildMerged(std::vector<RegisterDescriptor> a_Registrations);
  // Carries out one transfer, chunk by chunk; the data lies in a_Data (bytes or bits).
  int Transfer(const RegisterDescriptor& a_Reg, uint8_t* a_Data, std::size_t a_Length,
               bool a_Write);
  int Call(DriverCall& a_Call);
  void CountResult(const RegisterDescriptor& a_Reg, int a_Result);
  void PollNext();

  PortSettings m_Settings;
  PortLock& m_Lock;
  SimulatedPlc& m_Plc;
  StatusLine& m_Status;
  const std::atomic<uint16_t>& m_Control;
  bool m_SwapWords;
  Sleep m_Sleep;

  // Under m_Lock.
  bool m_Polling = false;
  uint64_t m_Generation = 0;  // grows at every frame switch
  std::vector<RegisterDescriptor> m_Registrations;
  std::vector<Polled> m_Merged;
  std::vector<Polled> m_Permanent;
  std::size_t m_PollPosition = 0;
  std::deque<Sample> m_SampleReads;
  std::vector<Sample> m_SampleResults;
  std::deque<Write> m_Writes;
  std::deque<Modification> m_Modifications;

  // Worker side only.
  unsigned m_Failures = 0;
  std::atomic<bool> m_Failed{false};
};

}  // namespace sim
