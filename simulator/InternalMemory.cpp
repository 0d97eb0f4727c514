#include "simulator/InternalMemory.h"

#include "simulator/BitCopy.h"

namespace sim {

bool InternalMemory::ReadWord(uint32_t a_Address, uint16_t& a_Value) const {
  if (a_Address >= kWordCount) return false;
  a_Value = m_Words[a_Address];
  return true;
}

bool InternalMemory::WriteWord(uint32_t a_Address, uint16_t a_Value) {
  if (a_Address >= kWordCount) return false;
  m_Words[a_Address] = a_Value;
  NoteWordWrite(a_Address, 1);
  return true;
}

uint16_t InternalMemory::Word(uint32_t a_Address) const {
  return a_Address < kWordCount ? m_Words[a_Address] : 0;
}

uint32_t InternalMemory::DoubleWord(uint32_t a_Address) const {
  if (!Fits(a_Address, 2, kWordCount)) return 0;
  return uint32_t{m_Words[a_Address]} | uint32_t{m_Words[a_Address + 1]} << 16;
}

bool InternalMemory::WriteDoubleWord(uint32_t a_Address, uint32_t a_Value) {
  if (!Fits(a_Address, 2, kWordCount)) return false;
  m_Words[a_Address] = static_cast<uint16_t>(a_Value);
  m_Words[a_Address + 1] = static_cast<uint16_t>(a_Value >> 16);
  NoteWordWrite(a_Address, 2);
  return true;
}

bool InternalMemory::ReadBytes(uint32_t a_Address, uint8_t* a_Dest, std::size_t a_Length) const {
  if (!Fits(a_Address, (uint64_t{a_Length} + 1) / 2, kWordCount)) return false;
  for (std::size_t i = 0; i < a_Length; ++i) {
    const uint16_t word = m_Words[a_Address + i / 2];
    a_Dest[i] = static_cast<uint8_t>(i % 2 == 0 ? word : word >> 8);
  }
  return true;
}

bool InternalMemory::WriteBytes(uint32_t a_Address, const uint8_t* a_Source, std::size_t a_Length) {
  if (!StoreBytes(a_Address, a_Source, a_Length)) return false;
  NoteWordWrite(a_Address, (a_Length + 1) / 2);
  return true;
}

bool InternalMemory::StoreBytes(uint32_t a_Address, const uint8_t* a_Source, std::size_t a_Length) {
  if (!Fits(a_Address, (uint64_t{a_Length} + 1) / 2, kWordCount)) return false;
  for (std::size_t i = 0; i < a_Length; ++i) {
    uint16_t& word = m_Words[a_Address + i / 2];
    word = i % 2 == 0 ? static_cast<uint16_t>((word & 0xFF00) | a_Source[i])
                      : static_cast<uint16_t>((word & 0x00FF) | a_Source[i] << 8);
  }
  return true;
}

// Bits go through the bytes of the words that hold them; bit writes are no word writes, so
// they leave the change flag alone.
bool InternalMemory::ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const {
  if (!Fits(a_Bit, a_Count, kBitCount)) return false;
  uint8_t bytes[2 * kWordCount];
  const std::size_t words = (a_Bit % 16 + a_Count + 15) / 16;
  ReadBytes(a_Bit / 16, bytes, 2 * words);
  ExtractBits(bytes, a_Bit % 16, a_Dest, a_Count);
  return true;
}

bool InternalMemory::WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count) {
  if (!Fits(a_Bit, a_Count, kBitCount)) return false;
  uint8_t bytes[2 * kWordCount];
  const std::size_t words = (a_Bit % 16 + a_Count + 15) / 16;
  ReadBytes(a_Bit / 16, bytes, 2 * words);
  InsertBits(bytes, a_Bit % 16, a_Source, a_Count);
  StoreBytes(a_Bit / 16, bytes, 2 * words);
  return true;
}

void InternalMemory::NoteWordWrite(uint32_t a_First, std::size_t a_Words) {
  if (a_Words > 0 && a_First <= kPasswordEntry && kPasswordEntry < a_First + a_Words)
    m_Changed = true;
}

}  // namespace sim
