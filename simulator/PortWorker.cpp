#include "simulator/PortWorker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <tuple>

#include "common/ImageFormat.h"
#include "simulator/SimImage.h"
#include "simulator/SimulatedPlc.h"
#include "simulator/StatusLine.h"

namespace sim {
namespace {

constexpr std::size_t kPortSlotsMax = 4;  // COM0, COM1, COM2 and CAN

auto SortKey(const RegisterDescriptor& a_Reg) {
  return std::make_tuple(a_Reg.port, a_Reg.station, a_Reg.type, a_Reg.unit, a_Reg.address,
                         a_Reg.count);
}

bool SameKey(const RegisterDescriptor& a_A, const RegisterDescriptor& a_B) {
  return a_A.port == a_B.port && a_A.station == a_B.station && a_A.type == a_B.type &&
         a_A.unit == a_B.unit;
}

unsigned Epa(const RegisterDescriptor& a_Reg) { return std::max(1u, a_Reg.ElementsPerAddress()); }

// The bytes of a word register, the bits of a bit one, at most what a value buffer holds.
std::size_t LengthOf(const RegisterDescriptor& a_Reg) {
  return a_Reg.IsBit() ? std::min<std::size_t>(a_Reg.count, RegisterAccessor::kMaxSize * 8)
                       : std::min(a_Reg.SizeInBytes(), RegisterAccessor::kMaxSize);
}

// Where a register ends, in address units.
uint64_t EndOf(const RegisterDescriptor& a_Reg) {
  if (a_Reg.IsBit()) return uint64_t{a_Reg.address} + a_Reg.count;
  return uint64_t{a_Reg.address} + (LengthOf(a_Reg) + Epa(a_Reg) - 1) / Epa(a_Reg);
}

void CopyBits(const uint8_t* a_From, uint64_t a_FromBit, uint8_t* a_To, std::size_t a_Bits) {
  std::memset(a_To, 0, (a_Bits + 7) / 8);
  for (std::size_t i = 0; i < a_Bits; ++i) {
    const uint64_t bit = a_FromBit + i;
    if (a_From[bit / 8] >> (bit % 8) & 1u) a_To[i / 8] = static_cast<uint8_t>(a_To[i / 8] | 1u << (i % 8));
  }
}

}  // namespace

std::vector<PortSettings> PortSettings::FromImage(const SimImage& a_Image) {
  std::vector<PortSettings> ports;
  const uint32_t section = a_Image.Section(image::kPorts);
  if (section == 0 || !a_Image.Has(section, 4)) return ports;
  const uint32_t count = std::min<uint32_t>(a_Image.U32(section), kPortSlotsMax);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t slot = section + 4 + 4 * i;
    if (!a_Image.Has(slot, 4)) break;
    const uint32_t record = a_Image.U32(slot);
    if (record == 0 || !a_Image.Has(record, image::kPortRecordSize)) continue;
    PortSettings p;
    p.port = a_Image.U8(record);
    p.startUp = a_Image.U8(record + 9) == 1;
    p.protocol = a_Image.U16(record + 10);
    p.station = a_Image.U16(record + 24);
    p.wordLimit = a_Image.U16(record + 26);
    p.bitLimit = a_Image.U16(record + 28);
    p.wordGap = a_Image.U8(record + 30);
    p.bitGap = a_Image.U8(record + 31);
    p.pauseMs = a_Image.U8(record + 32);
    p.errorSeconds = a_Image.U8(record + 33);
    p.failureLimit = a_Image.U8(record + 34);
    p.markFailed = a_Image.U8(record + 35) == 1;
    ports.push_back(p);
  }
  return ports;
}

