#pragma once
// Whether a project's user data fits a panel beside its firmware.
#include <cstdint>

// a_HardwareVersion 1 (or 0xFFFF, an old panel) or 2; a_GuiSize the firmware's size in bytes;
// a_UserSize the image's size; a_SecondDriver whether the package carries a second PLC driver.
// An unknown hardware version fits nothing.
inline bool ProjectFits(uint32_t a_HardwareVersion, uint32_t a_GuiSize, uint32_t a_UserSize,
                        bool a_SecondDriver) {
  if (a_HardwareVersion == 1 || a_HardwareVersion == 0xFFFF) {
    const uint64_t guiKb = (static_cast<uint64_t>(a_GuiSize) + 256) / 1024 + (a_GuiSize % 1024 > 0 ? 1 : 0);
    const int64_t limit = 100352 - static_cast<int64_t>(guiKb) * 1024 + (a_SecondDriver ? 0 : 6144);
    return static_cast<int64_t>(a_UserSize) + 16 <= limit;
  }
  if (a_HardwareVersion == 2) return static_cast<uint64_t>(a_UserSize) + 16 <= 0x20000;
  return false;
}
