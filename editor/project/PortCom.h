#pragma once
// The project's communication ports: three serial ports and the CAN port.
#include <cstdint>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/base/Problem.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CEditorContext;

class CPortCom : public CObject {
  KD_DECLARE_SERIAL(CPortCom)

 public:
  static constexpr int32_t kCurrentVersion = 1;
  enum SerialType : int32_t { kRs232 = 0, kRs485 = 1, kRs422 = 2 };

  CPortCom() = default;
  explicit CPortCom(int32_t a_PortNumber) : m_PortNumber(a_PortNumber) {}

  void Serialize(CArchive& a_Ar) override;
  // The fields an enabled port stores after its version and enabled flag, in file order (a
  // disabled port stores nothing else). The port number has no JSON form: it is the key.
  static const CFieldTable& StoredFields();
  // Appends the 36-byte port record when the port is enabled, nothing otherwise.
  void Compile(std::vector<uint8_t>& a_Bytes, IProblemSink& a_Problems) const;
  // Enabled, and the PLC model of its port has register types.
  bool HasRegisterTypes(const CEditorContext& a_Context) const;
  // Exchanges every field with a_Other except the port numbers.
  void SwapContents(CPortCom& a_Other);
  bool IsEnabled() const { return m_Enabled != 0; }

  int32_t m_Enabled = 0;
  int32_t m_PortNumber = 0;
  int32_t m_ProtocolId = 0;
  int32_t m_SerialType = kRs232;
  int32_t m_BaudRate = 0;  // code 0..8
  int32_t m_DataBits = 1;  // 0 = 7 bits, 1 = 8 bits
  int32_t m_Parity = 0;    // 0 none, 1 odd, 2 even
  int32_t m_StopBits = 0;  // 0 = 1 bit, 1 = 2 bits
  int32_t m_StationUsed = 0;
  int32_t m_Station = 1;
  int32_t m_ResponseTimeout = 0;
  int32_t m_ProtocolTimeout1 = 0;
  int32_t m_ProtocolTimeout2 = 0;
  int32_t m_WordPacketMax = 0;
  int32_t m_BitPacketMax = 0;
  int32_t m_WordPackingInterval = 0;
  int32_t m_BitPackingInterval = 0;
  int32_t m_CommunicationInterval = 0;
  int32_t m_MessageTime = 0;
  int32_t m_RetryCount = 10;
  int32_t m_RetryAfterFailure = 1;
};

class CPortCan : public CObject {
  KD_DECLARE_SERIAL(CPortCan)

 public:
  static constexpr int32_t kCurrentVersion = 1;
  static constexpr int32_t kPortNumber = 3;

  void Serialize(CArchive& a_Ar) override;
  // What an enabled CAN port stores after its version and enabled flag.
  static const CFieldTable& StoredFields();
  // The CAN port has no compiled form.
  void Compile(std::vector<uint8_t>& a_Bytes, IProblemSink& a_Problems) const {
    (void)a_Bytes;
    (void)a_Problems;
  }
  bool IsEnabled() const { return m_Enabled != 0; }

  int32_t m_Enabled = 0;
  int32_t m_Value1 = 0;  // stored only when enabled
  int32_t m_Value2 = 0;
};

}  // namespace kd820
