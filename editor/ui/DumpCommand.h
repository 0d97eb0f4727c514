#pragma once
// KD820 dump IMAGE.bin~: prints the structure of a user-data image and checks that every
// offset in it points inside it.
#include <ostream>
#include <string>

namespace kd820 {

// 0 when the image is sound, 1 when it cannot be read or a check fails.
int RunDumpCommand(const std::string& a_Image, std::ostream& a_Out);

}  // namespace kd820
