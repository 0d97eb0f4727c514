#pragma once
// An emulated panel bootloader: answers the loader's requests as a panel does, keeps the
// sections it receives, checks every block's sequence number and every section's size and sum,
// and can be told to misbehave in the ways a test needs.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nd620 {

struct EmulatorConfig {
  uint16_t m_HardwareVersion = 1;
  uint16_t m_GuiVersion = 0;
  uint8_t m_AppFlag = 1;
  // Faults.
  int m_DropReplyCode = -1;   // leave the a_DropReplyNth-th request of this code unanswered
  int m_DropReplyNth = 1;
  int m_BadSumCode = -1;      // give the first reply to this code a wrong checksum
  int m_RefuseCode = -1;      // answer every request of this code with status 0
  bool m_WrongSequence = false;  // name another block in the data-block replies
  int m_DelayMs = 0;          // wait before every reply
};

struct ReceivedSection {
  uint8_t m_Kind = 0;
  uint16_t m_Version = 0;
  uint32_t m_Size = 0;
  uint32_t m_Sum = 0;
  std::vector<uint8_t> m_Bytes;
};

class PanelEmulator {
 public:
  explicit PanelEmulator(const EmulatorConfig& a_Config = {});

  // The reply to one request frame; none when the request is not a whole frame or the reply is
  // dropped.
  std::optional<std::vector<uint8_t>> Handle(const std::vector<uint8_t>& a_Request);

  // Sections finished with the right size and sum, in order.
  const std::vector<ReceivedSection>& Finished() const { return m_Finished; }
  // The last finished section of a kind, if any.
  const ReceivedSection* Last(uint8_t a_Kind) const;
  int Restarts() const { return m_Restarts; }
  uint8_t AppFlag() const { return m_AppFlag; }
  const std::vector<std::string>& Log() const { return m_Log; }

 private:
  std::vector<uint8_t> Reply(uint8_t a_Code, std::vector<uint8_t> a_Data);
  uint8_t BeginSection(const std::vector<uint8_t>& a_Request);
  uint8_t DataBlock(const std::vector<uint8_t>& a_Request, uint16_t& a_Sequence);
  uint8_t FinishSection();

  EmulatorConfig m_Config;
  uint8_t m_AppFlag;
  uint16_t m_GuiVersion;
  bool m_DownloadMode = false;
  std::map<int, int> m_Seen;
  bool m_BadSumDone = false;
  bool m_Open = false;
  ReceivedSection m_Current;
  uint16_t m_Blocks = 0;
  uint32_t m_NextSequence = 0;
  bool m_Broken = false;
  std::vector<ReceivedSection> m_Finished;
  int m_Restarts = 0;
  std::vector<std::string> m_Log;
};

}  // namespace nd620
