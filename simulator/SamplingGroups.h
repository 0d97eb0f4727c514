#pragma once
// The sampling groups that feed the trends: each samples one register every period and keeps
// the newest samples first, up to its capacity.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "simulator/RegisterAccessor.h"

namespace sim {

class SimImage;
class TickTimers;

class SamplingGroups {
 public:
  static constexpr std::size_t kMaxGroups = 255;
  // One sample holds at most this many bytes of its register.
  static constexpr std::size_t kMaxSampleBytes = 8;
  // Capacities beyond this are cut, so a damaged image cannot make the groups grow without end.
  static constexpr uint32_t kMaxCapacity = 4096;

  struct Group {
    std::optional<RegisterAccessor> reg;
    uint32_t period = 1;
    uint32_t capacity = 0;
    std::deque<std::vector<uint8_t>> samples;  // newest first
    uint32_t taken = 0;                        // samples taken so far
    uint32_t stamp = 0;                        // tick of the last period start
    bool requested = false;                    // a sampling read of a PLC register is queued
  };

  void Load(const SimImage& a_Image, const AccessContext& a_Access, uint32_t a_Now);
  // Once per cycle.
  void Service(uint32_t a_Now);

  // The group at a_Index, nullptr when there is none.
  const Group* At(int a_Index) const;

 private:
  void Insert(Group& a_Group);

  std::vector<Group> m_Groups;
};

}  // namespace sim