void PortLock::lock() {
  // The lock is held only to copy requests and values, so a wait is short: try, yield, and
  // after a while sleep between tries. (A plain try-and-wait loop rather than a timed lock,
  // which thread checkers do not follow.)
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_StallMs);
  for (int attempt = 0;; ++attempt) {
    if (m_Mutex.try_lock()) return;
    if (attempt < 1000) {
      std::this_thread::yield();
      continue;
    }
    if (Clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (!m_Stalled.exchange(true))
    std::fprintf(stderr, "PanSim: a port has waited over %d ms for its lock; still waiting\n",
                 m_StallMs);
  m_Mutex.lock();
}

PortWorker::PortWorker(const PortSettings& a_Settings, PortLock& a_Lock, SimulatedPlc& a_Plc,
                       StatusLine& a_Status, const std::atomic<uint16_t>& a_Control,
                       bool a_SwapWords)
    : m_Settings(a_Settings),
      m_Lock(a_Lock),
      m_Plc(a_Plc),
      m_Status(a_Status),
      m_Control(a_Control),
      m_SwapWords(a_SwapWords) {}

PortWorker::Polled PortWorker::Whole(const RegisterDescriptor& a_Reg) {
  Polled polled;
  polled.reg = a_Reg;
  polled.length = LengthOf(a_Reg);
  polled.value.assign(a_Reg.IsBit() ? (polled.length + 7) / 8 : polled.length, 0);
  return polled;
}

// ---- run-cycle side

bool PortWorker::Fetch(RegisterAccessor& a_Reg, uint8_t* a_Bytes, ReadMode a_Mode) {
  const RegisterDescriptor& reg = a_Reg.Descriptor();
  std::lock_guard<PortLock> lock(m_Lock);
  if (a_Mode == ReadMode::kSampled) {
    auto found = std::find_if(m_SampleResults.begin(), m_SampleResults.end(),
                              [&](const Sample& a_S) { return a_S.token == &a_Reg; });
    if (found == m_SampleResults.end()) return false;
    std::memcpy(a_Bytes, found->value.data(), std::min(found->value.size(), a_Reg.Size()));
    m_SampleResults.erase(found);
    a_Reg.SetLastResult(kDriverSuccess);
    return true;
  }
  const std::vector<Polled>& list = a_Mode == ReadMode::kPermanent ? m_Permanent : m_Merged;
  for (const Polled& p : list) {
    if (!SameKey(p.reg, reg) || reg.address < p.reg.address) continue;
    const uint64_t offset = reg.address - p.reg.address;
    if (reg.IsBit()) {
      if (offset + a_Reg.Bits() > p.length) continue;
      a_Reg.SetLastResult(p.result);
      if (!p.valid) return false;
      CopyBits(p.value.data(), offset, a_Bytes, a_Reg.Bits());
    } else {
      const uint64_t byte = offset * Epa(reg);
      if (byte + a_Reg.Size() > p.length) continue;
      a_Reg.SetLastResult(p.result);
      if (!p.valid) return false;
      std::memcpy(a_Bytes, p.value.data() + byte, a_Reg.Size());
    }
    return true;
  }
  return false;
}

void PortWorker::Request(RegisterAccessor& a_Reg, RequestMode a_Mode) {
  const RegisterDescriptor& reg = a_Reg.Descriptor();
  std::lock_guard<PortLock> lock(m_Lock);
  switch (a_Mode) {
    case RequestMode::kFrame:
      if (m_Registrations.size() < kMaxPolled) m_Registrations.push_back(reg);
      break;
    case RequestMode::kPermanent:
      if (m_Permanent.size() < kMaxPolled &&
          std::none_of(m_Permanent.begin(), m_Permanent.end(),
                       [&](const Polled& a_P) { return a_P.reg == reg; }))
        m_Permanent.push_back(Whole(reg));
      break;
    case RequestMode::kSample:
      if (m_SampleReads.size() < kMaxQueued) m_SampleReads.push_back({&a_Reg, reg, {}});
      break;
  }
}

bool PortWorker::Store(RegisterAccessor& a_Reg, const uint8_t* a_Bytes, std::size_t a_Length) {
  std::lock_guard<PortLock> lock(m_Lock);
  if (m_Writes.size() >= kMaxQueued) return false;
  m_Writes.push_back({a_Reg.Descriptor(), std::vector<uint8_t>(a_Bytes, a_Bytes + a_Length)});
  return true;
}

bool PortWorker::Modify(RegisterAccessor& a_Reg, const ModifyOperation& a_Operation) {
  std::lock_guard<PortLock> lock(m_Lock);
  if (m_Modifications.size() >= kMaxQueued) return false;
  m_Modifications.push_back({a_Reg.Descriptor(), a_Operation});
  return true;
}

void PortWorker::BeginFrame() {
  std::lock_guard<PortLock> lock(m_Lock);
  m_Polling = false;
  ++m_Generation;
  m_Registrations.clear();
  m_Merged.clear();
  m_PollPosition = 0;
}

void PortWorker::StartPolling() {
  std::lock_guard<PortLock> lock(m_Lock);
  std::vector<RegisterDescriptor> registrations;
  registrations.swap(m_Registrations);
  BuildMerged(std::move(registrations));
  m_PollPosition = 0;
  m_Polling = true;
}

std::size_t PortWorker::MergedCount() {
  std::lock_guard<PortLock> lock(m_Lock);
  return m_Merged.size();
}

void PortWorker::BuildMerged(std::vector<RegisterDescriptor> a_Registrations) {
  std::sort(a_Registrations.begin(), a_Registrations.end(),
            [](const RegisterDescriptor& a_A, const RegisterDescriptor& a_B) {
              return SortKey(a_A) < SortKey(a_B);
            });
  m_Merged.clear();
  std::optional<RegisterDescriptor> current;
  uint64_t start = 0, end = 0;
  auto close = [&] {
    if (!current) return;
    RegisterDescriptor block = *current;
    block.address = static_cast<uint32_t>(start);
    Polled polled;
    polled.reg = block;
    if (block.IsBit()) {
      polled.length = static_cast<std::size_t>(end - start);
      polled.value.assign((polled.length + 7) / 8, 0);
    } else {
      polled.length = static_cast<std::size_t>(end - start) * Epa(block);
      polled.value.assign(polled.length, 0);
    }
    m_Merged.push_back(std::move(polled));
  };
  for (const RegisterDescriptor& reg : a_Registrations) {
    const uint64_t regEnd = EndOf(reg);
    if (current && SameKey(*current, reg)) {
      const bool bits = reg.IsBit();
      const uint64_t gap = reg.address > end ? reg.address - end : 0;
      const uint64_t gapLimit = bits ? m_Settings.bitGap : m_Settings.wordGap * 2u / Epa(reg);
      const uint16_t limit = bits ? m_Settings.bitLimit : m_Settings.wordLimit;
      const uint64_t spanLimit =
          bits ? limit : std::max<uint64_t>(1, uint64_t{limit} * 2 / Epa(reg));
      const uint64_t span = std::max(end, regEnd) - start;
      if (gap <= gapLimit && (limit == 0 || span <= spanLimit)) {
        end = std::max(end, regEnd);
        continue;
      }
    }
    close();
    current = reg;
    start = reg.address;
    end = regEnd;
  }
  close();
}

// ---- worker side

int PortWorker::Call(DriverCall& a_Call) {
  const int result = m_Plc.Call(a_Call, m_Control.load(), m_Sleep);
  if (m_Settings.pauseMs > 0 && m_Sleep) m_Sleep(m_Settings.pauseMs);
  return result;
}

void PortWorker::CountResult(const RegisterDescriptor& a_Reg, int a_Result) {
  m_Status.Report(a_Reg.port, a_Reg.station, a_Result);
  if (a_Result == kDriverSuccess) {
    m_Failures = 0;
    return;
  }
  ++m_Failures;
  if (m_Settings.markFailed && m_Failures >= std::max<unsigned>(1, m_Settings.failureLimit))
    m_Failed = true;
}

int PortWorker::Transfer(const RegisterDescriptor& a_Reg, uint8_t* a_Data, std::size_t a_Length,
                         bool a_Write) {
  const bool bits = a_Reg.IsBit();
  const unsigned epa = Epa(a_Reg);
  // Chunks start on whole bytes of the data and on whole address units.
  std::size_t chunk = a_Length;
  if (bits && m_Settings.bitLimit != 0)
    chunk = std::max<std::size_t>(8, m_Settings.bitLimit / 8 * 8);
  if (!bits && m_Settings.wordLimit != 0)
    chunk = std::max<std::size_t>(epa, std::size_t{m_Settings.wordLimit} * 2 / epa * epa);
  const int attempts = a_Write ? 3 : 1;
  for (std::size_t offset = 0; offset < a_Length; offset += chunk) {
    RegisterDescriptor part = a_Reg;
    part.address = static_cast<uint32_t>(a_Reg.address + (bits ? offset : offset / epa));
    DriverCall call;
    call.operation = a_Write ? DriverCall::kWrite : DriverCall::kRead;
    call.plc = a_Reg.station;
    call.reg = &part;
    call.data = a_Data + (bits ? offset / 8 : offset);
    call.length = std::min(chunk, a_Length - offset);
    int result = kDriverTimeout;
    for (int attempt = 0; attempt < attempts && result != kDriverSuccess; ++attempt)
      result = Call(call);
    CountResult(a_Reg, result);
    if (result != kDriverSuccess) return result;
  }
  return kDriverSuccess;
}

void PortWorker::StartUp() {
  DriverCall call;
  if (m_Settings.startUp) {
    call.operation = DriverCall::kStartUp;
    Call(call);
  }
  call.operation = DriverCall::kStart;
  Call(call);
}

void PortWorker::PollNext() {
  Polled entry;
  bool merged = false;
  std::size_t index = 0;
  uint64_t generation = 0;
  {
    std::lock_guard<PortLock> lock(m_Lock);
    const std::size_t total = m_Merged.size() + m_Permanent.size();
    if (total == 0) return;
    index = m_PollPosition % total;
    m_PollPosition = index + 1;
    merged = index < m_Merged.size();
    if (!merged) index -= m_Merged.size();
    const Polled& source = merged ? m_Merged[index] : m_Permanent[index];
    entry.reg = source.reg;
    entry.length = source.length;
    entry.value.assign(source.value.size(), 0);
    generation = m_Generation;
  }
  const int result = Transfer(entry.reg, entry.value.data(), entry.length, false);
  std::lock_guard<PortLock> lock(m_Lock);
  if (merged && generation != m_Generation) return;  // the frame changed meanwhile
  Polled& target = merged ? m_Merged[index] : m_Permanent[index];
  target.result = result;
  if (result != kDriverSuccess) return;
  target.value = std::move(entry.value);
  target.valid = true;
}

bool PortWorker::ServicePass() {
  if (m_Failed) return false;
  std::deque<Write> writes;
  std::deque<Modification> modifications;
  std::deque<Sample> reads;
  bool polling = false;
  {
    std::lock_guard<PortLock> lock(m_Lock);
    writes.swap(m_Writes);
    modifications.swap(m_Modifications);
    reads.swap(m_SampleReads);
    polling = m_Polling && !(m_Merged.empty() && m_Permanent.empty());
  }
  for (Write& write : writes)
    Transfer(write.reg, write.bytes.data(), LengthOf(write.reg), true);
  for (const Modification& m : modifications) {
    Polled value = Whole(m.reg);
    if (Transfer(m.reg, value.value.data(), value.length, false) != kDriverSuccess) continue;
    uint8_t plain[RegisterAccessor::kMaxSize] = {};
    const std::size_t size = value.value.size();
    std::memcpy(plain, value.value.data(), size);
    RegisterAccessor::Decode(m.reg, m_SwapWords, plain, size);
    const auto result = m.operation.Apply(RegisterAccessor::ModifyValue(plain, size));
    if (!result) continue;
    std::memset(plain, 0, sizeof plain);
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 4); ++i)
      plain[i] = static_cast<uint8_t>(static_cast<uint32_t>(*result) >> (8 * i));
    RegisterAccessor::Encode(m.reg, m_SwapWords, plain, size);
    Transfer(m.reg, plain, value.length, true);
  }
  std::vector<Sample> failedReads;
  for (Sample& read : reads) {
    Polled value = Whole(read.reg);
    if (Transfer(read.reg, value.value.data(), value.length, false) != kDriverSuccess) {
      failedReads.push_back(std::move(read));  // tried again in the next pass
      continue;
    }
    read.value = std::move(value.value);
    std::lock_guard<PortLock> lock(m_Lock);
    if (m_SampleResults.size() >= kMaxQueued) m_SampleResults.erase(m_SampleResults.begin());
    m_SampleResults.push_back(std::move(read));
  }
  if (!failedReads.empty()) {
    std::lock_guard<PortLock> lock(m_Lock);
    for (Sample& read : failedReads)
      if (m_SampleReads.size() < kMaxQueued) m_SampleReads.push_back(std::move(read));
  }
  if (polling) PollNext();
  return polling || !writes.empty() || !modifications.empty() || !reads.empty();
}

void PortWorker::Turn() {
  const bool worked = ServicePass();
  if (!m_Sleep) return;
  if (!worked) m_Sleep(10);
  m_Sleep(1);
}

}  // namespace sim
