#pragma once
// The retentive registers (internal register types 254 and 248): a file of 16-bit words,
// little-endian, word n at byte 2 x n, kept beside the image so that the values survive the
// run. Every access opens the file, transfers its bytes and closes it again, so the file is
// always up to date. A missing file is created with 2048 zero bytes; bytes past the end of a
// shorter file read as zero, and a write past the end extends it.
//
// Words 0..65535 are accepted (the editor addresses 0..511); anything beyond is refused, as
// is every access when there is no file or it cannot be opened for reading and writing.
#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

class RetentiveStore {
 public:
  static constexpr std::size_t kInitialSize = 2048;
  static constexpr uint32_t kWordLimit = 65536;

  // The store that belongs to the image at a_ImagePath; nothing is touched until first use.
  explicit RetentiveStore(const std::string& a_ImagePath);

  // The file's name: the image path cut at the first "bin" of its file name, followed by
  // "rcp" ("p.bin~" gives "p.rcp"). Empty when the file name holds no "bin".
  static std::string FileNameFor(const std::string& a_ImagePath);
  const std::string& Path() const { return m_Path; }

  // a_Length bytes from word a_Word on; an odd length ends with the low byte of a word.
  bool ReadBytes(uint32_t a_Word, uint8_t* a_Dest, std::size_t a_Length) const;
  // Writes exactly the bytes given; the rest of the file stays as it is.
  bool WriteBytes(uint32_t a_Word, const uint8_t* a_Source, std::size_t a_Length) const;

  // a_Count bits from bit a_Bit on (bit n = bit n mod 16 of word n / 16), packed with the
  // first bit in bit 0 of the first byte. Writes change only the named bits.
  bool ReadBits(uint32_t a_Bit, uint8_t* a_Dest, std::size_t a_Count) const;
  bool WriteBits(uint32_t a_Bit, const uint8_t* a_Source, std::size_t a_Count) const;

 private:
  // An open descriptor, or -1.
  int Open() const;
  // Byte-addressed transfers inside the accepted words; empty transfers are refused.
  bool ReadAt(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const;
  bool WriteAt(uint64_t a_Offset, const uint8_t* a_Source, std::size_t a_Length) const;

  std::string m_Path;
};

}  // namespace sim
