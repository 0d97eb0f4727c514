#include "simulator/SamplingGroups.h"

#include <algorithm>

#include "common/ImageFormat.h"
#include "simulator/SimImage.h"

namespace sim {

void SamplingGroups::Load(const SimImage& a_Image, const AccessContext& a_Access, uint32_t a_Now) {
  m_Groups.clear();
  const uint32_t section = a_Image.Section(image::kSamplingBuffers);
  if (section == 0) return;
  const std::size_t count =
      a_Image.EntriesInside(section + 4, a_Image.U32(section), 4, kMaxGroups);
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t entry = a_Image.U32(section + 4 + 4 * static_cast<uint32_t>(i));
    Group group;
    group.stamp = a_Now;
    if (a_Image.Has(entry, image::kSamplingEntrySize)) {
      if (auto descriptor = RegisterDescriptor::FromImage(a_Image, entry + 4))
        group.reg.emplace(*descriptor, a_Access);
      group.period = std::max<uint32_t>(a_Image.U32(entry + 16), 1);
      group.capacity = std::min(a_Image.U32(entry + 20), kMaxCapacity);
    }
    m_Groups.push_back(std::move(group));
  }
}

void SamplingGroups::Insert(Group& a_Group) {
  const RegisterAccessor& reg = *a_Group.reg;
  a_Group.samples.emplace_front(reg.Data(), reg.Data() + std::min(reg.Size(), kMaxSampleBytes));
  while (a_Group.samples.size() > a_Group.capacity) a_Group.samples.pop_back();
  ++a_Group.taken;
}

void SamplingGroups::Service(uint32_t a_Now) {
  for (Group& group : m_Groups) {
    if (!group.reg || group.capacity == 0) continue;
    RegisterAccessor& reg = *group.reg;
    const bool due = a_Now - group.stamp >= group.period;
    if (reg.Descriptor().Storage() != RegisterStorage::kPlc) {
      if (!due) continue;
      group.stamp = a_Now;
      if (reg.Read()) Insert(group);
      continue;
    }
    // PLC registers: the port delivers what it read for the queued request.
    if (group.requested && reg.Read(ReadMode::kSampled)) {
      group.requested = false;
      Insert(group);
    }
    if (due && !group.requested) {
      group.stamp = a_Now;
      reg.Request(RequestMode::kSample);
      group.requested = true;
    }
  }
}

const SamplingGroups::Group* SamplingGroups::At(int a_Index) const {
  if (a_Index < 0 || static_cast<std::size_t>(a_Index) >= m_Groups.size()) return nullptr;
  return &m_Groups[static_cast<std::size_t>(a_Index)];
}

}  // namespace sim
