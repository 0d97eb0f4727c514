#pragma once
// Whole-file reads and writes that never leave a half-written file behind.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads a whole file of at most a_MaxBytes bytes; on failure returns nothing and sets a_Error.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& a_Path, std::string& a_Error,
                                                  std::size_t a_MaxBytes = std::size_t{1} << 30);
// Writes the bytes to a new file beside a_Path, flushes it to disk and renames it over a_Path,
// so a_Path holds either its old content or the new one. False with a_Error set on failure.
bool WriteFileAtomically(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes,
                         std::string& a_Error);
// True when both files open and hold the same bytes.
bool FilesEqual(const std::string& a_First, const std::string& a_Second);
