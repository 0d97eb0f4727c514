#pragma once
// One register as elements and services use it: its descriptor, the last value read (in plain
// form, after the byte-order and BCD conversions), and whether that value is valid and has
// changed. Internal and retentive registers are read and written at once; PLC registers go
// through the communication ports behind IPlcPorts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "simulator/RegisterDescriptor.h"

namespace sim {

class InternalMemory;
class RetentiveStore;
class RegisterAccessor;

// Where a PLC register's value is taken from.
enum class ReadMode { kPolled = 0, kPermanent = 1, kSampled = 2 };
// How a PLC register asks to be read.
enum class RequestMode { kFrame = 0, kPermanent = 1, kSample = 2 };

// A read-modify-write: 18 toggles bit 0; 33 / 35 add p1 unless the result exceeds p2; 34 / 36
// subtract p1 unless the result falls below p2; 39 / 40 add p1, a result above p2 becomes 0.
struct ModifyOperation {
  static constexpr uint8_t kToggle = 18;
  static constexpr uint8_t kAddLimited = 33;
  static constexpr uint8_t kSubtractLimited = 34;
  static constexpr uint8_t kAddLimitedRepeat = 35;
  static constexpr uint8_t kSubtractLimitedRepeat = 36;
  static constexpr uint8_t kAddWrapping = 39;
  static constexpr uint8_t kAddWrappingRepeat = 40;

  uint8_t code = 0;
  int32_t p1 = 0;
  int32_t p2 = 0;

  // The new value, or nothing when the limit forbids the change or the code is not one above.
  std::optional<int32_t> Apply(int32_t a_Value) const;
};

// The communication side of PLC registers. Bytes cross this interface in the register's own
// order (before decoding on reads, after encoding on writes).
class IPlcPorts {
 public:
  virtual ~IPlcPorts() = default;
  // Copies what the port last read for the register (a_Accessor.Size() bytes); false while
  // nothing is there.
  virtual bool Fetch(RegisterAccessor& a_Accessor, uint8_t* a_Bytes, ReadMode a_Mode) = 0;
  virtual void Request(RegisterAccessor& a_Accessor, RequestMode a_Mode) = 0;
  // Queues a write; false when it cannot be queued.
  virtual bool Store(RegisterAccessor& a_Accessor, const uint8_t* a_Bytes,
                     std::size_t a_Length) = 0;
  // Queues a read-modify-write; false when it cannot be queued.
  virtual bool Modify(RegisterAccessor& a_Accessor, const ModifyOperation& a_Operation) = 0;
};

// What accessors reach: shared by all of them and outliving them. Any part may be missing; a
// register whose storage is missing reads nothing and its writes are dropped.
struct AccessContext {
  InternalMemory* memory = nullptr;
  RetentiveStore* retentive = nullptr;
  IPlcPorts* plc = nullptr;
  // Settings flag bit 3: exchange the words of 4-byte values made of 2-byte units.
  bool swapWords = false;
};

class RegisterAccessor {
 public:
  // The value buffer holds at most this much of a register; larger registers are refused.
  static constexpr std::size_t kMaxSize = 256;
  // Words of the retentive file (2048 bytes); retentive registers beyond it are refused.
  static constexpr uint32_t kRetentiveWords = 1024;

  RegisterAccessor(const RegisterDescriptor& a_Descriptor, const AccessContext& a_Context);

  // Whether a register fits its value buffer and, for the panel's own registers, lies wholly
  // inside internal memory or the retentive file. A register that does not (or is empty) is
  // refused: it never becomes valid, reads bring nothing and writes are dropped.
  static bool Fits(const RegisterDescriptor& a_Descriptor);
  bool Refused() const { return m_Value.empty(); }

  const RegisterDescriptor& Descriptor() const { return m_Descriptor; }
  // Bytes of the value (the register's size; 0 when refused); bits for a bit register.
  std::size_t Size() const { return m_Value.size(); }
  std::size_t Bits() const { return m_Bits; }
  const uint8_t* Data() const { return m_Value.data(); }

  // Valid once a read succeeded; a failed read leaves value and flag as they were.
  bool Valid() const { return m_Valid; }
  // Raised by a read that brought a different value (or the first one).
  bool Changed() const { return m_Changed; }
  void ClearChanged() { m_Changed = false; }
  // The last driver result the port reported for this register (0 success, 2 timeout, 3 error).
  int LastResult() const { return m_LastResult; }
  void SetLastResult(int a_Result) { m_LastResult = a_Result; }

  // Reads the register into the value buffer; true when a value came.
  bool Read(ReadMode a_Mode = ReadMode::kPolled);
  // Asks the port to read a PLC register; nothing for the panel's own registers.
  void Request(RequestMode a_Mode);
  // Writes a plain value of a_Length bytes (shorter values are zero-extended, longer ones cut
  // to the register). True when written, or queued for a PLC register.
  bool Write(const uint8_t* a_Value, std::size_t a_Length);

  // The value's first four bytes as an integer, smaller registers zero-extended.
  int32_t Int32() const;
  std::optional<int32_t> ReadInt32(ReadMode a_Mode = ReadMode::kPolled);
  bool WriteInt32(int32_t a_Value);

  // Reads, applies the operation and writes the result when it applies. The value is 32-bit
  // for 4-byte registers and sign-extended 16-bit otherwise.
  bool Modify(const ModifyOperation& a_Operation);

  // The conversions between a register's bytes and its plain value: reading reverses the bytes
  // (flags bit 0), exchanges the two words (a_SwapWords, 4-byte registers of 2-byte units) and
  // decodes BCD (flags bit 7); encoding does the reverse.
  static void Decode(const RegisterDescriptor& a_Descriptor, bool a_SwapWords, uint8_t* a_Bytes,
                     std::size_t a_Length);
  static void Encode(const RegisterDescriptor& a_Descriptor, bool a_SwapWords, uint8_t* a_Bytes,
                     std::size_t a_Length);
  // The operand of read-modify-write operations: 32-bit for 4-byte values, sign-extended
  // 16-bit otherwise.
  static int32_t ModifyValue(const uint8_t* a_Value, std::size_t a_Length);

 private:
  bool Fetch(uint8_t* a_Bytes, ReadMode a_Mode);
  bool Store(const uint8_t* a_Bytes);

  RegisterDescriptor m_Descriptor;
  const AccessContext* m_Context;
  std::vector<uint8_t> m_Value;
  std::size_t m_Bits = 0;
  bool m_Valid = false;
  bool m_Changed = false;
  int m_LastResult = 0;
};

}  // namespace sim
