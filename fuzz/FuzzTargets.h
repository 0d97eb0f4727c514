#pragma once
// Bodies of the fuzz targets, shared by the libFuzzer binaries and the corpus replay test.
#include <cstddef>
#include <cstdint>

// Loads bytes as a project file. A file that loads must store, and what it stores must load
// and store again to the same bytes.
int FuzzProjectLoad(const uint8_t* a_Data, std::size_t a_Size);
