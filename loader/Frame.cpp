#include "loader/Frame.h"

#include <stdexcept>

namespace nd620 {

uint8_t FrameSum(const uint8_t* a_Bytes, std::size_t a_Count) {
  uint8_t sum = 0;
  for (std::size_t i = 0; i < a_Count; ++i) sum = static_cast<uint8_t>(sum + a_Bytes[i]);
  return sum;
}

std::vector<uint8_t> BuildFrame(uint8_t a_Code, const std::vector<uint8_t>& a_Data) {
  const std::size_t length = a_Data.size() + kFrameOverhead;
  if (length > 0xFFFF) throw std::length_error("frame longer than 65535 bytes");
  std::vector<uint8_t> frame;
  frame.reserve(length);
  frame.push_back(kSync0);
  frame.push_back(kSync1);
  frame.push_back(static_cast<uint8_t>(length));
  frame.push_back(static_cast<uint8_t>(length >> 8));
  frame.push_back(a_Code);
  frame.insert(frame.end(), a_Data.begin(), a_Data.end());
  frame.push_back(FrameSum(frame.data(), frame.size()));
  return frame;
}

bool CheckReplyFrame(const uint8_t* a_Bytes, std::size_t a_Count, std::size_t& a_Length) {
  if (a_Count < 5) return false;
  std::size_t length = FrameLength(a_Bytes);
  if (length == 0) length = 1;
  if (length > a_Count) return false;
  if (FrameSum(a_Bytes, length - 1) != a_Bytes[length - 1]) return false;
  a_Length = length;
  return true;
}

FrameDecoder::Status FrameDecoder::Feed(uint8_t a_Byte) {
  switch (m_State) {
    case kSearching:
      if (a_Byte == kSync0) {
        m_Bytes.assign(1, a_Byte);
        m_State = kGotSync0;
      }
      break;
    case kGotSync0:
      if (a_Byte == kSync1) {
        m_Bytes.push_back(a_Byte);
        m_State = kGotSync1;
      } else {
        m_Bytes.clear();
        m_State = kSearching;
      }
      break;
    case kGotSync1:
      m_Bytes.push_back(a_Byte);
      m_State = kGotLength0;
      break;
    case kGotLength0: {
      m_Bytes.push_back(a_Byte);
      const std::size_t length = FrameLength(m_Bytes.data());
      // Shorter than sync, length, code and checksum, or longer than the buffer: no frame of
      // ours, and waiting for it would only store without end.
      m_State = length < 6 || length > m_Capacity ? kBadSum : kBody;
      break;
    }
    case kBody:
      m_Bytes.push_back(a_Byte);
      if (m_Bytes.size() == FrameLength(m_Bytes.data())) {
        m_State = FrameSum(m_Bytes.data(), m_Bytes.size() - 1) == m_Bytes.back() ? kComplete : kBadSum;
      }
      break;
    case kComplete:
    case kBadSum:
    case kAfterEnd:
      m_State = kAfterEnd;
      break;
  }
  return m_State;
}

}  // namespace nd620
