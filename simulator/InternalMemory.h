#pragma once
// The panel's own 256 registers of 16 bits (internal register types 255 and 249), zero at
// start and never saved. Bit n is bit (n mod 16) of word n / 16. Every access that would reach
// beyond word 255 is refused as a whole: nothing is written and nothing is read.
#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {

class InternalMemory {
 public:
  static constexpr unsigned kWordCount = 256;
  static constexpr unsigned kBitCount = kWordCount * 16;

  // System words.
  static constexpr unsigned kSimulationControl = 246;  // bit 1 frame actions, bits 2..5 failures
  static constexpr unsigned kClockYear = 247;
  static constexpr unsigned kClockMonth = 248;
  static constexpr unsigned kClockDay = 249;
  static constexpr unsigned kClockHour = 250;
  static constexpr unsigned kClockMinute = 251;
  static constexpr unsigned kClockSecond = 252;
  static constexpr unsigned kPasswordLevel = 253;
  static constexpr unsigned kPasswordEntry = 254;  // 32 bits: words 254 and 255

  bool ReadWord(uint32_t a_Address, uint16_t& a_Value) const;
  bool WriteWord(uint32_t a_Address, uint16_t a_Value);
  // The word, or 0 beyond the last word.
  uint16_t Word(uint32_t a_Address) const;
  // Two consecutive words as one 32-bit value, low word first; 0 when it runs past word 255.
  uint32_t DoubleWord(uint32_t a_Address) const;
  bool WriteDoubleWord(uint32_t a_Address, uint32_t a_Value);

  // a_Length bytes of the words from a_Address on, low byte of each word first. An odd length
  // touches only the low byte of the last word.
  bool ReadBytes(uint32_t a_Address, uint8_t* a_Dest, std::size_t a_Length) const;
  bool WriteBytes(uint32_t a_Address, const uint8_t* a_Source, std::size_t a_Length);

  // a_Count bits from bit a_Bit on, packed into bytes with the first bit in bit 0 of a_Dest[0].
  // Bit writes change only the bits they name and never raise the change flag.
  bool ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const;
  bool WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count);

  // Raised by every word write that covers the password-entry word 254.
  bool Changed() const { return m_Changed; }
  void ClearChanged() { m_Changed = false; }

 private:
  static bool Fits(uint64_t a_First, uint64_t a_Length, uint64_t a_Limit) {
    return a_First <= a_Limit && a_Length <= a_Limit - a_First;
  }
  // Writes bytes without counting as a word write.
  bool StoreBytes(uint32_t a_Address, const uint8_t* a_Source, std::size_t a_Length);
  void NoteWordWrite(uint32_t a_First, std::size_t a_Words);

  std::array<uint16_t, kWordCount> m_Words{};
  bool m_Changed = false;
};

}  // namespace sim
