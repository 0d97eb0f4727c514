#include "simulator/RegisterAccessor.h"

#include <algorithm>
#include <cstring>

#include "simulator/InternalMemory.h"
#include "simulator/RetentiveStore.h"

namespace sim {
namespace {

uint32_t LoadLittle(const uint8_t* a_Bytes, std::size_t a_Length) {
  uint32_t value = 0;
  for (std::size_t i = std::min<std::size_t>(a_Length, 4); i-- > 0;)
    value = value << 8 | a_Bytes[i];
  return value;
}

void StoreLittle(uint32_t a_Value, uint8_t* a_Bytes, std::size_t a_Length) {
  for (std::size_t i = 0; i < std::min<std::size_t>(a_Length, 4); ++i) {
    a_Bytes[i] = static_cast<uint8_t>(a_Value);
    a_Value >>= 8;
  }
}

void Reorder(const RegisterDescriptor& a_Descriptor, bool a_SwapWords, uint8_t* a_Bytes,
             std::size_t a_Length) {
  // On a 4-byte value the two steps commute, so reading and writing share this order.
  if (a_Descriptor.ReverseBytes()) std::reverse(a_Bytes, a_Bytes + a_Length);
  if (a_SwapWords && a_Descriptor.BytesPerUnit() == 2 && a_Length == 4) {
    std::swap(a_Bytes[0], a_Bytes[2]);
    std::swap(a_Bytes[1], a_Bytes[3]);
  }
}

}  // namespace

std::optional<int32_t> ModifyOperation::Apply(int32_t a_Value) const {
  const int64_t value = a_Value;
  int64_t result = 0;
  switch (code) {
    case kToggle:
      return a_Value ^ 1;
    case kAddLimited:
    case kAddLimitedRepeat:
      result = value + p1;
      if (result > p2) return std::nullopt;
      break;
    case kSubtractLimited:
    case kSubtractLimitedRepeat:
      result = value - p1;
      if (result < p2) return std::nullopt;
      break;
    case kAddWrapping:
    case kAddWrappingRepeat:
      result = value + p1;
      if (result > p2) result = 0;
      break;
    default:
      return std::nullopt;
  }
  // Below INT32_MIN only with a negative step; the register keeps the low bits.
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(result)));
}

RegisterAccessor::RegisterAccessor(const RegisterDescriptor& a_Descriptor,
                                   const AccessContext& a_Context)
    : m_Descriptor(a_Descriptor), m_Context(&a_Context) {
  if (!Fits(a_Descriptor)) return;
  m_Value.assign(a_Descriptor.SizeInBytes(), 0);
  m_Bits = a_Descriptor.SizeInBits();
}

bool RegisterAccessor::Fits(const RegisterDescriptor& a_Descriptor) {
  const std::size_t size = a_Descriptor.SizeInBytes();
  if (size == 0 || size > kMaxSize) return false;
  uint64_t words = 0;
  switch (a_Descriptor.Storage()) {
    case RegisterStorage::kInternalMemory:
      words = InternalMemory::kWordCount;
      break;
    case RegisterStorage::kRetentive:
      words = kRetentiveWords;
      break;
    default:
      return true;  // the PLC decides what it holds; unknown types never read anything
  }
  // Bit n is bit n mod 16 of word n / 16; a word register covers whole words.
  const uint64_t first = a_Descriptor.address;
  const uint64_t length = a_Descriptor.IsBit() ? a_Descriptor.count : (uint64_t{size} + 1) / 2;
  const uint64_t limit = a_Descriptor.IsBit() ? words * 16 : words;
  return first <= limit && length <= limit - first;
}

void RegisterAccessor::Decode(const RegisterDescriptor& a_Descriptor, bool a_SwapWords,
                              uint8_t* a_Bytes, std::size_t a_Length) {
  Reorder(a_Descriptor, a_SwapWords, a_Bytes, a_Length);
  if (!a_Descriptor.Bcd()) return;
  // One decimal digit per nibble, least significant nibble first.
  const uint32_t bcd = LoadLittle(a_Bytes, a_Length);
  uint32_t value = 0;
  uint32_t place = 1;
  for (std::size_t nibble = 0; nibble < 2 * std::min<std::size_t>(a_Length, 4); ++nibble) {
    value += ((bcd >> (4 * nibble)) & 0xFu) * place;
    place *= 10;
  }
  StoreLittle(value, a_Bytes, a_Length);
}

