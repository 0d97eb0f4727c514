#pragma once
// The user-data image that the editor writes and the panel and the simulator read: header,
// section directory, section order and resource object kinds. All values little-endian;
// every reference is an absolute u32 offset from the image start, 0 = absent.
#include <cstddef>
#include <cstdint>

// Element type codes: the editor's element types, the kinds of the frame records' element
// lists, and the simulator's element kinds.
enum ElementType : int32_t {
  kTypeLed = 0,
  kTypeFunckey = 1,
  kTypeStaticText = 2,
  kTypeDynamicText = 3,
  kTypeRegister = 4,
  kTypeBar = 5,
  kTypeTrend = 6,
  kTypePicture = 7,
  kTypeCache = 8,  // no element
  kTypeAscii = 9,
  kTypeEventList = 10,
};

namespace image {

inline constexpr char kTag[8] = {'M', 'a', 'r', 'v', 'o', 'k', 0, 0};
inline constexpr uint32_t kFormatNumber = 1;
inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kTagOffset = 0;
inline constexpr std::size_t kFormatOffset = 8;
inline constexpr std::size_t kLengthOffset = 12;
inline constexpr std::size_t kChecksumOffset = 16;
inline constexpr std::size_t kDirectoryOffsetField = 20;
inline constexpr uint32_t kDirectoryOffset = 24;

enum Section : std::size_t {
  kSettings = 0,
  kPorts = 1,
  kReserved = 2,
  kFrames = 3,
  kSamplingBuffers = 4,
  kAlarms = 5,
  kTransfers = 6,
  kSectionCount = 7,
};
inline constexpr std::size_t kDirectorySize = kSectionCount * 4;

// Resource object kinds (the first byte of the object).
enum ResourceKind : uint8_t { kBitmap = 1, kText = 6, kGlyph = 7 };

inline constexpr std::size_t kSamplingEntrySize = 24;
inline constexpr std::size_t kRegisterDescriptorSize = 12;
inline constexpr std::size_t kPortRecordSize = 36;
inline constexpr std::size_t kSettingsRecordSize = 56;
inline constexpr std::size_t kTransferRecordSize = 48;
// A character sequence counts its characters in a signed byte.
inline constexpr std::size_t kMaxTextCharacters = 127;
// The panel keeps element record offsets in 20 bits: every element record starts below 1 MiB.
inline constexpr uint32_t kElementOffsetLimit = 1u << 20;

// The checksum: every byte after the header, unsigned, summed with 32-bit wrap-around.
inline uint32_t Checksum(const uint8_t* a_Image, std::size_t a_Length) {
  uint32_t sum = 0;
  for (std::size_t i = kHeaderSize; i < a_Length; ++i) sum += a_Image[i];
  return sum;
}

}  // namespace image
