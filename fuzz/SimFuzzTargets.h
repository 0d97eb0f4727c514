#pragma once
// Body of the simulator's fuzz target, shared by the libFuzzer binary and the replay test.
#include <cstddef>
#include <cstdint>

// Runs bytes as a user-data image: start-up, a switch to every frame of its frame table with a
// refresh and a paint after each, and the system keys on each frame. Must never crash, hang or
// read outside the image.
int FuzzSimImage(const uint8_t* a_Data, std::size_t a_Size);
