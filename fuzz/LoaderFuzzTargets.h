#pragma once
// Bodies of the loaders' fuzz targets, shared by the libFuzzer binaries and the corpus replay.
#include <cstddef>
#include <cstdint>

// Reads bytes as a download package: its header, its driver table and every section's bytes.
// Nothing may be read past the end; entries that claim more are refused.
int FuzzPackageReader(const uint8_t* a_Data, std::size_t a_Size);
// Feeds bytes to the serial stream decoder, a byte at a time with a restart after each frame.
// It must never store more than its capacity, and what it calls complete must be a frame.
int FuzzSerialDecoder(const uint8_t* a_Data, std::size_t a_Size);
// Takes bytes as one USB read (at most 64 bytes) answering each request; an accepted reply must
// be a frame, and the protocol must judge it without reading past it.
int FuzzUsbReply(const uint8_t* a_Data, std::size_t a_Size);
// The same for one datagram of the network transport.
int FuzzUdpReply(const uint8_t* a_Data, std::size_t a_Size);
