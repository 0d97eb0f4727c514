#include "simulator/SimulatedPlc.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

// Pages of one key are numbered by byte address / page size; a key has 24 bits and a byte
// address at most 36, so key and page number share one 64-bit map key.
uint64_t PageKey(uint32_t a_Key, uint64_t a_Address) {
  return uint64_t{a_Key} << 40 | a_Address / SimulatedPlc::kPageSize;
}

// The failure word 246 injects for a PLC: 0 none, else the driver result.
int InjectedFailure(uint16_t a_Control, uint8_t a_Plc) {
  if ((a_Control & SimulatedPlc::kFailureBits) == 0) return 0;
  if (a_Plc == 0 && (a_Control & 0x04)) return kDriverTimeout;
  if (a_Plc == 0 && (a_Control & 0x08)) return kDriverError;
  if (a_Plc == 1 && (a_Control & 0x10)) return kDriverTimeout;
  if (a_Plc == 1 && (a_Control & 0x20)) return kDriverError;
  return 0;
}

}  // namespace

uint64_t SimulatedPlc::Location(const RegisterDescriptor& a_Reg) {
  if (a_Reg.IsBit()) return a_Reg.address;
  return uint64_t{a_Reg.address} * std::max(1u, a_Reg.ElementsPerAddress());
}

int SimulatedPlc::Call(const DriverCall& a_Call, uint16_t a_Control,
                       const std::function<void(int)>& a_Sleep) {
  if (int failure = InjectedFailure(a_Control, a_Call.plc); failure != 0) return failure;
  if (a_Sleep) a_Sleep(kCallMilliseconds);
  if (a_Call.reg == nullptr || a_Call.data == nullptr) return kDriverTimeout;
  const RegisterDescriptor& reg = *a_Call.reg;
  const uint32_t key = Key(reg.port, reg.station, reg.type);
  const uint64_t location = Location(reg);
  const bool write = a_Call.operation == DriverCall::kWrite;
  if (reg.IsBit()) {
    if (write)
      WriteBits(key, location, a_Call.data, a_Call.length);
    else
      ReadBits(key, location, a_Call.data, a_Call.length);
  } else if (write) {
    WriteBytes(key, location, a_Call.data, a_Call.length);
  } else {
    ReadBytes(key, location, a_Call.data, a_Call.length);
  }
  return kDriverSuccess;
}

SimulatedPlc::Page* SimulatedPlc::PageAt(uint32_t a_Key, uint64_t a_Address, bool a_Create) {
  auto found = m_Pages.find(PageKey(a_Key, a_Address));
  if (found != m_Pages.end()) return found->second.get();
  if (!a_Create) return nullptr;
  auto page = std::make_unique<Page>();
  page->fill(0);
  Page* raw = page.get();
  m_Pages.emplace(PageKey(a_Key, a_Address), std::move(page));
  return raw;
}

uint8_t SimulatedPlc::LoadByte(uint32_t a_Key, uint64_t a_Address) {
  const Page* page = PageAt(a_Key, a_Address, false);
  return page == nullptr ? 0 : (*page)[a_Address % kPageSize];
}

void SimulatedPlc::StoreByte(uint32_t a_Key, uint64_t a_Address, uint8_t a_Value) {
  Page* page = PageAt(a_Key, a_Address, a_Value != 0);
  if (page != nullptr) (*page)[a_Address % kPageSize] = a_Value;
}

void SimulatedPlc::ReadBytes(uint32_t a_Key, uint64_t a_Address, uint8_t* a_Out,
                             std::size_t a_Length) {
  std::lock_guard<std::mutex> lock(m_Lock);
  for (std::size_t i = 0; i < a_Length; ++i) a_Out[i] = LoadByte(a_Key, a_Address + i);
}

void SimulatedPlc::WriteBytes(uint32_t a_Key, uint64_t a_Address, const uint8_t* a_In,
                              std::size_t a_Length) {
  std::lock_guard<std::mutex> lock(m_Lock);
  for (std::size_t i = 0; i < a_Length; ++i) StoreByte(a_Key, a_Address + i, a_In[i]);
}

void SimulatedPlc::ReadBits(uint32_t a_Key, uint64_t a_Bit, uint8_t* a_Out, std::size_t a_Bits) {
  std::lock_guard<std::mutex> lock(m_Lock);
  std::memset(a_Out, 0, (a_Bits + 7) / 8);
  for (std::size_t i = 0; i < a_Bits; ++i) {
    const uint64_t bit = a_Bit + i;
    if (LoadByte(a_Key, bit / 8) >> (bit % 8) & 1u)
      a_Out[i / 8] = static_cast<uint8_t>(a_Out[i / 8] | 1u << (i % 8));
  }
}

void SimulatedPlc::WriteBits(uint32_t a_Key, uint64_t a_Bit, const uint8_t* a_In,
                             std::size_t a_Bits) {
  std::lock_guard<std::mutex> lock(m_Lock);
  // Bit by bit, so the neighbours of the first and last bit keep their values.
  for (std::size_t i = 0; i < a_Bits; ++i) {
    const uint64_t bit = a_Bit + i;
    const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
    uint8_t value = LoadByte(a_Key, bit / 8);
    value = (a_In[i / 8] >> (i % 8) & 1u) ? (value | mask) : (value & ~mask);
    StoreByte(a_Key, bit / 8, value);
  }
}

std::size_t SimulatedPlc::PageCount() const {
  std::lock_guard<std::mutex> lock(m_Lock);
  return m_Pages.size();
}

}  // namespace sim
