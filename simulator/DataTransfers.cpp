#include "simulator/DataTransfers.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/ImageFormat.h"
#include "simulator/SimImage.h"

namespace sim {
namespace {

// The register without its conversions, so that its accessor carries the register's own bytes.
RegisterDescriptor WithoutConversions(RegisterDescriptor a_Descriptor) {
  constexpr unsigned kConversions = RegisterDescriptor::kReverseBytes | RegisterDescriptor::kBcd;
  a_Descriptor.flags &= static_cast<uint8_t>(~kConversions);
  return a_Descriptor;
}

}  // namespace

void DataTransfers::DecodeUnits(const RegisterDescriptor& a_Descriptor, uint8_t* a_Bytes,
                                std::size_t a_Length) {
  if (a_Descriptor.IsBit()) return;
  const std::size_t unit = a_Descriptor.BytesPerUnit();
  for (std::size_t at = 0; at + unit <= a_Length; at += unit)
    RegisterAccessor::Decode(a_Descriptor, false, a_Bytes + at, unit);
}

void DataTransfers::EncodeUnits(const RegisterDescriptor& a_Descriptor, uint8_t* a_Bytes,
                                std::size_t a_Length) {
  if (a_Descriptor.IsBit()) return;
  const std::size_t unit = a_Descriptor.BytesPerUnit();
  for (std::size_t at = 0; at + unit <= a_Length; at += unit)
    RegisterAccessor::Encode(a_Descriptor, false, a_Bytes + at, unit);
}

void DataTransfers::Load(const SimImage& a_Image, const AccessContext& a_Access, uint32_t a_Now) {
  m_Transfers.clear();
  m_Access = a_Access;
  m_Access.swapWords = false;  // units are converted one by one
  const uint32_t section = a_Image.Section(image::kTransfers);
  if (section == 0) return;
  const std::size_t count =
      a_Image.EntriesInside(section + 4, a_Image.U32(section), 4, kMaxTransfers);
  // Reserved first: the ports keep the trigger accessors they were asked for, which must not
  // move afterwards.
  m_Transfers.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t record = a_Image.U32(section + 4 + 4 * static_cast<uint32_t>(i));
    if (!a_Image.Has(record, image::kTransferRecordSize)) continue;
    const RegisterDescriptor source = *RegisterDescriptor::FromImage(a_Image, record + 4);
    const RegisterDescriptor destination = *RegisterDescriptor::FromImage(a_Image, record + 16);
    Transfer& t = m_Transfers.emplace_back();
    t.flags = a_Image.U32(record);
    t.period = std::max<uint32_t>(a_Image.U32(record + 40), 1);
    t.frame = a_Image.U16(record + 44);
    t.limit = a_Image.U16(record + 46);
    t.stamp = a_Now;
    t.sourceCodes = source;
    t.destinationCodes = destination;
    t.source.emplace(WithoutConversions(source), m_Access);
    t.destination.emplace(WithoutConversions(destination), m_Access);
    if (t.EdgeTriggered()) {
      t.trigger.emplace(*RegisterDescriptor::FromImage(a_Image, record + 28), m_Access);
      t.trigger->Request(RequestMode::kPermanent);
    }
  }
}

bool DataTransfers::TriggerEdge(Transfer& a_Transfer) {
  RegisterAccessor& trigger = *a_Transfer.trigger;
  if (!trigger.Read(ReadMode::kPermanent)) return false;
  const bool bit = (trigger.Int32() & 1) != 0;
  // The first reading only sets the level an edge starts from.
  const std::optional<bool> last = std::exchange(a_Transfer.lastTrigger, bit);
  if (!last || *last == bit) return false;
  return (a_Transfer.flags & (bit ? kRisingEdge : kFallingEdge)) != 0;
}

void DataTransfers::Copy(Transfer& a_Transfer) {
  const RegisterAccessor& source = *a_Transfer.source;
  RegisterAccessor& destination = *a_Transfer.destination;
  uint8_t value[RegisterAccessor::kMaxSize];
  std::memcpy(value, source.Data(), source.Size());
  DecodeUnits(a_Transfer.sourceCodes, value, source.Size());
  // A shorter source leaves the rest of the destination zero, a longer one is cut.
  uint8_t bytes[RegisterAccessor::kMaxSize] = {};
  std::memcpy(bytes, value, std::min(source.Size(), destination.Size()));
  EncodeUnits(a_Transfer.destinationCodes, bytes, destination.Size());
  if (destination.Write(bytes, destination.Size())) ++a_Transfer.copies;
}

void DataTransfers::Service(uint32_t a_Now, uint16_t a_UserFrame) {
  for (Transfer& t : m_Transfers) {
    if (t.source->Refused() || t.destination->Refused()) continue;
    // A sampled source is written when the port delivers it, whatever happened meanwhile.
    if (t.pending && t.source->Read(ReadMode::kSampled)) {
      t.pending = false;
      Copy(t);
    }
    if ((t.flags & kFrameRule) != 0 && a_UserFrame != t.frame) {
      // Off its frame a transfer sees no edges, and an edge before leaving is dropped.
      t.armed = false;
      t.lastTrigger.reset();
      continue;
    }
    if (!t.EdgeTriggered()) t.armed = true;
    else if (TriggerEdge(t)) t.armed = true;
    if (!t.armed || t.pending || t.Exhausted() || a_Now - t.stamp < t.period) continue;
    t.stamp = a_Now;
    if (t.EdgeTriggered()) t.armed = false;  // one copy per edge
    if (t.source->Descriptor().Storage() == RegisterStorage::kPlc) {
      t.source->Request(RequestMode::kSample);
      t.pending = true;
    } else if (t.source->Read()) {
      Copy(t);
    }
  }
}

}  // namespace sim
