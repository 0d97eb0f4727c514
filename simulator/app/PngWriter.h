#pragma once
// Screenshots as PNG files: the LCD as true 1-bit grayscale and the window picture as RGB.
// The same pixels always give the same bytes (no time chunk). A file is written under a
// temporary name beside the target and renamed into place, so a failed write leaves nothing.
#include <cstdint>
#include <filesystem>
#include <string>

namespace sim {

// a_Bits: a_Height rows of (a_Width + 7) / 8 bytes, bit 0 = leftmost pixel, 1 = dark (black).
bool WriteLcdPng(const std::filesystem::path& a_Path, const uint8_t* a_Bits, int a_Width,
                 int a_Height, std::string& a_Error);
// a_Rgb: a_Height top-down rows of a_Width x 3 bytes (R, G, B).
bool WriteRgbPng(const std::filesystem::path& a_Path, const uint8_t* a_Rgb, int a_Width,
                 int a_Height, std::string& a_Error);

}  // namespace sim
