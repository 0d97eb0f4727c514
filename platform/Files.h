#pragma once
// Whole-file reads and writes that never leave a half-written file behind.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads a whole file of at most a_MaxBytes bytes; on failure returns nothing and sets a_Error.
// A regular file larger than that is refused by its size before anything is read. With
// a_RegularOnly anything else (a device, a pipe, a directory) is refused without reading it.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& a_Path, std::string& a_Error,
                                                  std::size_t a_MaxBytes = std::size_t{1} << 30,
                                                  bool a_RegularOnly = false);

enum class ReplaceMode { kReplace, kNoReplace };

// Writes the bytes to a new file beside a_Path, flushes it to disk and renames it over a_Path,
// so a_Path holds either its old content or the new one. With kNoReplace the rename never
// replaces a file: when a_Path exists (or comes to exist meanwhile) nothing is written,
// a_Error says so and *a_Exists (when given) is set. False with a_Error set on failure.
//
// The new file is "<a_Path>.tmp-<pid>"; before writing, such files in the same directory
// whose process has ended (left behind by a save that was killed) are removed.
bool WriteFileAtomically(const std::string& a_Path, const std::vector<uint8_t>& a_Bytes,
                         std::string& a_Error, ReplaceMode a_Mode = ReplaceMode::kReplace,
                         bool* a_Exists = nullptr);
// True when both files open and hold the same bytes.
bool FilesEqual(const std::string& a_First, const std::string& a_Second);