void RegisterAccessor::Encode(const RegisterDescriptor& a_Descriptor, bool a_SwapWords,
                              uint8_t* a_Bytes, std::size_t a_Length) {
  if (a_Descriptor.Bcd()) {
    uint32_t value = LoadLittle(a_Bytes, a_Length);
    uint32_t bcd = 0;
    for (std::size_t nibble = 0; nibble < 2 * std::min<std::size_t>(a_Length, 4); ++nibble) {
      bcd |= (value % 10) << (4 * nibble);
      value /= 10;
    }
    StoreLittle(bcd, a_Bytes, a_Length);
  }
  Reorder(a_Descriptor, a_SwapWords, a_Bytes, a_Length);
}

int32_t RegisterAccessor::ModifyValue(const uint8_t* a_Value, std::size_t a_Length) {
  const uint32_t raw = LoadLittle(a_Value, a_Length);
  if (a_Length == 4) return static_cast<int32_t>(raw);
  return static_cast<int16_t>(static_cast<uint16_t>(raw));
}

bool RegisterAccessor::Fetch(uint8_t* a_Bytes, ReadMode a_Mode) {
  const RegisterDescriptor& d = m_Descriptor;
  auto read = [&](const auto* a_Store) {
    if (a_Store == nullptr) return false;
    return d.IsBit() ? a_Store->ReadBits(d.address, a_Bytes, m_Bits)
                     : a_Store->ReadBytes(d.address, a_Bytes, Size());
  };
  switch (d.Storage()) {
    case RegisterStorage::kInternalMemory:
      return read(m_Context->memory);
    case RegisterStorage::kRetentive:
      return read(m_Context->retentive);
    case RegisterStorage::kPlc:
      return m_Context->plc != nullptr && m_Context->plc->Fetch(*this, a_Bytes, a_Mode);
    case RegisterStorage::kNone:
      break;
  }
  return false;
}

bool RegisterAccessor::Store(const uint8_t* a_Bytes) {
  const RegisterDescriptor& d = m_Descriptor;
  auto write = [&](auto* a_Store) {
    if (a_Store == nullptr) return false;
    return d.IsBit() ? a_Store->WriteBits(d.address, a_Bytes, m_Bits)
                     : a_Store->WriteBytes(d.address, a_Bytes, Size());
  };
  switch (d.Storage()) {
    case RegisterStorage::kInternalMemory:
      return write(m_Context->memory);
    case RegisterStorage::kRetentive:
      return write(m_Context->retentive);
    case RegisterStorage::kPlc:
      return m_Context->plc != nullptr && m_Context->plc->Store(*this, a_Bytes, Size());
    case RegisterStorage::kNone:
      break;
  }
  return false;
}

bool RegisterAccessor::Read(ReadMode a_Mode) {
  if (m_Value.empty()) return false;
  uint8_t bytes[kMaxSize];
  if (!Fetch(bytes, a_Mode)) return false;
  Decode(m_Descriptor, m_Context->swapWords, bytes, Size());
  if (!m_Valid || std::memcmp(bytes, m_Value.data(), Size()) != 0) m_Changed = true;
  std::memcpy(m_Value.data(), bytes, Size());
  m_Valid = true;
  return true;
}

void RegisterAccessor::Request(RequestMode a_Mode) {
  if (m_Descriptor.Storage() == RegisterStorage::kPlc && m_Context->plc != nullptr &&
      !m_Value.empty())
    m_Context->plc->Request(*this, a_Mode);
}

bool RegisterAccessor::Write(const uint8_t* a_Value, std::size_t a_Length) {
  if (m_Value.empty()) return false;
  uint8_t bytes[kMaxSize] = {};
  std::memcpy(bytes, a_Value, std::min(a_Length, Size()));
  Encode(m_Descriptor, m_Context->swapWords, bytes, Size());
  return Store(bytes);
}

int32_t RegisterAccessor::Int32() const {
  return static_cast<int32_t>(LoadLittle(m_Value.data(), Size()));
}

std::optional<int32_t> RegisterAccessor::ReadInt32(ReadMode a_Mode) {
  if (!Read(a_Mode)) return std::nullopt;
  return Int32();
}

bool RegisterAccessor::WriteInt32(int32_t a_Value) {
  uint8_t bytes[4];
  StoreLittle(static_cast<uint32_t>(a_Value), bytes, 4);
  return Write(bytes, 4);
}

bool RegisterAccessor::Modify(const ModifyOperation& a_Operation) {
  if (m_Descriptor.Storage() == RegisterStorage::kPlc)
    return m_Context->plc != nullptr && !m_Value.empty() &&
           m_Context->plc->Modify(*this, a_Operation);
  if (!Read()) return false;
  const std::optional<int32_t> result = a_Operation.Apply(ModifyValue(m_Value.data(), Size()));
  return result && WriteInt32(*result);
}

}  // namespace sim
