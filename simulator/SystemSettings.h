#pragma once
// The system settings record of the image (its settings part) and its control-register block.
#include <array>
#include <cstdint>
#include <optional>

#include "simulator/SimImage.h"

namespace sim {

struct SystemSettings {
  enum Flags : uint32_t {
    kSaverKeepsFrame = 1u << 0,      // the screen saver only darkens the backlight
    kSaverAsksPassword = 1u << 1,    // leaving the screen saver asks for saverLevel
    kNoKeyBeep = 1u << 2,
    kSwapWords = 1u << 3,            // swap the words of 4-byte values made of 16-bit units
    kEnglishTexts = 1u << 6,         // language of the built-in texts
  };
  uint32_t flags = 0;
  uint16_t startFrame = 0;
  uint16_t saverFrame = 0;
  uint16_t saverDelayMinutes = 0;  // 0 = never
  uint8_t saverLevel = 0;
  uint16_t passwordMask = 0;
  std::array<uint32_t, 8> passwords{};
  uint16_t passwordFrame = 0;
  // Image offsets of the control registers' 12-byte descriptors: 0 the frame-request
  // register, 1 the current-frame register; 0 = not defined.
  std::array<uint32_t, 2> controlRegisters{};

  // 0 inverted element, 1 blinking one-pixel frame, 2 and 3 none.
  int FocusMark() const { return static_cast<int>((flags >> 4) & 3); }
  // Index + 1 of the first enabled password equal to a_Code, 0 for none.
  int PasswordLevel(uint32_t a_Code) const;

  // Reads the settings part; a disabled image or a missing or short record gives the defaults.
  static SystemSettings FromImage(const SimImage& a_Image);
};

}  // namespace sim
