#pragma once
// The retentive registers (internal register types 254 and 248) as registers address them:
// words and bits on top of a RetentiveStorage, which decides where the bytes live and which
// transfers are refused (see RetentiveStorage.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "simulator/RetentiveStorage.h"

namespace sim {

class RetentiveStore {
 public:
  static constexpr std::size_t kInitialSize = RetentiveStorage::kInitialSize;
  static constexpr uint32_t kWordLimit = RetentiveStorage::kWordLimit;

  // The registers in a_Storage (not null).
  explicit RetentiveStore(std::unique_ptr<RetentiveStorage> a_Storage);
  // The registers in the file beside the image at a_ImagePath (see FileNameFor), so that the
  // values survive the run; nothing is touched until first use.
  explicit RetentiveStore(const std::string& a_ImagePath);

  // The file's name: the image path cut at the first "bin" of its file name, followed by
  // "rcp" ("p.bin~" gives "p.rcp"). Empty when the file name holds no "bin".
  static std::string FileNameFor(const std::string& a_ImagePath);
  // The storage in that file (every access fails when the name is empty).
  static std::unique_ptr<RetentiveStorage> FileBesideImage(const std::string& a_ImagePath);

  // a_Length bytes from word a_Word on; an odd length ends with the low byte of a word.
  bool ReadBytes(uint32_t a_Word, uint8_t* a_Dest, std::size_t a_Length) const;
  // Writes exactly the bytes given; the rest of the store stays as it is.
  bool WriteBytes(uint32_t a_Word, const uint8_t* a_Source, std::size_t a_Length);

  // a_Count bits from bit a_Bit on (bit n = bit n mod 16 of word n / 16), packed with the
  // first bit in bit 0 of the first byte. Writes change only the named bits.
  bool ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const;
  bool WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count);

 private:
  std::unique_ptr<RetentiveStorage> m_Storage;
};

}  // namespace sim
