#include "simulator/SystemSettings.h"

#include "common/ImageFormat.h"

namespace sim {

int SystemSettings::PasswordLevel(uint32_t a_Code) const {
  for (int i = 0; i < 8; ++i)
    if ((passwordMask >> i & 1) && passwords[i] == a_Code) return i + 1;
  return 0;
}

SystemSettings SystemSettings::FromImage(const SimImage& a_Image) {
  SystemSettings s;
  uint32_t base = a_Image.Section(image::kSettings);
  if (base == 0 || !a_Image.Has(base, image::kSettingsRecordSize)) return s;
  s.flags = a_Image.U32(base);
  s.startFrame = a_Image.U16(base + 4);
  s.saverFrame = a_Image.U16(base + 6);
  s.saverDelayMinutes = a_Image.U16(base + 8);
  s.saverLevel = a_Image.U8(base + 10);
  s.passwordMask = a_Image.U16(base + 12);
  for (unsigned i = 0; i < 8; ++i) s.passwords[i] = a_Image.U32(base + 16 + 4 * i);
  s.passwordFrame = a_Image.U16(base + 52);

  // Control block: u8 count, u8 0, u16 mask, then one descriptor per set mask bit. A count
  // outside 1..2 makes the block void.
  uint32_t block = a_Image.U32(base + 48);
  if (block != 0 && a_Image.Has(block, 4)) {
    unsigned count = a_Image.U8(block);
    uint16_t mask = a_Image.U16(block + 2);
    if (count >= 1 && count <= 2) {
      uint32_t next = block + 4;
      for (unsigned i = 0; i < 2 && count > 0; ++i) {
        if (!(mask >> i & 1)) continue;
        if (a_Image.Has(next, image::kRegisterDescriptorSize)) s.controlRegisters[i] = next;
        next += image::kRegisterDescriptorSize;
        --count;
      }
    }
  }
  return s;
}

}  // namespace sim
