#pragma once
// The data transfers of the image: each copies a source register block to a destination
// register block every period, optionally only after an edge of a trigger bit, only while a
// given frame is shown, and only a limited number of times.
//
// Record (48 bytes): u32 flags (bit 1 rising edge, bit 2 falling edge, bit 4 frame rule,
// bit 5 copy limit), source descriptor at +4, destination at +16, trigger bit at +28, u32
// period in ticks at +40, u16 frame at +44, u16 copy limit at +46.
//
// A transfer copies the bytes unit by unit: the byte order and BCD of each descriptor apply to
// every unit of the block on its own, never to the block as a whole, and words are never
// exchanged.
#include <cstdint>
#include <optional>
#include <vector>

#include "simulator/RegisterAccessor.h"

namespace sim {

class SimImage;

class DataTransfers {
 public:
  // Transfers beyond this many in the section are ignored.
  static constexpr std::size_t kMaxTransfers = 256;

  static constexpr uint32_t kRisingEdge = 0x02;
  static constexpr uint32_t kFallingEdge = 0x04;
  static constexpr uint32_t kFrameRule = 0x10;
  static constexpr uint32_t kLimited = 0x20;

  struct Transfer {
    uint32_t flags = 0;
    uint32_t period = 1;
    uint16_t frame = 0;
    uint16_t limit = 0;
    // Source and destination read and write the registers' own bytes; the descriptors as
    // the image gives them carry the conversions, which the transfer applies unit by unit.
    std::optional<RegisterAccessor> source;
    std::optional<RegisterAccessor> destination;
    RegisterDescriptor sourceCodes;
    RegisterDescriptor destinationCodes;
    std::optional<RegisterAccessor> trigger;
    bool armed = false;
    std::optional<bool> lastTrigger;  // the trigger bit at the last reading
    bool pending = false;             // a sampling read of a PLC source is queued
    uint32_t stamp = 0;               // tick of the last period start
    uint32_t copies = 0;              // copies written so far

    bool EdgeTriggered() const { return (flags & (kRisingEdge | kFallingEdge)) != 0; }
    // With the copy limit, true once it is reached.
    bool Exhausted() const { return (flags & kLimited) != 0 && copies >= limit; }
  };

  DataTransfers() = default;
  // The accessors point at the context kept here.
  DataTransfers(const DataTransfers&) = delete;
  DataTransfers& operator=(const DataTransfers&) = delete;

  // Reads the section; the trigger bits of PLC registers go on the permanent polling list.
  void Load(const SimImage& a_Image, const AccessContext& a_Access, uint32_t a_Now);
  // Once per cycle; a_UserFrame is the frame the user navigated to last.
  void Service(uint32_t a_Now, uint16_t a_UserFrame);

  std::size_t Count() const { return m_Transfers.size(); }
  const Transfer& At(std::size_t a_Index) const { return m_Transfers[a_Index]; }

  // The unit-by-unit conversions of a block: reading turns the register's bytes into plain
  // values (byte order, then BCD, per unit); writing does the reverse. Bit blocks stay as
  // they are; a partial last unit is left alone.
  static void DecodeUnits(const RegisterDescriptor& a_Descriptor, uint8_t* a_Bytes,
                          std::size_t a_Length);
  static void EncodeUnits(const RegisterDescriptor& a_Descriptor, uint8_t* a_Bytes,
                          std::size_t a_Length);

 private:
  static bool TriggerEdge(Transfer& a_Transfer);
  void Copy(Transfer& a_Transfer);

  AccessContext m_Access;
  std::vector<Transfer> m_Transfers;
};

}  // namespace sim
