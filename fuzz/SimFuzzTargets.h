#pragma once
// Body of the simulator's fuzz target, shared by the libFuzzer binary and the replay test.
#include <cstddef>
#include <cstdint>

// Runs bytes as a user-data image. An input that ends in a 4-byte image length L (at least a
// header's size) is an image of L bytes followed by 4-byte actions: keys, encoder turns, ticks,
// PLC values, internal words (failure injection among them) and frame jumps. Any other input
// is an image alone, run through start-up, a switch to every frame of its frame table and the
// system keys on each frame. Must never crash, hang or read outside the image.
int FuzzSimImage(const uint8_t* a_Data, std::size_t a_Size);
