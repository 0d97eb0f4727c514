#pragma once
// Frames of the panel link, both directions:
//   0x5A 0xA5, u16 total length, command code, data, checksum (sum of all earlier bytes mod 256).
// Every 16-bit field, the length of a reply included, is read and written low byte first, over
// every transport.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace nd620 {

inline constexpr uint8_t kSync0 = 0x5A;
inline constexpr uint8_t kSync1 = 0xA5;
inline constexpr std::size_t kFrameOverhead = 6;      // sync, length, code, checksum
inline constexpr std::size_t kBlockOverhead = 8;      // plus the block's sequence number
inline constexpr std::size_t kReplyCapacity = 5020;   // the loader's reply buffer

enum Command : uint8_t {
  kGetInfo = 0x01,
  kEnterDownload = 0x02,
  kEnterBoot = 0x04,
  kRestart = 0x05,
  kBeginSection = 0x10,
  kDataBlock = 0x11,
  kFinishSection = 0x12,
};

// The 6 bytes that mode changes and restart carry.
inline constexpr char kModeKey[] = "Marvok";

uint8_t FrameSum(const uint8_t* a_Bytes, std::size_t a_Count);
// A whole frame for a code and its data; the data must leave the length within 16 bits.
std::vector<uint8_t> BuildFrame(uint8_t a_Code, const std::vector<uint8_t>& a_Data);
// The frame's length field (low byte first); a_Bytes holds at least 4 bytes.
inline uint16_t FrameLength(const uint8_t* a_Bytes) {
  return static_cast<uint16_t>(a_Bytes[2] | a_Bytes[3] << 8);
}

// A reply read whole (one datagram or one USB read), judged as the panel's: at least 5 bytes,
// its length L (0 counting as 1) no more than what arrived, the sum of its first L - 1 bytes
// equal to byte L - 1. True with a_Length = L.
bool CheckReplyFrame(const uint8_t* a_Bytes, std::size_t a_Count, std::size_t& a_Length);

// The serial stream decoder: skips bytes before 0x5A, restarts on 0x5A followed by anything but
// 0xA5, and keeps one frame. It never stores past its capacity: a frame longer than that, or
// one whose length cannot hold a frame, is refused.
class FrameDecoder {
 public:
  enum Status : int {
    kSearching = 0,
    kGotSync0 = 1,
    kGotSync1 = 2,
    kGotLength0 = 3,
    kBody = 4,
    kComplete = 6,   // checksum right
    kAfterEnd = 7,   // a byte after the end of a frame
    kBadSum = 8,     // checksum wrong, or a length that cannot be a frame of ours
  };

  explicit FrameDecoder(std::size_t a_Capacity = kReplyCapacity) : m_Capacity(a_Capacity) {}

  Status Feed(uint8_t a_Byte);
  void Reset() { m_State = kSearching; m_Bytes.clear(); }
  Status GetStatus() const { return m_State; }
  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }

 private:
  std::size_t m_Capacity;
  Status m_State = kSearching;
  std::vector<uint8_t> m_Bytes;
};

}  // namespace nd620
