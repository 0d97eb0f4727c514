#pragma once
// Bodies of the fuzz targets, shared by the libFuzzer binaries and the corpus replay test.
#include <cstddef>
#include <cstdint>


// Loads bytes as a project file. A file that loads must store, and what it stores must load
// and store again to the same bytes.
int FuzzProjectLoad(const uint8_t* a_Data, std::size_t a_Size);

// Loads bytes as a hardware model file and as a PLC protocol file. What loads must give
// consistent records: ports in range and sorted, register types in the lists their widths
// name, sub-address ranges that match their bit counts.
int FuzzXmlLibrary(const uint8_t* a_Data, std::size_t a_Size);

// Imports bytes as a project's JSON form. A document that imports must store; its export must
// import again to the same project file, and that file must load to the same project.
int FuzzJsonImport(const uint8_t* a_Data, std::size_t a_Size);

// Reads bytes as a single-colour BMP file. What reads must give a bitmap whose pixel bytes are
// height x (width + 7) / 8 with the spare high bits of each row's last byte clear.
int FuzzBmpReader(const uint8_t* a_Data, std::size_t a_Size);

// Reads bytes as a "GraphElement" clipboard archive. What reads must write again to an archive
// that reads to the same bytes, and must paste into a frame of any display size without
// leaving 32-bit coordinates.
int FuzzElementClip(const uint8_t* a_Data, std::size_t a_Size);
