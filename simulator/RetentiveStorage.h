#pragma once
// Where the bytes of the retentive registers live: 16-bit words, little-endian, word n at byte
// 2 x n. Every storage starts as 2048 zero bytes, reads zero past the end of what it holds and
// grows when a write reaches past it. Words 0..65535 are accepted (the editor addresses
// 0..511); a transfer that is empty or reaches beyond word 65535 is refused before it gets to
// the storage, so both kinds refuse the same transfers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class RetentiveStorage {
 public:
  static constexpr std::size_t kInitialSize = 2048;
  static constexpr uint32_t kWordLimit = 65536;

  virtual ~RetentiveStorage() = default;

  // a_Length bytes from byte a_Offset on; bytes past the stored end read as zero.
  bool Read(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const;
  // Writes exactly the bytes given; the rest stays as it is.
  bool Write(uint64_t a_Offset, const uint8_t* a_Source, std::size_t a_Length);

 private:
  // Called only with transfers inside the accepted words.
  virtual bool ReadAccepted(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const = 0;
  virtual bool WriteAccepted(uint64_t a_Offset, const uint8_t* a_Source,
                             std::size_t a_Length) = 0;
};

// A file that outlives the run. Every access opens the file, transfers its bytes and closes it
// again, so the file is always up to date. A missing file is created with the initial zero
// bytes. Every access fails when the name is empty or the file cannot be opened for reading
// and writing (a missing directory is not created).
class RetentiveFileStorage : public RetentiveStorage {
 public:
  explicit RetentiveFileStorage(std::string a_Path);
  const std::string& Path() const { return m_Path; }

 private:
  bool ReadAccepted(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const override;
  bool WriteAccepted(uint64_t a_Offset, const uint8_t* a_Source, std::size_t a_Length) override;
  // An open descriptor, or -1.
  int Open() const;

  std::string m_Path;
};

// Bytes held for as long as the storage lives: every one starts from zero.
class RetentiveMemoryStorage : public RetentiveStorage {
 public:
  RetentiveMemoryStorage();

 private:
  bool ReadAccepted(uint64_t a_Offset, uint8_t* a_Dest, std::size_t a_Length) const override;
  bool WriteAccepted(uint64_t a_Offset, const uint8_t* a_Source, std::size_t a_Length) override;

  std::vector<uint8_t> m_Bytes;
};

}  // namespace sim
